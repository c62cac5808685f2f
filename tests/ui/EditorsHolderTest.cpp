#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"
#include "ui/ColSortListView.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormGestSubSec.h"
#include "ui/ProgramTreeModel.h"
#include "ui/ProgramTreeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::ProgramPage;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;
using orvale::test::ShownIn;
using orvale::test::TempDir;
using Shown = ScriptedPrompter::Shown;

namespace {

const Shown Info(const std::string& text) {
    return {Prompter::Kind::Information, text, Prompter::Buttons::Ok, ""};
}

// What the add/change dialog showed when it ran.
struct DialogSeen {
    QString Caption;
    QString Name;
    QString Description;
    bool NameEnabled = false;
    bool PurgeShown = false;
};

class EditorWindow : public ::testing::Test {
protected:
    EditorWindow() {
        orvale::test::QtApp();
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    ~EditorWindow() override { RegionalSettings::SetCurrent(Saved); }

    void SetUp() override {
        Setup.UserName = "USER1";
        Setup.ProgramDir = Dir.Path() + "/";
        Window = std::make_unique<TEditorsHolder>(Box, Setup, &Frame);
        Frame.Windows.push_back(Window.get());
        Doc().NewProgram();
        Window->TreeProgramChange();
        Box.Clear();
    }

    TRPGProgram& Doc() { return *Window->Document; }
    TreeNode* Node(const std::string& text) { return Doc().FindNodeByText(text); }
    void Select(const std::string& text) { Window->SelectNode(Node(text)); }
    QString Panel(int index) { return Window->StatusPanel(index)->text(); }

    // The next add/change dialog is filled in like this and closed with OK (or Cancel).
    void AnswerDialog(const std::string& name, const std::string& description, bool ok = true,
                      bool purgeModify = false, bool purgeOthers = false) {
        Window->Services.RunDialog = [=, this](QDialog& dialog) {
            auto& form = dynamic_cast<TFormGestSubSec&>(dialog);
            Seen = {form.windowTitle(), form.EditName->text(), form.EditDesc->text(),
                    form.EditName->isEnabled(), !form.CheckPurge->isHidden()};
            if (form.EditName->isEnabled())
                form.EditName->setText(QString::fromLatin1(name.c_str()));
            form.EditDesc->setText(QString::fromLatin1(description.c_str()));
            form.CheckPurge->setChecked(purgeModify);
            form.CheckPurgeAll->setChecked(purgeOthers);
            return ok;
        };
    }
    void AddSub(const std::string& name, const std::string& description = "") {
        AnswerDialog(name, description);
        Window->SpeedBtnAddSubClick();
    }

    void ShowActive() {
        Window->show();
        QApplication::setActiveWindow(Window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    TempDir Dir;
    ScriptedPrompter Box;
    FakeEditorFrame Frame;
    TEditorSetup Setup;
    std::unique_ptr<TEditorsHolder> Window;
    DialogSeen Seen;
};

std::vector<std::string> Children(const TreeNode* node) {
    std::vector<std::string> texts;
    for (int i = 0; i < node->Count(); ++i)
        texts.push_back(node->Child(i)->Text);
    return texts;
}

std::vector<std::string> ListCaptions(const TColSortListView& list, int column = 0) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.ItemCount(); ++i)
        captions.push_back(list.Item(i)->text(column).toStdString());
    return captions;
}

} // namespace

// -- Adding sections

TEST_F(EditorWindow, NewSubroutineNamesAreCheckedInOrder) {
    AddSub("ABCDEFGHIJ", "ten characters");
    EXPECT_EQ(Seen.Caption, "Add New Sub Routine");
    EXPECT_TRUE(Box.Messages.empty());
    TreeNode* added = Node("ABCDEFGHIJ");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Parent(), Doc().SubRoutinesNode);
    EXPECT_EQ(added->ImageIndex, 9);
    EXPECT_EQ(added->Section()->Properties.Description, "ten characters");
    EXPECT_EQ(added->Section()->LineTexts(),
              (StringList{"                Begsr(ABCDEFGHIJ)", "", "                Endsr()"}));

    AddSub("ABCDEFGHIJK");
    AddSub("");
    // An existing name is refused before its length is looked at.
    AddSub("Sub Routines");
    AddSub("ABCDEFGHIJ");
    EXPECT_EQ(Box.Messages,
              (std::vector<Shown>{Info("Name Too Long!"), Info("Invalid Name!"),
                                  Info("One section with same name already exist!"),
                                  Info("One section with same name already exist!")}));
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"ABCDEFGHIJ"}));
}

TEST_F(EditorWindow, SectionNamesCompareExactly) {
    AddSub("MAIN");
    AddSub("Main");
    EXPECT_TRUE(Box.Messages.empty());
    AddSub("MAIN");
    EXPECT_EQ(Box.Messages,
              (std::vector<Shown>{Info("One section with same name already exist!")}));
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"MAIN", "Main"}));
    // A cancelled dialog changes nothing and says nothing.
    Box.Clear();
    AnswerDialog("OTHER", "", false);
    Window->SpeedBtnAddSubClick();
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Node("OTHER"), nullptr);
}

TEST_F(EditorWindow, ArraysAndOutputsGoToTheirFolders) {
    Select("Arrays");
    AnswerDialog("TAB1", "table");
    Window->SpeedBtnAddArrayClick();
    EXPECT_EQ(Seen.Caption, "Add New Data Array");
    Select("Output");
    AnswerDialog("QPRINT", "printer");
    Window->SpeedBtnAddOutClick();
    EXPECT_EQ(Seen.Caption, "Add New Output Specification");
    EXPECT_EQ(Node("TAB1")->Parent(), Doc().ArraysNode);
    EXPECT_EQ(Node("TAB1")->ImageIndex, 20);
    EXPECT_EQ(Node("QPRINT")->Parent(), Doc().OutputNode);
    EXPECT_EQ(Node("QPRINT")->ImageIndex, 19);
    // The folder on show lists the new entry at once.
    EXPECT_EQ(ListCaptions(*Window->ListViewObject), (std::vector<std::string>{"QPRINT"}));
    EXPECT_TRUE(Node("QPRINT")->Section()->LineTexts().empty());
}

TEST_F(EditorWindow, SubroutineTextGoesIntoTheNewSectionOnly) {
    // An output section whose name differs only in case comes later in the tree than the
    // subroutines; the new subroutine's lines must not land in it.
    Select("Output");
    AnswerDialog("OUT1", "");
    Window->SpeedBtnAddOutClick();
    AddSub("out1");
    EXPECT_TRUE(Node("OUT1")->Section()->LineTexts().empty());
    EXPECT_EQ(Node("out1")->Section()->LineTexts().front(), "                Begsr(out1)");
}

// -- Changing properties

TEST_F(EditorWindow, RenamingChecksTheNewName) {
    AddSub("CALC");
    AddSub("OTHER");
    Select("CALC");
    AnswerDialog("OTHER", "changed");
    Window->SpeedBtnChPropClick();
    EXPECT_EQ(Seen.Caption, "Change Section Property");
    EXPECT_EQ(Seen.Name, "CALC");
    EXPECT_TRUE(Seen.NameEnabled);
    EXPECT_FALSE(Seen.PurgeShown);
    AnswerDialog("CALCULATION", "changed");
    Window->SpeedBtnChPropClick();
    AnswerDialog("", "changed");
    Window->SpeedBtnChPropClick();
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{Info("One section with same name already exist!"),
                                                Info("Name Too Long!"), Info("Invalid Name!")}));
    EXPECT_EQ(Node("CALC")->Section()->Properties.Description, "");

    // Keeping the name is no clash; renaming rewrites the routine's own BEGSR.
    AnswerDialog("CALC", "kept");
    Window->SpeedBtnChPropClick();
    EXPECT_EQ(Node("CALC")->Section()->Properties.Description, "kept");
    AnswerDialog("CALC2", "renamed");
    Window->SpeedBtnChPropClick();
    ASSERT_NE(Node("CALC2"), nullptr);
    EXPECT_EQ(Window->RichEditSource->Line(0), "                Begsr(CALC2)");
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "Modified");
}

TEST_F(EditorWindow, FixedSectionsKeepTheirNameButTakeADescription) {
    // "Main Routine" is longer than a section name may be; its description still changes.
    Select("Main Routine");
    AnswerDialog("IGNORED", "the main calculations");
    Window->SpeedBtnChPropClick();
    EXPECT_FALSE(Seen.NameEnabled);
    EXPECT_EQ(Seen.Description, "Program's Main Routine");
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Doc().MainRoutineSection.Properties.Name, "Main Routine");
    EXPECT_EQ(Doc().MainRoutineSection.Properties.Description, "the main calculations");

    Select("Sub Routines");
    AnswerDialog("", "all routines");
    Window->SpeedBtnChPropClick();
    EXPECT_EQ(Doc().SubRoutinesFolder.Description, "all routines");
    EXPECT_EQ(Doc().SubRoutinesNode->Text, "Sub Routines");
}

TEST_F(EditorWindow, HistoryPropertiesOfferThePurge) {
    Doc().HistorySection.AddLine("CALC,Modify,USER1,01/01/2000,");
    Doc().HistorySection.AddLine("CALC,Add,USER1,01/01/2000,In: Sub Routines");
    Select("History");
    Box.Queue(Prompter::Answer::Yes);
    AnswerDialog("", "log", true, true, false);
    Window->SpeedBtnChPropClick();
    EXPECT_TRUE(Seen.PurgeShown);
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, "History Log will be Purged.  Continue?");
    EXPECT_EQ(Doc().HistorySection.LineTexts(),
              (StringList{"CALC,Add,USER1,01/01/2000,In: Sub Routines"}));
    EXPECT_EQ(Doc().HistorySection.Properties.Description, "log");
}

// -- Deleting

TEST_F(EditorWindow, DeleteActsOnWhatHasTheFocus) {
    ShowActive();
    AddSub("ONE");
    AddSub("TWO");
    AddSub("THREE");

    // The tree has the focus: the selected section goes, after the document's confirmation.
    Select("TWO");
    Window->TreeProgram->setFocus();
    Box.Queue(Prompter::Answer::Ok);
    Window->SpeedBtnDeleteSecClick();
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages.back().Text, "Delete the section: Sub Routines.TWO?");
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"ONE", "THREE"}));

    // The object list has the focus with the folder on show: the selected item goes.
    Select("Sub Routines");
    Window->ListViewObject->ReportView()->setFocus();
    Window->ListViewObject->ReportView()->setCurrentItem(Window->ListViewObject->Item(1));
    ASSERT_EQ(Window->ListViewObject->SelectedItem()->text(0), "THREE");
    Box.Queue(Prompter::Answer::Ok);
    Window->SpeedBtnDeleteSecClick();
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"ONE"}));
    EXPECT_EQ(ListCaptions(*Window->ListViewObject), (std::vector<std::string>{"ONE"}));

    // Anywhere else the button does nothing.
    Box.Clear();
    Select("ONE");
    Window->ComboFont->setFocus();
    Window->SpeedBtnDeleteSecClick();
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_NE(Node("ONE"), nullptr);
}

// -- The tree

TEST_F(EditorWindow, DropsOnlyReorderWithinAFolder) {
    ShowActive();
    AddSub("A");
    AddSub("B");
    AddSub("C");
    Select("Arrays");
    AnswerDialog("TAB1", "");
    Window->SpeedBtnAddArrayClick();
    TProgramTreeView& tree = *Window->TreeProgram;
    tree.expandAll();
    auto label = [&](const std::string& text) {
        QRect item = tree.visualRect(tree.TreeModel()->IndexOf(Node(text)));
        return QPoint(item.left() + tree.iconSize().width() + 4, item.center().y());
    };

    // On its own folder a node becomes the first child; on a sibling it goes before it.
    EXPECT_TRUE(tree.DropAt(Node("C"), label("Sub Routines")));
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_TRUE(tree.DropAt(Node("B"), label("A")));
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"C", "B", "A"}));
    // A node of another folder is no target, and neither is the blank part of a row.
    tree.DropAt(Node("A"), label("TAB1"));
    QRect row = tree.visualRect(tree.TreeModel()->IndexOf(Node("C")));
    EXPECT_FALSE(tree.DropAt(Node("A"), QPoint(tree.viewport()->width() - 2, row.center().y())));
    EXPECT_EQ(Children(Doc().SubRoutinesNode), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(Children(Doc().ArraysNode), (std::vector<std::string>{"TAB1"}));
    // The object list refuses drops altogether.
    EXPECT_FALSE(Window->ListViewObject->ReportView()->acceptDrops());
}

TEST_F(EditorWindow, TreeShowsTheImagesAndTheSelection) {
    TProgramTreeModel& model = *Window->TreeProgram->TreeModel();
    auto imageOf = [&](const std::string& text) {
        return model.data(model.IndexOf(Node(text)), Qt::DecorationRole).value<QIcon>();
    };
    // The root shows its selected image while selected, its own image otherwise.
    Select("NoName.RPG");
    QIcon selectedRoot = imageOf("NoName.RPG");
    Select("Header");
    QIcon plainRoot = imageOf("NoName.RPG");
    EXPECT_NE(selectedRoot.cacheKey(), plainRoot.cacheKey());
    EXPECT_NE(imageOf("Header").cacheKey(), imageOf("Input").cacheKey());
    EXPECT_EQ(model.IndexOf(Node("Header")), Window->TreeProgram->currentIndex());
}

TEST_F(EditorWindow, TreePanelKeepsItsShareWithinLimits) {
    ShowActive();
    Window->resize(800, 500);
    QApplication::processEvents();
    int share = Window->TreePanelWidth();
    EXPECT_NEAR(800.0 / share, Window->TreeRatio, 1e-9);
    Window->resize(400, 500);
    QApplication::processEvents();
    EXPECT_NEAR(Window->TreePanelWidth(), share / 2, 1);

    Window->resize(60, 500);
    QApplication::processEvents();
    EXPECT_EQ(Window->TreePanelWidth(), 20);
    Window->resize(30, 500);
    QApplication::processEvents();
    EXPECT_LE(Window->TreePanelWidth(), 10);

    // Dragging the splitter's handle past the window stops 20 pixels short of its end.
    Window->resize(600, 500);
    QApplication::processEvents();
    QSplitter* splitter = Window->SplitterTree;
    ASSERT_NE(splitter, nullptr);
    QSplitterHandle* handle = splitter->handle(1);
    QPoint grip(handle->width() / 2, handle->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(1000, 0)),
                     QPointF(handle->mapToGlobal(grip + QPoint(1000, 0))), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(1000, 0));
    QApplication::processEvents();
    // The pages keep their 20 pixels beside the handle.
    int widest = 600 - 20 - splitter->handleWidth();
    EXPECT_EQ(Window->TreePanelWidth(), widest);
    EXPECT_NEAR(Window->TreeRatio, 600.0 / widest, 1e-9);
}

// -- Pages, tool bar and status bar

TEST_F(EditorWindow, SelectionDecidesPagesToolsAndStatus) {
    AddSub("CALC", "calculations");
    Select("Output");
    AnswerDialog("QPRINT", "");
    Window->SpeedBtnAddOutClick();

    Select("NoName.RPG");
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Objects);
    EXPECT_FALSE(Window->PageVisible(ProgramPage::Source));
    EXPECT_TRUE(Window->SpeedBtnBigIcon->isEnabled());
    EXPECT_TRUE(Window->ComboFont->isHidden());
    EXPECT_FALSE(Window->SpeedBtnChProp->isEnabled());
    EXPECT_FALSE(Window->SpeedBtnDeleteSec->isEnabled());
    EXPECT_EQ(Frame.EditCommands.back(), false);
    EXPECT_EQ(Frame.EditButtons.back(), false);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "NoName.RPG");

    Select("CALC");
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Source);
    EXPECT_TRUE(Window->PageVisible(ProgramPage::RpgView));
    EXPECT_FALSE(Window->PageVisible(ProgramPage::Objects));
    EXPECT_FALSE(Window->SpeedBtnBigIcon->isEnabled());
    EXPECT_FALSE(Window->ComboFont->isHidden());
    EXPECT_TRUE(Window->SpeedBtnDeleteSec->isEnabled());
    EXPECT_FALSE(Window->SpeedBtnPrnAid->isEnabled());
    EXPECT_EQ(Frame.EditCommands.back(), true);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "calculations");
    EXPECT_EQ(Panel(TEditorsHolder::CaretPanel), "0: 0");
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "");

    Select("QPRINT");
    EXPECT_TRUE(Window->SpeedBtnPrnAid->isEnabled());
    Select("Sub Routines");
    EXPECT_TRUE(Window->SpeedBtnDeleteSec->isEnabled());
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "Folder of the Sub Routines");
    Select("Property");
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Setting);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "Program's Propertys");
    Select("Indicators");
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Objects);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "Indicators");
    EXPECT_FALSE(Window->SpeedBtnChProp->isEnabled());
}

TEST_F(EditorWindow, ToolsFollowWhatTheDocumentShows) {
    // The frame opens programs through the document; the tool bar follows all the same.
    TEditorsHolder fresh(Box, Setup, &Frame);
    EXPECT_FALSE(fresh.SpeedBtnChProp->isEnabled());
    fresh.Document->NewProgram();
    EXPECT_EQ(fresh.ActivePage(), ProgramPage::Objects);
    EXPECT_TRUE(fresh.SpeedBtnBigIcon->isEnabled());
    EXPECT_FALSE(fresh.SpeedBtnDeleteSec->isEnabled());
    EXPECT_TRUE(fresh.ComboFont->isHidden());

    // A click on the tree hands the focus to the section's text.
    ShowActive();
    Select("Header");
    TProgramTreeView& tree = *Window->TreeProgram;
    tree.setFocus();
    QRect header = tree.visualRect(tree.TreeModel()->IndexOf(Node("Header")));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, header.center());
    EXPECT_EQ(QApplication::focusWidget(), Window->RichEditSource);
}

TEST_F(EditorWindow, ObjectListSortsAndLeadsBackToTheTree) {
    AddSub("ZETA", "last");
    AddSub("ALPHA", "first");
    Node("ZETA")->Section()->SetLines(StringList(10, "x"));
    Node("ALPHA")->Section()->SetLines(StringList(2, "x"));
    Select("Sub Routines");
    // A folder lists by name; the root keeps the tree's order.
    EXPECT_EQ(ListCaptions(*Window->ListViewObject), (std::vector<std::string>{"ALPHA", "ZETA"}));
    EXPECT_EQ(Window->ListViewObject->ReportView()->headerItem()->textAlignment(1) &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    Window->ListViewObject->ColumnClick(1);
    EXPECT_EQ(ListCaptions(*Window->ListViewObject, 1), (std::vector<std::string>{"2", "10"}));
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "Sorted by Lines");
    Window->ListViewObject->ColumnClick(1);
    EXPECT_EQ(ListCaptions(*Window->ListViewObject, 1), (std::vector<std::string>{"10", "2"}));

    QTreeWidget* report = Window->ListViewObject->ReportView();
    report->setCurrentItem(Window->ListViewObject->Item(0));
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "last");
    emit report->itemDoubleClicked(Window->ListViewObject->Item(0), 0);
    EXPECT_EQ(Doc().Tree.Selected(), Node("ZETA"));
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Source);

    Select("NoName.RPG");
    EXPECT_EQ(ListCaptions(*Window->ListViewObject)[0], "Property");
    Window->SpeedBtnBigIcon->click();
    EXPECT_EQ(Window->ListViewObject->Style(), TColSortListView::ViewStyle::LargeIcon);
    Window->SpeedBtnReport->click();
    EXPECT_EQ(Window->ListViewObject->Style(), TColSortListView::ViewStyle::Report);
}

TEST_F(EditorWindow, SettingsGridsEditTogether) {
    ShowActive();
    Select("Property");
    QTableWidget* names = Window->StringGridName;
    QTableWidget* values = Window->StringGridValue;
    ASSERT_EQ(values->rowCount(), 13);
    EXPECT_EQ(names->item(1, 0)->text(), "Name");
    EXPECT_EQ(values->item(1, 0)->text(), "NoName.RPG");
    EXPECT_TRUE(names->font().bold());
    EXPECT_EQ(names->editTriggers(), QAbstractItemView::NoEditTriggers);

    // An edit that keeps the text is no change.
    values->setFocus();
    values->setCurrentCell(2, 0);
    EXPECT_EQ(names->currentRow(), 2);
    auto edit = [&](const char* typed) {
        values->editItem(values->item(2, 0));
        QLineEdit* editor = nullptr;
        for (QLineEdit* line : values->viewport()->findChildren<QLineEdit*>())
            if (line->isVisible())
                editor = line;
        ASSERT_NE(editor, nullptr);
        if (typed) {
            editor->selectAll();
            QTest::keyClicks(editor, typed);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        // The view stores the edit when control returns to the event loop.
        QApplication::processEvents();
    };
    edit(nullptr);
    EXPECT_EQ(Window->CellTextBefore(), " ");
    EXPECT_FALSE(Doc().EditorModified);
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "");

    edit("Payroll run");
    EXPECT_TRUE(Doc().EditorModified);
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "Modified");
    Select("Header");
    EXPECT_EQ(Doc().PropertySection.GetLine(2), "Description=Payroll run");

    // Both grids scroll as one.
    Select("Property");
    Window->resize(600, 160);
    QApplication::processEvents();
    values->verticalScrollBar()->setValue(5);
    EXPECT_EQ(names->verticalScrollBar()->value(), 5);
}

// -- Source editor and its popup menu

TEST_F(EditorWindow, EditsAreCommittedFromThePopup) {
    AddSub("CALC");
    Select("CALC");
    Window->RichEditSource->SetCaretPos(0, 1);
    QTest::keyClicks(Window->RichEditSource, "  Z-ADD(0:X)");
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "Modified");
    EXPECT_TRUE(Doc().EditorModified);
    Window->PopUpdateSection->trigger();
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "");
    EXPECT_EQ(Node("CALC")->Section()->GetLine(1), "  Z-ADD(0:X)");

    // The previous text comes back as a pending edit.
    Window->PopRestPrevUpdate->trigger();
    EXPECT_EQ(Window->RichEditSource->Line(1), "");
    EXPECT_EQ(Panel(TEditorsHolder::ModifiedPanel), "Modified");
}

TEST_F(EditorWindow, PopupHasEveryItemAndShortCut) {
    auto caption = [&](QAction* action) { return action->text().toStdString(); };
    EXPECT_EQ(caption(Window->PopPaste), "Paste");
    EXPECT_EQ(caption(Window->PopTopicSearch), "Topic &Search");
    EXPECT_EQ(Window->PopTopicSearch->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Window->PopCommandSyntax->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(Window->PopPromptatCursor->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(caption(Window->PopRestoreSection->menuAction()), "&Restore Section");
    std::vector<std::string> restore;
    for (QAction* action : Window->PopRestoreSection->actions())
        restore.push_back(caption(action));
    // In the order of the frame's Edit menu.
    EXPECT_EQ(restore, (std::vector<std::string>{"&Prev Update", "Last &Update", "Last &Save",
                                                 "Last &Open"}));
    EXPECT_EQ(caption(Window->PopImportText->menuAction()), "&Import Text File");
    EXPECT_EQ(caption(Window->PopExportTextFile->menuAction()), "&Export Text File");
    EXPECT_EQ(caption(Window->PopPrintSection), "&Print Section");
}

TEST_F(EditorWindow, PromptHelpWorksOnTheStatementAtTheCaret) {
    std::vector<std::string> prompted, symples;
    std::string answer = "ADD(X, Y, Z)";
    Window->Services.PromptHelp = [&](const std::string& dir, char formType,
                                      const std::string& text, const orvale::CodePage& page) {
        EXPECT_EQ(dir, Setup.ProgramDir);
        EXPECT_EQ(formType, 'C');
        // The statement is handed over in the code page of the window's program.
        EXPECT_EQ(&page, &Window->Edge.Page());
        prompted.push_back(text);
        return answer;
    };
    Window->Services.OpCodeFormat = [](const std::string&, const std::string& code) {
        return code + "(Factor 1, Factor 2, Result)";
    };
    Window->Services.OpCodeSymple = [&](const std::string&, const std::string& code) {
        symples.push_back(code);
        return std::string("IFxx");
    };
    Select("Main Routine");
    Window->RichEditSource->SetLines({"     ADD(A:B:C) comment", "     ENDSR()", "     ifeq(A:B)"});
    Window->RichEditSource->SetCaretPos(6, 0);

    // The whole call of the line is prompted; it comes back in the style it was written in
    // (no blank after the separators), and the caret stays where it was.
    Window->PopPromptatCursorClick();
    EXPECT_EQ(prompted, (std::vector<std::string>{"ADD(A:B:C)"}));
    EXPECT_EQ(Window->RichEditSource->Line(0), "     ADD(X,Y,Z) comment");
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(6, 0));
    answer = "CANCEL";
    Window->RichEditSource->SetCaretPos(6, 0);
    Window->PopPromptatCursorClick();
    EXPECT_EQ(Window->RichEditSource->Line(0), "     ADD(X,Y,Z) comment");

    // F2 in the editor asks for the template.
    ShowActive();
    Window->RichEditSource->setFocus();
    QTest::keyClick(Window->RichEditSource, Qt::Key_F2);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "ADD(Factor 1, Factor 2, Result)");

    // END... operations share one topic without asking the library.
    Window->RichEditSource->SetCaretPos(7, 1);
    Window->PopTopicSearchClick();
    Window->RichEditSource->SetCaretPos(7, 2);
    Window->PopTopicSearchClick();
    EXPECT_EQ(Frame.HelpKeywords, (std::vector<std::string>{"IDH_OpCod_ENDYY", "IDH_OpCod_IFXX"}));
    EXPECT_EQ(symples, (std::vector<std::string>{"ifeq"}));
}

TEST_F(EditorWindow, EverySectionPromptsItsOwnStatements) {
    std::vector<std::pair<char, std::string>> prompted;
    Window->Services.PromptHelp = [&](const std::string&, char formType, const std::string& text,
                                      const orvale::CodePage&) {
        prompted.emplace_back(formType, text);
        return std::string("FILE(CUSTMAST, DISK, U)");
    };
    Window->Services.StatementFormat = [](const std::string&, char formType,
                                          const std::string& name) {
        return formType == 'F' && UpperCase(name) == "FILE" ? std::string("FILE(File Name)")
                                                            : std::string();
    };
    TreeNode* files = Doc().FilesNode->Child(0);
    Select(files->Text);
    Window->RichEditSource->SetLines(
        {"    File(CUSTMAST,DISK,I)  /* customers", "#/COPY QRPGSRC,X"});
    Window->RichEditSource->SetCaretPos(20, 0);
    Window->PopPromptatCursorClick();
    EXPECT_EQ(prompted,
              (std::vector<std::pair<char, std::string>>{{'F', "File(CUSTMAST,DISK,I)"}}));
    EXPECT_EQ(Window->RichEditSource->Line(0), "    File(CUSTMAST,DISK,U)  /* customers");

    // A directive has nothing to prompt; the panel says so.
    Window->RichEditSource->SetCaretPos(3, 1);
    Window->PopPromptatCursorClick();
    EXPECT_EQ(prompted.size(), 1u);
    EXPECT_TRUE(Panel(TEditorsHolder::MessagePanel).startsWith("Nothing to prompt"));

    // F2 and F1 on a statement of the section: its template and its page.
    Window->RichEditSource->SetCaretPos(6, 0);
    Window->PopCommandSyntaxClick();
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "FILE(File Name)");
    Window->PopTopicSearchClick();
    EXPECT_EQ(Frame.HelpKeywords.back(), "IDH_Stmt_FILE");
    Window->RichEditSource->SetLines({"    Field(X,1,2)"});
    Window->PopCommandSyntaxClick();
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "FIELD is not a statement of this section.");

    // The description holds no statements.
    Select("Description");
    Window->RichEditSource->SetLines({"What the program does"});
    Window->PopPromptatCursorClick();
    EXPECT_EQ(prompted.size(), 1u);
    EXPECT_EQ(Panel(TEditorsHolder::MessagePanel), "This section holds no statements to prompt.");
}

TEST_F(EditorWindow, RightButtonWorksTheClipboardWhenAsked) {
    Select("Main Routine");
    Window->RichEditSource->SetLines({"ONE TWO"});
    QGuiApplication::clipboard()->setText("PASTE");
    EXPECT_FALSE(Window->RightButtonPress(Qt::NoModifier, {}));

    Window->UseRightButton = true;
    Window->RichEditSource->SetCaretPos(0, 0);
    EXPECT_TRUE(Window->RightButtonPress(Qt::NoModifier, {}));
    EXPECT_EQ(Window->RichEditSource->Line(0), "PASTEONE TWO");

    QTextCursor select = Window->RichEditSource->textCursor();
    select.setPosition(5);
    select.setPosition(8, QTextCursor::KeepAnchor);
    Window->RichEditSource->setTextCursor(select);
    Window->RightButtonPress(Qt::ControlModifier, {});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ONE");
    Window->RightButtonPress(Qt::ShiftModifier, {});
    EXPECT_EQ(Window->RichEditSource->Line(0), "PASTE TWO");
}

TEST_F(EditorWindow, FontSizeGoesToEveryWindow) {
    TEditorsHolder second(Box, Setup, &Frame);
    Frame.Windows.push_back(&second);
    EXPECT_EQ(Window->ComboFont->currentText(), "10");
    EXPECT_EQ(Window->ComboFont->count(), 13);
    Select("Main Routine");
    Window->RichEditSource->SetLines({"ABCDEF"});
    Window->RichEditSource->SetCaretPos(3, 0);

    Window->ComboFontChange(8);
    EXPECT_EQ(Frame.FontSizeIndexes, (std::vector<int>{8}));
    for (TEditorsHolder* window : {Window.get(), &second}) {
        EXPECT_EQ(window->ComboFont->currentText(), "14");
        EXPECT_EQ(window->RichEditSource->font().pointSize(), 14);
        EXPECT_EQ(window->MemoRPGView->font().pointSize(), 14);
    }
    EXPECT_EQ(Window->RichEditSource->CaretPos(), QPoint(3, 0));
    Frame.Windows.pop_back();
}

TEST_F(EditorWindow, SectionTextGoesToAndFromFiles) {
    orvale::WriteTextFile(Dir.File("in.txt"), {"NEW1", "NEW2"});
    Select("Main Routine");
    Window->RichEditSource->SetLines({"KEEP THIS"});
    QTextCursor select = Window->RichEditSource->textCursor();
    select.setPosition(5);
    select.setPosition(9, QTextCursor::KeepAnchor);
    Window->RichEditSource->setTextCursor(select);

    // Insert at the cursor puts the file before the selection, which stays in the text.
    Frame.ImportFiles.push_back(Dir.File("in.txt"));
    Window->PopImportatCursorClick();
    EXPECT_EQ(Window->RichEditSource->Lines(), (StringList{"KEEP NEW1", "NEW2THIS"}));
    EXPECT_TRUE(Doc().EditorModified);

    Frame.ExportFiles.push_back(Dir.File("out.txt"));
    Window->PopExpAllSectionClick();
    StringList written;
    ASSERT_TRUE(orvale::ReadTextFile(Dir.File("out.txt"), written));
    EXPECT_EQ(written, (StringList{"KEEP NEW1", "NEW2THIS"}));

    Frame.ImportFiles.push_back(Dir.File("in.txt"));
    Window->PopImportOverrideClick();
    EXPECT_EQ(Window->RichEditSource->Lines(), (StringList{"NEW1", "NEW2"}));

    // A file that cannot be read is reported and changes nothing.
    Frame.ImportFiles.push_back(Dir.File("missing.txt"));
    Window->PopReplaceSelClick();
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    EXPECT_EQ(Window->RichEditSource->Lines(), (StringList{"NEW1", "NEW2"}));
}

TEST_F(EditorWindow, PrintSectionGoesThroughThePrintDialog) {
    Select("Main Routine");
    Window->RichEditSource->SetLines({"     C           A         ADD  B         C"});
    Window->PopPrintSectionClick();
    EXPECT_FALSE(std::filesystem::exists(Dir.File("section.pdf")));
    Frame.PrintTo = Dir.File("section.pdf");
    Window->PopPrintSectionClick();
    ASSERT_TRUE(std::filesystem::exists(Dir.File("section.pdf")));
    EXPECT_GT(std::filesystem::file_size(Dir.File("section.pdf")), 0u);
}

// -- Activation and closing

TEST_F(EditorWindow, ActivationNormalisesTheClipboard) {
    Select("Header");
    Window->Activated();
    EXPECT_EQ(Frame.ClipboardNormalised, 1);
    EXPECT_EQ(Frame.EditCommands.back(), true);
    EXPECT_EQ(Frame.EditButtons.back(), true);
}

TEST_F(EditorWindow, CloseAsksTheDocumentFirst) {
    // A new program is modified: closing asks, and Cancel keeps the window.
    Box.Queue(Prompter::Answer::Cancel);
    EXPECT_FALSE(Window->close());
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, "Save changes to file NoName.RPG?");
    EXPECT_EQ(Box.Messages[0].BoxButtons, Prompter::Buttons::YesNoCancel);
    EXPECT_FALSE(Doc().Closing);

    // No: it goes; an unnamed program leaves no recent-programs entry.
    Frame.EditCommands.clear();
    Box.Queue(Prompter::Answer::No);
    EXPECT_TRUE(Window->close());
    EXPECT_TRUE(Frame.Reopened.empty());
    EXPECT_EQ(Frame.EditCommands, (std::vector<bool>{false}));
    EXPECT_EQ(Frame.EditButtons.back(), false);
}

TEST_F(EditorWindow, ClosedProgramsGoToTheRecentList) {
    Doc().SaveToFile(Dir.File("PAYROLL.RPG"));
    Box.Clear();
    TEditorsHolder reopened(Box, Setup, &Frame);
    ASSERT_TRUE(reopened.Document->LoadFromFile(Dir.File("PAYROLL.RPG"), ShownIn(Box)));
    EXPECT_TRUE(reopened.close());
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Frame.Reopened, (std::vector<std::string>{Dir.File("PAYROLL.RPG")}));

    // A window whose import was given up goes without asking and without an entry.
    TEditorsHolder discarded(Box, Setup, &Frame);
    discarded.Document->NewProgram();
    discarded.Document->Untitled = false;
    discarded.DiscardChanges();
    EXPECT_TRUE(discarded.close());
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Frame.Reopened.size(), 1u);
}
