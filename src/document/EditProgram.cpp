#include "EditProgram.h"

#include "platform/Prompter.h"

#include <optional>

using orvale::Prompter;
using orvale::TextPosition;

TEDITProgram::TEDITProgram(Prompter& prompter) : Box(prompter) {
    RegisterNodeSlot(MainRoutineNode);
    RegisterNodeSlot(CurrentNode);
    RegisterNodeSlot(HistoryNode);
    RegisterNodeSlot(SubRoutinesNode);
    RegisterNodeSlot(SubRoutinesFolder.Node);
}

void TEDITProgram::BindView(orvale::ProgramView* view) {
    View = view;
    Tree.SetView(view);
    if (!view)
        return;
    // The view starts from whatever the tree holds already.
    view->TreeAboutToReset();
    view->TreeReset();
    view->SelectionChanged(Tree.Selected());
}

TEDITProgram::BusyCursor::BusyCursor(TEDITProgram& document) : Document(document) {
    if (Document.BusyDepth++ == 0 && Document.View)
        Document.View->SetBusy(true);
}

TEDITProgram::BusyCursor::~BusyCursor() {
    if (--Document.BusyDepth == 0 && Document.View)
        Document.View->SetBusy(false);
}

// -- Tree

TEDITSection* TEDITProgram::NewSection(const std::string& name, const std::string& description) {
    auto section = std::make_unique<TEDITSection>(name, description);
    section->SetKeepPrevious(KeepPrevious);
    TEDITSection* raw = section.get();
    FolderSections.emplace(raw, std::move(section));
    return raw;
}

void TEDITProgram::ReleaseSection(TEDITSection* section) {
    FolderSections.erase(section);
}

void TEDITProgram::RemoveNode(TreeNode* node) {
    if (!Tree.Contains(node))
        return;
    std::vector<TEDITSection*> sections;
    for (TreeNode* n = node; n; n = n->Next(node))
        if (TEDITSection* s = n->Section())
            sections.push_back(s);
    for (TreeNode** slot : NodeSlots)
        if (*slot == node || (*slot && (*slot)->HasAsParent(node)))
            *slot = nullptr;
    Tree.Remove(node);
    for (TEDITSection* s : sections)
        ReleaseSection(s);
}

void TEDITProgram::ClearTree() {
    for (TreeNode** slot : NodeSlots)
        *slot = nullptr;
    Tree.Clear();
    FolderSections.clear();
}

void TEDITProgram::BuildTree() {
    Tree.BeginUpdate();
    ClearTree();
    Dated = false;
    TreeNode* root = Tree.Add(nullptr, FileName);
    root->ImageIndex = 0;
    root->SelectedIndex = 1;
    root->Expanded = true;
    auto add = [&](TEDITSection& section, int image) {
        TreeNode* node = Tree.Add(root, section.Properties.Name);
        node->SetSection(&section);
        node->ImageIndex = node->SelectedIndex = image;
        return node;
    };
    add(PropertySection, 2);
    add(DescriptionSection, 3);
    HistoryNode = add(HistorySection, 4);
    add(PreCompilerSection, 5);
    add(HeaderSection, 6);
    MainRoutineNode = add(MainRoutineSection, 7);
    SubRoutinesNode = Tree.Add(root, SubRoutinesFolder.Name);
    SubRoutinesNode->SetFolder(&SubRoutinesFolder);
    SubRoutinesNode->ImageIndex = SubRoutinesNode->SelectedIndex = 8;
    SubRoutinesFolder.Node = SubRoutinesNode;
    Tree.EndUpdate();
}

TreeNode* TEDITProgram::AddSection(TreeNode* parent, const std::string& name,
                                   const std::string& description) {
    if (!Tree.Contains(parent))
        return nullptr;
    if (LogAdd)
        HistorySection.AddLine(HistoryEntry(name, "Add", "In: " + parent->Text));
    auto node = std::make_unique<TreeNode>(name);
    node->SetSection(NewSection(name, description));
    TreeNode* added = Tree.Insert(parent, -1, std::move(node));
    Tree.Expand(parent);
    return added;
}

TEDITSection* TEDITProgram::AddSubRoutine(const std::string& name, const std::string& description) {
    TreeNode* node = AddSection(SubRoutinesNode, name, description);
    if (!node)
        return nullptr;
    Tree.SetImage(node, 9);
    // A new section is unsaved work even before it gets any text.
    Modified = true;
    return SectionFoundForAdded(node);
}

void TEDITProgram::ConfirmAndDelete(TreeNode* folder, TreeNode* child) {
    std::string question = "Delete the section: " + folder->Text + "." + child->Text + "?";
    if (Box.Show(Prompter::Kind::Confirmation, question, Prompter::Buttons::OkCancel) !=
        Prompter::Answer::Ok)
        return;
    if (LogDelete)
        HistorySection.AddLine(HistoryEntry(child->Text, "Delete", "From: " + folder->Text));
    RemoveNode(child);
    Modified = true;
}

void TEDITProgram::DeleteSectionByName(TreeNode* folder, const std::string& name) {
    TreeNode* child = nullptr;
    if (Tree.Contains(folder))
        for (int i = 0; i < folder->Count() && !child; ++i)
            if (folder->Child(i)->Text == name)
                child = folder->Child(i);
    if (!child) {
        Box.Error(kSectionNotFoundError);
        return;
    }
    ConfirmAndDelete(folder, child);
}

void TEDITProgram::DeleteSelectedSection(TreeNode* folder) {
    TreeNode* selected = Tree.Selected();
    if (!selected)
        return;
    if (!folder || selected->Parent() != folder) {
        Box.Error(kSectionNotFoundError);
        return;
    }
    ConfirmAndDelete(folder, selected);
}

namespace {

// Finds the first "BEGSR(" (any case) in the editor text and the first ")" after it.
bool FindBegsrName(const StringList& lines, TextPosition& from, TextPosition& to,
                   std::string& between) {
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t at = UpperCase(lines[i]).find("BEGSR(");
        if (at == std::string::npos)
            continue;
        from = {static_cast<int>(i), static_cast<int>(at + 6)};
        size_t column = at + 6;
        for (size_t j = i; j < lines.size(); ++j, column = 0) {
            size_t close = lines[j].find(')', column);
            if (close == std::string::npos) {
                between += lines[j].substr(column);
                between += '\n';
                continue;
            }
            between += lines[j].substr(column, close - column);
            to = {static_cast<int>(j), static_cast<int>(close)};
            return true;
        }
        return false;
    }
    return false;
}

} // namespace

void TEDITProgram::ChangeSectionProperty(const std::string& newName,
                                         const std::string& newDescription) {
    TreeNode* node = Tree.Selected();
    if (!node)
        return;
    if (TEDITFolder* folder = node->Folder()) {
        if (folder->Description != newDescription) {
            folder->Description = newDescription;
            Modified = true;
        }
        return;
    }
    TEDITSection* section = node->Section();
    if (!section) {
        // The root, the grouping nodes and the flag nodes have no properties of their own.
        Box.Error(kCantChangePropertyError);
        return;
    }
    std::string oldName = section->Properties.Name;
    if (LogRename && newName != oldName)
        HistorySection.AddLine(HistoryEntry(oldName, "Rename", "New Name: " + newName));
    Tree.SetText(node, newName);
    if (View) {
        TextPosition from, to;
        std::string between;
        StringList lines = View->EditorLines();
        if (FindBegsrName(lines, from, to, between) && SameText(Trim(between), oldName) &&
            between != newName) {
            View->ReplaceEditorText(from, to, newName);
            EditorModified = true;
        }
    }
    if (newName != oldName || newDescription != section->Properties.Description)
        Modified = true;
    section->Properties.Name = newName;
    section->Properties.Description = newDescription;
}

bool TEDITProgram::MoveNode(TreeNode* dragged, TreeNode* target) {
    if (!Tree.DropNode(dragged, target))
        return false;
    // Folder children are stored in tree order, so a new order is unsaved work.
    Modified = true;
    return true;
}

// -- Editing and showing

void TEDITProgram::CommitCurrent() {
    if (Closing)
        return;
    TEDITSection* section = CurrentNode ? CurrentNode->Section() : nullptr;
    if (section && section != &HistorySection && View) {
        if (section == &PropertySection) {
            if (EditorModified) {
                EditorModified = false;
                StringList properties;
                int rows = PropertySection.LinesCount();
                properties.reserve(static_cast<size_t>(rows));
                for (int r = 0; r < rows; ++r)
                    properties.push_back(View->GridName(r) + "=" + View->GridValue(r));
                if (LogProperty)
                    HistorySection.AddLine(HistoryEntry("Property", "Modify", " "));
                PropertySection.SetLines(properties);
                Modified = true;
            }
        } else if (EditorModified) {
            EditorModified = false;
            if (LogModify)
                AddHistoryEntry(HistoryEntry(section->Properties.Name, "Modify", " "));
            section->TopLine = View->EditorTopLine();
            section->SetLines(View->EditorLines());
            Modified = true;
        } else {
            section->TopLine = View->EditorTopLine();
        }
    }
    CurrentNode = Tree.Selected();
}

void TEDITProgram::ReplaceSectionText(TreeNode* node, const StringList& lines) {
    TEDITSection* section = node ? node->Section() : nullptr;
    if (!section || section == &PropertySection || section == &HistorySection || Closing)
        return;
    if (node == CurrentNode && node == Tree.Selected() && View) {
        View->SetEditorLines(lines);
        View->SetEditorTags(LineTagsFor(*section, lines));
        View->SetEditorRecords(LineRecordsFor(*section, lines));
        EditorModified = true;
        return;
    }
    if (LogModify)
        AddHistoryEntry(HistoryEntry(section->Properties.Name, "Modify", " "));
    section->SetLines(lines);
    Modified = true;
}

void TEDITProgram::ShowInEditor(TEDITSection& section) {
    if (View) {
        View->SetEditorLines(section.LineTexts());
        View->SetEditorTags(LineTags(section));
        std::vector<HostRecord> records;
        if (section.HasRecords()) {
            records.reserve(section.Lines().size());
            for (const SectionLine& line : section.Lines())
                records.push_back(line.Record());
        }
        View->SetEditorRecords(records);
    }
    ShowPages(true, false, false, true, 1);
}

void TEDITProgram::ShowSelected() {
    if (!Closing)
        CommitCurrent();
    TreeNode* node = Tree.Selected();
    if (node && !Closing) {
        TEDITSection* section = node->Section();
        if (node == Tree.Root()) {
            ShowObjectList(node);
            ShowPages(false, true, false, false, 2);
        } else if (section == &PropertySection) {
            if (View) {
                View->SetGridRowCount(PropertySection.LinesCount());
                for (int i = 0; i < PropertySection.LinesCount(); ++i) {
                    const std::string& line = PropertySection.GetLine(i);
                    size_t eq = line.find('=');
                    if (eq == std::string::npos)
                        View->SetGridRow(i, "", line);
                    else
                        View->SetGridRow(i, line.substr(0, eq), line.substr(eq + 1));
                }
            }
            ShowPages(false, false, true, false, 3);
        } else if (section == &HistorySection) {
            ShowHistory();
            ShowPages(false, true, false, false, 2);
        } else if (section == &DescriptionSection || section == &PreCompilerSection ||
                   section == &HeaderSection || section == &MainRoutineSection ||
                   (section && SubRoutinesNode && node->Parent() == SubRoutinesNode)) {
            ShowInEditor(*section);
        } else if (node == SubRoutinesNode) {
            ShowObjectList(node);
            ShowPages(false, true, false, false, 2);
        }
    }
    EditorModified = false;
}

void TEDITProgram::ShowPages(bool sourceVisible, bool objectsVisible, bool settingVisible,
                             bool rpgViewVisible, int active) {
    if (!View)
        return;
    if (active <= 0 || active > 4) {
        View->ShowPages(false, false, false, false, orvale::ProgramPage::None);
        return;
    }
    View->ShowPages(sourceVisible, objectsVisible, settingVisible, rpgViewVisible,
                    static_cast<orvale::ProgramPage>(active));
    if (active == 1) {
        TreeNode* node = Tree.Selected();
        if (TEDITSection* section = node ? node->Section() : nullptr)
            View->SetEditorTopLine(section->TopLine);
    }
}

void TEDITProgram::ShowObjectList(TreeNode* node) {
    if (!View || !node)
        return;
    using orvale::ColumnSort;
    View->ClearObjectList();
    View->SetObjectColumns({{"Name", 100, ColumnSort::Text},
                            {"Lines", 40, ColumnSort::Integer},
                            {"Modified", 55, ColumnSort::Text},
                            {"Created On", 110, ColumnSort::DateTime},
                            {"Last Update", 110, ColumnSort::DateTime},
                            {"Description", 300, ColumnSort::Text}});
    for (int i = 0; i < node->Count(); ++i) {
        TreeNode* child = node->Child(i);
        orvale::ListItem item;
        item.Caption = child->Text;
        item.ImageIndex = child->ImageIndex;
        if (TEDITSection* section = child->Section()) {
            const TEDITSectionProperty& p = section->Properties;
            item.SubItems = {std::to_string(section->LinesCount()), p.Modified ? "Yes" : "No",
                             p.CreatedOnText(), p.LastUpdateText(), p.Description};
            item.Section = section;
        } else if (TEDITFolder* folder = child->Folder()) {
            item.SubItems = {"", "", "", "", folder->Description};
            item.Folder = folder;
        } else {
            item.SubItems = {"", "", "", "", child->Text};
            if (child->IsGrouping())
                item.Node = child;
        }
        View->AddObjectItem(item);
    }
}

// -- Look-ups

TEDITSection* TEDITProgram::FindSectionByName(const std::string& name) const {
    const TreeNode* last = nullptr;
    for (const TreeNode* n : Tree.NodesNamed(name))
        if (n->Section() && (!last || TProgramTree::Precedes(last, n)))
            last = n;
    return last ? last->Section() : nullptr;
}

TEDITSection* TEDITProgram::SectionFoundForAdded(TreeNode* added) const {
    // Only nodes after the new one can outrank it, and one of the same name is rare: the index
    // answers at once when the name is the new node's alone. Many nodes of one name (the
    // output groups of one printer file) would make comparing their places cost as much as
    // all of them for every add, so past a few the nodes after the new one are walked instead.
    constexpr size_t kCompareAtMost = 16;
    const std::vector<TreeNode*>& named = Tree.NodesNamed(added->Text);
    if (named.size() <= kCompareAtMost)
        return FindSectionByName(added->Text);
    TEDITSection* found = added->Section();
    for (TreeNode* n = TProgramTree::Next(added); n; n = TProgramTree::Next(n))
        if (TEDITSection* s = n->Section(); s && SameText(n->Text, added->Text))
            found = s;
    return found;
}

TreeNode* TEDITProgram::FindNodeByText(const std::string& text) const {
    TreeNode* first = nullptr;
    for (TreeNode* n : Tree.NodesNamed(text))
        if (n->Text == text && (!first || TProgramTree::Precedes(n, first)))
            first = n;
    return first;
}

TreeNode* TEDITProgram::FindNodeByData(const void* data) const {
    TreeNode* found = nullptr;
    if (!data)
        return nullptr;
    ForEachNode([&](TreeNode* n) {
        if (n->Data() == data)
            found = n;
        return !found;
    });
    return found;
}

TreeNode* TEDITProgram::FindNext(const std::string& text, TreeNode* start, bool includeAll,
                                 bool caseSensitive, bool definitionMode, int& line,
                                 int& column) const {
    if (!Tree.Contains(start))
        return nullptr;
    for (TreeNode* n = TProgramTree::Next(start); n; n = TProgramTree::Next(n)) {
        const TEDITSection* s = n->Section();
        if (!s || s == &PropertySection || s == &HistorySection)
            continue;
        if (!includeAll && (s == &DescriptionSection || s == &PreCompilerSection))
            continue;
        if (s->FindText(text, caseSensitive, definitionMode, line, column))
            return n;
    }
    return nullptr;
}

// -- Restore points

void TEDITProgram::SetUndoOptions(bool keepPrevious, bool keepOpen, bool keepSave) {
    if (keepPrevious != KeepPrevious) {
        KeepPrevious = keepPrevious;
        ForEachNode([&](TreeNode* n) {
            if (TEDITSection* s = n->Section())
                s->SetKeepPrevious(keepPrevious);
            return true;
        });
    }
    KeepOpen = keepOpen;
    KeepSave = keepSave;
    if (!KeepOpen)
        SourceLines.clear();
    if (!KeepSave)
        SaveLines.clear();
}

void TEDITProgram::RestoreSelected(int kind) {
    if (kind < 0 || kind > 3)
        return;
    if ((kind == 3 && SaveLines.empty()) || (kind == 2 && SourceLines.empty()))
        return;
    TreeNode* node = Tree.Selected();
    TEDITSection* section = node ? node->Section() : nullptr;
    if (!View || !section)
        return;
    StringList before = View->EditorLines();
    StringList lines = before;
    // The section's text as the file held it, for the two restore points that come from it.
    std::optional<StringList> stored;
    int index = kind == 3 ? section->SaveLineIndex : section->OpenLineIndex;
    if (kind >= 2 && index > -1) {
        orvale::Diagnostics found;
        StringList text;
        if (ReadSectionLines(kind == 3 ? SaveLines : SourceLines, index, text, found))
            stored = std::move(text);
        found.ShowIn(Box);
    }
    section->Restore(stored ? &*stored : nullptr, lines, static_cast<RestoreKind>(kind));
    if (lines != before) {
        View->SetEditorLines(lines);
        // The lines that stand as they were keep their tags in the margin.
        View->SetEditorTags(LineTagsFor(*section, lines));
        View->SetEditorRecords(LineRecordsFor(*section, lines));
        // The restored text is pending like an edit, so the next commit stores it.
        EditorModified = true;
    }
}
