#pragma once

// The section tree of a program document as a Qt item model. The document's tree stays the
// one copy of the data; the model reads it and turns its change notifications (relayed by
// the editor window, which is the document's view) into the model's begin/end signals.

#include "qtedge/TextEdge.h"
#include <QAbstractItemModel>
#include <QIcon>
#include <QList>

#include <unordered_map>

class TProgramTree;
class TreeNode;

class TProgramTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The code page of the section names it shows.
    orvale::TextEdge Edge;

    static constexpr const char* kNodeMimeType = "application/x-orvale-tree-node";

    explicit TProgramTreeModel(const TProgramTree& tree, QObject* parent = nullptr);

    // The pictures of the image numbers; a node shows its selected image while it is the
    // tree's selected node.
    void SetImages(const QList<QIcon>& images);

    TreeNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TreeNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Drops never change the model by themselves: the window hands them to the document.
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

    // The errors and warnings of the last compile by section node: a marked node shows a badge
    // on its picture and the counts in its tool tip. Replaces the marks shown before.
    struct FindingCount {
        int Errors = 0;
        int Warnings = 0;
    };
    void SetFindingMarks(std::unordered_map<const TreeNode*, FindingCount> marks);
    const std::unordered_map<const TreeNode*, FindingCount>& FindingMarks() const { return Marks; }

    // The tree's notifications, one to one.
    void AboutToReset();
    void Reset();
    void AboutToInsert(TreeNode* parent, int index);
    void Inserted();
    void AboutToRemove(TreeNode* node);
    void Removed();
    void AboutToMove(TreeNode* node, TreeNode* newParent, int destIndex);
    void Moved();
    void Changed(TreeNode* node);
    // The tree's selection moved from Old to New (either may be none): their pictures change.
    void SelectionMoved(const TreeNode* oldNode, const TreeNode* newNode);

private:
    const TreeNode* Container() const;

    const TProgramTree& Tree;
    QList<QIcon> Images;
    std::unordered_map<const TreeNode*, FindingCount> Marks;
    // A move the model could not announce as one (Qt refuses some moves) is shown as a reset.
    bool MoveAsReset = false;
    // Between AboutToReset and Reset the tree changes without telling the model: the nodes the
    // view knows may be gone. A paint or a layout in that time (an import processes events
    // after every subroutine it adds) sees an empty model instead of following stale
    // pointers, and the view is filled once when the reset ends.
    bool Resetting = false;
};
