#pragma once

#include "document/ProgramView.h"
#include "document/TreeNode.h"

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvale::test {

// A program window without widgets: keeps what the document writes into it, answers what
// the document reads back, and checks that tree notifications come in matching pairs with
// the tree really changed in between. Tests fill EditorText/grids themselves to play the user.
class FakeProgramView : public ProgramView {
public:
    // Every tree notification as one line of text, in order ("insert Property", ...).
    std::vector<std::string> TreeEvents;
    // Pairing faults seen so far; a correct document leaves this empty.
    std::vector<std::string> Violations;
    TreeNode* Selection = nullptr;
    int Resets = 0;

    bool SourceVisible = false, ObjectsVisible = false, SettingVisible = false,
         RpgViewVisible = false;
    ProgramPage ActivePage = ProgramPage::None;
    int ShowPagesCalls = 0;

    StringList Editor;
    int TopLine = 0;
    int EditorSets = 0;
    int EditorReplacements = 0;

    std::vector<ListColumn> Columns;
    std::vector<ListItem> Items;
    int ListClears = 0;

    int GridRows = 0;
    std::vector<std::pair<std::string, std::string>> Grid;

    StringList RpgView;
    int RpgViewSets = 0;

    // Answers of the save dialog, taken in order; nothing queued means the user cancels.
    std::deque<std::optional<std::string>> SaveAnswers;
    struct SaveRequest {
        std::string Title, InitialDir, FileName;
    };
    std::vector<SaveRequest> SaveRequests;

    int BusyDepth = 0;
    int BusyCalls = 0;

    // Captions of the list's items, and the sub-items of the item with a caption.
    std::vector<std::string> ItemCaptions() const {
        std::vector<std::string> out;
        for (const auto& item : Items)
            out.push_back(item.Caption);
        return out;
    }
    std::vector<std::string> ColumnCaptions() const {
        std::vector<std::string> out;
        for (const auto& column : Columns)
            out.push_back(column.Caption);
        return out;
    }
    // Sets a grid value the way the user's edit would (the row must exist).
    void EditGridValue(int row, const std::string& value) {
        Grid.at(static_cast<size_t>(row)).second = value;
    }

    void TreeAboutToReset() override {
        Expect(Pending.empty(), "reset inside another change");
        Pending = "reset";
        TreeEvents.push_back("about to reset");
    }
    void TreeReset() override {
        Expect(Pending == "reset", "reset without announcement");
        Pending.clear();
        ++Resets;
        TreeEvents.push_back("reset");
    }
    void NodeAboutToBeInserted(TreeNode* parent, int index) override {
        Expect(Pending.empty(), "insert inside another change");
        Expect(index >= 0 && index <= parent->Count(), "insert index out of range");
        Pending = "insert";
        PendingParent = parent;
        PendingCount = parent->Count();
        PendingIndex = index;
    }
    void NodeInserted(TreeNode* node) override {
        Expect(Pending == "insert", "insert without announcement");
        Expect(node->Parent() == PendingParent && PendingParent->Count() == PendingCount + 1 &&
                   node->Index() == PendingIndex,
               "inserted node is not where it was announced");
        Pending.clear();
        TreeEvents.push_back("insert " + node->Text);
    }
    void NodeAboutToBeRemoved(TreeNode* node) override {
        Expect(Pending.empty(), "remove inside another change");
        Pending = "remove";
        PendingParent = node->Parent();
        PendingCount = PendingParent ? PendingParent->Count() : 0;
        PendingIndex = node->Index();
        TreeEvents.push_back("remove " + node->Text);
        if (Selection == node || (Selection && Selection->HasAsParent(node)))
            Selection = nullptr;
    }
    void NodeRemoved(TreeNode* parent, int index) override {
        Expect(Pending == "remove", "remove without announcement");
        Expect(parent == PendingParent && index == PendingIndex &&
                   parent->Count() == PendingCount - 1,
               "removed node was not where it was announced");
        Pending.clear();
    }
    void NodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, int destIndex) override {
        Expect(Pending.empty(), "move inside another change");
        Expect(destIndex >= 0 && destIndex <= newParent->Count(), "move index out of range");
        Pending = "move";
        PendingParent = newParent;
        TreeEvents.push_back("move " + node->Text + " to " + std::to_string(destIndex));
    }
    void NodeMoved(TreeNode* node) override {
        Expect(Pending == "move", "move without announcement");
        Expect(node->Parent() == PendingParent, "moved node is not under its new parent");
        Pending.clear();
    }
    void NodeChanged(TreeNode* node) override {
        Expect(Pending.empty(), "change inside another change");
        TreeEvents.push_back("change " + node->Text);
    }
    void SelectionChanged(TreeNode* node) override {
        Expect(Pending.empty(), "selection inside another change");
        Selection = node;
    }

    void ShowPages(bool source, bool objects, bool setting, bool rpgView,
                   ProgramPage active) override {
        SourceVisible = source;
        ObjectsVisible = objects;
        SettingVisible = setting;
        RpgViewVisible = rpgView;
        ActivePage = active;
        ++ShowPagesCalls;
    }

    StringList EditorLines() const override { return Editor; }
    void SetEditorLines(const StringList& lines) override {
        Editor = lines;
        ++EditorSets;
    }
    int EditorTopLine() const override { return TopLine; }
    void SetEditorTopLine(int line) override { TopLine = line; }
    void ReplaceEditorText(TextPosition from, TextPosition to, const std::string& text) override {
        ++EditorReplacements;
        auto at = [&](TextPosition p) -> std::string& {
            return Editor.at(static_cast<size_t>(p.Line));
        };
        std::string head = at(from).substr(0, static_cast<size_t>(from.Column));
        std::string tail = at(to).substr(static_cast<size_t>(to.Column));
        Editor.erase(Editor.begin() + from.Line + 1, Editor.begin() + to.Line + 1);
        at(from) = head + text + tail;
    }

    void ClearObjectList() override {
        Columns.clear();
        Items.clear();
        ++ListClears;
    }
    void SetObjectColumns(const std::vector<ListColumn>& columns) override { Columns = columns; }
    void AddObjectItem(const ListItem& item) override { Items.push_back(item); }

    void SetGridRowCount(int rows) override {
        GridRows = rows;
        Grid.resize(static_cast<size_t>(rows < 0 ? 0 : rows));
    }
    void SetGridRow(int row, const std::string& name, const std::string& value) override {
        if (row < 0)
            return;
        if (static_cast<size_t>(row) >= Grid.size())
            Grid.resize(static_cast<size_t>(row) + 1);
        Grid[static_cast<size_t>(row)] = {name, value};
    }
    std::string GridName(int row) const override {
        return row >= 0 && static_cast<size_t>(row) < Grid.size()
                   ? Grid[static_cast<size_t>(row)].first
                   : std::string();
    }
    std::string GridValue(int row) const override {
        return row >= 0 && static_cast<size_t>(row) < Grid.size()
                   ? Grid[static_cast<size_t>(row)].second
                   : std::string();
    }

    void SetRpgViewLines(const StringList& lines) override {
        RpgView = lines;
        ++RpgViewSets;
    }

    std::optional<std::string> ChooseSaveFile(const std::string& title,
                                              const std::string& initialDir,
                                              const std::string& fileName) override {
        SaveRequests.push_back({title, initialDir, fileName});
        if (SaveAnswers.empty())
            return std::nullopt;
        auto answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }

    void SetBusy(bool busy) override {
        BusyDepth += busy ? 1 : -1;
        ++BusyCalls;
        Expect(BusyDepth >= 0, "busy cursor switched off more often than on");
    }

private:
    void Expect(bool condition, const std::string& fault) {
        if (!condition)
            Violations.push_back(fault);
    }

    std::string Pending;
    TreeNode* PendingParent = nullptr;
    int PendingCount = 0;
    int PendingIndex = 0;
};

} // namespace orvale::test
