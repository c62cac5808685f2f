#include "ui/TextTransfer.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"

#include <QFileDialog>
#include <QLabel>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>

using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;
using orvale::test::TempDir;

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// What a file dialog showed while it ran.
struct DialogSeen {
    QString Title;
    int Filter = 0;
    QString Suffix;
};

// A frame whose section-text dialogs are the frame's own open and save dialogs; the user
// picks the queued files (nothing queued: cancels).
class DialogFrame : public FakeEditorFrame {
public:
    DialogFrame() {
        for (QFileDialog* dialog : {&OpenDialog, &SaveDialog}) {
            dialog->setOption(QFileDialog::DontUseNativeDialog);
            ApplyMainFilter(*dialog);
        }
        OpenDialog.setFileMode(QFileDialog::ExistingFile);
        SaveDialog.setAcceptMode(QFileDialog::AcceptSave);
    }

    std::optional<std::string> ChooseTextFileToImport() override {
        return ::ChooseTextFileToImport(OpenDialog, Pick());
    }
    std::optional<std::string> ChooseTextFileToExport() override {
        return ::ChooseTextFileToExport(SaveDialog, Pick());
    }

    TRunFileDialog Pick() {
        return [this](QFileDialog& dialog) {
            Seen.push_back({dialog.windowTitle(), FilterIndex(dialog), dialog.defaultSuffix()});
            if (Picks.empty())
                return false;
            dialog.selectFile(QString::fromStdString(Picks.front()));
            Picks.pop_front();
            return true;
        };
    }

    QFileDialog OpenDialog;
    QFileDialog SaveDialog;
    std::deque<std::string> Picks;
    std::vector<DialogSeen> Seen;
};

class TextTransfer : public ::testing::Test {
protected:
    TextTransfer() { orvale::test::QtApp(); }

    void SetUp() override {
        Frame = std::make_unique<DialogFrame>();
        Window = std::make_unique<TEditorsHolder>(Box, TEditorSetup{}, Frame.get());
        Doc().NewProgram();
        Window->SelectNode(Doc().FindNodeByText("Main Routine"));
    }

    TRPGProgram& Doc() { return *Window->Document; }
    TExtRichEdit& Editor() { return *Window->RichEditSource; }
    void SelectSpan(int from, int to) {
        QTextCursor cursor = Editor().textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        Editor().setTextCursor(cursor);
    }

    TempDir Dir;
    ScriptedPrompter Box;
    std::unique_ptr<DialogFrame> Frame;
    std::unique_ptr<TEditorsHolder> Window;
};

TEST_F(TextTransfer, FrameFilterListBecomesTheDialogsFilters) {
    EXPECT_EQ(NameFiltersOf(kMainDialogFilter),
              (QStringList{"Orvale programs (*.RPG *.rpg)", "RPG/400 members (*.RP3 *.rp3)",
                           "Text files (*.TXT *.txt)", "All files (*)"}));
    EXPECT_EQ(FilterIndex(Frame->OpenDialog), 1);
    EXPECT_EQ(Frame->SaveDialog.defaultSuffix(), "RPG");
    SetFilterIndex(Frame->OpenDialog, 3);
    EXPECT_EQ(FilterIndex(Frame->OpenDialog), 3);
    // An index the list does not have changes nothing.
    SetFilterIndex(Frame->OpenDialog, 5);
    EXPECT_EQ(FilterIndex(Frame->OpenDialog), 3);
}

TEST_F(TextTransfer, DialogsOfferAllFilesAndAreRestoredWhateverTheAnswer) {
    Frame->Picks = {Dir.File("in.txt")};
    EXPECT_EQ(Frame->ChooseTextFileToImport(), Dir.File("in.txt"));
    EXPECT_EQ(Frame->ChooseTextFileToImport(), std::nullopt);
    // Typed without an extension, the exported file gets ".TXT".
    Frame->Picks = {Dir.File("notes")};
    EXPECT_EQ(Frame->ChooseTextFileToExport(), Dir.File("notes.TXT"));
    EXPECT_EQ(Frame->ChooseTextFileToExport(), std::nullopt);

    ASSERT_EQ(Frame->Seen.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Frame->Seen[i].Title, "Quenby - Import Text File");
        EXPECT_EQ(Frame->Seen[i].Filter, 4);
        EXPECT_EQ(Frame->Seen[i + 2].Title, "Quenby - Export Text File");
        EXPECT_EQ(Frame->Seen[i + 2].Filter, 4);
        EXPECT_EQ(Frame->Seen[i + 2].Suffix, "TXT");
    }
    EXPECT_EQ(FilterIndex(Frame->OpenDialog), 1);
    EXPECT_EQ(FilterIndex(Frame->SaveDialog), 1);
    EXPECT_EQ(Frame->SaveDialog.defaultSuffix(), "RPG");
}

TEST_F(TextTransfer, SectionTextCommandsEditLikeTyping) {
    ASSERT_TRUE(orvale::WriteTextFile(Dir.File("in.txt"), {"NEW1", "NEW\xE9"}));
    Editor().SetLines({"KEEP THIS"});
    SelectSpan(5, 9);
    Frame->Picks = {Dir.File("in.txt")};
    Window->PopReplaceSelClick();
    EXPECT_EQ(Editor().Lines(), (StringList{"KEEP NEW1", "NEW\xE9"}));
    EXPECT_TRUE(Doc().EditorModified);
    EXPECT_EQ(Window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "Modified");
    Doc().CommitCurrent();
    EXPECT_EQ(Doc().MainRoutineSection.LineTexts(), (StringList{"KEEP NEW1", "NEW\xE9"}));
    EXPECT_TRUE(Doc().Modified);

    // The selection across the line break is written as two lines, in UTF-8 with LF.
    SelectSpan(5, 14);
    Frame->Picks = {Dir.File("out.txt")};
    Window->PopExpSelectedTextClick();
    std::string bytes;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("out.txt"), bytes));
    EXPECT_EQ(bytes, "NEW1\nNEW\xC3\xA9\n");

    // A cancelled dialog changes nothing.
    Doc().EditorModified = false;
    Window->PopImportOverrideClick();
    EXPECT_EQ(Editor().Lines(), (StringList{"KEEP NEW1", "NEW\xE9"}));
    EXPECT_FALSE(Doc().EditorModified);
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(TextTransfer, Utf8TextFileComesBackIdentical) {
    const std::string utf8 =
        "      * Caf\xC3\xA9 cr\xC3\xA8me \xC3\xA0 la carte\n  ADD(A, B, \xC3\x87)\n\n";
    WriteFile(Dir.File("accents.txt"), utf8);
    Frame->Picks = {Dir.File("accents.txt"), Dir.File("back.txt")};
    Window->PopImportOverrideClick();
    // In the section every accent is the one byte the member holds.
    EXPECT_EQ(Editor().Lines(),
              (StringList{"      * Caf\xE9 cr\xE8me \xE0 la carte", "  ADD(A, B, \xC7)", ""}));
    Window->PopExpAllSectionClick();
    std::string bytes;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("back.txt"), bytes));
    EXPECT_EQ(bytes, utf8);
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(TextTransfer, CharacterTheSectionCannotHoldRefusesTheFile) {
    WriteFile(Dir.File("euro.txt"), "  Z-ADD(1, A)\n  * price in \xE2\x82\xAC\n");
    Editor().SetLines({"UNTOUCHED"});
    Doc().EditorModified = false;
    Frame->Picks = {Dir.File("euro.txt")};
    Window->PopImportOverrideClick();
    EXPECT_EQ(Editor().Lines(), StringList{"UNTOUCHED"});
    EXPECT_FALSE(Doc().EditorModified);
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, Dir.File("euro.txt") +
                                        ": line 2 holds the character \"\xE2\x82\xAC\" (U+20AC), "
                                        "which a section's text cannot hold.");
    // A character beyond the first plane is named whole, not as half of a pair.
    StringList lines;
    std::string error;
    EXPECT_FALSE(DecodeSectionText("ok\n\xF0\x9F\x98\x80", lines, &error));
    EXPECT_EQ(error, "line 2 holds the character \"\xF0\x9F\x98\x80\" (U+1F600), which a "
                     "section's text cannot hold.");
}

TEST_F(TextTransfer, TextFilesOfOtherToolsAndLayoutsAreRead) {
    StringList lines;
    std::string error;
    // Not UTF-8: read as Latin-1, byte for byte, with CR LF line ends.
    ASSERT_TRUE(DecodeSectionText("NEW\xE9\r\nX\xFF\r\n", lines, &error)) << error;
    EXPECT_EQ(lines, (StringList{"NEW\xE9", "X\xFF"}));
    // UTF-8 with a byte-order mark, as some editors write it; the mark is no character.
    ASSERT_TRUE(DecodeSectionText("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\nB", lines, &error));
    EXPECT_EQ(lines, (StringList{"\xE9t\xE9", "B"}));

    // The option for the stored layout: Latin-1 with CR LF.
    ASSERT_TRUE(WriteSectionTextFile(Dir.File("old.txt"), {"\xE9t\xE9", "B"},
                                     TTextFileEncoding::Latin1CrLf, &error));
    std::string bytes;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("old.txt"), bytes));
    EXPECT_EQ(bytes, "\xE9t\xE9\r\nB\r\n");
    // A file that cannot be written is reported by name.
    EXPECT_FALSE(WriteSectionTextFile(Dir.File("no/such/dir.txt"), {"A"}, TTextFileEncoding::Utf8Lf,
                                      &error));
    EXPECT_NE(error.find(Dir.File("no/such/dir.txt")), std::string::npos);
}

} // namespace
