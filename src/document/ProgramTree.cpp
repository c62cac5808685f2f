#include "ProgramTree.h"

#include "ParseString.h"
#include "ProgramView.h"

#include <algorithm>

bool TProgramTree::Contains(const TreeNode* node) const {
    return node && node != &Items_ && node->HasAsParent(&Items_);
}

TreeNode* TProgramTree::Add(TreeNode* parent, std::string text) {
    return Insert(parent, ParentOrItems(parent)->Count(), std::move(text));
}

TreeNode* TProgramTree::Insert(TreeNode* parent, int index, std::string text) {
    return Insert(parent, index, std::make_unique<TreeNode>(std::move(text)));
}

TreeNode* TProgramTree::Insert(TreeNode* parent, int index, std::unique_ptr<TreeNode> node) {
    TreeNode* owner = ParentOrItems(parent);
    if (index < 0 || index > owner->Count())
        index = owner->Count();
    if (Notify())
        View->NodeAboutToBeInserted(owner, index);
    TreeNode* raw = node.get();
    owner->InsertChild(index, std::move(node));
    IndexNodes(raw);
    if (Notify())
        View->NodeInserted(raw);
    return raw;
}

void TProgramTree::Remove(TreeNode* node) {
    if (!Contains(node))
        return;
    TreeNode* parent = node->Parent();
    int index = node->Index();
    TreeNode* newSelection = nullptr;
    bool selectionGoes = Selected_ == node || (Selected_ && Selected_->HasAsParent(node));
    if (selectionGoes) {
        newSelection = node->NextSibling();
        if (!newSelection)
            newSelection = node->PrevSibling();
        if (!newSelection && parent != &Items_)
            newSelection = parent;
        // The old selection is about to be freed; nothing may point at it meanwhile.
        Selected_ = nullptr;
    }
    if (Notify())
        View->NodeAboutToBeRemoved(node);
    UnindexNodes(node);
    parent->RemoveChild(index);
    if (Notify())
        View->NodeRemoved(parent, index);
    if (selectionGoes)
        Select(newSelection);
}

void TProgramTree::Clear() {
    bool notify = Notify();
    if (notify)
        View->TreeAboutToReset();
    Selected_ = nullptr;
    Items_.ClearChildren();
    ByName.clear();
    if (notify) {
        View->TreeReset();
        View->SelectionChanged(nullptr);
    }
}

void TProgramTree::SetText(TreeNode* node, std::string text) {
    bool indexed = Contains(node);
    if (indexed)
        Unindex(node);
    node->Text = std::move(text);
    if (indexed)
        ByName[UpperCase(node->Text)].push_back(node);
    if (Notify())
        View->NodeChanged(node);
}

void TProgramTree::SetImages(TreeNode* node, int image, int selectedImage) {
    node->ImageIndex = image;
    node->SelectedIndex = selectedImage;
    if (Notify())
        View->NodeChanged(node);
}

void TProgramTree::Expand(TreeNode* node) {
    if (!node || node->Expanded)
        return;
    node->Expanded = true;
    if (Notify())
        View->NodeChanged(node);
}

void TProgramTree::Select(TreeNode* node) {
    if (node && !Contains(node))
        return;
    Selected_ = node;
    if (Notify())
        View->SelectionChanged(node);
}

bool TProgramTree::Move(TreeNode* node, TreeNode* parent, int destIndex) {
    TreeNode* owner = ParentOrItems(parent);
    if (!Contains(node) || (owner != &Items_ && !Contains(owner)))
        return false;
    if (owner == node || owner->HasAsParent(node))
        return false;
    if (destIndex < 0 || destIndex > owner->Count())
        destIndex = owner->Count();
    TreeNode* oldParent = node->Parent();
    int from = node->Index();
    if (oldParent == owner && (destIndex == from || destIndex == from + 1))
        return false;
    if (Notify())
        View->NodeAboutToBeMoved(node, owner, destIndex);
    std::unique_ptr<TreeNode> taken = oldParent->TakeChild(from);
    if (oldParent == owner && destIndex > from)
        --destIndex;
    owner->InsertChild(destIndex, std::move(taken));
    if (Notify())
        View->NodeMoved(node);
    return true;
}

bool TProgramTree::DropNode(TreeNode* dragged, TreeNode* target) {
    if (!Contains(dragged) || !Contains(target))
        return false;
    TreeNode* parent = dragged->Parent();
    if (target == parent)
        return Move(dragged, parent, 0);
    if (target->Parent() == parent)
        return Move(dragged, parent, target->Index());
    return false;
}

void TProgramTree::BeginUpdate() {
    if (UpdateDepth++ == 0 && View)
        View->TreeAboutToReset();
}

void TProgramTree::EndUpdate() {
    if (UpdateDepth == 0 || --UpdateDepth > 0)
        return;
    if (View) {
        View->TreeReset();
        View->SelectionChanged(Selected_);
    }
}

void TProgramTree::IndexNodes(TreeNode* top) {
    for (TreeNode* n = top; n; n = n->Next(top))
        ByName[UpperCase(n->Text)].push_back(n);
}

void TProgramTree::UnindexNodes(TreeNode* top) {
    for (TreeNode* n = top; n; n = n->Next(top))
        Unindex(n);
}

void TProgramTree::Unindex(TreeNode* node) {
    auto bucket = ByName.find(UpperCase(node->Text));
    if (bucket == ByName.end())
        return;
    std::vector<TreeNode*>& nodes = bucket->second;
    auto at = std::find(nodes.begin(), nodes.end(), node);
    if (at != nodes.end()) {
        *at = nodes.back();
        nodes.pop_back();
    }
    if (nodes.empty())
        ByName.erase(bucket);
}

const std::vector<TreeNode*>& TProgramTree::NodesNamed(std::string_view text) const {
    static const std::vector<TreeNode*> none;
    auto bucket = ByName.find(UpperCase(text));
    return bucket == ByName.end() ? none : bucket->second;
}

bool TProgramTree::Precedes(const TreeNode* a, const TreeNode* b) {
    if (a == b)
        return false;
    // The paths from the top down to each node; the first place they part decides.
    auto path = [](const TreeNode* n) {
        std::vector<const TreeNode*> p;
        for (; n; n = n->Parent())
            p.push_back(n);
        std::reverse(p.begin(), p.end());
        return p;
    };
    std::vector<const TreeNode*> pa = path(a), pb = path(b);
    size_t k = 0;
    while (k < pa.size() && k < pb.size() && pa[k] == pb[k])
        ++k;
    if (k == pa.size())
        return true; // A lies above B
    if (k == pb.size())
        return false;
    return pa[k]->Index() < pb[k]->Index();
}
