// A statement edited in the program window's source editor, as a user types it, changes that
// line of the built member and no other; a line typed anew carries the change tag.

#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "calvex/MemberRoundTrip.h"
#include "platform/CodePage.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/ExtRichEdit.h"
#include "ui/TagColumn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;

namespace {

const std::string kMember = std::string(ORVALE_TEST_DATA_DIR) + "/ORDENTRY.RP3";

class EditorRoundTrip : public orvale::test::EditorWindowTest {
protected:
    // The member as built now, without the banner lines the build adds.
    StringList Built() {
        Doc().CompileAllSections(true);
        Doc().AssembleSource();
        StringList kept;
        for (const std::string& line : Doc().NameList)
            if (!calvex::IsAddedBanner(line, "&%"))
                kept.push_back(line);
        return kept;
    }

    // The window points at it: it goes after the window.
    ~EditorRoundTrip() override { Window.reset(); }

    TFormGenRPG Form;
};

} // namespace

TEST_F(EditorRoundTrip, TypingOverAStatementChangesItsLineAlone) {
    StringList member;
    ASSERT_TRUE(orvale::ReadTextFile(kMember, member));
    Window->ImportSource(kMember);
    Doc().FormGenRPG = &Form;
    ASSERT_EQ(Built(), member);

    TreeNode* load = Doc().FindNodeByText("LOAD");
    ASSERT_NE(load, nullptr);
    Window->SelectNode(load);
    Window->PageControl->setCurrentIndex(0);
    StringList text = Window->RichEditSource->Lines();
    int line = -1;
    for (size_t k = 0; k < text.size(); ++k)
        if (text[k].find("Z-add(0,ORDNO)") != std::string::npos)
            line = static_cast<int>(k);
    ASSERT_GE(line, 0);
    // The line's change tag shows beside it, not in its text.
    EXPECT_EQ(LineTag(*Window->RichEditSource, line), "CHG020");
    EXPECT_EQ(text[static_cast<size_t>(line)].find("CHG020"), std::string::npos);
    // The 0 becomes a 5, typed over in the editor.
    int column = static_cast<int>(text[static_cast<size_t>(line)].find("(0,")) + 1;
    Window->RichEditSource->SetCaretPos(column, line);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    QTest::keyClicks(Window->RichEditSource, "5");
    // A line opened above it does not take its tag: the tag follows its line.
    Window->RichEditSource->SetCaretPos(0, line);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Return);
    EXPECT_EQ(LineTag(*Window->RichEditSource, line + 1), "CHG020");
    QTest::keyClick(Window->RichEditSource, Qt::Key_Up);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    Window->SelectNode(Doc().FindNodeByText("NEWORD")); // the edit is committed

    StringList built = Built();
    ASSERT_EQ(built.size(), member.size());
    std::vector<size_t> changed;
    for (size_t k = 0; k < member.size(); ++k)
        if (built[k] != member[k])
            changed.push_back(k);
    ASSERT_EQ(changed.size(), 1u);
    const std::string& before = member[changed[0]];
    const std::string& after = built[changed[0]];
    EXPECT_NE(after.find("Z-ADD5"), std::string::npos) << after;
    EXPECT_EQ(after.substr(74), before.substr(74)); // its change tag stays

    // A new line typed at the end of the section gets the change tag of the options.
    Form.ChangeTag = "PR0042";
    Window->SelectNode(load);
    Window->PageControl->setCurrentIndex(0);
    QTest::keyClick(Window->RichEditSource, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Return);
    QTest::keyClicks(Window->RichEditSource, "Z-add(1,ORDNO)");
    Window->SelectNode(Doc().FindNodeByText("NEWORD"));
    built = Built();
    ASSERT_EQ(built.size(), member.size() + 1);
    int tagged = 0;
    for (const std::string& l : built)
        tagged += l.size() > 74 && l.substr(74) == "PR0042" ? 1 : 0;
    EXPECT_EQ(tagged, 1);
}

TEST_F(EditorRoundTrip, RestoredTextKeepsItsTagsBesideIt) {
    orvale::test::TempDir dir;
    Window->ImportSource(kMember);
    Doc().FormGenRPG = &Form;
    ASSERT_TRUE(Doc().SaveToFile(dir.File("ORDENTRY.RPG")));
    TreeNode* load = Doc().FindNodeByText("LOAD");
    ASSERT_NE(load, nullptr);
    Window->SelectNode(load);
    const StringList saved = Window->RichEditSource->Lines();
    StringList tags;
    for (int k = 0; k < static_cast<int>(saved.size()); ++k)
        tags.push_back(LineTag(*Window->RichEditSource, k));
    ASSERT_NE(std::count(tags.begin(), tags.end(), "CHG020"), 0);

    // The first line goes, the edit is committed; Last Save brings the saved text back with
    // every line's tag, not only after the section is shown again.
    Window->RichEditSource->SetCaretPos(0, 0);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    Window->PopUpdateSectionClick();
    Window->PopRestLastSaveClick();
    ASSERT_EQ(Window->RichEditSource->Lines(), saved);
    StringList restored;
    for (int k = 0; k < static_cast<int>(saved.size()); ++k)
        restored.push_back(LineTag(*Window->RichEditSource, k));
    EXPECT_EQ(restored, tags);
}

// A member of Big5 text, shown in the editors in its code page: every section goes through
// the source editor and the RPG/400 page and comes back byte for byte, the soft hyphen that
// ends many characters, a lead byte without its second byte and a control byte among them;
// the caret counts bytes, so that a column after a Chinese character is the member's column.
TEST_F(EditorRoundTrip, DoubleByteTextComesBackFromTheEditorsByteForByte) {
    std::filesystem::path big5 =
        std::filesystem::path(ORVALE_CORPUS_DIR) / ".." / "corpus-dbcs" / "SEEDMAN__01.RP3";
    if (!std::filesystem::exists(big5))
        GTEST_SKIP() << "no members of double-byte text";
    std::string dir =
        std::filesystem::temp_directory_path() / ("orvale-dbcs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string member = dir + "/DBCS.RP3";
    std::filesystem::copy_file(big5, member, std::filesystem::copy_options::overwrite_existing);
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(member, lines));
    // A line the shop never wrote: broken pairs and control bytes, in a header comment.
    lines.insert(lines.begin() + 1, "     H* \xA4\xAD\xA4 \x7F\x80 \xB8\xEA\xAE\xC6 END \xA4");
    ASSERT_TRUE(orvale::WriteTextFile(member, lines));
    ASSERT_TRUE(orvale::ReadTextFile(member, lines));

    Doc().TextCodePage = "BIG5";
    Window->ImportSource(member);
    Doc().FormGenRPG = &Form;
    ASSERT_EQ(&Window->RichEditSource->Edge.Page(), orvale::CodePage::Shared("BIG5"));
    std::vector<TreeNode*> nodes;
    Doc().ForEachNode([&](TreeNode* n) {
        // The properties and the history log are shown in grids.
        if (n->Section() && n->Section() != &Doc().PropertySection &&
            n->Section() != &Doc().HistorySection)
            nodes.push_back(n);
        return true;
    });
    for (TreeNode* node : nodes) {
        TEDITSection* section = node->Section();
        StringList stored = section->LineTexts();
        Window->SelectNode(node);
        Window->PageControl->setCurrentIndex(0);
        if (Doc().CurrentNode == node && !stored.empty()) {
            EXPECT_EQ(Window->RichEditSource->Lines(), stored) << node->Text;
        }
    }
    Window->SelectNode(nodes.front());
    EXPECT_EQ(Built(), lines);

    // The header comment: its Chinese is shown as Chinese, and the caret stands on byte columns.
    Window->SelectNode(Doc().FindNodeByText("Header"));
    Window->PageControl->setCurrentIndex(0);
    TExtRichEdit& editor = *Window->RichEditSource;
    int row = -1;
    for (int k = 0; k < editor.LineCount(); ++k)
        if (editor.Line(k).find("END") != std::string::npos)
            row = k;
    ASSERT_GE(row, 0);
    std::string line = editor.Line(row);
    int end = static_cast<int>(line.find("END"));
    EXPECT_TRUE(editor.document()->findBlockByNumber(row).text().contains(QChar(0x8CC7)));
    editor.SetCaretPos(end, row);
    EXPECT_EQ(editor.CaretPos(), QPoint(end, row));
    EXPECT_EQ(editor.WordAtCursor(false), "END");
    // A character Big5 cannot hold is refused; one it holds takes its two bytes.
    int refused = 0;
    QObject::connect(&editor, &TExtRichEdit::CharacterRefused, [&] { ++refused; });
    auto type = [&](const char* utf8) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(utf8));
        QApplication::sendEvent(&editor, &key);
    };
    type("\xED\x95\x9C");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(editor.Line(row), line);
    type("\xE8\xB3\x87");
    EXPECT_EQ(editor.Line(row), line.substr(0, static_cast<size_t>(end)) + "\xB8\xEA" +
                                    line.substr(static_cast<size_t>(end)));
    EXPECT_EQ(editor.CaretPos(), QPoint(end + 2, row));
    std::filesystem::remove_all(dir);
}

// Another code page for a program's text shows its bytes as other characters and changes none
// of them; the program is to be saved with its new code page.
TEST_F(EditorRoundTrip, AnotherCodePageShowsTheSameBytesAnew) {
    StringList member;
    ASSERT_TRUE(orvale::ReadTextFile(kMember, member));
    Window->ImportSource(kMember);
    Doc().FormGenRPG = &Form;
    TreeNode* load = Doc().FindNodeByText("LOAD");
    ASSERT_NE(load, nullptr);
    StringList text = load->Section()->LineTexts();
    text.insert(text.begin(), "     C* \xB8\xEA\xAE\xC6");
    load->Section()->SetLines(text);
    Window->SelectNode(load);
    Window->PageControl->setCurrentIndex(0);
    TExtRichEdit& editor = *Window->RichEditSource;
    EXPECT_EQ(editor.document()->firstBlock().text(),
              QString::fromUtf8("     C* \xC2\xB8\xC3\xAA\xC2\xAE\xC3\x86"));
    Doc().Modified = false;

    EXPECT_FALSE(Window->SetCodePage("NO-SUCH-PAGE"));
    EXPECT_FALSE(Doc().Modified);
    ASSERT_TRUE(Window->SetCodePage("big5"));
    EXPECT_EQ(Doc().TextCodePage, "BIG5");
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(editor.document()->firstBlock().text(),
              QString::fromUtf8("     C* \xE8\xB3\x87\xE6\x96\x99"));
    EXPECT_EQ(editor.Line(0), "     C* \xB8\xEA\xAE\xC6");
    ASSERT_TRUE(Window->SetCodePage("ISO-8859-1"));
    EXPECT_EQ(Doc().TextCodePage, "");
    Window->SelectNode(Doc().FindNodeByText("NEWORD"));
    EXPECT_EQ(load->Section()->GetLine(0), "     C* \xB8\xEA\xAE\xC6");
}
