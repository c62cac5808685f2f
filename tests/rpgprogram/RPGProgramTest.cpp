#include "rpgprogram/RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"

#include "support/FakeProgramView.h"

#include <gtest/gtest.h>

using orvale::ProgramPage;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeProgramView;
using Shown = ScriptedPrompter::Shown;

namespace {

class RPGProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.UserName = "USER1";
    }
    void TearDown() override {
        RegionalSettings::SetCurrent(Saved);
        EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    }
    void Select(TreeNode* node) {
        Doc.Tree.Select(node);
        Doc.ShowSelected();
    }
    TreeNode* Node(const std::string& text) { return Doc.FindNodeByText(text); }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeProgramView View;
    TRPGProgram Doc{Box};
};

TEST_F(RPGProgramTest, OptionsComeFromTheFormWhenThereIsOne) {
    EXPECT_EQ(Doc.FileExt, ".RPG");
    EXPECT_TRUE(Doc.Options().SaveComp && Doc.Options().LoadComp);
    TFormGenRPG form;
    form.SaveComp = false;
    Doc.FormGenRPG = &form;
    EXPECT_FALSE(Doc.Options().SaveComp);
}

TEST_F(RPGProgramTest, BuildTreeGivesTheRpgLayout) {
    Doc.BuildTree();
    struct Expected {
        std::string Text;
        int Image;
        int Level;
        TreeNode::DataKind Kind;
    };
    using K = TreeNode::DataKind;
    std::vector<Expected> expected = {
        {"NoName.PRG", 0, 0, K::None},          {"Property", 2, 1, K::Section},
        {"Description", 3, 1, K::Section},      {"History", 4, 1, K::Section},
        {"Pre Compiler", 5, 1, K::Section},     {"Header", 6, 1, K::Section},
        {"Files", 10, 1, K::Grouping},          {"Logical", 13, 2, K::Section},
        {"Display", 15, 2, K::Section},         {"Printer", 16, 2, K::Section},
        {"Special", 14, 2, K::Section},         {"Extension", 17, 1, K::Section},
        {"Line Count", 19, 1, K::Section},      {"Input", 18, 1, K::Section},
        {"Arrays", 11, 1, K::Folder},           {"Main Routine", 7, 1, K::Section},
        {"Init SubRoutine", 12, 1, K::Section}, {"Sub Routines", 8, 1, K::Folder},
        {"Output", 23, 1, K::Folder},           {"All Flags", 25, 1, K::Grouping},
        {"Indicators", 22, 2, K::None},         {"Comm Keys", 21, 2, K::None},
        {"Break Level", 26, 2, K::None},        {"System Flag", 27, 2, K::None},
        {"Output Flag", 28, 2, K::None},
    };
    size_t i = 0;
    for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n), ++i) {
        ASSERT_LT(i, expected.size());
        EXPECT_EQ(n->Text, expected[i].Text);
        EXPECT_EQ(n->ImageIndex, expected[i].Image) << n->Text;
        EXPECT_EQ(n->SelectedIndex, i == 0 ? 1 : expected[i].Image) << n->Text;
        EXPECT_EQ(n->Level() - 1, expected[i].Level) << n->Text; // below the container
        EXPECT_EQ(n->Kind(), expected[i].Kind) << n->Text;
        if (TEDITSection* s = n->Section()) {
            EXPECT_EQ(s->Properties.Name, n->Text);
        }
    }
    EXPECT_EQ(i, expected.size());
    EXPECT_EQ(Doc.ArraysNode->Folder(), &Doc.ArraysFolder);
    EXPECT_EQ(Doc.ArraysFolder.Node, Doc.ArraysNode);
    EXPECT_EQ(Doc.OutputNode->Folder(), &Doc.OutputFolder);
    EXPECT_EQ(Doc.OutputFolder.Node, Doc.OutputNode);
    EXPECT_EQ(Doc.FilesNode->Data(), Doc.FilesNode);
    EXPECT_EQ(Doc.AllFlagsNode->Text, "All Flags");
    EXPECT_EQ(Doc.SubRoutinesNode, Node("Sub Routines"));
    EXPECT_EQ(Node("Init SubRoutine")->Section(), &Doc.InitSubRoutineSection);
    EXPECT_EQ(Doc.Tree.Selected(), Doc.Tree.Root());
    EXPECT_EQ(Doc.CurrentNode, Doc.Tree.Root());
    EXPECT_EQ(View.Selection, Doc.Tree.Root());
}

TEST_F(RPGProgramTest, NewProgramIsUnnamedModifiedAndFilledWithDefaults) {
    ASSERT_TRUE(Doc.NewProgram());
    EXPECT_EQ(Doc.FileName, "NoName.RPG");
    EXPECT_EQ(Doc.FilePath, "");
    EXPECT_EQ(Doc.Tree.Root()->Text, "NoName.RPG");
    EXPECT_EQ(Doc.PropertySection.LineTexts(),
              (StringList{"Owner=USER1", "Name=NoName.RPG", "Description= ", "Source Mbr=NoName",
                          "Source File=", "Source Lib=", "Use SQL=NO", "Work Mode=Batch",
                          "Text= ", "Text= ", "Text= ", "Text= ", "Text= "}));
    EXPECT_EQ(Doc.InitSubRoutineSection.LineTexts(),
              (StringList{"                Begsr(*INZSR)", "", "                Endsr()"}));
    for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        TEDITSection* s = n->Section();
        if (s && s != &Doc.PropertySection && s != &Doc.InitSubRoutineSection) {
            EXPECT_TRUE(s->LineTexts().empty()) << n->Text;
        }
    }
    EXPECT_TRUE(Doc.Untitled);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_FALSE(Doc.Closing);
    EXPECT_EQ(View.GridRows, 13);
    EXPECT_EQ(View.ActivePage, ProgramPage::Objects); // the root is shown

    // Unsaved, so closing asks.
    Box.Queue(Prompter::Answer::No);
    EXPECT_TRUE(Doc.CloseProgram());
    EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Confirmation,
                                                 "Save changes to file NoName.RPG?",
                                                 Prompter::Buttons::YesNoCancel,
                                                 {}}}));
    EXPECT_EQ(View.SaveRequests.size(), 0u);
}

TEST_F(RPGProgramTest, NewProgramClosesAnOpenedOneFirst) {
    Doc.NewProgram();
    Doc.Opened = true;
    Box.Queue(Prompter::Answer::Cancel);
    EXPECT_FALSE(Doc.NewProgram());
    EXPECT_EQ(Doc.PropertySection.LinesCount(), 13);
    Box.Queue(Prompter::Answer::No);
    EXPECT_TRUE(Doc.NewProgram());
    // The old content went with the close; the new program starts fresh.
    EXPECT_EQ(Doc.PropertySection.LinesCount(), 13);
    EXPECT_EQ(Doc.InitSubRoutineSection.LinesCount(), 3);
}

TEST_F(RPGProgramTest, InitPropertiesUsesTheMemberNameAndSource) {
    Doc.FileName = "DEMO.RPG";
    Doc.InitProperties("QGPL", "QRPGSRC");
    EXPECT_EQ(Doc.PropertySection.GetLine(3), "Source Mbr=DEMO");
    EXPECT_EQ(Doc.PropertySection.GetLine(4), "Source File=QRPGSRC");
    EXPECT_EQ(Doc.PropertySection.GetLine(5), "Source Lib=QGPL");
    Doc.PropertySection.AssignLines({});
    Doc.FileName = "NODOT";
    Doc.InitProperties("", "");
    EXPECT_EQ(Doc.PropertySection.GetLine(3), "Source Mbr=");
}

TEST_F(RPGProgramTest, ArraysAndOutputsHaveTheirFoldersAndImages) {
    Doc.NewProgram();
    Doc.LogAdd = Doc.LogDelete = true;
    TEDITSection* table = Doc.AddArray("TAB", "Month names");
    TEDITSection* print = Doc.AddOutput("QPRINT", "");
    ASSERT_NE(table, nullptr);
    ASSERT_NE(print, nullptr);
    TreeNode* tableNode = Doc.FindNodeByData(table);
    TreeNode* printNode = Doc.FindNodeByData(print);
    EXPECT_EQ(tableNode->Parent(), Doc.ArraysNode);
    EXPECT_EQ(tableNode->ImageIndex, 20);
    EXPECT_EQ(printNode->Parent(), Doc.OutputNode);
    EXPECT_EQ(printNode->ImageIndex, 19);
    EXPECT_TRUE(Doc.HistorySection.GetLine(1).ends_with(",In: Output"));

    Doc.DeleteOutput("TAB");
    EXPECT_EQ(
        Box.Messages.back(),
        (Shown{Prompter::Kind::Error, "ERROR: Section not Found!", Prompter::Buttons::Ok, {}}));
    Doc.DeleteArray("TAB");
    EXPECT_EQ(Box.Messages.back(), (Shown{Prompter::Kind::Confirmation,
                                          "Delete the section: Arrays.TAB?",
                                          Prompter::Buttons::OkCancel,
                                          {}}));
    EXPECT_EQ(Doc.ArraysNode->Count(), 0);
    EXPECT_TRUE(Doc.HistorySection.LineTexts().back().ends_with(",From: Arrays"));

    Select(printNode);
    Doc.DeleteSelectedArray();
    EXPECT_EQ(Box.Messages.back().Text, "ERROR: Section not Found!");
    Doc.DeleteSelectedOutput();
    EXPECT_EQ(Box.Messages.back().Text, "Delete the section: Output.QPRINT?");
    EXPECT_EQ(Doc.OutputNode->Count(), 0);
    EXPECT_EQ(Doc.CurrentNode, nullptr);
}

TEST_F(RPGProgramTest, ShowSelectedCoversTheRpgNodes) {
    Doc.NewProgram();
    Doc.AddArray("TAB", "")->AssignLines({"TAB data"});
    Doc.AddOutput("QPRINT", "")->AssignLines({"OUT"});
    for (const char* text : {"Arrays", "Output", "All Flags", "Files"}) {
        View.ActivePage = ProgramPage::None;
        Select(Node(text));
        EXPECT_EQ(View.ActivePage, ProgramPage::Objects) << text;
        EXPECT_TRUE(View.ObjectsVisible && !View.SourceVisible && !View.SettingVisible) << text;
    }
    EXPECT_EQ(View.ItemCaptions(),
              (std::vector<std::string>{"Logical", "Display", "Printer", "Special"}));
    EXPECT_EQ(View.Items[0].Section, &Doc.LogicalSection);
    Select(Node("All Flags"));
    EXPECT_EQ(View.Items[0].SubItems.back(), "Indicators");

    for (const char* text : {"TAB", "QPRINT", "Init SubRoutine", "Special", "Logical", "Display",
                             "Printer", "Extension", "Line Count", "Input"}) {
        View.ActivePage = ProgramPage::None;
        Select(Node(text));
        EXPECT_EQ(View.ActivePage, ProgramPage::Source) << text;
        EXPECT_TRUE(View.SourceVisible && View.RpgViewVisible && !View.ObjectsVisible) << text;
        EXPECT_EQ(View.Editor, Doc.FindSectionByName(text)->LineTexts()) << text;
    }
    // Edits of an RPG section are committed on the next selection.
    View.Editor = {"     I*"};
    Doc.EditorModified = true;
    Select(Node("Comm Keys"));
    EXPECT_EQ(Doc.InputSection.LineTexts(), StringList{"     I*"});
    EXPECT_EQ(View.ActivePage, ProgramPage::Objects);
    EXPECT_FALSE(Doc.EditorModified);
}

TEST_F(RPGProgramTest, FlagAndGroupingNodesHaveNoProperties) {
    Doc.NewProgram();
    for (const char* text : {"Indicators", "Files", "All Flags"}) {
        Box.Clear();
        Select(Node(text));
        Doc.ChangeSectionProperty("X", "Y");
        EXPECT_EQ(Box.Messages, (std::vector<Shown>{{Prompter::Kind::Error,
                                                     "Sorry can't change this property!",
                                                     Prompter::Buttons::Ok,
                                                     {}}}))
            << text;
        EXPECT_EQ(Node(text)->Text, text);
    }
    // The output folder keeps its node text and takes a description.
    Select(Doc.OutputNode);
    Doc.ChangeSectionProperty("Output", "Printed things");
    EXPECT_EQ(Doc.OutputFolder.Description, "Printed things");
    EXPECT_EQ(Doc.OutputFolder.Name, "OutPut");
}

TEST_F(RPGProgramTest, SaveOfAnUnnamedProgramAsksForAName) {
    Doc.NewProgram();
    EXPECT_EQ(Doc.Save(), "NoName.RPG"); // the user cancelled
    ASSERT_EQ(View.SaveRequests.size(), 1u);
    EXPECT_EQ(View.SaveRequests[0].Title, "Quenby - Save Program");
    EXPECT_EQ(View.SaveRequests[0].InitialDir, "");
    EXPECT_EQ(View.SaveRequests[0].FileName, "NoName.RPG");
    EXPECT_TRUE(Doc.Untitled);
    EXPECT_TRUE(Doc.Modified);
    // Without a window there is nobody to ask.
    Doc.BindView(nullptr);
    EXPECT_EQ(Doc.SaveAs(), "NoName.RPG");
    EXPECT_TRUE(Doc.Untitled);
}

// Each add returns what the name look-up finds: the new section, unless a section further down
// the tree has its name. Past a few sections of one name the answer is found another way, so
// both ways are taken here.
TEST_F(RPGProgramTest, AddsReturnTheLastSectionOfTheirNameInTreeOrder) {
    Doc.BuildTree();
    TEDITSection* output = Doc.AddOutput("PRTF", "");
    TEDITSection* routine = nullptr;
    for (int k = 0; k < 40; ++k) {
        EXPECT_EQ(Doc.AddSubRoutine("prtf", ""), output) << k;
        EXPECT_EQ(Doc.AddArray("PRTF", ""), output) << k;
    }
    for (int k = 0; k < 40; ++k) {
        TEDITSection* added = Doc.AddOutput("Prtf", "");
        EXPECT_EQ(added, Doc.OutputNode->Child(Doc.OutputNode->Count() - 1)->Section()) << k;
        EXPECT_EQ(Doc.FindSectionByName("PRTF"), added) << k;
    }
    for (int k = 0; k < 40; ++k) {
        routine = Doc.AddSubRoutine("SR1", "");
        EXPECT_EQ(routine, Doc.SubRoutinesNode->Child(Doc.SubRoutinesNode->Count() - 1)->Section());
        EXPECT_EQ(Doc.AddArray("sr1", ""), routine) << k;
    }
    EXPECT_EQ(Doc.FindSectionByName("sr1"), routine);
}

} // namespace
