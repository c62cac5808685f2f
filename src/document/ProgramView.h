#pragma once

#include "document/HostRecord.h"
#include "document/TreeNode.h"
#include "platform/StringList.h"

#include <optional>
#include <string>
#include <vector>

class TEDITSection;
class TEDITFolder;

namespace orvale {

// Pages of the program window. None is only used as "no active page" (all pages hidden).
enum class ProgramPage { None = 0, Source = 1, Objects = 2, Setting = 3, RpgView = 4 };

// How a column of the object list sorts; the numbers are the sort kinds the list uses.
enum class ColumnSort { Text = 1, Integer = 2, Date = 3, Time = 4, DateTime = 5 };

struct ListColumn {
    std::string Caption;
    int Width = 0;
    ColumnSort Sort = ColumnSort::Text;
    bool operator==(const ListColumn&) const = default;
};

// One row of the object list. It points back at the object it shows through at most one of
// Section, Folder and Node (a grouping node); a row that shows neither carries none.
struct ListItem {
    std::string Caption;
    StringList SubItems;
    int ImageIndex = -1;
    TEDITSection* Section = nullptr;
    TEDITFolder* Folder = nullptr;
    TreeNode* Node = nullptr;

    // The data reference in the form TreeNode::Data() gives it, for look-ups by data.
    const void* Data() const {
        if (Section)
            return Section;
        if (Folder)
            return Folder;
        return Node;
    }
};

// A place in the source editor's text: 0-based line and 0-based column.
struct TextPosition {
    int Line = 0;
    int Column = 0;
    bool operator==(const TextPosition&) const = default;
};

// Everything a program document writes into (and reads back from) its window: the section
// tree, the four pages, the source editor, the object list, the two settings grids, the
// compiled-source view, the save dialog and the busy cursor. The document holds a pointer to
// one of these; a null pointer means no window is bound and nothing is shown.
//
// The tree itself lives in the document (TProgramTree). The view mirrors it from these
// notifications; a Qt item model maps them one to one onto its begin/end row signals. The
// invisible container whose children are the top-level nodes plays the part of the model's
// invalid index. Notifications describe changes made by the document; the view must not call
// back into the document from them.
class ProgramView {
public:
    virtual ~ProgramView() = default;

    // -- Section tree
    // The whole tree is about to be replaced / has been replaced (rebuild, bulk load, close).
    virtual void TreeAboutToReset() = 0;
    virtual void TreeReset() = 0;
    // A node is about to become child number Index of Parent / has been inserted.
    virtual void NodeAboutToBeInserted(TreeNode* parent, int index) = 0;
    virtual void NodeInserted(TreeNode* node) = 0;
    // A node (with everything below it) is about to be removed / has been removed from
    // position Index of Parent; after the call the node no longer exists.
    virtual void NodeAboutToBeRemoved(TreeNode* node) = 0;
    virtual void NodeRemoved(TreeNode* parent, int index) = 0;
    // A node is about to move under NewParent, before the child that is at DestIndex now
    // (DestIndex = child count appends). Never sent for a move that changes nothing.
    virtual void NodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, int destIndex) = 0;
    virtual void NodeMoved(TreeNode* node) = 0;
    // Text, image numbers or expanded state of a node changed.
    virtual void NodeChanged(TreeNode* node) = 0;
    // The document's selected node (none: nothing selected).
    virtual void SelectionChanged(TreeNode* node) = 0;

    // -- Pages
    // Which page tabs are visible, and the page on show (None when all are hidden).
    virtual void ShowPages(bool source, bool objects, bool setting, bool rpgView,
                           ProgramPage active) = 0;

    // -- Source editor
    virtual StringList EditorLines() const = 0;
    // Replaces the whole text in one step (one repaint).
    virtual void SetEditorLines(const StringList& lines) = 0;
    // The tags of the lines just set (columns 1-5 and 75 on of the member line each came from,
    // see LineTags), to be shown beside the text and never in it; empty entries for none.
    virtual void SetEditorTags(const StringList& tags) { (void)tags; }
    // The host's records of the lines of a dated member's section, one per line (after the
    // tags); empty for a section without them.
    virtual void SetEditorRecords(const std::vector<HostRecord>& records) { (void)records; }
    virtual int EditorTopLine() const = 0;
    // Scrolls so that Line is the first visible one.
    virtual void SetEditorTopLine(int line) = 0;
    // Replaces the text from From up to (not including) To, as an edit of the user would.
    virtual void ReplaceEditorText(TextPosition from, TextPosition to, const std::string& text) = 0;

    // -- Object list
    // Removes every item and every column.
    virtual void ClearObjectList() = 0;
    virtual void SetObjectColumns(const std::vector<ListColumn>& columns) = 0;
    virtual void AddObjectItem(const ListItem& item) = 0;

    // -- Settings grids (names in one, values in the other, row by row)
    virtual void SetGridRowCount(int rows) = 0;
    virtual void SetGridRow(int row, const std::string& name, const std::string& value) = 0;
    // Cells of a row that the grids do not have read as empty.
    virtual std::string GridName(int row) const = 0;
    virtual std::string GridValue(int row) const = 0;

    // -- Compiled-source view
    virtual void SetRpgViewLines(const StringList& lines) = 0;

    // -- Save dialog: the chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& title,
                                                      const std::string& initialDir,
                                                      const std::string& fileName) = 0;

    // -- Busy (hourglass) cursor on or off.
    virtual void SetBusy(bool busy) = 0;
};

} // namespace orvale
