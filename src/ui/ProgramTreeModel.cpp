#include "ui/ProgramTreeModel.h"

#include "document/ProgramTree.h"
#include "document/TreeNode.h"
#include "ui/Latin1.h"

#include <QMimeData>

TProgramTreeModel::TProgramTreeModel(const TProgramTree& tree, QObject* parent)
    : QAbstractItemModel(parent), Tree(tree) {}

void TProgramTreeModel::SetImages(const QList<QIcon>& images) {
    Images = images;
    if (Tree.Root())
        emit dataChanged(IndexOf(Tree.Root()), IndexOf(Tree.Root()), {Qt::DecorationRole});
}

const TreeNode* TProgramTreeModel::Container() const {
    return &Tree.Items();
}

TreeNode* TProgramTreeModel::NodeOf(const QModelIndex& index) const {
    if (Resetting || !index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TreeNode*>(index.internalPointer());
}

QModelIndex TProgramTreeModel::IndexOf(const TreeNode* node) const {
    if (Resetting || !node || node == Container() || !node->Parent())
        return {};
    return createIndex(node->Index(), 0, const_cast<TreeNode*>(node));
}

QModelIndex TProgramTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (Resetting || column != 0 || row < 0)
        return {};
    const TreeNode* owner = parent.isValid() ? NodeOf(parent) : Container();
    if (!owner || row >= owner->Count())
        return {};
    return createIndex(row, 0, owner->Child(row));
}

QModelIndex TProgramTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = NodeOf(child);
    if (!node)
        return {};
    return IndexOf(node->Parent());
}

int TProgramTreeModel::rowCount(const QModelIndex& parent) const {
    if (Resetting || parent.column() > 0)
        return 0;
    const TreeNode* owner = parent.isValid() ? NodeOf(parent) : Container();
    return owner ? owner->Count() : 0;
}

int TProgramTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TProgramTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = NodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return ToQt(node->Text);
    case Qt::DecorationRole: {
        int image = node == Tree.Selected() ? node->SelectedIndex : node->ImageIndex;
        if (image >= 0 && image < Images.size())
            return Images.at(image);
        return {};
    }
    default:
        return {};
    }
}

Qt::ItemFlags TProgramTreeModel::flags(const QModelIndex& index) const {
    if (!NodeOf(index))
        return Qt::ItemIsDropEnabled;
    // Labels are read-only; every node can be dragged and dropped on.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

QStringList TProgramTreeModel::mimeTypes() const {
    return {kNodeMimeType};
}

QMimeData* TProgramTreeModel::mimeData(const QModelIndexList& indexes) const {
    // The drag carries only a mark that it is a tree node; the tree view remembers which node
    // it dragged, so nothing from outside can name a node.
    auto* mime = new QMimeData;
    mime->setData(kNodeMimeType, QByteArray::number(indexes.size()));
    return mime;
}

void TProgramTreeModel::AboutToReset() {
    beginResetModel();
    Resetting = true;
}

void TProgramTreeModel::Reset() {
    Resetting = false;
    endResetModel();
}

void TProgramTreeModel::AboutToInsert(TreeNode* parent, int index) {
    beginInsertRows(IndexOf(parent), index, index);
}

void TProgramTreeModel::Inserted() {
    endInsertRows();
}

void TProgramTreeModel::AboutToRemove(TreeNode* node) {
    int row = node->Index();
    beginRemoveRows(IndexOf(node->Parent()), row, row);
}

void TProgramTreeModel::Removed() {
    endRemoveRows();
}

void TProgramTreeModel::AboutToMove(TreeNode* node, TreeNode* newParent, int destIndex) {
    int row = node->Index();
    MoveAsReset = !beginMoveRows(IndexOf(node->Parent()), row, row, IndexOf(newParent), destIndex);
    if (MoveAsReset)
        beginResetModel();
}

void TProgramTreeModel::Moved() {
    if (MoveAsReset)
        endResetModel();
    else
        endMoveRows();
    MoveAsReset = false;
}

void TProgramTreeModel::Changed(TreeNode* node) {
    QModelIndex at = IndexOf(node);
    if (at.isValid())
        emit dataChanged(at, at);
}

void TProgramTreeModel::SelectionMoved(const TreeNode* oldNode, const TreeNode* newNode) {
    for (const TreeNode* node : {oldNode, newNode}) {
        if (!node || !node->Parent())
            continue;
        QModelIndex at = IndexOf(node);
        emit dataChanged(at, at, {Qt::DecorationRole});
    }
}
