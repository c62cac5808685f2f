// The frame driven from the keyboard: every key bound once, F1 for the topic at the caret and
// the help elsewhere, the tree keeping the focus, the edit commands following what there is
// to act on, and Replace All taken back in one step.

#include "ui/MainForm.h"

#include "FrameTest.h"
#include "frame/HelpIndex.h"
#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormFind.h"
#include "ui/HelpWindow.h"
#include "ui/ProgramTreeView.h"
#include "ui/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::FrameUser;
using orvale::test::TempDir;

namespace {

class MainFormKeys : public orvale::test::FrameTest {
protected:
    // A new program whose sections hold the given texts, in a window of the frame.
    TEditorsHolder* NewProgram(TMainForm& frame) {
        frame.FileNewItem->trigger();
        TEditorsHolder* window = frame.ActiveWindow();
        window->Document->DescriptionSection.SetLines({"What the program does"});
        window->Document->MainRoutineSection.SetLines(
            {"  Z-ADD(0:TOTAL)", "  EXSR(SUMUP)", "  ADD(TOTAL:1:TOTAL)"});
        return window;
    }

    // Every key of an action the user can reach in the frame, with the actions bound to it.
    static std::map<QString, QStringList> Bindings(TMainForm& frame) {
        std::map<QString, QStringList> keys;
        for (QAction* action : frame.findChildren<QAction*>()) {
            // A dialog's own actions (the file dialogs') work in the dialog's window only.
            bool inDialog = false;
            for (QObject* up = action->parent(); up && !inDialog; up = up->parent())
                inDialog = qobject_cast<QDialog*>(up) != nullptr;
            if (inDialog || action->associatedObjects().isEmpty())
                continue;
            QString name = action->objectName().isEmpty() ? action->text() : action->objectName();
            for (const QKeySequence& key : action->shortcuts())
                keys[key.toString()] << name;
        }
        return keys;
    }
};

TEST_F(MainFormKeys, NoKeyIsBoundTwiceInTheFrameAndAProgramWindow) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    window->SelectNode(window->Document->MainRoutineNode);
    std::map<QString, QStringList> keys = Bindings(*frame);
    for (const auto& [key, actions] : keys)
        EXPECT_EQ(actions.size(), 1)
            << key.toStdString() << ": " << actions.join(", ").toStdString();
    // The keys the walk found are the ones a user reaches for.
    auto owner = [&](const char* key) { return keys[QKeySequence(key).toString()].value(0); };
    EXPECT_EQ(owner("F1"), "PopTopicSearch");
    EXPECT_EQ(owner("Ctrl+W"), "FileCloseItem");
    EXPECT_EQ(owner("F9"), "ProgBuildAllItem");
    EXPECT_EQ(owner("Ctrl+F9"), "ProgCompileItem");
    EXPECT_EQ(owner("F8"), "PopNextError");
}

TEST_F(MainFormKeys, BuildAllAndCompileRunFromTheirKeys) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    window->SelectNode(window->Document->MainRoutineNode);
    std::vector<std::string> titles;
    User.Dialogs.push_back([&](QDialog& dialog) {
        titles.push_back(dialog.windowTitle().toStdString());
        return true;
    });
    QTest::keyClick(window->RichEditSource, Qt::Key_F9);
    ASSERT_EQ(titles, (std::vector<std::string>{"Compiling"}));
    EXPECT_TRUE(window->Document->MainRoutineSection.CompiledValid);
}

TEST_F(MainFormKeys, F1GivesTheTopicAtTheCaretAndTheContentsElsewhere) {
    std::filesystem::copy(std::string(ORVALE_BIN_DIR) + "/Help", ProgramDir + "Help",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(std::string(ORVALE_BIN_DIR) + "/PromptH.PRM", ProgramDir);
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    window->SelectNode(window->Document->MainRoutineNode);
    THelpIndex index;
    ASSERT_TRUE(index.Load(frame->HelpFile));
    THelpTarget zadd, contents = index.Contents();
    ASSERT_TRUE(index.Find("IDH_OpCod_Z-ADD", zadd));

    // On the "Z" of Z-ADD, written in any case: the Z-ADD page, not the one of ADD.
    window->RichEditSource->SetLines({"  Z-add(0:TOTAL)"});
    window->RichEditSource->setFocus();
    window->RichEditSource->SetCaretPos(2, 0);
    QTest::keyClick(window->RichEditSource, Qt::Key_F1);
    ASSERT_NE(frame->HelpWindow, nullptr);
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), zadd.Page);
    EXPECT_EQ(frame->HelpWindow->CurrentAnchor(), zadd.Anchor);
    window->RichEditSource->SetCaretPos(4, 0);
    window->PopTopicSearch->trigger();
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), zadd.Page);

    // Anywhere else F1 opens the contents.
    window->TreeProgram->setFocus();
    QTest::keyClick(window->TreeProgram, Qt::Key_F1);
    EXPECT_EQ(frame->HelpWindow->CurrentPage(), contents.Page);
}

TEST_F(MainFormKeys, TreeKeepsTheFocusWhileDrivenFromTheKeyboard) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    TRPGProgram& doc = *window->Document;
    window->SelectNode(doc.FindNodeByText("Description"));
    window->TreeProgram->setFocus();
    ASSERT_TRUE(window->TreeProgram->hasFocus());

    // Down and Up walk the tree; every section they pass is shown, the focus stays.
    QTest::keyClick(window->TreeProgram, Qt::Key_Down);
    EXPECT_NE(doc.Tree.Selected(), doc.FindNodeByText("Description"));
    QTest::keyClick(window->TreeProgram, Qt::Key_Up);
    EXPECT_EQ(doc.Tree.Selected(), doc.FindNodeByText("Description"));
    EXPECT_TRUE(window->TreeProgram->hasFocus());

    // Return opens the section: the caret goes into its text, and no line is added.
    QTest::keyClick(window->TreeProgram, Qt::Key_Return);
    EXPECT_TRUE(window->RichEditSource->hasFocus());
    EXPECT_EQ(window->RichEditSource->Lines(), (StringList{"What the program does"}));
    EXPECT_FALSE(doc.EditorModified);
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::ModifiedPanel)->text(), "");

    // A section chosen elsewhere (the object list, a search) still leaves the caret in it.
    window->SelectNode(doc.SubRoutinesNode);
    window->SelectNode(doc.MainRoutineNode);
    EXPECT_TRUE(window->RichEditSource->hasFocus());
}

TEST_F(MainFormKeys, UndoCutAndCopyFollowWhatThereIsToActOn) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    window->SelectNode(window->Document->MainRoutineNode);
    TExtRichEdit* editor = window->RichEditSource;
    auto enabled = [&] {
        return std::vector<bool>{frame->EditUndoItem->isEnabled(), frame->EditCutItem->isEnabled(),
                                 frame->EditCopyItem->isEnabled(), frame->BtnUndo->isEnabled(),
                                 frame->BtnCut->isEnabled(),       frame->BtnCopy->isEnabled()};
    };
    // A section just shown: nothing to undo, nothing selected; paste stays on.
    EXPECT_EQ(enabled(), std::vector<bool>(6, false));
    EXPECT_TRUE(frame->EditPasteItem->isEnabled());

    editor->SetCaretPos(0, 0);
    QTest::keyClicks(editor, "X");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true, false, false}));
    QTextCursor select = editor->textCursor();
    select.setPosition(0);
    select.setPosition(3, QTextCursor::KeepAnchor);
    editor->setTextCursor(select);
    EXPECT_EQ(enabled(), std::vector<bool>(6, true));

    // The editor's own menu follows the selection too.
    emit window->PopupSource->aboutToShow();
    EXPECT_TRUE(window->PopCut->isEnabled() && window->PopCopy->isEnabled());
    editor->SetCaretPos(0, 0);
    emit window->PopupSource->aboutToShow();
    EXPECT_FALSE(window->PopCut->isEnabled() || window->PopCopy->isEnabled());

    // Another section: the state of its own editor text.
    window->SelectNode(window->Document->FindNodeByText("Description"));
    EXPECT_EQ(enabled(), std::vector<bool>(6, false));
}

TEST_F(MainFormKeys, ReplaceAllIsTakenBackInOneStepInEverySection) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    TRPGProgram& doc = *window->Document;
    doc.AddSubRoutine("SUMUP", "");
    TreeNode* sumup = doc.FindNodeByText("SUMUP");
    ASSERT_NE(sumup, nullptr);
    sumup->Section()->SetLines({"  BEGSR(SUMUP)", "  ADD(TOTAL:2:TOTAL)", "  ENDSR()"});
    window->SelectNode(doc.MainRoutineNode);
    const StringList mainBefore = doc.MainRoutineSection.LineTexts();
    const StringList sumupBefore = sumup->Section()->LineTexts();

    // Replace All of TOTAL by SUM over the whole program, without asking.
    TFormFind& find = *frame->FormFind;
    find.RunModal = [](TFormFind& form) {
        form.ComboTextToFind->setEditText("TOTAL");
        form.ComboTextReplace->setEditText("SUM");
        form.RadioScope->SetItemIndex(TFormFind::AllProgram);
        form.RadioOrigin->SetItemIndex(TFormFind::FromBeginOfProgram);
        form.CheckPrompt->setChecked(false);
        form.BtnAllClick();
    };
    Box.Queue(Prompter::Answer::Ok); // "Operation Complete!"
    frame->SearchReplaceItem->trigger();
    ASSERT_EQ(doc.Tree.Selected(), sumup);
    EXPECT_EQ(window->RichEditSource->Line(1), "  ADD(SUM:2:SUM)");
    EXPECT_EQ(doc.MainRoutineSection.LineTexts()[0], "  Z-ADD(0:SUM)");
    EXPECT_EQ(frame->EditUndoItem->text(), "&Undo Replace All");

    // One Undo from the editor's own key: every section has its text back, also the main
    // routine, which is no longer on show.
    window->RichEditSource->setFocus();
    QTest::keyClick(window->RichEditSource, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->RichEditSource->Lines(), sumupBefore);
    EXPECT_EQ(doc.MainRoutineSection.LineTexts(), mainBefore);
    EXPECT_EQ(frame->EditUndoItem->text(), "&Undo");
    EXPECT_EQ(frame->EditRedoItem->text(), "&Redo Replace All");

    // Redo from the menu gives it all again; Undo from the menu takes it back again.
    frame->EditRedoItem->trigger();
    EXPECT_EQ(doc.MainRoutineSection.LineTexts()[0], "  Z-ADD(0:SUM)");
    EXPECT_EQ(window->RichEditSource->Line(1), "  ADD(SUM:2:SUM)");
    frame->EditUndoItem->trigger();
    EXPECT_EQ(doc.MainRoutineSection.LineTexts(), mainBefore);

    // Typing afterwards: Undo is the typing's again, and the group is gone.
    frame->EditRedoItem->trigger();
    window->RichEditSource->SetCaretPos(0, 0);
    QTest::keyClicks(window->RichEditSource, "X");
    EXPECT_EQ(frame->EditUndoItem->text(), "&Undo");
    frame->EditUndoItem->trigger();
    EXPECT_EQ(window->RichEditSource->Line(0), "  BEGSR(SUMUP)");
    EXPECT_EQ(doc.MainRoutineSection.LineTexts()[0], "  Z-ADD(0:SUM)");
}

TEST_F(MainFormKeys, AGroupWhoseSectionChangedSinceIsNotTakenBack) {
    auto frame = Start();
    TEditorsHolder* window = NewProgram(*frame);
    TRPGProgram& doc = *window->Document;
    window->SelectNode(doc.FindNodeByText("Description"));
    window->BeginEditGroup();
    window->RichEditSource->SetCaretPos(0, 0);
    QTest::keyClicks(window->RichEditSource, "NEW ");
    window->SelectNode(doc.MainRoutineNode);
    window->EndEditGroup("Replace All");
    ASSERT_EQ(doc.DescriptionSection.LineTexts(), (StringList{"NEW What the program does"}));
    ASSERT_EQ(frame->EditUndoItem->text(), "&Undo Replace All");
    // The description is changed again by something the group did not make.
    doc.DescriptionSection.SetLines({"changed by hand"});
    window->UndoEdit();
    EXPECT_EQ(doc.DescriptionSection.LineTexts(), (StringList{"changed by hand"}));
    EXPECT_EQ(window->StatusPanel(TEditorsHolder::MessagePanel)->text(),
              "Replace All cannot be undone: Description has changed since.");
    EXPECT_EQ(frame->EditUndoItem->text(), "&Undo");
}

} // namespace
