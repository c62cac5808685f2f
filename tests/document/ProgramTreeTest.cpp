#include "document/ProgramTree.h"

#include "support/FakeProgramView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using orvale::test::FakeProgramView;

namespace {

class ProgramTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = Tree.Add(nullptr, "PROG.RPG");
        Folder = Tree.Add(Root, "Sub Routines");
        A = Tree.Add(Folder, "A");
        B = Tree.Add(Folder, "B");
        C = Tree.Add(Folder, "C");
        Other = Tree.Add(Root, "Arrays");
        X = Tree.Add(Other, "X");
        Tree.SetView(&View);
    }

    std::string Children(const TreeNode* node) const {
        std::string out;
        for (int i = 0; i < node->Count(); ++i)
            out += node->Child(i)->Text;
        return out;
    }

    TProgramTree Tree;
    FakeProgramView View;
    TreeNode *Root, *Folder, *A, *B, *C, *Other, *X;
};

TEST_F(ProgramTreeTest, DropReordersOnlyWithinOneParent) {
    // Onto its own folder: becomes the first child.
    EXPECT_TRUE(Tree.DropNode(C, Folder));
    EXPECT_EQ(Children(Folder), "CAB");
    // Onto a sibling: goes before it, whether the sibling stands before or after.
    EXPECT_TRUE(Tree.DropNode(C, B));
    EXPECT_EQ(Children(Folder), "ACB");
    EXPECT_TRUE(Tree.DropNode(A, B));
    EXPECT_EQ(Children(Folder), "CAB");
    // Onto a node of another folder, onto its own child's place, or onto itself: nothing.
    EXPECT_FALSE(Tree.DropNode(A, X));
    EXPECT_FALSE(Tree.DropNode(A, Other));
    EXPECT_FALSE(Tree.DropNode(A, A));
    EXPECT_FALSE(Tree.DropNode(A, B)); // already right before B
    EXPECT_FALSE(Tree.DropNode(C, Folder));
    EXPECT_EQ(Children(Folder), "CAB");
    // A folder dropped onto the root's other child moves as a whole.
    EXPECT_TRUE(Tree.DropNode(Other, Folder));
    EXPECT_EQ(Children(Root), "ArraysSub Routines");
    EXPECT_EQ(Other->Child(0), X);
    EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    EXPECT_EQ(View.TreeEvents, (std::vector<std::string>{"move C to 0", "move C to 2",
                                                         "move A to 2", "move Arrays to 0"}));
}

TEST_F(ProgramTreeTest, MoveRefusesToPutANodeBelowItself) {
    EXPECT_FALSE(Tree.Move(Folder, A, 0));
    EXPECT_FALSE(Tree.Move(Root, Folder, 0));
    EXPECT_TRUE(Tree.Move(X, Folder, 3));
    EXPECT_EQ(Children(Folder), "ABCX");
    EXPECT_EQ(X->Parent(), Folder);
    EXPECT_TRUE(View.Violations.empty());
}

TEST_F(ProgramTreeTest, RemovingTheSelectionSelectsANeighbour) {
    Tree.Select(B);
    Tree.Remove(B);
    EXPECT_EQ(Tree.Selected(), C);
    Tree.Remove(C);
    EXPECT_EQ(Tree.Selected(), A);
    Tree.Remove(A);
    EXPECT_EQ(Tree.Selected(), Folder);
    EXPECT_EQ(View.Selection, Folder);
    // Removing an ancestor of the selection moves it too.
    Tree.Select(X);
    Tree.Remove(Other);
    EXPECT_EQ(Tree.Selected(), Folder);
    // The last top-level node leaves nothing selected.
    Tree.Select(Folder);
    Tree.Remove(Root);
    EXPECT_EQ(Tree.Selected(), nullptr);
    EXPECT_EQ(View.Selection, nullptr);
    EXPECT_TRUE(Tree.Empty());
    EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
}

TEST_F(ProgramTreeTest, NodesOfAnotherTreeAreIgnored) {
    TProgramTree other;
    TreeNode* foreign = other.Add(nullptr, "F");
    Tree.Select(foreign);
    EXPECT_EQ(Tree.Selected(), nullptr);
    Tree.Remove(foreign);
    EXPECT_EQ(other.Root(), foreign);
    EXPECT_FALSE(Tree.DropNode(foreign, Root));
    EXPECT_FALSE(Tree.Contains(&Tree.Items()));
}

TEST_F(ProgramTreeTest, UpdateBracketShowsOneResetAndTheSelectionAfterIt) {
    Tree.BeginUpdate();
    Tree.BeginUpdate();
    Tree.Clear();
    TreeNode* root = Tree.Add(nullptr, "NEW.RPG");
    Tree.Add(root, "Property");
    Tree.Select(root);
    Tree.SetText(root, "NEW2.RPG");
    Tree.EndUpdate();
    EXPECT_EQ(View.Resets, 0);
    Tree.EndUpdate();
    EXPECT_EQ(View.TreeEvents, (std::vector<std::string>{"about to reset", "reset"}));
    EXPECT_EQ(View.Selection, root);
    EXPECT_TRUE(View.Violations.empty());
    // Outside a bracket each change is announced on its own.
    Tree.Add(root, "History");
    Tree.Expand(root);
    Tree.Expand(root);
    EXPECT_EQ(View.TreeEvents.back(), "change NEW2.RPG");
    EXPECT_EQ(View.TreeEvents.size(), 4u);
}

// The name index has to follow every change of the tree, or the look-ups of the document
// would find removed nodes and miss renamed ones.
TEST_F(ProgramTreeTest, NodesNamedFollowsEveryChange) {
    using Nodes = std::vector<TreeNode*>;
    EXPECT_EQ(Tree.NodesNamed("a"), Nodes{A});
    EXPECT_EQ(Tree.NodesNamed("SUB ROUTINES"), Nodes{Folder});
    Tree.SetText(A, "Q");
    EXPECT_TRUE(Tree.NodesNamed("A").empty());
    EXPECT_EQ(Tree.NodesNamed("q"), Nodes{A});
    // A node prepared with children brings them along.
    auto prepared = std::make_unique<TreeNode>("P");
    prepared->AddChild("x");
    TreeNode* p = Tree.Insert(Root, -1, std::move(prepared));
    Nodes xs = Tree.NodesNamed("X");
    std::sort(xs.begin(), xs.end());
    Nodes expected{X, p->Child(0)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(xs, expected);
    // A move changes places, not names.
    EXPECT_TRUE(Tree.Move(X, Folder, 0));
    EXPECT_EQ(Tree.NodesNamed("x").size(), 2u);
    // Removing a folder takes its children out too.
    Tree.Remove(p);
    EXPECT_EQ(Tree.NodesNamed("x"), Nodes{X});
    EXPECT_TRUE(Tree.NodesNamed("P").empty());
    Tree.Remove(Folder);
    EXPECT_TRUE(Tree.NodesNamed("x").empty());
    EXPECT_TRUE(Tree.NodesNamed("q").empty());
    Tree.Clear();
    EXPECT_TRUE(Tree.NodesNamed("PROG.RPG").empty());
    // A node of no tree is not indexed when its text changes.
    TreeNode loose("L");
    Tree.SetText(&loose, "M");
    EXPECT_TRUE(Tree.NodesNamed("M").empty());
}

TEST_F(ProgramTreeTest, PrecedesIsTheOrderOfAPreOrderWalk) {
    std::vector<TreeNode*> walk;
    for (TreeNode* n = Tree.First(); n; n = TProgramTree::Next(n))
        walk.push_back(n);
    for (size_t i = 0; i < walk.size(); ++i)
        for (size_t j = 0; j < walk.size(); ++j)
            EXPECT_EQ(TProgramTree::Precedes(walk[i], walk[j]), i < j)
                << walk[i]->Text << " / " << walk[j]->Text;
    // After a move the order is the new one.
    ASSERT_TRUE(Tree.Move(A, Folder, 3));
    EXPECT_TRUE(TProgramTree::Precedes(C, A));
    EXPECT_TRUE(TProgramTree::Precedes(A, X));
}

} // namespace
