#include "ui/ProgramTreeView.h"

#include "document/TreeNode.h"
#include "ui/ProgramTreeModel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

TProgramTreeView::TProgramTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setUniformRowHeights(true);
}

TProgramTreeModel* TProgramTreeView::TreeModel() const {
    return qobject_cast<TProgramTreeModel*>(model());
}

TreeNode* TProgramTreeView::NodeAt(const QPoint& viewportPos) const {
    TProgramTreeModel* tree = TreeModel();
    return tree ? tree->NodeOf(indexAt(viewportPos)) : nullptr;
}

TreeNode* TProgramTreeView::LabelNodeAt(const QPoint& viewportPos) const {
    QModelIndex at = indexAt(viewportPos);
    TreeNode* node = TreeModel() ? TreeModel()->NodeOf(at) : nullptr;
    if (!node)
        return nullptr;
    // The item's rectangle runs from its icon to the column's end; the label ends with its text.
    QRect item = visualRect(at);
    QString text = at.data(Qt::DisplayRole).toString();
    int labelWidth = iconSize().width() + 8 + fontMetrics().horizontalAdvance(text);
    if (viewportPos.x() < item.left() || viewportPos.x() > item.left() + labelWidth)
        return nullptr;
    return node;
}

bool TProgramTreeView::DropAt(TreeNode* dragged, const QPoint& viewportPos) {
    TreeNode* target = LabelNodeAt(viewportPos);
    if (!dragged || !target)
        return false;
    emit NodeDropped(dragged, target);
    return true;
}

void TProgramTreeView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & ~Qt::KeypadModifier) && currentIndex().isValid()) {
        emit OpenRequested();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TProgramTreeView::startDrag(Qt::DropActions supportedActions) {
    Dragged = TreeModel() ? TreeModel()->NodeOf(currentIndex()) : nullptr;
    if (Dragged)
        QTreeView::startDrag(supportedActions & Qt::CopyAction);
    Dragged = nullptr;
}

bool TProgramTreeView::FromHere(const QDropEvent* event) const {
    return event->source() == this && Dragged &&
           event->mimeData()->hasFormat(TProgramTreeModel::kNodeMimeType);
}

void TProgramTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (!FromHere(event)) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
}

void TProgramTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!FromHere(event)) {
        event->ignore();
        return;
    }
    QTreeView::dragMoveEvent(event);
}

void TProgramTreeView::dropEvent(QDropEvent* event) {
    if (!FromHere(event)) {
        event->ignore();
        return;
    }
    TreeNode* dragged = Dragged;
    // The drag ends as a copy, so the view never removes the dragged row by itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    DropAt(dragged, event->position().toPoint());
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}
