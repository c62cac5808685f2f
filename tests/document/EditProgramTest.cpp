#include "document/EditProgram.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"

#include "support/FakeProgramView.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using orvale::ProgramPage;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeProgramView;
using orvale::test::TempDir;
using Shown = ScriptedPrompter::Shown;

namespace {

class EditProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.UserName = "USER1";
        Doc.BuildTree();
    }
    void TearDown() override {
        RegionalSettings::SetCurrent(Saved);
        EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    }

    void Select(TreeNode* node) {
        Doc.Tree.Select(node);
        Doc.ShowSelected();
    }
    // The user types into the editor.
    void Type(StringList lines) {
        View.Editor = std::move(lines);
        Doc.EditorModified = true;
    }
    TreeNode* Node(const std::string& text) { return Doc.FindNodeByText(text); }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeProgramView View;
    TEDITProgram Doc{Box};
};

TEST_F(EditProgramTest, BuildTreeGivesTheFixedLayout) {
    TreeNode* root = Doc.Tree.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text, "NoName.PRG");
    EXPECT_EQ(root->ImageIndex, 0);
    EXPECT_EQ(root->SelectedIndex, 1);
    EXPECT_FALSE(root->HasData());
    std::vector<std::pair<std::string, int>> children;
    for (int i = 0; i < root->Count(); ++i) {
        TreeNode* c = root->Child(i);
        EXPECT_EQ(c->ImageIndex, c->SelectedIndex);
        children.emplace_back(c->Text, c->ImageIndex);
    }
    EXPECT_EQ(children, (std::vector<std::pair<std::string, int>>{{"Property", 2},
                                                                  {"Description", 3},
                                                                  {"History", 4},
                                                                  {"Pre Compiler", 5},
                                                                  {"Header", 6},
                                                                  {"Main Routine", 7},
                                                                  {"Sub Routines", 8}}));
    EXPECT_EQ(Doc.HistoryNode->Section(), &Doc.HistorySection);
    EXPECT_EQ(Doc.MainRoutineNode->Section(), &Doc.MainRoutineSection);
    EXPECT_EQ(Doc.SubRoutinesNode->Folder(), &Doc.SubRoutinesFolder);
    EXPECT_EQ(Doc.SubRoutinesFolder.Node, Doc.SubRoutinesNode);
    // The window saw the whole build as one reset.
    EXPECT_EQ(View.TreeEvents,
              (std::vector<std::string>{"about to reset", "reset", "about to reset", "reset"}));

    // Rebuilding drops the folder's sections with their nodes.
    Doc.AddSubRoutine("CALC", "");
    Doc.BuildTree();
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
    EXPECT_EQ(Doc.FindSectionByName("CALC"), nullptr);
}

TEST_F(EditProgramTest, AddingASubRoutineLogsItAndShowsTheNode) {
    Doc.LogAdd = true;
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "Compute the totals");
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->Properties.Description, "Compute the totals");
    TreeNode* node = Doc.FindNodeByData(calc);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Parent(), Doc.SubRoutinesNode);
    EXPECT_EQ(node->ImageIndex, 9);
    EXPECT_EQ(node->SelectedIndex, 9);
    EXPECT_TRUE(Doc.SubRoutinesNode->Expanded);
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 1);
    const std::string& entry = Doc.HistorySection.GetLine(0);
    EXPECT_TRUE(entry.starts_with("CALC,Add,USER1,")) << entry;
    EXPECT_TRUE(entry.ends_with(",In: Sub Routines")) << entry;
    std::string when = entry.substr(15, entry.size() - 15 - 17);
    EXPECT_TRUE(RegionalSettings::Current().ParseDateTime(when).has_value()) << when;
    // A new section is unsaved work, so closing will ask.
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(View.TreeEvents.back(), "change CALC");
}

TEST_F(EditProgramTest, DeleteByNameAsksAndReportsAMissingSection) {
    Doc.AddSubRoutine("CALC", "");
    Doc.LogDelete = true;
    Doc.DeleteSubRoutine("calc"); // names compare exactly
    EXPECT_EQ(
        Box.Messages,
        (std::vector<Shown>{
            {Prompter::Kind::Error, "ERROR: Section not Found!", Prompter::Buttons::Ok, {}}}));
    Box.Clear();
    Box.Queue(Prompter::Answer::Cancel);
    Doc.DeleteSubRoutine("CALC");
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Confirmation,
                                                 "Delete the section: Sub Routines.CALC?",
                                                 Prompter::Buttons::OkCancel,
                                                 {}}}));
    EXPECT_NE(Doc.FindSectionByName("CALC"), nullptr);
    EXPECT_EQ(Doc.HistorySection.LinesCount(), 0);

    Doc.Modified = false;
    Doc.DeleteSubRoutine("CALC");
    EXPECT_EQ(Doc.FindSectionByName("CALC"), nullptr);
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 1);
    EXPECT_TRUE(Doc.HistorySection.GetLine(0).starts_with("CALC,Delete,USER1,"));
    EXPECT_TRUE(Doc.HistorySection.GetLine(0).ends_with(",From: Sub Routines"));
    EXPECT_TRUE(Doc.Modified);
}

TEST_F(EditProgramTest, DeletingTheSectionInTheEditorDropsItsPendingText) {
    Doc.AddSubRoutine("A", "");
    TEDITSection* b = Doc.AddSubRoutine("B", "");
    Select(Node("A"));
    Type({"pending"});
    Doc.DeleteSelectedSubRoutine();
    EXPECT_EQ(Doc.CurrentNode, nullptr);
    // The selection moved on to B; showing it stores the pending text nowhere.
    EXPECT_EQ(Doc.Tree.Selected(), Node("B"));
    Doc.ShowSelected();
    EXPECT_TRUE(b->LineTexts().empty());
    EXPECT_EQ(View.Editor, StringList{});

    // A selected node outside the folder is refused.
    Box.Clear();
    Select(Doc.MainRoutineNode);
    Doc.DeleteSelectedSubRoutine();
    EXPECT_EQ(
        Box.Messages,
        (std::vector<Shown>{
            {Prompter::Kind::Error, "ERROR: Section not Found!", Prompter::Buttons::Ok, {}}}));
    // Without a selection nothing is asked.
    Box.Clear();
    Doc.Tree.Select(nullptr);
    Doc.DeleteSelectedSubRoutine();
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(EditProgramTest, RenamingASubRoutineRewritesItsBegsr) {
    Doc.LogRename = true;
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "Old");
    calc->AssignLines({"                Begsr(calc)", "", "                Endsr()"});
    Select(Node("CALC"));
    Doc.ChangeSectionProperty("CALC2", "New");
    EXPECT_EQ(View.Editor[0], "                Begsr(CALC2)");
    EXPECT_EQ(calc->Properties.Name, "CALC2");
    EXPECT_EQ(calc->Properties.Description, "New");
    EXPECT_EQ(Node("CALC2")->Section(), calc);
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 1);
    EXPECT_TRUE(Doc.HistorySection.GetLine(0).starts_with("CALC,Rename,USER1,"));
    EXPECT_TRUE(Doc.HistorySection.GetLine(0).ends_with(",New Name: CALC2"));
    // The rewrite is an edit like any other: the next show stores it.
    Select(Doc.SubRoutinesNode);
    EXPECT_EQ(calc->LineTexts()[0], "                Begsr(CALC2)");
    EXPECT_TRUE(Doc.Modified);

    // A text whose BEGSR names another routine is left alone.
    TEDITSection* other = Doc.AddSubRoutine("X", "");
    other->AssignLines({"Begsr(Y)"});
    Select(Node("X"));
    Doc.ChangeSectionProperty("Z", "");
    EXPECT_EQ(View.Editor, StringList{"Begsr(Y)"});
    EXPECT_EQ(View.EditorReplacements, 1);
    // Only the description changes: no edit, no rename entry.
    Select(Node("CALC2"));
    Doc.ChangeSectionProperty("CALC2", "Newer");
    EXPECT_EQ(View.EditorReplacements, 1);
    EXPECT_EQ(Doc.HistorySection.LinesCount(), 2);
}

TEST_F(EditProgramTest, PropertyChangesOfNodesWithoutASection) {
    Select(Doc.Tree.Root());
    Doc.ChangeSectionProperty("X", "Y");
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Error,
                                                 "Sorry can't change this property!",
                                                 Prompter::Buttons::Ok,
                                                 {}}}));
    EXPECT_EQ(Doc.Tree.Root()->Text, "NoName.PRG");
    // A folder keeps its name and takes the description.
    Select(Doc.SubRoutinesNode);
    Doc.ChangeSectionProperty("Other", "Routines");
    EXPECT_EQ(Doc.SubRoutinesNode->Text, "Sub Routines");
    EXPECT_EQ(Doc.SubRoutinesFolder.Description, "Routines");
    // No selection: nothing at all.
    Box.Clear();
    Doc.Tree.Select(nullptr);
    Doc.ChangeSectionProperty("X", "Y");
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(EditProgramTest, CommitStoresEditorTextOnlyWhenEdited) {
    Doc.MainRoutineSection.AssignLines({"old"});
    Select(Doc.MainRoutineNode);
    EXPECT_EQ(View.Editor, StringList{"old"});
    View.TopLine = 7;
    Select(Doc.SubRoutinesNode);
    EXPECT_EQ(Doc.MainRoutineSection.TopLine, 7);
    EXPECT_FALSE(Doc.MainRoutineSection.Properties.Modified);
    EXPECT_FALSE(Doc.Modified);

    Select(Doc.MainRoutineNode);
    EXPECT_EQ(View.TopLine, 7); // shown again where it was left
    Type({"new", "text"});
    View.TopLine = 1;
    Select(Doc.SubRoutinesNode);
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts(), (StringList{"new", "text"}));
    EXPECT_EQ(Doc.MainRoutineSection.PrevLines, StringList{"old"});
    EXPECT_EQ(Doc.MainRoutineSection.TopLine, 1);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_FALSE(Doc.EditorModified);
    // History is shown, never edited.
    Select(Doc.HistoryNode);
    Type({"typed into the history"});
    Select(Doc.SubRoutinesNode);
    EXPECT_TRUE(Doc.HistorySection.LineTexts().empty());
}

TEST_F(EditProgramTest, PropertyGridIsCommittedAsNameValueLines) {
    Doc.LogProperty = true;
    Doc.PropertySection.AssignLines({"Owner=USER1", "Note", "A=b=c"});
    TreeNode* property = Doc.FindNodeByText("Property");
    Select(property);
    EXPECT_EQ(View.ActivePage, ProgramPage::Setting);
    EXPECT_TRUE(View.SettingVisible && !View.SourceVisible && !View.ObjectsVisible);
    using Row = std::pair<std::string, std::string>;
    EXPECT_EQ(View.Grid, (std::vector<Row>{{"Owner", "USER1"}, {"", "Note"}, {"A", "b=c"}}));
    View.EditGridValue(0, "USER2");
    Doc.EditorModified = true;
    Select(Doc.MainRoutineNode);
    EXPECT_EQ(Doc.PropertySection.LineTexts(), (StringList{"Owner=USER2", "=Note", "A=b=c"}));
    EXPECT_TRUE(Doc.Modified);
    // Two property commits on one day are two entries.
    Select(property);
    Doc.EditorModified = true;
    Select(Doc.MainRoutineNode);
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 2);
    for (const auto& line : Doc.HistorySection.LineTexts()) {
        EXPECT_TRUE(line.starts_with("Property,Modify,USER1,")) << line;
        EXPECT_TRUE(line.ends_with(", ")) << line;
    }
}

TEST_F(EditProgramTest, ShowSelectedChoosesThePages) {
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "");
    calc->AssignLines({"x"});
    Select(Doc.Tree.Root());
    EXPECT_EQ(View.ActivePage, ProgramPage::Objects);
    EXPECT_TRUE(View.ObjectsVisible && !View.SourceVisible && !View.SettingVisible &&
                !View.RpgViewVisible);
    EXPECT_EQ(View.Items.size(), 7u);
    Select(Node("CALC"));
    EXPECT_EQ(View.ActivePage, ProgramPage::Source);
    EXPECT_TRUE(View.SourceVisible && View.RpgViewVisible && !View.ObjectsVisible);
    EXPECT_EQ(View.Editor, StringList{"x"});
    for (const char* text : {"Description", "Pre Compiler", "Header", "Main Routine"}) {
        View.ActivePage = ProgramPage::None;
        Select(Node(text));
        EXPECT_EQ(View.ActivePage, ProgramPage::Source) << text;
    }
    Select(Doc.SubRoutinesNode);
    EXPECT_EQ(View.ItemCaptions(), std::vector<std::string>{"CALC"});
    Select(Doc.HistoryNode);
    EXPECT_EQ(View.ActivePage, ProgramPage::Objects);
    EXPECT_EQ(View.ColumnCaptions()[0], "Object");
    // While closing nothing is shown or committed.
    Doc.Closing = true;
    int shown = View.ShowPagesCalls;
    Type({"late"});
    Select(Node("CALC"));
    EXPECT_EQ(View.ShowPagesCalls, shown);
    EXPECT_FALSE(Doc.EditorModified);
}

TEST_F(EditProgramTest, ObjectListDescribesEachChild) {
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "Compute");
    calc->AssignLines({"a", "b"});
    calc->Properties.CreatedOn = {1999, 12, 6, 10, 16, 2};
    calc->Properties.LastUpdate = {1999, 12, 6, 0, 0, 0};
    Doc.ShowObjectList(Doc.Tree.Root());
    using orvale::ColumnSort;
    using orvale::ListColumn;
    EXPECT_EQ(View.Columns, (std::vector<ListColumn>{{"Name", 100, ColumnSort::Text},
                                                     {"Lines", 40, ColumnSort::Integer},
                                                     {"Modified", 55, ColumnSort::Text},
                                                     {"Created On", 110, ColumnSort::DateTime},
                                                     {"Last Update", 110, ColumnSort::DateTime},
                                                     {"Description", 300, ColumnSort::Text}}));
    const orvale::ListItem& folder = View.Items.back();
    EXPECT_EQ(folder.Caption, "Sub Routines");
    EXPECT_EQ(folder.SubItems, (StringList{"", "", "", "", "Folder of the Sub Routines"}));
    EXPECT_EQ(folder.Folder, &Doc.SubRoutinesFolder);
    EXPECT_EQ(folder.ImageIndex, 8);

    Doc.ShowObjectList(Doc.SubRoutinesNode);
    ASSERT_EQ(View.Items.size(), 1u);
    const orvale::ListItem& item = View.Items[0];
    EXPECT_EQ(item.SubItems,
              (StringList{"2", "No", "06/12/1999 10:16:02", "06/12/1999", "Compute"}));
    EXPECT_EQ(item.Section, calc);
    EXPECT_EQ(item.ImageIndex, 9);
    EXPECT_EQ(Doc.FindNodeByData(item.Data()), Node("CALC"));
}

TEST_F(EditProgramTest, LookUpsByNameAndText) {
    EXPECT_EQ(Doc.FindSectionByName("main routine"), &Doc.MainRoutineSection);
    EXPECT_FALSE(Doc.NodeTextExists("main routine"));
    EXPECT_TRUE(Doc.NodeTextExists("Main Routine"));
    EXPECT_EQ(Doc.FindSectionByName("Sub Routines"), nullptr); // a folder, not a section
    // Two sections of one name: the later one in tree order wins the name look-up, while
    // the text look-up takes the first.
    TEDITSection* second = Doc.AddSubRoutine("HEADER", "");
    EXPECT_EQ(second, Doc.FindSectionByName("Header"));
    EXPECT_EQ(Doc.FindNodeByText("Header")->Section(), &Doc.HeaderSection);
    EXPECT_EQ(Doc.FindNodeByData(nullptr), nullptr);
}

// The look-ups answer from an index of the names; it must see renames, deletes and moves.
TEST_F(EditProgramTest, LookUpsFollowRenamesDeletesAndMoves) {
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "");
    Select(Node("CALC"));
    Doc.ChangeSectionProperty("CALC2", "");
    EXPECT_EQ(Doc.FindSectionByName("calc"), nullptr);
    EXPECT_EQ(Doc.FindSectionByName("calc2"), calc);
    EXPECT_EQ(Doc.FindNodeByText("CALC2")->Section(), calc);
    // Two of one name in one folder: the later wins, and a drag changes which one that is.
    TEDITSection* second = Doc.AddSubRoutine("calc2", "");
    EXPECT_EQ(Doc.FindSectionByName("CALC2"), second);
    EXPECT_EQ(Doc.FindNodeByText("calc2")->Section(), second);
    ASSERT_TRUE(Doc.MoveNode(Doc.FindNodeByData(second), Doc.SubRoutinesNode));
    EXPECT_EQ(Doc.FindSectionByName("CALC2"), calc);
    Box.Queue(Prompter::Answer::Ok);
    Doc.DeleteSubRoutine("CALC2");
    EXPECT_EQ(Doc.FindSectionByName("CALC2"), second);
    EXPECT_EQ(Doc.FindNodeByText("CALC2"), nullptr);
    // Rebuilding the tree forgets every added name.
    Doc.BuildTree();
    EXPECT_EQ(Doc.FindSectionByName("calc2"), nullptr);
    EXPECT_EQ(Doc.FindSectionByName("header"), &Doc.HeaderSection);
}

TEST_F(EditProgramTest, FindNextSearchesTheSectionsAfterANode) {
    Doc.DescriptionSection.AssignLines({"TOTAL in the description"});
    Doc.PropertySection.AssignLines({"TOTAL=1"});
    Doc.HeaderSection.AssignLines({"H", "  ADD(TOTAL)"});
    TEDITSection* calc = Doc.AddSubRoutine("CALC", "");
    calc->AssignLines({"Z-ADD(0 TOTAL)"});
    int line = -1, column = -1;
    TreeNode* root = Doc.Tree.Root();
    EXPECT_EQ(Doc.FindNext("TOTAL", root, false, true, false, line, column), Node("Header"));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 7);
    EXPECT_EQ(Doc.FindNext("TOTAL", root, true, true, false, line, column), Node("Description"));
    EXPECT_EQ(Doc.FindNext("TOTAL", Node("Header"), false, true, false, line, column),
              Node("CALC"));
    EXPECT_EQ(Doc.FindNext("total", Node("Header"), false, true, false, line, column), nullptr);
    EXPECT_EQ(Doc.FindNext("total", Node("Header"), false, false, false, line, column),
              Node("CALC"));
    EXPECT_EQ(Doc.FindNext("TOTAL", Node("CALC"), true, true, false, line, column), nullptr);
    EXPECT_EQ(Doc.FindNext("TOTAL", nullptr, true, true, false, line, column), nullptr);
}

TEST_F(EditProgramTest, ClosingAnUnchangedProgramAsksNothing) {
    Doc.MainRoutineSection.AssignLines({"x"});
    EXPECT_TRUE(Doc.CloseProgram());
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_TRUE(Doc.Closing);
    EXPECT_TRUE(Doc.Tree.Empty());
    EXPECT_TRUE(Doc.MainRoutineSection.LineTexts().empty());
    EXPECT_EQ(Doc.SubRoutinesNode, nullptr);
    EXPECT_EQ(View.Selection, nullptr);
    EXPECT_EQ(View.BusyDepth, 0);
    EXPECT_GT(View.BusyCalls, 0);
}

TEST_F(EditProgramTest, ClosingAModifiedProgramAsksToSave) {
    Doc.MainRoutineSection.AssignLines({"x"});
    Doc.Modified = true;
    Box.Queue(Prompter::Answer::Cancel);
    EXPECT_FALSE(Doc.CloseProgram());
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Confirmation,
                                                 "Save changes to file NoName.PRG?",
                                                 Prompter::Buttons::YesNoCancel,
                                                 {}}}));
    EXPECT_FALSE(Doc.Closing);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts(), StringList{"x"});

    Box.Queue(Prompter::Answer::No);
    EXPECT_TRUE(Doc.CloseProgram());
    EXPECT_FALSE(Doc.Modified);
    EXPECT_TRUE(Doc.MainRoutineSection.LineTexts().empty());
}

TEST_F(EditProgramTest, ClosingAnUntitledProgramOffersTheSaveDialog) {
    TempDir dir;
    Doc.Untitled = true;
    Doc.Modified = true;
    Doc.MainRoutineSection.AssignLines({"x"});
    Doc.FilePath = dir.Path() + "/";
    View.SaveAnswers.push_back(dir.File("CHOSEN.PRG"));
    EXPECT_TRUE(Doc.CloseProgram());
    ASSERT_EQ(View.SaveRequests.size(), 1u);
    EXPECT_EQ(View.SaveRequests[0].Title, "Quenby - Save Program");
    EXPECT_EQ(View.SaveRequests[0].InitialDir, dir.Path());
    EXPECT_EQ(View.SaveRequests[0].FileName, "NoName.PRG");
    StringList written;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("CHOSEN.PRG"), written));
    EXPECT_NE(std::find(written.begin(), written.end(), "x"), written.end());

    // Cancelling the dialog closes without saving.
    TEDITProgram other(Box);
    FakeProgramView otherView;
    other.BindView(&otherView);
    other.BuildTree();
    other.Untitled = true;
    other.Modified = true;
    EXPECT_TRUE(other.CloseProgram());
    EXPECT_EQ(otherView.SaveRequests.size(), 1u);
}

TEST_F(EditProgramTest, AFailedSaveOnCloseKeepsTheProgramOpen) {
    TempDir dir;
    Doc.FilePath = dir.Path() + "/missing/";
    Doc.FileName = "A.PRG";
    Doc.Modified = true;
    Doc.MainRoutineSection.AssignLines({"keep me"});
    EXPECT_FALSE(Doc.CloseProgram()); // the default answer is Yes
    ASSERT_EQ(Box.Messages.size(), 2u);
    EXPECT_EQ(Box.Messages[1].BoxKind, Prompter::Kind::Error);
    EXPECT_NE(Box.Messages[1].Text.find("A.PRG"), std::string::npos);
    EXPECT_FALSE(Doc.Closing);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts(), StringList{"keep me"});
}

TEST_F(EditProgramTest, DraggingReordersAFolder) {
    Doc.AddSubRoutine("A", "");
    Doc.AddSubRoutine("B", "");
    Doc.Modified = false;
    EXPECT_FALSE(Doc.MoveNode(Node("A"), Doc.MainRoutineNode));
    EXPECT_FALSE(Doc.Modified);
    EXPECT_TRUE(Doc.MoveNode(Node("B"), Doc.SubRoutinesNode));
    EXPECT_EQ(Doc.SubRoutinesNode->Child(0)->Text, "B");
    EXPECT_TRUE(Doc.Modified);
}

// -- Restore points

class RestorePointsTest : public EditProgramTest {
protected:
    void SetUp() override {
        EditProgramTest::SetUp();
        Calc = Doc.AddSubRoutine("CALC", "");
        Select(Node("CALC"));
    }
    void Commit(StringList lines) {
        Type(std::move(lines));
        Doc.CommitCurrent();
    }
    TEDITSection* Calc = nullptr;
};

TEST_F(RestorePointsTest, PreviousAndLastUpdate) {
    Commit({"A"});
    Commit({"B"});
    Doc.RestoreSelected(0);
    EXPECT_EQ(View.Editor, StringList{"A"});
    EXPECT_TRUE(Doc.EditorModified); // stored by the next commit
    Doc.RestoreSelected(1);
    EXPECT_EQ(View.Editor, StringList{"B"});
    EXPECT_EQ(Calc->LineTexts(), StringList{"B"});

    Doc.SetUndoOptions(false, true, true);
    Doc.SetUndoOptions(true, true, true);
    View.Editor = {"typed"};
    Doc.RestoreSelected(0);
    EXPECT_EQ(View.Editor, StringList{"typed"});
    Commit({"C"});
    Doc.RestoreSelected(0);
    EXPECT_EQ(View.Editor, StringList{"B"});
}

TEST_F(RestorePointsTest, LastSaveBeforeAnySaveDoesNothing) {
    Calc->AssignCompiled({"     C           X         ADD  1         Y"});
    Calc->CompiledValid = true;
    View.Editor = {"typed"};
    Doc.RestoreSelected(3);
    EXPECT_EQ(View.Editor, StringList{"typed"});
    EXPECT_TRUE(Calc->CompiledValid);
    EXPECT_EQ(Calc->CompiledCount(), 1u);
}

TEST_F(RestorePointsTest, LastSaveGivesTheTextOfTheLatestSave) {
    TempDir dir;
    Commit({"first"});
    ASSERT_TRUE(Doc.SaveToFile(dir.File("P.PRG")));
    Commit({"second"});
    ASSERT_TRUE(Doc.SaveToFile(dir.File("P.PRG")));
    Commit({"third"});
    Doc.RestoreSelected(3);
    EXPECT_EQ(View.Editor, StringList{"second"});
    // A section added after the save has no last-save point, but loses its cache.
    TEDITSection* fresh = Doc.AddSubRoutine("NEW", "");
    fresh->AssignCompiled({"x"});
    fresh->CompiledValid = true;
    Select(Node("NEW"));
    View.Editor = {"typed"};
    Doc.RestoreSelected(3);
    EXPECT_EQ(View.Editor, StringList{"typed"});
    EXPECT_FALSE(fresh->CompiledValid);
    EXPECT_TRUE(fresh->CompiledTexts().empty());
}

TEST_F(RestorePointsTest, LastOpenReadsTheFileTextAsOpened) {
    // The file text as opened: CALC's count line at index 3.
    Doc.SourceLines = {"x", "[CALC]", "[]", "[2]", "opened 1", "opened 2", "[End Of Sec]"};
    Calc->OpenLineIndex = 3;
    Doc.RestoreSelected(2);
    EXPECT_EQ(View.Editor, (StringList{"opened 1", "opened 2"}));
    EXPECT_TRUE(Box.Messages.empty());
    // A count that does not match restores what is there, with the warning.
    Doc.SourceLines[3] = "[5]";
    Doc.RestoreSelected(2);
    EXPECT_EQ(View.Editor, (StringList{"opened 1", "opened 2"}));
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Warning,
                                                 "WARNING: The File may be corrupted!",
                                                 Prompter::Buttons::Ok,
                                                 {}}}));
    // Switching KeepOpen off drops the opened text for good.
    Doc.SetUndoOptions(true, false, true);
    EXPECT_TRUE(Doc.SourceLines.empty());
    View.Editor = {"typed"};
    Doc.RestoreSelected(2);
    EXPECT_EQ(View.Editor, StringList{"typed"});
}

TEST_F(RestorePointsTest, KeepPreviousAppliesToEverySection) {
    Commit({"A"});
    Commit({"B"});
    Doc.SetUndoOptions(false, true, true);
    EXPECT_TRUE(Calc->PrevLines.empty());
    EXPECT_FALSE(Doc.MainRoutineSection.KeepPrevious);
    // Sections added later follow the option too.
    EXPECT_FALSE(Doc.AddSubRoutine("LATER", "")->KeepPrevious);
    Doc.SetUndoOptions(false, true, false);
    EXPECT_TRUE(Doc.SaveLines.empty());
}

TEST_F(RestorePointsTest, NothingHappensWithoutAWindowOrASection) {
    Commit({"A"});
    Commit({"B"});
    Select(Doc.SubRoutinesNode);
    View.Editor = {"typed"};
    Doc.RestoreSelected(0);
    EXPECT_EQ(View.Editor, StringList{"typed"});
    Select(Node("CALC"));
    Doc.BindView(nullptr);
    Doc.RestoreSelected(0); // no editor to fill
    Doc.RestoreSelected(7);
    EXPECT_EQ(Calc->LineTexts(), StringList{"B"});
}

} // namespace
