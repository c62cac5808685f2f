#pragma once

#include "document/TreeNode.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvale {
class ProgramView;
}

// The section tree of a program document: the nodes, the selected node, and the
// notifications that keep a bound view in step. Nodes hang below an invisible container
// (Items()); the container's children are the top-level nodes, normally just the root that
// shows the file name.
class TProgramTree {
public:
    TProgramTree() = default;
    TProgramTree(const TProgramTree&) = delete;
    TProgramTree& operator=(const TProgramTree&) = delete;

    void SetView(orvale::ProgramView* view) { View = view; }

    TreeNode& Items() { return Items_; }
    const TreeNode& Items() const { return Items_; }
    // The first top-level node, or none when the tree is empty.
    TreeNode* Root() const { return Items_.Count() > 0 ? Items_.Child(0) : nullptr; }
    bool Empty() const { return Items_.Count() == 0; }
    // Whether Node is one of this tree's nodes (the container is not).
    bool Contains(const TreeNode* node) const;

    // Pre-order walk: for (TreeNode* n = tree.First(); n; n = tree.Next(n)).
    TreeNode* First() const { return Root(); }
    static TreeNode* Next(const TreeNode* node) { return node->Next(); }

    // Adds a node as the last child (or at Index) of Parent; a null Parent means top level.
    TreeNode* Add(TreeNode* parent, std::string text);
    TreeNode* Insert(TreeNode* parent, int index, std::string text);
    // Inserts a node prepared by the caller (text, images, data), so that the view sees it
    // complete; Index -1 appends.
    TreeNode* Insert(TreeNode* parent, int index, std::unique_ptr<TreeNode> node);
    // Removes the node and everything below it. When the selection is among them it moves to
    // the next sibling, else the previous sibling, else the parent.
    void Remove(TreeNode* node);
    void Clear();

    void SetText(TreeNode* node, std::string text);
    void SetImages(TreeNode* node, int image, int selectedImage);
    void SetImage(TreeNode* node, int image) { SetImages(node, image, image); }
    void Expand(TreeNode* node);

    TreeNode* Selected() const { return Selected_; }
    void Select(TreeNode* node);

    // Moves Node under Parent before the child now at DestIndex (child count appends).
    // Returns false, changing nothing, when the node would stay where it is or Parent lies
    // inside the node.
    bool Move(TreeNode* node, TreeNode* parent, int destIndex);
    // The drop of a dragged node onto Target: onto its own parent it becomes the first
    // child; onto a sibling it goes before that sibling; any other target does nothing.
    bool DropNode(TreeNode* dragged, TreeNode* target);

    // The nodes whose text equals Text ignoring case, in no particular order. A program with
    // thousands of subroutines looks names up as it adds each of them, so the look-up must not
    // walk the tree; the index follows every change made through this class, which is why a
    // node's text is only changed through SetText once the node is in the tree.
    const std::vector<TreeNode*>& NodesNamed(std::string_view text) const;
    // Whether A comes before B in a pre-order walk (an ancestor before its descendants).
    static bool Precedes(const TreeNode* a, const TreeNode* b);

    // Between BeginUpdate and EndUpdate the view sees one reset instead of every change.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return UpdateDepth > 0; }

private:
    bool Notify() const { return View && UpdateDepth == 0; }
    TreeNode* ParentOrItems(TreeNode* parent) { return parent ? parent : &Items_; }
    void IndexNodes(TreeNode* top);
    void UnindexNodes(TreeNode* top);
    void Unindex(TreeNode* node);

    TreeNode Items_;
    TreeNode* Selected_ = nullptr;
    orvale::ProgramView* View = nullptr;
    int UpdateDepth = 0;
    // Every node below the container, by its text in upper case.
    std::unordered_map<std::string, std::vector<TreeNode*>> ByName;
};
