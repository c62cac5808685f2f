#include "TreeNode.h"

TreeNode::TreeNode(std::string text, TreeNode* parent) : Text(std::move(text)), Parent_(parent) {}

int TreeNode::Index() const {
    if (!Parent_)
        return -1;
    int count = Parent_->Count();
    if (IndexHint_ >= 0 && IndexHint_ < count && Parent_->Child(IndexHint_) == this)
        return IndexHint_;
    for (int i = 0; i < count; ++i)
        if (Parent_->Child(i) == this) {
            IndexHint_ = i;
            return i;
        }
    return -1;
}

int TreeNode::Level() const {
    int level = 0;
    for (const TreeNode* p = Parent_; p; p = p->Parent_)
        ++level;
    return level;
}

bool TreeNode::HasAsParent(const TreeNode* ancestor) const {
    for (const TreeNode* p = Parent_; p; p = p->Parent_)
        if (p == ancestor)
            return true;
    return false;
}

const void* TreeNode::Data() const {
    switch (Kind_) {
    case DataKind::Section:
        return Section_;
    case DataKind::Folder:
        return Folder_;
    case DataKind::Grouping:
        return this;
    case DataKind::None:
        break;
    }
    return nullptr;
}

void TreeNode::SetSection(TEDITSection* section) {
    ClearData();
    Kind_ = section ? DataKind::Section : DataKind::None;
    Section_ = section;
}

void TreeNode::SetFolder(TEDITFolder* folder) {
    ClearData();
    Kind_ = folder ? DataKind::Folder : DataKind::None;
    Folder_ = folder;
}

void TreeNode::SetGrouping() {
    ClearData();
    Kind_ = DataKind::Grouping;
}

void TreeNode::ClearData() {
    Kind_ = DataKind::None;
    Section_ = nullptr;
    Folder_ = nullptr;
}

TreeNode* TreeNode::AddChild(std::string text) {
    return InsertChild(Count(), std::move(text));
}

TreeNode* TreeNode::InsertChild(int index, std::string text) {
    auto node = std::make_unique<TreeNode>(std::move(text), this);
    TreeNode* raw = node.get();
    InsertChild(index, std::move(node));
    return raw;
}

void TreeNode::InsertChild(int index, std::unique_ptr<TreeNode> node) {
    node->Parent_ = this;
    if (index < 0 || index > Count())
        index = Count();
    node->IndexHint_ = index;
    Children.insert(Children.begin() + index, std::move(node));
}

std::unique_ptr<TreeNode> TreeNode::TakeChild(int index) {
    std::unique_ptr<TreeNode> node = std::move(Children[static_cast<size_t>(index)]);
    Children.erase(Children.begin() + index);
    node->Parent_ = nullptr;
    return node;
}

void TreeNode::RemoveChild(int index) {
    Children.erase(Children.begin() + index);
}

void TreeNode::ClearChildren() {
    Children.clear();
}

TreeNode* TreeNode::NextSibling() const {
    if (!Parent_)
        return nullptr;
    int i = Index();
    if (i + 1 >= Parent_->Count())
        return nullptr;
    TreeNode* next = Parent_->Child(i + 1);
    next->IndexHint_ = i + 1;
    return next;
}

TreeNode* TreeNode::PrevSibling() const {
    if (!Parent_)
        return nullptr;
    int i = Index();
    return i > 0 ? Parent_->Child(i - 1) : nullptr;
}

TreeNode* TreeNode::Next(const TreeNode* top) const {
    if (!Children.empty())
        return Children.front().get();
    for (const TreeNode* n = this; n && n != top; n = n->Parent_) {
        if (TreeNode* sibling = n->NextSibling())
            return sibling;
    }
    return nullptr;
}
