#pragma once

#include <memory>
#include <string>
#include <vector>

class TEDITSection;
class TEDITFolder;

// One node of a program's section tree: its text, image numbers, expanded flag, children and
// one data reference (a section, a folder, the node itself for a grouping node, or none).
// The node does not own the section or folder it refers to; the document does.
class TreeNode {
public:
    enum class DataKind { None, Section, Folder, Grouping };

    explicit TreeNode(std::string text = {}, TreeNode* parent = nullptr);
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    std::string Text;
    int ImageIndex = 0;
    int SelectedIndex = 0;
    bool Expanded = false;

    TreeNode* Parent() const { return Parent_; }
    int Count() const { return static_cast<int>(Children.size()); }
    TreeNode* Child(int index) const { return Children[static_cast<size_t>(index)].get(); }
    // Position among the parent's children, -1 for a node without parent.
    int Index() const;
    // Depth below the top of the tree (0 for a top node).
    int Level() const;
    bool HasAsParent(const TreeNode* ancestor) const;

    DataKind Kind() const { return Kind_; }
    bool HasData() const { return Kind_ != DataKind::None; }
    TEDITSection* Section() const { return Kind_ == DataKind::Section ? Section_ : nullptr; }
    TEDITFolder* Folder() const { return Kind_ == DataKind::Folder ? Folder_ : nullptr; }
    bool IsGrouping() const { return Kind_ == DataKind::Grouping; }
    // The data as one opaque reference, for list items that point back at their object.
    const void* Data() const;

    void SetSection(TEDITSection* section);
    void SetFolder(TEDITFolder* folder);
    void SetGrouping();
    void ClearData();

    TreeNode* AddChild(std::string text);
    TreeNode* InsertChild(int index, std::string text);
    void InsertChild(int index, std::unique_ptr<TreeNode> node);
    std::unique_ptr<TreeNode> TakeChild(int index);
    void RemoveChild(int index);
    void ClearChildren();

    // The next node in pre-order (a node, its children, then its next sibling), staying
    // below Top when it is given; none after the last node.
    TreeNode* Next(const TreeNode* top = nullptr) const;
    TreeNode* NextSibling() const;
    TreeNode* PrevSibling() const;

private:
    TreeNode* Parent_;
    // Last known position among the parent's children; checked before it is trusted, so
    // walking a large folder in order stays linear.
    mutable int IndexHint_ = -1;
    std::vector<std::unique_ptr<TreeNode>> Children;
    DataKind Kind_ = DataKind::None;
    TEDITSection* Section_ = nullptr;
    TEDITFolder* Folder_ = nullptr;
};
