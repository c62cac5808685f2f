// A whole session as a new user lives it, through the real frame and its windows: the first
// start enrols the user, a real member becomes a program, a subroutine is added, renamed,
// typed with automatic indentation and compiled, the program is saved, closed and reopened
// from the recent list, its source is written out, the options survive a restart, and a wrong
// password keeps the next user out.

#include "ui/MainForm.h"

#include "FrameUser.h"
#include "access/KeyFile.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormCompileStat.h"
#include "ui/FormEditOptions.h"
#include "ui/FormGestSubSec.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::FrameUser;
using orvale::test::TempDir;

namespace {

constexpr const char* kMember = "bobrecursive__COU200.RPG.RP3";

bool Contains(const StringList& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

class Session {
public:
    Session(const std::string& programDir, ScriptedPrompter& box, FrameUser& user)
        : Frame(std::make_unique<TMainForm>(box, user.Services())) {
        Frame->ProgramDir = programDir;
        Frame->show();
        Frame->Startup();
        // Typing needs the frame to be the active window, as it is in front of the user.
        Frame->activateWindow();
        QApplication::processEvents();
    }
    std::unique_ptr<TMainForm> Frame;
};

TEST(MainFormSession, ANewUserWorksOnAMemberFromTheHost) {
    orvale::test::QtApp();
    std::string corpus = std::string(ORVALE_CORPUS_DIR) + "/" + kMember;
    if (!orvale::FileExists(corpus))
        GTEST_SKIP() << "no member corpus at " << ORVALE_CORPUS_DIR;
    TempDir dir;
    const std::string programDir = dir.Path() + "/";
    const std::string member = dir.File("COU200.RP3");
    std::filesystem::copy_file(corpus, member);
    const std::string program = dir.File("COU200.RPG");
    ScriptedPrompter box;
    FrameUser user;

    // First start: nobody is enabled yet, so the first name sets its password.
    user.Dialogs.push_back(FrameUser::Enrol("mario", "first"));
    auto session = std::make_unique<Session>(programDir, box, user);
    TMainForm* frame = session->Frame.get();
    ASSERT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->UserName, "MARIO");
    EXPECT_TRUE(orvale::FileExists(TKeyFile::PathIn(programDir)));

    // The member becomes a program in its own window.
    user.Files.push_back(member);
    frame->ProgOpenItem->trigger();
    TEditorsHolder* window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), program);
    TRPGProgram* doc = window->Document.get();
    ASSERT_NE(doc->SubRoutinesNode, nullptr);
    EXPECT_GT(doc->SubRoutinesNode->Count(), 5);
    EXPECT_TRUE(Contains(doc->HistorySection.LineTexts(), ",Converted,"));

    // The editor indents new lines from now on.
    user.Dialogs.push_back(FrameUser::Change<TFormEditOptions>(
        [](TFormEditOptions& d) { d.CheckAutoIndent->setChecked(true); }));
    frame->OptionEditorItem->trigger();
    ASSERT_TRUE(window->RichEditSource->AutoIndent());

    // A subroutine is added...
    user.Dialogs.push_back(FrameUser::Change<TFormGestSubSec>([](TFormGestSubSec& d) {
        d.EditName->setText("CALCTOT");
        d.EditDesc->setText("Running total");
    }));
    window->SpeedBtnAddSub->click();
    TreeNode* routine = doc->FindNodeByText("CALCTOT");
    ASSERT_NE(routine, nullptr);
    EXPECT_EQ(routine->Parent(), doc->SubRoutinesNode);

    // ...renamed, its BEGSR following the name...
    window->SelectNode(routine);
    user.Dialogs.push_back(FrameUser::Change<TFormGestSubSec>(
        [](TFormGestSubSec& d) { d.EditName->setText("SUMUP"); }));
    window->SpeedBtnChProp->click();
    EXPECT_EQ(doc->FindNodeByText("CALCTOT"), nullptr);
    ASSERT_EQ(doc->FindNodeByText("SUMUP"), routine);
    TExtRichEdit* editor = window->RichEditSource;
    ASSERT_FALSE(editor->Lines().empty());
    EXPECT_EQ(editor->Lines().front(), "                Begsr(SUMUP)");

    // ...and typed into: Enter keeps the indentation of the line above.
    frame->activateWindow();
    editor->setFocus();
    editor->SetCaretPos(static_cast<int>(editor->Line(0).size()), 0);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "  Add(RRN01,1,RRN01)");
    const std::string typed = std::string(16, ' ') + "  Add(RRN01,1,RRN01)";
    ASSERT_GE(editor->LineCount(), 2);
    EXPECT_EQ(editor->Line(1), typed);
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "Modified");

    // Compile: the statistics window reports the sections compiled.
    std::string totalLines;
    std::string errors;
    user.Dialogs.push_back([&](QDialog& dialog) {
        auto& statistics = dynamic_cast<TFormCompileStat&>(dialog);
        totalLines = statistics.LabelTotalLines->text().toStdString();
        errors = statistics.LabelErrors->text().toStdString();
        return true;
    });
    frame->ProgCompileItem->trigger();
    ASSERT_EQ(user.DialogTitles.back(), "Compiling");
    EXPECT_FALSE(totalLines.empty());
    EXPECT_FALSE(errors.empty());
    TEDITSection* sumup = routine->Section();
    ASSERT_NE(sumup, nullptr);
    EXPECT_TRUE(sumup->CompiledValid);
    EXPECT_TRUE(Contains(sumup->CompiledTexts(), "BEGSR"));
    EXPECT_TRUE(Contains(sumup->CompiledTexts(), "RRN01"));
    EXPECT_TRUE(frame->isEnabled());

    // Save, close: the program is on disk and on top of the recent list.
    frame->FileSaveItem->trigger();
    EXPECT_FALSE(doc->Modified);
    ASSERT_TRUE(orvale::FileExists(program));
    frame->FileCloseItem->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame->EditorWindows().empty());
    ASSERT_FALSE(frame->FileReopenItem->actions().isEmpty());
    ASSERT_EQ(frame->FileReopenItem->actions().front()->text().toStdString(), program);

    // Reopened from the list, with what was typed and the options applied.
    frame->FileReopenItem->actions().front()->trigger();
    window = frame->ActiveWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), program);
    doc = window->Document.get();
    routine = doc->FindNodeByText("SUMUP");
    ASSERT_NE(routine, nullptr);
    EXPECT_EQ(routine->Section()->LineTexts().at(1), typed);
    EXPECT_TRUE(window->RichEditSource->AutoIndent());
    EXPECT_EQ(frame->FileReopenItem->actions().front()->text(), "Void");

    // The source goes out as RPG/400 lines, the new subroutine among them.
    const std::string source = dir.File("COU200OUT.RP3");
    user.Files.push_back(source);
    frame->ProgSaveAsItem->trigger();
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(source, lines));
    EXPECT_TRUE(Contains(lines, "SUMUP"));
    EXPECT_TRUE(Contains(lines, "BEGSR"));
    EXPECT_GT(lines.size(), 100u);

    // Leaving writes the options; the next start finds them.
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    session.reset();
    user.Dialogs.push_back(FrameUser::Login("MARIO", "FIRST"));
    session = std::make_unique<Session>(programDir, box, user);
    frame = session->Frame.get();
    ASSERT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->Options.Editor.AutoIndent);
    EXPECT_EQ(frame->Options.Reopen.Paths(), StringList{program});
    frame->close();
    session.reset();

    // A wrong password is refused; the user gives up and nothing is written.
    std::string before;
    orvale::ReadFileBytes(programDir + kOptionsFileName, before);
    box.Clear();
    user.Dialogs.push_back(FrameUser::Login("MARIO", "SECOND"));
    session = std::make_unique<Session>(programDir, box, user);
    EXPECT_FALSE(session->Frame->isVisible());
    EXPECT_TRUE(session->Frame->UserName.empty());
    ASSERT_EQ(box.Messages.size(), 1u);
    EXPECT_EQ(box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(box.Messages[0].Text, "Password not valid!");
    std::string after;
    orvale::ReadFileBytes(programDir + kOptionsFileName, after);
    EXPECT_EQ(after, before);
}

} // namespace
