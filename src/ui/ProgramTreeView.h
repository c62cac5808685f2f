#pragma once

// The section tree of the program editor window: a tree view over TProgramTreeModel whose
// drag and drop only moves nodes within itself. A drop counts only on a node's label or
// icon; the window decides what the drop does (the document's MoveNode).

#include <QTreeView>

class TProgramTreeModel;
class TreeNode;

class TProgramTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TProgramTreeView(QWidget* parent = nullptr);

    TProgramTreeModel* TreeModel() const;
    TreeNode* NodeAt(const QPoint& viewportPos) const;
    // The node whose label or icon lies under the point, none elsewhere (the indentation and
    // the blank part of a row do not count).
    TreeNode* LabelNodeAt(const QPoint& viewportPos) const;
    // A drop of Dragged at a point of the viewport: emits NodeDropped when the point is on a
    // node's label or icon. True when it did.
    bool DropAt(TreeNode* dragged, const QPoint& viewportPos);

signals:
    void NodeDropped(TreeNode* dragged, TreeNode* target);
    // Enter or Return on the current node: the user wants to work on what it shows.
    void OpenRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool FromHere(const QDropEvent* event) const;

    TreeNode* Dragged = nullptr;
};
