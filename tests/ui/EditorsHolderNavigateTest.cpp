// The program window's ways to a place: compile findings, the cross-reference, the colouring
// and the column ruler, the restore commands.

#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/ColSortListView.h"
#include "ui/ColumnRuler.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormCompileStat.h"
#include "ui/ProgramTreeModel.h"
#include "ui/ProgramTreeView.h"
#include "ui/SourceHighlighter.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::ProgramPage;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;

namespace {

constexpr int kRpgPageIndex = 3;

class EditorNavigate : public orvale::test::EditorWindowTest {
protected:
    TreeNode* Selected() { return Doc().Tree.Selected(); }
    int CaretLine() { return Window->RichEditSource->CaretPos().y(); }
    QString Panel(int index) { return Window->StatusPanel(index)->text(); }
    void ShowActive() {
        Window->show();
        QApplication::setActiveWindow(Window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    // One error in a subroutine (line 3 of it) and one warning in the main routine (line 2).
    void ProgramWithFindings() {
        Doc().NewProgram();
        Doc().MainRoutineSection.SetLines({"  Z-add(0,X)", "  Z-add(1,Y) junk", "  Exsr(SR1)"});
        Doc().AddSubRoutine("SR1", "")->SetLines(
            {"  Begsr(SR1)", "  Add(1,X,X)", "  NOSUCH(X)", "  Endsr()"});
    }
};

QPoint RowCentre(QListWidget& list, int row) {
    return list.visualItemRect(list.item(row)).center();
}

} // namespace

TEST_F(EditorNavigate, ErrorRowsLeadToTheStatementAndF8StepsThroughThem) {
    ProgramWithFindings();
    ShowActive();
    QStringList rows;
    Window->Services.RunDialog = [&](QDialog& dialog) {
        auto& form = dynamic_cast<TFormCompileStat&>(dialog);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < form.ListErrors->count(); ++i)
            rows << form.ListErrors->item(i)->text();
        // The error's own line, then the section's line: both lead to the failing statement,
        // while the window stays open.
        int error = static_cast<int>(rows.indexOf("    line 3: **ERROR: Invalid operating code!"));
        EXPECT_GE(error, 0);
        QPoint at = RowCentre(*form.ListErrors, error);
        QTest::mouseClick(form.ListErrors->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form.ListErrors->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(Selected(), Node("SR1"));
        EXPECT_EQ(Window->ActivePage(), ProgramPage::Source);
        EXPECT_EQ(CaretLine(), 2);
        EXPECT_TRUE(form.isVisible());
        // Enter on the main routine's line goes to its warning and keeps the window open.
        form.ListErrors->setFocus();
        form.ListErrors->setCurrentRow(0);
        QTest::keyClick(form.ListErrors, Qt::Key_Return);
        EXPECT_EQ(Selected(), Node("Main Routine"));
        EXPECT_EQ(CaretLine(), 1);
        EXPECT_TRUE(form.isVisible());
        return true;
    };
    EXPECT_FALSE(Window->CompileProgram(true));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[0].startsWith("Main Routine"));
    EXPECT_TRUE(rows[1].startsWith("    line 2:      **WARNING:") ||
                rows[1].startsWith("    line 2: **WARNING:"));

    // The source marks the failing line, with the message on hover; the tree badges both.
    Window->SelectNode(Node("SR1"));
    const auto& marks = Window->RichEditSource->LineMarks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_TRUE(marks.at(2).Error);
    EXPECT_EQ(marks.at(2).Message, "**ERROR: Invalid operating code!");
    const auto& badges =
        dynamic_cast<TProgramTreeModel&>(*Window->TreeProgram->model()).FindingMarks();
    EXPECT_EQ(badges.at(Node("SR1")).Errors, 1);
    EXPECT_EQ(badges.at(Node("Main Routine")).Warnings, 1);
    EXPECT_FALSE(badges.contains(Node("Init SubRoutine")));

    // F8 and Shift+F8 step through both, across sections and around.
    ShowActive();
    Window->SelectNode(Doc().Tree.Root());
    Window->RichEditSource->setFocus();
    QTest::keyClick(Window.get(), Qt::Key_F8);
    EXPECT_EQ(Selected(), Node("Main Routine"));
    EXPECT_EQ(CaretLine(), 1);
    EXPECT_TRUE(Panel(TEditorsHolder::MessagePanel).startsWith("1 of 2"));
    QTest::keyClick(Window->RichEditSource, Qt::Key_F8);
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(CaretLine(), 2);
    QTest::keyClick(Window->RichEditSource, Qt::Key_F8);
    EXPECT_EQ(Selected(), Node("Main Routine"));
    QTest::keyClick(Window->RichEditSource, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), Node("SR1"));
    EXPECT_EQ(CaretLine(), 2);
}

TEST_F(EditorNavigate, ErrorLinesOfTheRpgPageLeadToTheirStatement) {
    ProgramWithFindings();
    Window->SelectNode(Node("SR1"));
    Window->PageControl->setCurrentIndex(kRpgPageIndex);
    const StringList& compiled = Node("SR1")->Section()->CompiledTexts();
    int error = -1;
    for (size_t k = 0; k < compiled.size(); ++k)
        if (compiled[k].starts_with("**ERROR"))
            error = static_cast<int>(k);
    ASSERT_GE(error, 0);
    // A line that is no finding leaves the page as it is.
    Window->RpgViewLineActivated(0);
    EXPECT_EQ(Window->ActivePage(), ProgramPage::RpgView);
    Window->RpgViewLineActivated(error);
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Source);
    EXPECT_EQ(CaretLine(), 2);

    // The ruler shows the format line of the form type under the caret.
    Window->PageControl->setCurrentIndex(kRpgPageIndex);
    Window->MemoRPGView->SetCaretPos(0, error + 1);
    EXPECT_TRUE(Window->RulerRPGView->FormatText().startsWith("     CL0N01N02N03Factor1+++Opcde"));
    Window->MemoRPGView->SetCaretPos(0, error);
    EXPECT_TRUE(Window->RulerRPGView->FormatText().isEmpty());
}

TEST_F(EditorNavigate, EveryUseOfAFlagIsListedAndLeadsToItsPlace) {
    Doc().NewProgram();
    Doc().MainRoutineSection.SetLines(
        {"  Comp(A,B,,,05)", "  /* *IN05 in a comment */", "{05}  Exsr(SR1)", "  Setof(05)"});
    ShowActive();
    Window->SelectNode(Node("Indicators"));
    ASSERT_EQ(Window->ListViewObject->ItemCount(), 1);
    Window->ListViewObject->ReportView()->setCurrentItem(Window->ListViewObject->Item(0));
    ASSERT_FALSE(Window->ListViewUses->isHidden());
    QTreeWidget& uses = *Window->ListViewUses;
    ASSERT_EQ(uses.topLevelItemCount(), 3);
    QApplication::processEvents();
    QStringList roles;
    for (int i = 0; i < uses.topLevelItemCount(); ++i)
        roles << uses.topLevelItem(i)->text(1) + " " + uses.topLevelItem(i)->text(3);
    EXPECT_EQ(roles,
              QStringList({"1 resulting indicator eq", "3 conditions the line", "4 set off"}));
    // A double click lands on the line and the column of the use.
    uses.setCurrentItem(uses.topLevelItem(2));
    QPoint at = uses.visualItemRect(uses.topLevelItem(2)).center();
    QTest::mouseClick(uses.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(uses.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Selected(), Node("Main Routine"));
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(8, 3));

    // The field at the caret gets a window of its uses.
    Window->RichEditSource->SetCaretPos(8, 0);
    Window->PopCrossReferenceClick();
    ASSERT_NE(Window->ListCrossRef, nullptr);
    EXPECT_EQ(Window->ListCrossRef->topLevelItemCount(), 1);
    EXPECT_EQ(Window->ListCrossRef->topLevelItem(0)->text(3), "read");
}

TEST_F(EditorNavigate, TheWindowOfUsesKeepsClearOfTheLineItLeadsTo) {
    Doc().NewProgram();
    StringList lines;
    for (int i = 0; i < 12; ++i)
        lines.push_back("  Add(1,TOTAL,TOTAL)");
    Doc().MainRoutineSection.SetLines(lines);
    Window->resize(900, 600);
    ShowActive();
    Window->SelectNode(Node("Main Routine"));
    Window->RichEditSource->SetCaretPos(9, 0);
    Window->PopCrossReferenceClick();
    QDialog& uses = *Window->FormCrossRef;
    ASSERT_TRUE(uses.isVisible());
    EXPECT_FALSE(uses.frameGeometry().intersects(Window->RichEditSource->CaretLineRect()));
    // Put over the text, it moves off each line a row of it leads to.
    for (int row : {5, 9}) {
        uses.move(Window->RichEditSource->mapToGlobal(QPoint(0, 0)));
        QTreeWidgetItem* item = Window->ListCrossRef->topLevelItem(row);
        Window->ListCrossRef->setCurrentItem(item);
        emit Window->ListCrossRef->itemActivated(item, 0);
        EXPECT_EQ(CaretLine(), row / 2);
        EXPECT_FALSE(uses.frameGeometry().intersects(Window->RichEditSource->CaretLineRect()))
            << "row " << row;
    }
}

TEST_F(EditorNavigate, FirstUseRowsLandOnTheirLine) {
    Doc().NewProgram();
    Doc().MainRoutineSection.SetLines({"  Z-add(0,X)", "  Z-add(0,Y)", "  Move(*ON,*IN07)"});
    Window->SelectNode(Node("Indicators"));
    ASSERT_EQ(Window->ListViewObject->ItemCount(), 1);
    QTreeWidgetItem* row = Window->ListViewObject->Item(0);
    Window->ListViewObject->ReportView()->setCurrentItem(row);
    emit Window->ListViewObject->ItemDoubleClicked(row);
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Source);
    // Column 12 (1-based) of line 3: where *IN07 starts.
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(11, 2));
}

TEST_F(EditorNavigate, ColouringFollowsTheStatementsAndTheBackground) {
    Doc().NewProgram();
    Window->SelectNode(Node("Main Routine"));
    Window->RichEditSource->SetLines({"{01}  Move('A',X)  /* note */"});
    QTextBlock block = Window->RichEditSource->document()->firstBlock();
    auto colourAt = [&](int column) {
        for (const QTextLayout::FormatRange& r : block.layout()->formats())
            if (column >= r.start && column < r.start + r.length)
                return r.format.foreground().color();
        return QColor();
    };
    TSourceHighlighter& colours = *Window->SourceColours;
    EXPECT_TRUE(colours.DarkBackground());
    EXPECT_EQ(colourAt(1), colours.FormatOf(SpanKind::Flags).foreground().color());
    EXPECT_EQ(colourAt(6), colours.FormatOf(SpanKind::Name).foreground().color());
    EXPECT_EQ(colourAt(11), colours.FormatOf(SpanKind::Literal).foreground().color());
    EXPECT_EQ(colourAt(22), colours.FormatOf(SpanKind::Comment).foreground().color());
    // On a light background the colours change to ones that read there.
    QColor onDark = colourAt(6);
    Window->RichEditSource->SetBackColor(Qt::white);
    EXPECT_FALSE(colours.DarkBackground());
    EXPECT_NE(colourAt(6), onDark);
    EXPECT_LT(colourAt(6).lightness(), 128);
}

TEST_F(EditorNavigate, RestoreCommandsWithNothingToRestoreAreOffAndSayWhy) {
    Doc().NewProgram();
    Window->SelectNode(Node("Main Routine"));
    Window->UpdateRestoreCommands();
    EXPECT_FALSE(Window->PopRestLastOpen->isEnabled());
    EXPECT_FALSE(Window->PopRestLastSave->isEnabled());
    EXPECT_FALSE(Window->PopRestPrevUpdate->isEnabled());
    EXPECT_TRUE(Window->PopRestLastUpdate->isEnabled());
    EXPECT_EQ(Window->PopRestLastOpen->statusTip(),
              "Last Open: the program was not opened from a program file.");
    // Reached from the frame's menu, the command says so instead of doing nothing silently.
    Window->PopRestLastOpenClick();
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel),
              "Last Open: the program was not opened from a program file.");
    // After a second update the text of the first can come back.
    for (const char* typed : {"  Z-add(0,X)", "  Z-add(1,X)"}) {
        Window->RichEditSource->SetCaretPos(0, 0);
        QTest::keyClicks(Window->RichEditSource, typed);
        Window->PopUpdateSectionClick();
    }
    Window->UpdateRestoreCommands();
    EXPECT_TRUE(Window->PopRestPrevUpdate->isEnabled());
}
