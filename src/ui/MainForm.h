#pragma once

// The program's main window: an MDI frame whose children are the program editor windows. It
// carries the menu bar, the button bar and the hint line, runs the start-up login, keeps the
// options and the recent-programs list between the login and its close, and turns every
// command into a call on the active editor window (or on all of them). It holds no program
// data of its own.

#include "frame/Options.h"
#include "qtedge/TextEdge.h"
#include "ui/EditorFrame.h"
#include "ui/EditorsHolder.h"
#include "ui/PrintPages.h"
#include "ui/TextTransfer.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QFileDialog;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolButton;
class TFormFind;
class TFormGenRPGWindow;
class TLibraryFrame;
class TRPGProgram;
class THelpWindow;

namespace orvale {
class Prompter;
}

// The modal steps and outside services of the frame. Default() runs the dialogs modally and
// binds the outside libraries; tests replace single entries to play the user.
struct TMainFormServices {
    // Runs a dialog (login, password change, option dialogs, member dialog, print dialog,
    // about box) modally; true when it was accepted.
    std::function<bool(QDialog&)> RunDialog;
    // Runs the open or the save dialog; true when the user confirmed a file.
    TRunFileDialog RunFileDialog;
    // The program browser: the full path of the program picked, or empty.
    std::function<std::string(const orvale::CodePage&)> BrowseProgram;
    // The program repository window.
    std::function<void(const orvale::CodePage&)> ShowRepository;
    // What every new editor window gets for its own dialogs and libraries.
    TEditorServices Editor;

    static TMainFormServices Default();
};

class TMainForm : public QMainWindow, public TEditorFrame {
    Q_OBJECT
public:
    // The code page of the frame's own texts (its messages, file and user names aside).
    orvale::TextEdge Edge;

    explicit TMainForm(orvale::Prompter& prompter,
                       TMainFormServices services = TMainFormServices::Default(),
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    // -- State
    // Where the program keeps its files, with a trailing "/". Settled by the start-up unless
    // set before it.
    std::string ProgramDir;
    // The options file, or "Nothing" while no user is logged in.
    std::string OptionsFile = kNoOptionsFile;
    // The options (compiler options are the compiler-options form's) and the recent list.
    TOptions Options;
    // The logged-in user, in upper case.
    std::string UserName;
    // The help was opened from an editor: losing the focus to it leaves the editors enabled.
    bool HelpShowing = false;
    std::string HelpFile;
    TMainFormServices Services;

    static constexpr const char* kNoOptionsFile = "Nothing";

    // -- Forms of the whole run
    TFormFind* FormFind = nullptr;
    TFormGenRPGWindow* FormGenRPG = nullptr;
    // Made when the help is first opened.
    THelpWindow* HelpWindow = nullptr;
    // The library of members: its menus, panel, docks and the members opened from it.
    TLibraryFrame* Library = nullptr;

    // -- Controls
    QMenuBar* MainMenu = nullptr;
    QWidget* PanelButt = nullptr;
    QMdiArea* MdiArea = nullptr;
    QStatusBar* StatusBar = nullptr;
    QFileDialog* MainOpenDialog = nullptr;
    QFileDialog* MainSaveDialog = nullptr;

    QToolButton* BtnNew = nullptr;
    QToolButton* BtnOpen = nullptr;
    QToolButton* BtnSave = nullptr;
    QToolButton* BtnFind = nullptr;
    QToolButton* BtnCut = nullptr;
    QToolButton* BtnCopy = nullptr;
    QToolButton* BtnPaste = nullptr;
    QToolButton* BtnUndo = nullptr;
    QToolButton* BtnImport = nullptr;
    QToolButton* BtnGenerate = nullptr;
    QToolButton* BtnExport = nullptr;

    QMenu* FileMenu = nullptr;
    QAction* FileNewItem = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* FileBrowseItem = nullptr;
    QAction* FileCaddisItem = nullptr;
    QMenu* FileReopenItem = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* FileSaveAllItem = nullptr;
    QAction* FileCloseItem = nullptr;
    QAction* FileCloseAllItem = nullptr;
    QAction* FilePrintItem = nullptr;
    QAction* FilePrintPreviewItem = nullptr;
    QAction* FileExportPdfItem = nullptr;
    QAction* FileExitItem = nullptr;

    QMenu* EditMenu = nullptr;
    QAction* EditUndoItem = nullptr;
    QAction* EditRedoItem = nullptr;
    QAction* EditCutItem = nullptr;
    QAction* EditCopyItem = nullptr;
    QAction* EditPasteItem = nullptr;
    QAction* EditSelectAllItem = nullptr;
    QMenu* Restore = nullptr;
    QAction* RestPrevUpdate = nullptr;
    QAction* RestLastUpdate = nullptr;
    QAction* RestLastSaved = nullptr;
    QAction* RestLastOpen = nullptr;
    QMenu* Import = nullptr;
    QAction* ImpInsertatCursor = nullptr;
    QAction* ImpReplaceSelection = nullptr;
    QAction* ImpOverrideAll = nullptr;
    QMenu* ExportTextFile = nullptr;
    QAction* ExpSelectedText = nullptr;
    QAction* ExpAllSection = nullptr;
    QAction* PrintSection = nullptr;

    QMenu* SearchMenu = nullptr;
    QAction* SearchFindItem = nullptr;
    QAction* SearchReplaceItem = nullptr;
    QAction* SearchSAgainItem = nullptr;
    // The keys live in the editor window (so that they work there on their own); the menu
    // only names them.
    QAction* SearchNextErrorItem = nullptr;
    QAction* SearchPrevErrorItem = nullptr;
    QAction* SearchChangedSinceItem = nullptr;
    QAction* SearchNextChangedItem = nullptr;
    QAction* SearchPrevChangedItem = nullptr;
    QAction* SearchGoToSequenceItem = nullptr;

    QMenu* ProgramMenu = nullptr;
    QAction* ProgCompileItem = nullptr;
    QAction* ProgBuildAllItem = nullptr;
    QAction* ProgExportItem = nullptr;
    QAction* ProgOpenItem = nullptr;
    QAction* ProgImportItem = nullptr;
    QAction* ProgSaveAsItem = nullptr;
    QAction* ProgPrintItem = nullptr;
    QAction* ProgPrintPreviewItem = nullptr;
    QAction* ProgExportPdfItem = nullptr;
    QAction* ProgCodePageItem = nullptr;

    QMenu* OptionsMenu = nullptr;
    QAction* OptionsButtonBarItem = nullptr;
    QAction* OptionEditorItem = nullptr;
    QAction* OptionUndoItem = nullptr;
    QAction* OptionHistoryLogItem = nullptr;
    QAction* OptionCompilerItem = nullptr;
    QAction* OptionExportItem = nullptr;
    QAction* OptionChPassItem = nullptr;

    QMenu* WindowMenu = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowArrangeItem = nullptr;
    QAction* WindowMinimizeItem = nullptr;

    QMenu* HelpMenu = nullptr;
    QAction* HelpOrvaleItem = nullptr;
    QMenu* HelpOpCodesItem = nullptr;
    QAction* RPGStandard = nullptr;
    QAction* OrvaleSpecial = nullptr;
    QAction* HelpAboutItem = nullptr;

    // -- Start-up and windows
    // Settles the program directory and the help file, runs the login and, once a user is in,
    // reads the options; a login that is not accepted closes the frame. Runs once, by itself
    // after the frame is first shown; a call after that does nothing.
    void Startup();
    bool Started() const { return Started_; }
    // The editor windows in the order they were opened.
    std::vector<TEditorsHolder*> EditorWindows() const;
    // The active editor window, or none. It stays the active one while a dialog or another
    // program has the focus.
    TEditorsHolder* ActiveWindow() const;
    QMdiSubWindow* ActiveSubWindow() const;
    QMdiSubWindow* SubWindowOf(const TEditorsHolder* window) const;

    // -- Operations of the windows and the commands
    void UpdateMenuItems();
    void LockFileCommands();
    void UnlockFileCommands();
    bool FileCommandsLocked() const { return LockDepth > 0; }
    // Applies every option to a window and its document.
    void ApplyOptionsToWindow(TEditorsHolder& window);
    void OpenProgramFile(const std::string& path);
    // Converts an RPG/400 source file into a new window captioned Caption; the window is
    // closed again when the import was cancelled or read nothing.
    // Code Page names the code page of the file's text; empty: the options' default.
    TEditorsHolder* ImportIntoNewWindow(const std::string& sourceFile, const std::string& caption,
                                        const std::string& codePage = {});
    // Rebuilds the Reopen submenu from the recent-programs list.
    void UpdateReopenMenu();
    void ReopenClick(const std::string& path);
    // Opens the help at Keyword.
    void OpenHelp(const std::string& keyword);

    // -- Menu commands
    void FileNewItemClick();
    void FileOpenItemClick();
    void FileBrowseItemClick();
    void FileCaddisItemClick();
    void FileSaveItemClick();
    void FileSaveAsItemClick();
    void FileSaveAllItemClick();
    void FileCloseItemClick();
    void FileCloseAllItemClick();
    void FilePrintItemClick();
    void EditUndoItemClick();
    void EditRedoItemClick();
    void SearchFindItemClick();
    void SearchReplaceItemClick();
    void SearchSAgainItemClick();
    void ProgCompileItemClick() { CompileActive(false); }
    void ProgBuildAllItemClick() { CompileActive(true); }
    void ProgExportItemClick();
    void ProgCodePageItemClick();
    // A new or imported program takes the code page of the options.
    void TakeDefaultCodePage(TEditorsHolder& window) const;
    void ProgOpenItemClick();
    void ProgImportItemClick();
    void ProgSaveAsItemClick();
    void ProgPrintItemClick();
    void OptionsButtonBarItemClick();
    void OptionEditorItemClick();
    void OptionUndoItemClick();
    void OptionHistoryLogItemClick();
    void OptionCompilerItemClick();
    void OptionExportItemClick();
    void OptionChPassItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    // The help at its contents.
    void HelpOrvaleItemClick();
    void HelpAboutItemClick();
    // Prints the active window's program (its sections or its RPG/400 member) on a printer
    // chosen in the print dialog, in a print preview or into a PDF file chosen in a save
    // dialog; true when the pages went out (or the preview was shown).
    bool PrintActive(TPrintContent content, TPrintWay way);
    // The frame's caption: the active program's file name, or nothing (the desktop then shows
    // the application's name alone).
    QString Caption() const;

    // -- TEditorFrame
    void AddToReopenList(const std::string& path) override;
    void EnableEditCommands(bool enabled) override;
    void EnableEditButtons(bool enabled) override;
    void ShowEditState(const QWidget* window, const TEditState& state) override;
    void SetFontSizeIdx(int index) override;
    void ShowHelpKeyword(const std::string& keyword) override;
    bool ExecPrintDialog(QPrinter& printer) override;
    void NormaliseClipboard() override;
    std::optional<std::string> ChooseSaveFile(const std::string& title,
                                              const std::string& initialDir,
                                              const std::string& fileName) override;
    std::optional<std::string> ChooseTextFileToImport() override;
    std::optional<std::string> ChooseTextFileToExport() override;
    TTextFileEncoding TextFileEncoding() const override;

    // Button bar heights: shown and folded away.
    static constexpr int kButtonBarHeight = 36;
    static constexpr int kFoldedButtonBarHeight = 2;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // F1 that no editor took: the help at its contents.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildSearchAndProgramMenus();
    // Changed Since, next and previous changed line, Go to Sequence Number (MainFormDates.cpp).
    void BuildDatedSearchItems();
    void SearchChangedSinceItemClick();
    void SearchGoToSequenceItemClick();
    void BuildOptionsMenu();
    void BuildWindowAndHelpMenus();
    void BuildButtonBar();
    void BuildDialogs();
    void ConnectButtons();
    void UpdateWindowList();
    void SubWindowActivated(QMdiSubWindow* sub);
    void ApplicationStateChanged(Qt::ApplicationState state);
    void UpdateCaption();
    // The help window, made and given the help file when first asked for.
    THelpWindow& Help();
    std::optional<std::string> ChoosePdfFile(const TRPGProgram& doc);

    // A new editor window in the MDI area, captioned Caption and made the active one.
    TEditorsHolder* NewEditorWindow(const std::string& caption);
    // Closes a window that holds nothing worth keeping, without asking.
    void DiscardWindow(TEditorsHolder& window);
    // Loads a program file into a new window; none (the window closed again) when it could
    // not be read.
    TEditorsHolder* LoadIntoNewWindow(const std::string& path);
    void TileWhenAlone();
    // Closes the windows from the last to the first; false when one of them refused.
    bool CloseAllWindows();
    void SaveWindow(TEditorsHolder& window, bool saveAs);
    void CompileActive(bool buildAll);
    // Runs a file dialog through the services; the chosen file or nothing.
    std::optional<std::string> RunFile(QFileDialog& dialog);
    bool RunModal(QDialog& dialog);
    void RunLogin();
    void ReadOptions();
    void WriteOptions();
    // The size, place and panels the main window was left with.
    void RestoreWindowLayout();
    // Where a program without a folder of its own is offered a place: the folder last used
    // for programs, else the user's documents (never the hidden program directory).
    std::string ProgramFolder() const;
    void RememberProgramFolder(const std::string& path);
    TFormGenRPG* CompilerOptions() const;
    // The active window, and nothing when a command needs one and there is none.
    template <class F> void WithActiveWindow(F&& f) {
        if (TEditorsHolder* window = ActiveWindow())
            f(*window);
    }

    orvale::Prompter& Box;
    bool Started_ = false;
    bool StartupQueued = false;
    int LockDepth = 0;
    bool SettingCaption = false;
    // The sub-window last activated.
    QPointer<QMdiSubWindow> LastActive;
    // Actions of the Window menu that list the open windows.
    std::vector<QAction*> WindowListActions;
};

// The name the desktop shows after each caption ("DL0110.RPG — Orvale") and on the message
// boxes.
inline constexpr const char* kApplicationName = "Orvale";
inline constexpr const char* kCantFindProgram = "Sorry can't find selected program!";
// The message, with the path of the program that is gone.
inline std::string CantFindProgramMessage(const std::string& path) {
    return std::string(kCantFindProgram) + "\n" + path;
}
inline constexpr const char* kSaveImportedTitle = "Orvale - Keep the Imported Program As";
inline constexpr const char* kOpenProgramTitle = "Orvale - Open Program";
inline constexpr const char* kOpenSourceTitle = "Orvale - Open RPG/400 Source";
inline constexpr const char* kSaveSourceTitle = "Orvale - Save RPG/400 Source";
inline constexpr const char* kMainOpenTitle = "Quenby - Open";
inline constexpr const char* kMainSaveTitle = "Quenby - Save";
