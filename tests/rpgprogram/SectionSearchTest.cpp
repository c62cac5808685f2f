#include "rpgprogram/RPGProgram.h"

#include "platform/Prompter.h"

#include "support/FakeProgramView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvale::ScriptedPrompter;
using orvale::test::FakeProgramView;

namespace {

class SectionSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Doc.BindView(&View);
        ASSERT_TRUE(Doc.NewProgram());
        Doc.PropertySection.AddLine("Owner=FOO");
        Doc.HistorySection.AddLine("FOO,Add,USER1,01/01/2000 10:00:00,In: Sub Routines");
        Doc.AddArray("TABA", "")->AssignLines({"FOO 1"});
        Doc.AddSubRoutine("SR1", "")->AssignLines({"  Begsr(SR1)", "  Z-add(FOO,X)", "  Endsr()"});
        Doc.AddOutput("OUT1", "")->AssignLines({"OUTBegin(QPRINT)", "Field(FOO)"});
        Doc.MainRoutineSection.AssignLines({"Z-add(foo,Y)"});
    }
    void TearDown() override { EXPECT_TRUE(View.Violations.empty()) << View.Violations.front(); }

    TSectionSearch Search(bool global = false, bool arrays = false, bool subs = false,
                          bool output = false) const {
        return {"FOO", false, global, arrays, subs, output};
    }
    // The texts of the nodes the search visits one after the other from Start.
    std::vector<std::string> Walk(const TSectionSearch& search, TreeNode* start) {
        std::vector<std::string> texts;
        while ((start = Doc.FindNextSection(search, start)))
            texts.push_back(start->Text);
        return texts;
    }
    void Select(TreeNode* node) {
        Doc.Tree.Select(node);
        Doc.ShowSelected();
    }
    TreeNode* Node(const std::string& text) { return Doc.FindNodeByText(text); }

    ScriptedPrompter Box;
    FakeProgramView View;
    TRPGProgram Doc{Box};
};

using Texts = std::vector<std::string>;

TEST_F(SectionSearchTest, WalksOnInTreeOrderWithoutWrappingAndNeverIntoPropertiesOrHistory) {
    Doc.DescriptionSection.AssignLines({"About FOO"});
    Doc.PreCompilerSection.AssignLines({"#define FOO=1"});
    Doc.HeaderSection.AssignLines({"RPG(H) FOO"});

    EXPECT_EQ(Walk(Search(), Doc.Tree.First()), (Texts{"Header", "Main Routine"}));
    EXPECT_EQ(Walk(Search(true), Doc.Tree.First()),
              (Texts{"Description", "Pre Compiler", "Header", "Main Routine"}));
    // From a section further down only what follows it is visited.
    EXPECT_EQ(Walk(Search(true), Node("Main Routine")), Texts{});
    EXPECT_EQ(Walk(Search(true, true, true, true), Node("Main Routine")), (Texts{"SR1", "OUT1"}));

    // A program whose only occurrences are in its properties and history has none to find.
    Doc.DescriptionSection.AssignLines({});
    Doc.PreCompilerSection.AssignLines({});
    Doc.HeaderSection.AssignLines({});
    Doc.MainRoutineSection.AssignLines({});
    EXPECT_EQ(Walk(Search(true), Doc.Tree.First()), Texts{});
}

TEST_F(SectionSearchTest, MatchesInTheFoldersCountOnlyWhenIncluded) {
    EXPECT_EQ(Walk(Search(), Doc.Tree.First()), Texts{"Main Routine"});
    EXPECT_EQ(Walk(Search(false, true), Doc.Tree.First()), (Texts{"TABA", "Main Routine"}));
    EXPECT_EQ(Walk(Search(false, false, true), Doc.Tree.First()), (Texts{"Main Routine", "SR1"}));
    EXPECT_EQ(Walk(Search(false, false, false, true), Doc.Tree.First()),
              (Texts{"Main Routine", "OUT1"}));
    EXPECT_EQ(Walk(Search(true, true, true, true), Doc.Tree.First()),
              (Texts{"TABA", "Main Routine", "SR1", "OUT1"}));
}

TEST_F(SectionSearchTest, CaseMattersOnlyWithMatchCase) {
    TSectionSearch exact = Search(false, true, true, true);
    exact.MatchCase = true;
    // "foo" in the main routine is passed over.
    EXPECT_EQ(Walk(exact, Doc.Tree.First()), (Texts{"TABA", "SR1", "OUT1"}));
    exact.Text = "foo";
    EXPECT_EQ(Walk(exact, Doc.Tree.First()), Texts{"Main Routine"});
}

TEST_F(SectionSearchTest, CommitsTheEditorAndSelectsTheSectionFound) {
    Select(Node("Header"));
    View.Editor = {"RPG(H) edited"};
    Doc.EditorModified = true;

    TreeNode* found = Doc.FindNextSection(Search(), Doc.Tree.Selected());
    ASSERT_EQ(found, Node("Main Routine"));
    EXPECT_EQ(Doc.HeaderSection.LineTexts(), StringList{"RPG(H) edited"});
    EXPECT_FALSE(Doc.EditorModified);
    EXPECT_EQ(Doc.Tree.Selected(), found);
    EXPECT_EQ(View.Selection, found);
    // The window shows the selection as for any other change of the tree's selection.
    Doc.ShowSelected();
    EXPECT_EQ(View.Editor, Doc.MainRoutineSection.LineTexts());
}

TEST_F(SectionSearchTest, NothingFoundLeavesSelectionAndPendingTextAlone) {
    Select(Node("Main Routine"));
    View.Editor = {"Z-add(foo,Y)", "typed"};
    Doc.EditorModified = true;

    EXPECT_EQ(Doc.FindNextSection(Search(), Doc.Tree.Selected()), nullptr);
    EXPECT_EQ(Doc.FindNextSection({"", false, true, true, true, true}, Doc.Tree.First()), nullptr);
    TreeNode stranger("Main Routine");
    EXPECT_EQ(Doc.FindNextSection(Search(), &stranger), nullptr);
    EXPECT_EQ(Doc.FindNextSection(Search(), nullptr), nullptr);

    EXPECT_EQ(Doc.Tree.Selected(), Node("Main Routine"));
    EXPECT_TRUE(Doc.EditorModified);
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts(), StringList{"Z-add(foo,Y)"});
}

TEST_F(SectionSearchTest, AWalkFromTheTopSeesTheTextBeingEdited) {
    Doc.MainRoutineSection.AssignLines({"Z-add(0,Y)"});
    Select(Node("Main Routine"));
    View.Editor = {"Z-add(FOO,Y)"};
    Doc.EditorModified = true;
    EXPECT_EQ(Doc.FindNextSection(Search(false, false, true), Doc.Tree.First()),
              Node("Main Routine"));

    // And an occurrence the user has just deleted is no longer there.
    Select(Node("Main Routine"));
    View.Editor = {"Z-add(0,Y)"};
    Doc.EditorModified = true;
    EXPECT_EQ(Doc.FindNextSection(Search(false, false, true), Doc.Tree.First()), Node("SR1"));
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts(), StringList{"Z-add(0,Y)"});
}

} // namespace
