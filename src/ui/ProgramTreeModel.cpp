#include "ui/ProgramTreeModel.h"

#include "document/ProgramTree.h"
#include "document/TreeNode.h"
#include "qtedge/TextEdge.h"

#include <QMimeData>
#include <QPainter>

namespace {

// The node's picture with a red (errors) or amber (warnings only) disc in its lower right.
QIcon FindingBadge(const QIcon& picture, bool errors) {
    QPixmap pixmap = picture.isNull() ? QPixmap(16, 16) : picture.pixmap(16, 16);
    if (picture.isNull())
        pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(errors ? QColor(0xd3, 0x2f, 0x2f) : QColor(0xf5, 0xa6, 0x23));
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    return QIcon(pixmap);
}

} // namespace

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
    auto mark = Marks.find(node);
    switch (role) {
    case Qt::DisplayRole:
        return Edge.ToQt(node->Text);
    case Qt::ToolTipRole:
        if (mark != Marks.end())
            return QString("%1\n%2 errors, %3 warnings")
                .arg(Edge.ToQt(node->Text))
                .arg(mark->second.Errors)
                .arg(mark->second.Warnings);
        return Edge.ToQt(node->Text);
    case Qt::DecorationRole: {
        int image = node == Tree.Selected() ? node->SelectedIndex : node->ImageIndex;
        QIcon picture = image >= 0 && image < Images.size() ? Images.at(image) : QIcon();
        if (mark != Marks.end())
            return FindingBadge(picture, mark->second.Errors > 0);
        if (!picture.isNull())
            return picture;
        return {};
    }
    default:
        return {};
    }
}

void TProgramTreeModel::SetFindingMarks(std::unordered_map<const TreeNode*, FindingCount> marks) {
    std::unordered_map<const TreeNode*, FindingCount> old = std::move(Marks);
    Marks = std::move(marks);
    // Only the nodes whose mark came or went are repainted.
    auto changed = [this](const TreeNode* node) {
        QModelIndex at = IndexOf(node);
        if (at.isValid())
            emit dataChanged(at, at, {Qt::DecorationRole, Qt::ToolTipRole});
    };
    for (const auto& [node, count] : old)
        if (!Marks.contains(node))
            changed(node);
    for (const auto& [node, count] : Marks)
        changed(node);
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
    // Marks name nodes that are about to go; the next compile marks the new tree.
    Marks.clear();
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
    for (auto it = Marks.begin(); it != Marks.end();)
        it = it->first == node || it->first->HasAsParent(node) ? Marks.erase(it) : std::next(it);
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
