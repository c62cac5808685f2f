// The program editor window as the document's view: the section tree mirrored from the
// document, the pages on show, the source editor's text, the object list, the settings grids,
// the compiled lines, the save dialog and the busy cursor.

#include "ui/EditorsHolder.h"

#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColSortListView.h"
#include "ui/EditorFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/ProgramTreeModel.h"
#include "ui/ProgramTreeView.h"
#include "ui/SettingsGrids.h"
#include "ui/TagColumn.h"

#include <QApplication>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidgetItem>

using orvale::ProgramPage;

namespace {

// Object-list items remember which kind of object their data reference is.
constexpr int kItemKindRole = Qt::UserRole + 16;

Qt::Alignment AlignmentOf(const std::string& caption) {
    if (caption == "Lines" || caption == "Line" || caption == "Col.")
        return Qt::AlignRight;
    if (caption == "Modified" || caption == "Modify")
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

} // namespace

// -- Tree view

void TEditorsHolder::ApplyExpansion() {
    for (TreeNode* n = Document->Tree.First(); n; n = TProgramTree::Next(n))
        if (n->Count() > 0)
            TreeProgram->setExpanded(TreeModel->IndexOf(n), n->Expanded);
}

void TEditorsHolder::ShowTreeSelection(TreeNode* node) {
    ++Notifying;
    if (node != ShownSelection) {
        TreeModel->SelectionMoved(ShownSelection, node);
        ShownSelection = node;
    }
    QModelIndex at = TreeModel->IndexOf(node);
    if (at.isValid()) {
        TreeProgram->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        TreeProgram->scrollTo(at);
    } else {
        TreeProgram->selectionModel()->clear();
    }
    --Notifying;
}

void TEditorsHolder::ForgetNode(TreeNode* node) {
    // Nothing may keep pointing into a branch that is about to go.
    auto within = [node](const TreeNode* n) { return n == node || (n && n->HasAsParent(node)); };
    if (within(ShownSelection))
        ShownSelection = nullptr;
    std::erase_if(EditGroup.Sections,
                  [&](const TGroupedText& grouped) { return within(grouped.Node); });
    if (LastRpgViewSection) {
        for (TreeNode* n = node; n; n = n->Next(node))
            if (n->Section() == LastRpgViewSection)
                LastRpgViewSection = nullptr;
    }
}

void TEditorsHolder::TreeAboutToReset() {
    ++Notifying;
    ShownSelection = nullptr;
    LastRpgViewSection = nullptr;
    DropEditGroup();
    TreeModel->AboutToReset();
}

void TEditorsHolder::TreeReset() {
    TreeModel->Reset();
    --Notifying;
}

void TEditorsHolder::NodeAboutToBeInserted(TreeNode* parent, int index) {
    ++Notifying;
    TreeModel->AboutToInsert(parent, index);
}

void TEditorsHolder::NodeInserted(TreeNode* node) {
    TreeModel->Inserted();
    if (node->Expanded && node->Count() > 0)
        TreeProgram->setExpanded(TreeModel->IndexOf(node), true);
    --Notifying;
}

void TEditorsHolder::NodeAboutToBeRemoved(TreeNode* node) {
    ++Notifying;
    ForgetNode(node);
    TreeModel->AboutToRemove(node);
}

void TEditorsHolder::NodeRemoved(TreeNode*, int) {
    TreeModel->Removed();
    --Notifying;
}

void TEditorsHolder::NodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, int destIndex) {
    ++Notifying;
    TreeModel->AboutToMove(node, newParent, destIndex);
}

void TEditorsHolder::NodeMoved(TreeNode* node) {
    TreeModel->Moved();
    ShowTreeSelection(Document->Tree.Selected());
    (void)node;
    --Notifying;
}

void TEditorsHolder::NodeChanged(TreeNode* node) {
    ++Notifying;
    TreeModel->Changed(node);
    QModelIndex at = TreeModel->IndexOf(node);
    if (at.isValid() && node->Count() > 0 && TreeProgram->isExpanded(at) != node->Expanded)
        TreeProgram->setExpanded(at, node->Expanded);
    --Notifying;
}

void TEditorsHolder::SelectionChanged(TreeNode* node) {
    ShowTreeSelection(node);
}

// -- Pages

void TEditorsHolder::ShowPages(bool source, bool objects, bool setting, bool rpgView,
                               ProgramPage active) {
    ++Notifying;
    const bool visible[] = {source, objects, setting, rpgView};
    if (active == ProgramPage::None) {
        for (int i = 0; i < 4; ++i)
            PageControl->setTabVisible(i, false);
        PageControl->hide();
    } else {
        // The page to show first, so that hiding the others never passes through a third.
        int shown = static_cast<int>(active) - 1;
        PageControl->show();
        PageControl->setTabVisible(shown, true);
        PageControl->setCurrentIndex(shown);
        for (int i = 0; i < 4; ++i)
            if (i != shown)
                PageControl->setTabVisible(i, visible[i]);
    }
    // Also when the frame opened or saved the program: the tools follow what is on show.
    UpdateToolButtons();
    --Notifying;
}

// -- Source editor

StringList TEditorsHolder::EditorLines() const {
    return RichEditSource->Lines();
}

void TEditorsHolder::SetEditorLines(const StringList& lines) {
    RichEditSource->SetLines(lines);
}

void TEditorsHolder::SetEditorTags(const StringList& tags) {
    SetLineTags(*RichEditSource, tags);
}

int TEditorsHolder::EditorTopLine() const {
    return RichEditSource->FirstVisibleLine();
}

void TEditorsHolder::SetEditorTopLine(int line) {
    RichEditSource->ScrollToLine(line);
}

void TEditorsHolder::ReplaceEditorText(orvale::TextPosition from, orvale::TextPosition to,
                                       const std::string& text) {
    ++Notifying;
    RichEditSource->ReplaceText(QPoint(from.Column, from.Line), QPoint(to.Column, to.Line), text);
    --Notifying;
}

void TEditorsHolder::SourceEdited() {
    StatusPanel(ModifiedPanel)->setText("Modified");
    Document->EditorModified = true;
    // Typing after a grouped command: Undo takes back the typing, not the command.
    if (ApplyingGroup == 0 && !EditGroup.Open && !EditGroup.Sections.empty()) {
        DropEditGroup();
        ShowEditState();
    }
}

void TEditorsHolder::SettingEdited() {
    StatusPanel(ModifiedPanel)->setText("Modified");
    Document->EditorModified = true;
}

// -- Object list

void TEditorsHolder::ClearObjectList() {
    ListViewObject->ClearColumns();
}

void TEditorsHolder::SetObjectColumns(const std::vector<orvale::ListColumn>& columns) {
    ListViewObject->ClearColumns();
    // The documents give widths for a small dialog font of 6-pixel digits; the list scales
    // them to its own font and never cuts a caption. A width of 0 keeps a column hidden.
    QFontMetrics metrics(ListViewObject->font());
    double scale = std::max(1.0, metrics.horizontalAdvance(QLatin1Char('0')) / 6.0);
    for (const orvale::ListColumn& column : columns) {
        QString caption = Edge.ToQt(column.Caption);
        int width = column.Width <= 0 ? 0
                                      : std::max(static_cast<int>(column.Width * scale),
                                                 metrics.horizontalAdvance(caption) + 28);
        ListViewObject->AddColumn(caption, width, AlignmentOf(column.Caption),
                                  static_cast<TColumnSortKind>(column.Sort));
    }
}

void TEditorsHolder::AddObjectItem(const orvale::ListItem& item) {
    QTreeWidgetItem* row =
        ListViewObject->AddItem(item.Caption, item.SubItems, item.Data(), item.ImageIndex);
    int kind = item.Section ? 1 : (item.Folder ? 2 : 0);
    row->setData(0, kItemKindRole, kind);
}

std::string TEditorsHolder::DescriptionOf(const TreeNode* node) const {
    if (!node)
        return {};
    if (const TEDITSection* section = node->Section())
        return section->Properties.Description;
    if (const TEDITFolder* folder = node->Folder())
        return folder->Description;
    return node->Text;
}

void TEditorsHolder::ObjectListSelectionChanged() {
    QTreeWidgetItem* item = ListViewObject->SelectedItem();
    if (!item)
        return;
    const void* data = TColSortListView::ItemData(item);
    int kind = item->data(0, kItemKindRole).toInt();
    // The item's object is looked up in the tree, so that a stale item never reaches a freed
    // section.
    TreeNode* node = (kind == 1 || kind == 2) ? Document->FindNodeByData(data) : nullptr;
    std::string text = node ? DescriptionOf(node) : Edge.FromQt(item->text(0));
    StatusPanel(MessagePanel)->setText(Edge.ToQt(text));
}

void TEditorsHolder::ObjectListDoubleClicked(const void* data, const QString& caption) {
    // A row of a flag cross-reference leads to the place it names, not just to its section.
    TreeNode* group = SelectedNode();
    QTreeWidgetItem* row = ListViewObject->SelectedItem();
    if (group && Document->AllFlagsNode && group->Parent() == Document->AllFlagsNode && row &&
        data) {
        GoToPlace(Document->FindNodeByData(data), row->text(2).toInt() - 1,
                  row->text(3).toInt() - 1);
        return;
    }
    TreeNode* node = data ? Document->FindNodeByData(data) : nullptr;
    if (!node)
        node = Document->FindNodeByText(Edge.FromQt(caption));
    if (node)
        SelectNode(node);
}

// -- Settings grids

void TEditorsHolder::SetGridRowCount(int rows) {
    SettingsGrids->SetRowCount(rows);
}

void TEditorsHolder::SetGridRow(int row, const std::string& name, const std::string& value) {
    SettingsGrids->SetRow(row, name, value);
}

std::string TEditorsHolder::GridName(int row) const {
    return SettingsGrids->Name(row);
}

std::string TEditorsHolder::GridValue(int row) const {
    return SettingsGrids->Value(row);
}

// -- Compiled view, save dialog, busy cursor

void TEditorsHolder::SetRpgViewLines(const StringList& lines) {
    MemoRPGView->SetLines(lines);
}

std::optional<std::string> TEditorsHolder::ChooseSaveFile(const std::string& title,
                                                          const std::string& initialDir,
                                                          const std::string& fileName) {
    if (!Frame_)
        return std::nullopt;
    return Frame_->ChooseSaveFile(title, initialDir, fileName);
}

void TEditorsHolder::SetBusy(bool busy) {
    if (busy) {
        ++BusyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (BusyDepth > 0) {
        --BusyDepth;
        QApplication::restoreOverrideCursor();
    }
}
