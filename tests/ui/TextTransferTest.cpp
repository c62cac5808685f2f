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
#include <memory>

using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;
using orvale::test::TempDir;

namespace {

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
    EXPECT_EQ(Doc().MainRoutineSection.Lines, (StringList{"KEEP NEW1", "NEW\xE9"}));
    EXPECT_TRUE(Doc().Modified);

    // The selection across the line break is written as two lines, byte for byte.
    SelectSpan(5, 14);
    Frame->Picks = {Dir.File("out.txt")};
    Window->PopExpSelectedTextClick();
    std::string bytes;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("out.txt"), bytes));
    EXPECT_EQ(bytes, "NEW1\r\nNEW\xE9\r\n");

    // A cancelled dialog changes nothing.
    Doc().EditorModified = false;
    Window->PopImportOverrideClick();
    EXPECT_EQ(Editor().Lines(), (StringList{"KEEP NEW1", "NEW\xE9"}));
    EXPECT_FALSE(Doc().EditorModified);
    EXPECT_TRUE(Box.Messages.empty());
}

} // namespace
