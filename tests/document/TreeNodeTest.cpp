#include "document/TreeNode.h"
#include "document/EditFolder.h"
#include "document/EditSection.h"

#include <gtest/gtest.h>

TEST(TreeNode, PreOrderWalkVisitsANodeThenItsChildrenThenItsNextSibling) {
    TreeNode root("root");
    TreeNode* a = root.AddChild("a");
    a->AddChild("a1");
    a->AddChild("a2")->AddChild("a2x");
    root.AddChild("b");
    std::string order;
    for (TreeNode* n = &root; n; n = n->Next())
        order += n->Text + " ";
    EXPECT_EQ(order, "root a a1 a2 a2x b ");
    // A walk can be kept below one node.
    order.clear();
    for (TreeNode* n = a; n; n = n->Next(a))
        order += n->Text + " ";
    EXPECT_EQ(order, "a a1 a2 a2x ");
}

TEST(TreeNode, DataIsOneReferenceOfOneKind) {
    TreeNode node("x");
    TEDITSection section("S", "");
    TEDITFolder folder("F", "");
    EXPECT_FALSE(node.HasData());
    node.SetSection(&section);
    EXPECT_EQ(node.Section(), &section);
    EXPECT_EQ(node.Folder(), nullptr);
    node.SetFolder(&folder);
    EXPECT_EQ(node.Section(), nullptr);
    EXPECT_EQ(node.Data(), &folder);
    node.SetGrouping();
    EXPECT_EQ(node.Data(), &node);
}

TEST(TreeNode, MovingAChildKeepsParentsConsistent) {
    TreeNode root("root");
    root.AddChild("a");
    root.AddChild("b");
    TreeNode* c = root.AddChild("c");
    auto taken = root.TakeChild(2);
    EXPECT_EQ(taken->Parent(), nullptr);
    root.InsertChild(0, std::move(taken));
    EXPECT_EQ(root.Child(0), c);
    EXPECT_EQ(c->Parent(), &root);
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(root.Child(2)->Text, "b");
    EXPECT_EQ(c->NextSibling()->Text, "a");
    EXPECT_EQ(c->PrevSibling(), nullptr);
}
