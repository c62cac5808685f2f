#pragma once

#include "document/EditFolder.h"
#include "document/EditSection.h"
#include "document/ParseString.h"
#include "document/ProgramFile.h"
#include "document/ProgramTree.h"
#include "document/ProgramView.h"
#include "platform/Diagnostics.h"
#include "platform/StringList.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvale {
class DateReader;
class Prompter;
} // namespace orvale

// The tree-program document: the fixed sections and folders of a program, the section tree
// that shows them, the file text it is read from and written to, the history log, and what
// the document shows in its window. The RPG document derives from it and replaces some
// operations by members of the same name; calls made here always reach this class's own
// versions (nothing is virtual).
class TEDITProgram {
public:
    explicit TEDITProgram(orvale::Prompter& prompter);
    TEDITProgram(const TEDITProgram&) = delete;
    TEDITProgram& operator=(const TEDITProgram&) = delete;

    TParseString Parser;
    TEDITSection PropertySection{"Property", "Program's Propertys"};
    TEDITSection DescriptionSection{"Description", "Program's Description"};
    TEDITSection HistorySection{"History", "Program's History Log"};
    TEDITSection PreCompilerSection{"Pre Compiler", "Pre Compiler's Instructions"};
    TEDITSection HeaderSection{"Header", "Header's Specifications"};
    TEDITSection MainRoutineSection{"Main Routine", "Program's Main Routine"};
    TEDITFolder SubRoutinesFolder{"Sub Routines", "Folder of the Sub Routines"};
    // The file text as read at open, and as last written.
    StringList SourceLines;
    StringList SaveLines;
    bool Opened = false;
    // Set while the document is being closed: commits and show-selection do nothing.
    bool Closing = false;
    // Undo options: which restore points are kept.
    bool KeepPrevious = true;
    bool KeepOpen = true;
    bool KeepSave = true;
    // A save (of a text not kept) that would write the bytes the file already holds leaves the
    // file and its backup as they are: for a build that rewrites a program only to keep its
    // compiled lines, which are the same when nothing was edited.
    bool SkipUnchangedSave = false;
    TreeNode* MainRoutineNode = nullptr;
    // Node whose text is in the editor or the grids.
    TreeNode* CurrentNode = nullptr;
    std::string FilePath; // with its trailing separator
    std::string FileName = "NoName.PRG";
    std::string FileExt = ".PRG";
    bool Untitled = false;
    TreeNode* HistoryNode = nullptr;
    // History switches.
    bool LogAdd = false;
    bool LogDelete = false;
    bool LogModify = false;
    bool LogRename = false;
    bool LogProperty = false;
    // The editor or the property grid holds changes not yet committed; the window sets it.
    bool EditorModified = false;
    // Changes not yet saved to the file.
    bool Modified = false;
    // False when the last program file read had a damaged or cut-short tree part: the document
    // then holds only the sections read before the damage, and saving it over the file would
    // lose the rest. The window's user has seen the warning; a caller that asks nobody checks
    // this before saving.
    bool ReadWhole = true;
    // The program was imported from a dated member (its lines carry the host's sequence
    // numbers and change dates): a build writes a dated member.
    bool Dated = false;
    TreeNode* SubRoutinesNode = nullptr;
    std::string UserName;
    // The code page of the program's text, as CodePage::Offered names it; empty for
    // ISO-8859-1, the code page of a program that names none.
    std::string TextCodePage;

    // The section tree and the window the document writes into (none: not bound).
    TProgramTree Tree;
    orvale::ProgramView* View = nullptr;
    orvale::Prompter& Box;

    void BindView(orvale::ProgramView* view);

    // -- Tree
    void BuildTree();
    TreeNode* AddSection(TreeNode* parent, const std::string& name, const std::string& description);
    TEDITSection* AddSubRoutine(const std::string& name, const std::string& description);
    void DeleteSectionByName(TreeNode* folder, const std::string& name);
    void DeleteSelectedSection(TreeNode* folder);
    void DeleteSubRoutine(const std::string& name) { DeleteSectionByName(SubRoutinesNode, name); }
    void DeleteSelectedSubRoutine() { DeleteSelectedSection(SubRoutinesNode); }
    void ChangeSectionProperty(const std::string& newName, const std::string& newDescription);
    // Drop of a dragged tree node onto Target (see TProgramTree::DropNode).
    bool MoveNode(TreeNode* dragged, TreeNode* target);

    // -- Editing and showing
    void CommitCurrent();
    void ShowSelected();
    // Gives Node's section the text Lines as an edit of the user would: the section on show
    // gets it as a pending edit of the editor (with the tags its lines keep), any other one
    // at once, with its history entry. For commands that change sections not on show.
    void ReplaceSectionText(TreeNode* node, const StringList& lines);
    // Active: 0 hides every page, 1 Source, 2 Objects, 3 Setting, 4 RPG/400.
    void ShowPages(bool sourceVisible, bool objectsVisible, bool settingVisible,
                   bool rpgViewVisible, int active);
    void ShowObjectList(TreeNode* node);
    void ShowHistory();

    // -- History log
    void AddHistoryEntry(const std::string& entry);
    void PurgeHistory(bool purgeModify, bool purgeOthers);
    // "<object>,<action>,<user>,<now>,<more>"
    std::string HistoryEntry(const std::string& object, const std::string& action,
                             const std::string& more) const;
    // Writes anew, in the current regional settings, the moment of each entry that Reader
    // reads in other formats (a log written on another machine), so that the log reads and
    // sorts as one; an entry whose moment does not read stays as it is. True when an entry
    // changed.
    bool RewriteHistoryDates(const orvale::DateReader& reader);

    // -- Look-ups over all tree nodes
    TEDITSection* FindSectionByName(const std::string& name) const;
    TreeNode* FindNodeByText(const std::string& text) const;
    TreeNode* FindNodeByData(const void* data) const;
    bool NodeTextExists(const std::string& text) const { return FindNodeByText(text); }
    TreeNode* FindNext(const std::string& text, TreeNode* start, bool includeAll,
                       bool caseSensitive, bool definitionMode, int& line, int& column) const;

    // -- File (the text itself is made and read in ProgramFile)
    // SaveLines := the tree text.
    void WriteLines();
    // Reads the tree text of SourceLines; returns the index where its areas begin.
    int ParseLines(orvale::Diagnostics& found);
    // Writes the tree text only. A failed write is reported and leaves Modified set.
    bool SaveToFile(const std::string& fileName);
    // Asks to save a modified program and empties the document; false when cancelled (or
    // when the save that was asked for failed, so that nothing is lost).
    bool CloseProgram();
    // Sets FilePath, FileName and FileExt from a path.
    void SetFileName(const std::string& path);

    // -- Restore points
    void SetUndoOptions(bool keepPrevious, bool keepOpen, bool keepSave);
    void RestoreSelected(int kind);

    // Sets the hourglass while alive (nested uses show it once).
    class BusyCursor {
    public:
        explicit BusyCursor(TEDITProgram& document);
        ~BusyCursor();
        BusyCursor(const BusyCursor&) = delete;
        BusyCursor& operator=(const BusyCursor&) = delete;

    private:
        TEDITProgram& Document;
    };

    // -- Shared by the derived document
    // Calls F for every node in tree order; F returns false to stop the walk.
    template <class F> void ForEachNode(F&& f) const {
        for (TreeNode* n = Tree.First(); n; n = TProgramTree::Next(n))
            if (!f(n))
                return;
    }
    // A whole save: commits, writes the tree text, lets AppendArea add to it (the compiled
    // area of the RPG document) and writes the file after a backup. The text is kept in
    // SaveLines, or, with KeepSave off, goes to the file as it is made, so that a large program
    // is never held twice. A failed write is reported and leaves SaveLines, Modified and the
    // files on disk as they were.
    bool SaveWith(const std::string& fileName,
                  const std::function<void(ProgramTextWriter&)>& appendArea);
    // What a derived document adds to the file text of the saves this class makes itself (the
    // save when a program is closed): the RPG document's line origins, which are no cache.
    std::function<void(ProgramTextWriter&)> OwnSaveArea;
    // Sections the document created for folders; released with their nodes.
    TEDITSection* NewSection(const std::string& name, const std::string& description);
    void ReleaseSection(TEDITSection* section);
    // What FindSectionByName gives for the text of Added, a node just appended without
    // children, found without walking the nodes before it: the operations that add a folder's
    // section return that, and an import adds thousands of them.
    TEDITSection* SectionFoundForAdded(TreeNode* added) const;
    // Removes a node and releases the sections below it.
    void RemoveNode(TreeNode* node);
    // Empties the tree and releases every folder section.
    void ClearTree();
    // Shows the section's text in the editor with the Source page active.
    void ShowInEditor(TEDITSection& section);
    // A node reference member that ClearTree resets, so that none is left dangling.
    void RegisterNodeSlot(TreeNode*& slot) { NodeSlots.push_back(&slot); }
    // Asks for confirmation and deletes Child of Folder.
    void ConfirmAndDelete(TreeNode* folder, TreeNode* child);

private:
    std::unordered_map<const TEDITSection*, std::unique_ptr<TEDITSection>> FolderSections;
    std::vector<TreeNode**> NodeSlots;
    int BusyDepth = 0;
};

inline constexpr const char* kSectionNotFoundError = "ERROR: Section not Found!";
inline constexpr const char* kCantChangePropertyError = "Sorry can't change this property!";
inline constexpr const char* kSaveProgramTitle = "Quenby - Save Program";
