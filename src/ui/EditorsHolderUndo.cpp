// The program editor window's undo: the editor's own last edit, and a command's changes to
// several sections (Replace All) taken back and given again as one step. The frame's undo,
// redo, cut and copy follow what the editor can do.

#include "ui/EditorsHolder.h"

#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColSortListView.h"
#include "ui/EditorFrame.h"
#include "ui/ExtRichEdit.h"

#include <QLabel>
#include <QTableWidget>
#include <QTextDocument>

using orvale::ProgramPage;

TEditState TEditorsHolder::EditState() const {
    TEditState state;
    if (!PageVisible(ProgramPage::Source))
        return state;
    const QTextDocument* text = RichEditSource->document();
    state.Selection = RichEditSource->textCursor().hasSelection();
    bool grouped = !EditGroup.Open && !EditGroup.Sections.empty();
    if (grouped && !EditGroup.Undone) {
        state.Undo = true;
        state.UndoName = EditGroup.Name;
    } else {
        state.Undo = text->isUndoAvailable();
    }
    if (grouped && EditGroup.Undone) {
        state.Redo = true;
        state.RedoName = EditGroup.Name;
    } else {
        state.Redo = text->isRedoAvailable();
    }
    return state;
}

void TEditorsHolder::ShowEditState() {
    if (Frame_)
        Frame_->ShowEditState(this, EditState());
}

void TEditorsHolder::UndoEdit() {
    if (!EditGroup.Open && !EditGroup.Sections.empty() && !EditGroup.Undone) {
        if (ApplyEditGroup(true))
            return;
    }
    RichEditSource->undo();
    ShowEditState();
}

void TEditorsHolder::RedoEdit() {
    if (!EditGroup.Open && !EditGroup.Sections.empty() && EditGroup.Undone) {
        if (ApplyEditGroup(false))
            return;
    }
    RichEditSource->redo();
    ShowEditState();
}

void TEditorsHolder::BeginEditGroup() {
    DropEditGroup();
    EditGroup.Open = true;
    RememberForGroup();
}

void TEditorsHolder::RememberForGroup() {
    if (!EditGroup.Open || !PageVisible(ProgramPage::Source))
        return;
    TreeNode* node = SelectedNode();
    if (!node || !node->Section())
        return;
    for (const TGroupedText& grouped : EditGroup.Sections)
        if (grouped.Node == node)
            return;
    // The editor's text, which may hold typing not yet committed: that is what Undo gives back.
    EditGroup.Sections.push_back({node, RichEditSource->Lines(), {}});
}

void TEditorsHolder::EndEditGroup(const std::string& name) {
    if (!EditGroup.Open)
        return;
    EditGroup.Open = false;
    EditGroup.Name = name;
    if (name.empty()) {
        DropEditGroup();
        return;
    }
    TreeNode* shown = PageVisible(ProgramPage::Source) ? SelectedNode() : nullptr;
    std::vector<TGroupedText> changed;
    for (TGroupedText& grouped : EditGroup.Sections) {
        if (!Document->Tree.Contains(grouped.Node) || !grouped.Node->Section())
            continue;
        grouped.After =
            grouped.Node == shown ? RichEditSource->Lines() : grouped.Node->Section()->LineTexts();
        if (grouped.After != grouped.Before)
            changed.push_back(std::move(grouped));
    }
    EditGroup.Sections = std::move(changed);
    if (EditGroup.Sections.empty())
        DropEditGroup();
    ShowEditState();
}

void TEditorsHolder::DropEditGroup() {
    EditGroup = TEditGroup{};
}

bool TEditorsHolder::ApplyEditGroup(bool undo) {
    TreeNode* shown = PageVisible(ProgramPage::Source) ? SelectedNode() : nullptr;
    // Every section must still read as the group left it; one changed since (typed into,
    // restored, deleted) would lose that change.
    const StringList editor = shown ? RichEditSource->Lines() : StringList();
    for (const TGroupedText& grouped : EditGroup.Sections) {
        const StringList& expected = undo ? grouped.After : grouped.Before;
        bool present = Document->Tree.Contains(grouped.Node) && grouped.Node->Section();
        if (present &&
            (grouped.Node == shown ? editor : grouped.Node->Section()->LineTexts()) == expected)
            continue;
        StatusPanel(MessagePanel)
            ->setText(Edge.ToQt(EditGroup.Name + " cannot be " + (undo ? "undone" : "redone") +
                                ": " + (present ? grouped.Node->Text : std::string("a section")) +
                                " has changed since."));
        DropEditGroup();
        ShowEditState();
        return false;
    }
    ++ApplyingGroup;
    bool editorChanged = false;
    for (const TGroupedText& grouped : EditGroup.Sections) {
        Document->ReplaceSectionText(grouped.Node, undo ? grouped.Before : grouped.After);
        editorChanged = editorChanged || grouped.Node == shown;
    }
    --ApplyingGroup;
    EditGroup.Undone = undo;
    if (editorChanged)
        StatusPanel(ModifiedPanel)->setText("Modified");
    size_t count = EditGroup.Sections.size();
    StatusPanel(MessagePanel)
        ->setText(Edge.ToQt(EditGroup.Name + (undo ? " undone in " : " done again in ") +
                            std::to_string(count) + (count == 1 ? " section." : " sections.")));
    ShowCompileMarks();
    ShowEditState();
    return true;
}

void TEditorsHolder::OpenSelectedPage() {
    switch (ActivePage()) {
    case ProgramPage::Source:
        RichEditSource->setFocus();
        break;
    case ProgramPage::Objects:
        ListViewObject->setFocus();
        break;
    case ProgramPage::Setting:
        StringGridValue->setFocus();
        break;
    case ProgramPage::RpgView:
        MemoRPGView->setFocus();
        break;
    case ProgramPage::None:
        break;
    }
}
