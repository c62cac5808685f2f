#pragma once

// The program editor window: one open program, shown as its section tree beside four pages
// (the source editor, the object list, the settings grids and the compiled RPG/400 lines).
// The window creates and owns the program's document and is the document's view: the
// document writes into the window's controls through the ProgramView interface, and the
// window turns the user's gestures into calls on the document, on the prompt-help library and
// on the print-layout aid. The main frame puts it into an MDI sub-window; what the window asks
// of the frame goes through TEditorFrame.

#include "document/ProgramView.h"
#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QSplitter;
class QPrinter;
class QStatusBar;
class QTableWidget;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class TColSortListView;
class TColumnRuler;
class TFormCompileStat;
class TSourceHighlighter;
struct TXrefUse;
class TEDITSection;
class TEditorFrame;
struct TEditState;
class TEditorsHolder;
class TExtRichEdit;
class TFormGenRPG;
class TProgramTreeModel;
class TProgramTreeView;
class TRPGProgram;
class TSettingsGrids;
class TreeNode;

namespace orvale {
class Prompter;
}

// A line of the library's cross-reference of a field: its use in a copy member of the program,
// or its definition in an externally described file.
struct TLibraryXrefRow {
    std::string Place; // "copy member QCPYSRC/DATES.RPG", "file CUSTF, format CUSTR"
    int Line = 0;      // from 1
    std::string Role;
    std::string Text;   // the line, or the field's length, decimals and type
    std::string Member; // the member a double click opens, relative to the library
};

// What the frame hands a new window: the logged-in user, the indentation width of the
// options, the compiler-options form and the program directory (with its trailing separator).
struct TEditorSetup {
    std::string UserName;
    int TabSpaces = 2;
    TFormGenRPG* CompilerOptions = nullptr;
    std::string ProgramDir;
};

// The outside services and modal steps the window uses. Default() binds the prompt-help and
// print-layout libraries and runs dialogs modally; tests replace single entries.
struct TEditorServices {
    // Prompt help (program directory, form type of the section, statement at the cursor, its
    // code page): the new statement or "CANCEL".
    std::function<std::string(const std::string&, char, const std::string&,
                              const orvale::CodePage&)>
        PromptHelp;
    // Template of a statement of a specification section (program directory, form type,
    // name); empty when the section has no such statement.
    std::function<std::string(const std::string&, char, const std::string&)> StatementFormat;
    // Operation-code template, and the code that names its help topic.
    std::function<std::string(const std::string&, const std::string&)> OpCodeFormat;
    std::function<std::string(const std::string&, const std::string&)> OpCodeSymple;
    // The print-layout aid: may change the lines (of that code page); true when the changed
    // lines are to be taken.
    std::function<bool(StringList&, const orvale::CodePage&)> PrintDesign;
    // Runs a dialog modally; true when it was closed with OK.
    std::function<bool(QDialog&)> RunDialog;
    // The library's part (none while no library serves the window): the copy member a /COPY
    // line names opened (false when the library holds none), a field's uses in the program's
    // copy members and its definitions in the externally described files, and a place in a
    // member of the library opened.
    std::function<bool(TEditorsHolder&, const std::string&)> OpenCopyMember;
    std::function<std::vector<TLibraryXrefRow>(TEditorsHolder&, const std::string&)> LibraryFields;
    std::function<void(const std::string&, int)> OpenLibraryPlace;

    static TEditorServices Default();
};

struct TCompileFinding;
// What the message panel says after a compile: its errors and warnings, or that there are none.
std::string FindingsSummary(const std::vector<TCompileFinding>& findings);

class TEditorsHolder : public QWidget, public orvale::ProgramView {
    Q_OBJECT
public:
    enum StatusPanelIndex { CaretPanel = 0, SparePanel = 1, ModifiedPanel = 2, MessagePanel = 3 };

    TEditorsHolder(orvale::Prompter& prompter, const TEditorSetup& setup,
                   TEditorFrame* frame = nullptr, QWidget* parent = nullptr);
    ~TEditorsHolder() override;

    // The code page of the program's text, which the window hands to every widget that shows
    // some of it (SetTextEdge hands it anew).
    orvale::TextEdge Edge;
    void SetTextEdge(const orvale::TextEdge& edge);
    // Shows the program's text in the code page the program names: every widget takes the
    // edge anew and the text on show is shown again. A name this system cannot convert shows
    // ISO-8859-1 (reading the program said so).
    void ShowCodePage();
    // Gives the program another code page for its text: its bytes stay as they are, and are
    // shown as the characters they are in that code page. False for a name this system cannot
    // convert.
    bool SetCodePage(const std::string& name);

    // -- Controls
    QWidget* PanelEditorHolder = nullptr;
    QToolButton* SpeedBtnAddSub = nullptr;
    QToolButton* SpeedBtnDeleteSec = nullptr;
    QToolButton* SpeedBtnBigIcon = nullptr;
    QToolButton* SpeedBtnAddArray = nullptr;
    QToolButton* SpeedBtnChProp = nullptr;
    QToolButton* SpeedBtnAddOut = nullptr;
    QToolButton* SpeedBtnReport = nullptr;
    QToolButton* SpeedBtnPrnAid = nullptr;
    QLabel* LabelFontSize = nullptr;
    QComboBox* ComboFont = nullptr;
    // The tree panel and the pages, side by side; the user drags the handle between them.
    QSplitter* SplitterTree = nullptr;
    QWidget* PanelTreeEdHolder = nullptr;
    TProgramTreeView* TreeProgram = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* TabSheetSource = nullptr;
    QWidget* TabSheetObjects = nullptr;
    QWidget* TabSheetSetting = nullptr;
    QWidget* TabSheetRPGView = nullptr;
    TExtRichEdit* RichEditSource = nullptr;
    TColSortListView* ListViewObject = nullptr;
    TSettingsGrids* SettingsGrids = nullptr;
    QTableWidget* StringGridName = nullptr;
    QTableWidget* StringGridValue = nullptr;
    TExtRichEdit* MemoRPGView = nullptr;
    // The column numbers and format line above the RPG/400 page.
    TColumnRuler* RulerRPGView = nullptr;
    TSourceHighlighter* SourceColours = nullptr;
    TSourceHighlighter* RpgColours = nullptr;
    // Every use of the flag selected in a cross-reference list, under the object list.
    QTreeWidget* ListViewUses = nullptr;
    // The uses of the field name at the caret, in a window of their own.
    QDialog* FormCrossRef = nullptr;
    QTreeWidget* ListCrossRef = nullptr;
    QStatusBar* StatusBar = nullptr;
    QMenu* PopupSource = nullptr;
    QAction* PopPaste = nullptr;
    QAction* PopCopy = nullptr;
    QAction* PopCut = nullptr;
    QAction* PopTopicSearch = nullptr;
    QAction* PopCommandSyntax = nullptr;
    QAction* PopPromptatCursor = nullptr;
    QAction* PopUpdateSection = nullptr;
    QMenu* PopRestoreSection = nullptr;
    QAction* PopRestLastUpdate = nullptr;
    QAction* PopRestPrevUpdate = nullptr;
    QAction* PopRestLastSave = nullptr;
    QAction* PopRestLastOpen = nullptr;
    QMenu* PopImportText = nullptr;
    QAction* PopImportatCursor = nullptr;
    QAction* PopReplaceSel = nullptr;
    QAction* PopImportOverride = nullptr;
    QMenu* PopExportTextFile = nullptr;
    QAction* PopExpSelectedText = nullptr;
    QAction* PopExpAllSection = nullptr;
    QAction* PopPrintSection = nullptr;
    QAction* PopCrossReference = nullptr;
    QAction* PopOpenCopyMember = nullptr;
    QAction* PopNextError = nullptr;
    QAction* PopPrevError = nullptr;

    // -- State
    // Window width / tree panel width: the panel's share, kept on resize.
    double TreeRatio = 1.0;
    std::unique_ptr<TRPGProgram> Document;
    // The section whose compiled lines the RPG/400 page shows (not owned; none at start).
    TEDITSection* LastRpgViewSection = nullptr;
    // Editor options the frame applies: the right button works the clipboard; the popup menu
    // opens on a right click.
    bool UseRightButton = false;
    bool EditorPopupMemu = true;
    TEditorServices Services;

    TEditorFrame* Frame() const { return Frame_; }
    QLabel* StatusPanel(int index) const { return StatusPanels.at(static_cast<size_t>(index)); }
    // The text of the settings cell being edited, as it was before the edit.
    const QString& CellTextBefore() const;
    bool PageVisible(orvale::ProgramPage page) const;
    orvale::ProgramPage ActivePage() const;
    int TreePanelWidth() const;

    // -- Operations of the frame
    void EnableEditCommands(bool enabled);
    // Edit commands and the frame's edit buttons on exactly when the Source page is visible.
    void UpdateEditCommands();
    // Converts an RPG/400 source member into this window's document, with a progress window,
    // and shows what the conversion found wrong.
    void ImportSource(const std::string& fileName);
    // Opens a program file into this window's document and shows what the file holds that is
    // wrong; false when it could not be read at all.
    bool OpenProgram(const std::string& fileName);
    // Compiles the modified sections (all of them with BuildAll) with the statistics window;
    // true when no compiled section reported a warning or an error.
    bool CompileProgram(bool buildAll);
    // The window became the active one: plain-text clipboard, edit commands.
    void Activated();
    // Sets the font-size list and both editors' font size without asking the frame.
    void ApplyFontSizeIdx(int index);
    // The next close asks nothing and adds nothing to the recent-programs list: for a window
    // whose import the user cancelled. The frame then closes the window.
    void DiscardChanges();

    // -- Commands
    // The refresh after the tree selection changed, for the document's selected node.
    void TreeProgramChange();
    // The user selected Node in the tree (or through the object list).
    void SelectNode(TreeNode* node);
    // The tool bar as the selected node and the pages on show allow.
    void UpdateToolButtons();
    void SpeedBtnAddSubClick();
    void SpeedBtnAddArrayClick();
    void SpeedBtnAddOutClick();
    void SpeedBtnChPropClick();
    void SpeedBtnDeleteSecClick();
    void SpeedBtnPrnAidClick();
    void ComboFontChange(int index);
    // The RPG/400 page became active: compile the selected section when needed and show it.
    void ShowRpgView();
    void PopPasteClick();
    void PopCopyClick();
    void PopCutClick();
    void PopTopicSearchClick();
    void PopCommandSyntaxClick();
    void PopPromptatCursorClick();
    void PopUpdateSectionClick();
    void PopRestLastUpdateClick() { RestoreSection(1); }
    void PopRestPrevUpdateClick() { RestoreSection(0); }
    void PopRestLastSaveClick() { RestoreSection(3); }
    void PopRestLastOpenClick() { RestoreSection(2); }
    void PopImportatCursorClick();
    void PopReplaceSelClick();
    void PopImportOverrideClick();
    void PopExpSelectedTextClick();
    void PopExpAllSectionClick();
    void PopPrintSectionClick();
    // A right-button press in the source editor with the clipboard option on; true when the
    // press was taken.
    bool RightButtonPress(Qt::KeyboardModifiers modifiers, const QPoint& globalPos);
    // The operation code (or statement name) the help commands work on.
    std::string CodeAtCursor() const;
    // The form type of the section on show ('F', 'E', 'L', 'I', 'O', 'C', 'H'), 0 for a
    // section of no statements (description, pre-compiler directives).
    char ShownFormType() const;

    // -- Going to places
    // Shows the section of Node on the Source page with the caret at (Column, Line) and the
    // line in view.
    void GoToPlace(TreeNode* node, int line, int column = 0);
    // Goes to the next (Step 1) or previous (Step -1) error or warning of the last compile,
    // across sections; false (with the reason in the status bar) when there is none.
    bool GoToFinding(int step);
    // The marks of the last compile: the tree's sections and the lines of the section shown.
    void ShowCompileMarks();
    // The uses of the field name at the caret.
    void PopCrossReferenceClick();
    // Whether the caret stands on a /COPY line.
    bool CaretOnCopyLine() const;
    // Opens the copy member a /COPY line of the section names (the caret's line with -1).
    bool OpenCopyMemberAt(int line = -1);
    // A line of the RPG/400 page was double-clicked: an error or warning line leads to its
    // statement.
    void RpgViewLineActivated(int line);
    // A line of the statistics window: the section, and the statement when it is known.
    void CompileRowActivated(const QString& section, int statement);
    // Whether the restore command of that kind has something to restore, and why not.
    bool CanRestore(int kind, std::string* reason = nullptr) const;
    // The restore commands enabled as the shown section allows.
    void UpdateRestoreCommands();

    // -- A dated member's changes (EditorsHolderDates.cpp)
    // Tints the lines of the shown section changed on or after Since (YYMMDD) and counts them
    // in the whole program, in the status bar; returns the count. 0 clears the tints.
    int ShowChangedSince(std::int32_t since);
    // Goes to the next (Step 1) or previous (Step -1) line changed since the date last asked
    // about, across sections and round; false (with the reason in the status bar) when none.
    bool GoToChangedLine(int step);
    // Goes to the line whose sequence number Text gives ("12.01", or "1201" as the compile
    // listing prints it); false (with the reason in the status bar) when no line has it.
    bool GoToSequence(const std::string& text);
    // The date last asked about by Changed Since; 0 for none.
    std::int32_t ChangedSince = 0;
    // Change dates as YY/MM/DD rather than in the user's short date format.
    bool HostDateFormat = false;
    // -- Undo
    // What the source editor can undo, redo, cut and copy now.
    TEditState EditState() const;
    // Edit > Undo and Redo, and the editor's own keys for them: the editor's last edit, or a
    // command's changes to several sections as one step.
    void UndoEdit();
    void RedoEdit();
    // A command that changes several sections (Replace All) opens a group before its first
    // change and closes it after its last, naming it: one Undo then gives every section it
    // changed its text back, also the sections no longer on show. A group closed without a
    // name, or without a change, leaves the editor's own undo alone.
    void BeginEditGroup();
    void EndEditGroup(const std::string& name);
    // The editor's text is shown: Enter in the tree moves the focus onto the page on show.
    void OpenSelectedPage();

    // -- Tree panel width
    // The width the panel takes in a window Width wide: at least 20, at most Width - 20.
    static int ClampTreeWidth(int width, int windowWidth);
    void SetTreePanelWidth(int width);

    // -- ProgramView
    void TreeAboutToReset() override;
    void TreeReset() override;
    void NodeAboutToBeInserted(TreeNode* parent, int index) override;
    void NodeInserted(TreeNode* node) override;
    void NodeAboutToBeRemoved(TreeNode* node) override;
    void NodeRemoved(TreeNode* parent, int index) override;
    void NodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, int destIndex) override;
    void NodeMoved(TreeNode* node) override;
    void NodeChanged(TreeNode* node) override;
    void SelectionChanged(TreeNode* node) override;
    void ShowPages(bool source, bool objects, bool setting, bool rpgView,
                   orvale::ProgramPage active) override;
    StringList EditorLines() const override;
    void SetEditorLines(const StringList& lines) override;
    void SetEditorTags(const StringList& tags) override;
    void SetEditorRecords(const std::vector<HostRecord>& records) override;
    int EditorTopLine() const override;
    void SetEditorTopLine(int line) override;
    void ReplaceEditorText(orvale::TextPosition from, orvale::TextPosition to,
                           const std::string& text) override;
    void ClearObjectList() override;
    void SetObjectColumns(const std::vector<orvale::ListColumn>& columns) override;
    void AddObjectItem(const orvale::ListItem& item) override;
    void SetGridRowCount(int rows) override;
    void SetGridRow(int row, const std::string& name, const std::string& value) override;
    std::string GridName(int row) const override;
    std::string GridValue(int row) const override;
    void SetRpgViewLines(const StringList& lines) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title,
                                              const std::string& initialDir,
                                              const std::string& fileName) override;
    void SetBusy(bool busy) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildPages();
    void BuildPopup();
    void BuildStatusBar();
    void ConnectControls();

    void AddSection(int kind);
    bool CheckNewName(const std::string& name);
    TreeNode* SelectedNode() const;
    bool InFolder(const TreeNode* node) const;
    bool IsFolder(const TreeNode* node) const;
    std::string DescriptionOf(const TreeNode* node) const;
    void ObjectListSelectionChanged();
    void ObjectListDoubleClicked(const void* data, const QString& caption);
    void SourceEdited();
    void SettingEdited();
    void RestoreSection(int kind);
    void ImportText(int mode);
    void BuildNavigation();
    void AddFindingLines(TFormCompileStat& statistics);
    void FillUses(QTreeWidget* list, const std::vector<TXrefUse>& uses);
    void UseActivated(QTreeWidget* list);
    void ShowFlagUses();
    void ExportText(bool selectedOnly);
    void ApplyExpansion();
    // The user dragged the splitter's handle to Pos.
    void TreeSplitterMoved(int pos);
    void ForgetNode(TreeNode* node);
    // The tree's selected node should be the view's current one.
    void ShowTreeSelection(TreeNode* node);
    // Asks the document to close; true when the window may go (the close steps ran).
    bool CloseQuery();
    // The sequence numbers and dates beside the compiled lines of the RPG/400 page.
    void ShowRpgViewRecords(const TEDITSection& section);
    // Changed Since's tints on the lines of the shown section.
    void TintChangedLines();
    // The frame's undo, redo, cut and copy as the editor allows.
    void ShowEditState();
    // Within an open group: the section now on show, as its text was before the group changed
    // it.
    void RememberForGroup();
    // Applies the group's texts before (Undo) or after it; false when a section changed since.
    bool ApplyEditGroup(bool undo);
    void DropEditGroup();

    orvale::Prompter& Box;
    TEditorFrame* Frame_;
    TProgramTreeModel* TreeModel = nullptr;
    std::array<QLabel*, 4> StatusPanels{};
    // The node the tree view shows as selected, for its selected picture.
    const TreeNode* ShownSelection = nullptr;
    // Inside a notification of the document (tree changes, page changes): the view's own
    // signals then must not call back into the document.
    int Notifying = 0;
    int BusyDepth = 0;
    bool FirstShow = true;
    bool Closed = false;
    bool Discarding = false;
    // The finding gone to last with F8, for stepping through several on one statement.
    int LastFinding = -1;
    // The sections a command changed as one step, with their texts before and after it.
    struct TGroupedText {
        TreeNode* Node = nullptr;
        StringList Before;
        StringList After;
    };
    struct TEditGroup {
        std::string Name;
        std::vector<TGroupedText> Sections;
        bool Open = false;
        // Undo took it back: Redo gives it again.
        bool Undone = false;
    };
    TEditGroup EditGroup;
    int ApplyingGroup = 0;
};
