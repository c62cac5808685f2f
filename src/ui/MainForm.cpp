// The main frame: its menus, button bar and dialogs, the enabling of its commands, the
// start-up with the login and the close. The commands are in MainFormFiles.cpp (files and
// programs), MainFormCommands.cpp (edit, search, window, help) and MainFormOptions.cpp.

#include "ui/MainForm.h"

#include "frame/HelpIndex.h"
#include "frame/ProgramDir.h"
#include "outside/Caddis.h"
#include "outside/Verrow.h"
#include "platform/Prompter.h"
#include "ui/ButtonBarImages.h"
#include "ui/DialogFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/FileNames.h"
#include "ui/FormFind.h"
#include "ui/FormGenRPG.h"
#include "ui/HelpWindow.h"
#include "ui/PasswordDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QAction* Item(QMenu* menu, const char* name, const char* caption, const char* hint,
              const QKeySequence& shortcut = {}) {
    auto* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(name);
    action->setStatusTip(QString::fromLatin1(hint));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

// The desktop's own keys for a command, after the one the item is known by. Usual is the key
// Linux desktops give the command, taken also where the platform names none for it.
void AddStandardKeys(QAction* action, QKeySequence::StandardKey key,
                     const QKeySequence& usual = {}) {
    QList<QKeySequence> keys = action->shortcuts();
    QList<QKeySequence> standard = QKeySequence::keyBindings(key);
    if (!usual.isEmpty())
        standard.append(usual);
    for (const QKeySequence& k : standard)
        if (!keys.contains(k))
            keys.append(k);
    action->setShortcuts(keys);
}

QMenu* SubMenu(QMenu* menu, const char* name, const char* caption, const char* hint) {
    QMenu* sub = menu->addMenu(QString::fromLatin1(caption));
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    sub->menuAction()->setStatusTip(QString::fromLatin1(hint));
    return sub;
}

} // namespace

TMainFormServices TMainFormServices::Default() {
    TMainFormServices services;
    services.RunDialog = [](QDialog& dialog) {
        UseDialogFrame(dialog);
        return dialog.exec() == QDialog::Accepted;
    };
    services.RunFileDialog = [](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    services.BrowseProgram = [] {
        std::string path;
        VerrowBrowse(path);
        return path;
    };
    services.ShowRepository = [] { CaddisShowRepository(); };
    services.Editor = TEditorServices::Default();
    services.Editor.RunDialog = services.RunDialog;
    return services;
}

TMainForm::TMainForm(orvale::Prompter& prompter, TMainFormServices services, QWidget* parent)
    : QMainWindow(parent), Services(std::move(services)), Box(prompter) {
    setObjectName("MainForm");
    resize(1000, 720);

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName("MdiArea");
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    BuildButtonBar();
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelButt);
    layout->addWidget(MdiArea, 1);
    setCentralWidget(client);

    BuildMenus();
    BuildDialogs();
    ConnectButtons();

    // One simple panel: the hint of the menu item or button under the mouse.
    StatusBar = statusBar();
    StatusBar->setObjectName("StatusBar");

    FormFind = new TFormFind(Box, this);
    UseDialogFrame(*FormFind);
    FormGenRPG = new TFormGenRPGWindow(this);
    UseDialogFrame(*FormGenRPG);
    UpdateReopenMenu();

    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::SubWindowActivated);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TMainForm::ApplicationStateChanged);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { UpdateMenuItems(); });
    HelpShowing = false;

    EnableEditCommands(false);
    EnableEditButtons(false);
    UpdateMenuItems();
}

TMainForm::~TMainForm() {
    // The windows go before the frame they talk to.
    disconnect(MdiArea, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    // Closed windows may still wait for their deletion.
    for (QMdiSubWindow* sub : MdiArea->findChildren<QMdiSubWindow*>())
        disconnect(sub, nullptr, this, nullptr);
    for (QMdiSubWindow* sub : MdiArea->subWindowList())
        delete sub;
}

// -- Building

void TMainForm::BuildButtonBar() {
    PanelButt = new QWidget(this);
    PanelButt->setObjectName("PanelButt");
    PanelButt->setFixedHeight(kButtonBarHeight);
    auto* row = new QHBoxLayout(PanelButt);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(1);
    auto button = [&](const char* name, ButtonImage image, const char* hint) {
        auto* b = new QToolButton(PanelButt);
        b->setObjectName(name);
        b->setIcon(ButtonBarImage(image));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromLatin1(hint));
        b->setStatusTip(QString::fromLatin1(hint));
        row->addWidget(b);
        return b;
    };
    auto gap = [&] { row->addSpacing(10); };
    BtnNew = button("BtnNew", ButtonImage::New, "New program");
    BtnOpen = button("BtnOpen", ButtonImage::Open, "Open a program");
    BtnSave = button("BtnSave", ButtonImage::Save, "Save the program");
    gap();
    BtnFind = button("BtnFind", ButtonImage::Find, "Find text");
    BtnCut = button("BtnCut", ButtonImage::Cut, "Cut the selection");
    BtnCopy = button("BtnCopy", ButtonImage::Copy, "Copy the selection");
    BtnPaste = button("BtnPaste", ButtonImage::Paste, "Paste the clipboard");
    BtnUndo = button("BtnUndo", ButtonImage::Undo, "Undo the last edit");
    gap();
    BtnImport = button("BtnImport", ButtonImage::Import, "Import From AS/400");
    BtnGenerate = button("BtnGenerate", ButtonImage::Generate, "Build All");
    BtnExport = button("BtnExport", ButtonImage::Export, "Export To AS/400");
    row->addStretch();
}

void TMainForm::BuildMenus() {
    MainMenu = menuBar();
    MainMenu->setObjectName("MainMenu");
    BuildFileMenu();
    BuildEditMenu();
    BuildSearchAndProgramMenus();
    BuildOptionsMenu();
    BuildWindowAndHelpMenus();
}

void TMainForm::BuildFileMenu() {
    FileMenu = MainMenu->addMenu("&File");
    FileMenu->setObjectName("FileMenu");
    FileNewItem = Item(FileMenu, "FileNewItem", "&New", "Create a new program");
    FileOpenItem = Item(FileMenu, "FileOpenItem", "&Open...", "Open a program file",
                        QKeySequence(Qt::CTRL | Qt::Key_O));
    FileBrowseItem =
        Item(FileMenu, "FileBrowseItem", "&Browse...", "Browse the programs and open one");
    FileCaddisItem = Item(FileMenu, "FileCaddisItem", "Re&pository", "The program repository");
    FileReopenItem = SubMenu(FileMenu, "FileReopenItem", "&Reopen", "Open a recently used program");
    FileMenu->addSeparator();
    FileSaveItem = Item(FileMenu, "FileSaveItem", "&Save", "Save the program",
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAsItem =
        Item(FileMenu, "FileSaveAsItem", "Save &As...", "Save the program under another name");
    FileSaveAllItem = Item(FileMenu, "FileSaveAllItem", "Sa&ve All", "Save every open program");
    FileCloseItem = Item(FileMenu, "FileCloseItem", "&Close", "Close the program");
    AddStandardKeys(FileCloseItem, QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W));
    FileCloseAllItem = Item(FileMenu, "FileCloseAllItem", "Clos&e All", "Close every open program");
    FileMenu->addSeparator();
    FilePrintItem = Item(FileMenu, "FilePrintItem", "&Print...", "Print the program's sections");
    AddStandardKeys(FilePrintItem, QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P));
    FilePrintPreviewItem = Item(FileMenu, "FilePrintPreviewItem", "Print Pre&view...",
                                "See the program's sections as they will be printed");
    FileExportPdfItem = Item(FileMenu, "FileExportPdfItem", "Export to P&DF...",
                             "Write the program's sections into a PDF file");
    FileMenu->addSeparator();
    FileExitItem = Item(FileMenu, "FileExitItem", "E&xit", "Leave Orvale");
    AddStandardKeys(FileExitItem, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(FileNewItem, &QAction::triggered, this, &TMainForm::FileNewItemClick);
    connect(FileOpenItem, &QAction::triggered, this, &TMainForm::FileOpenItemClick);
    connect(FileBrowseItem, &QAction::triggered, this, &TMainForm::FileBrowseItemClick);
    connect(FileCaddisItem, &QAction::triggered, this, &TMainForm::FileCaddisItemClick);
    connect(FileSaveItem, &QAction::triggered, this, &TMainForm::FileSaveItemClick);
    connect(FileSaveAsItem, &QAction::triggered, this, &TMainForm::FileSaveAsItemClick);
    connect(FileSaveAllItem, &QAction::triggered, this, &TMainForm::FileSaveAllItemClick);
    connect(FileCloseItem, &QAction::triggered, this, &TMainForm::FileCloseItemClick);
    connect(FileCloseAllItem, &QAction::triggered, this, &TMainForm::FileCloseAllItemClick);
    connect(FilePrintItem, &QAction::triggered, this, &TMainForm::FilePrintItemClick);
    connect(FilePrintPreviewItem, &QAction::triggered, this,
            [this] { PrintActive(TPrintContent::Program, TPrintWay::Preview); });
    connect(FileExportPdfItem, &QAction::triggered, this,
            [this] { PrintActive(TPrintContent::Program, TPrintWay::Pdf); });
    connect(FileExitItem, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::BuildEditMenu() {
    EditMenu = MainMenu->addMenu("&Edit");
    EditMenu->setObjectName("EditMenu");
    EditUndoItem = Item(EditMenu, "EditUndoItem", "&Undo", "Undo the last edit",
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddStandardKeys(EditUndoItem, QKeySequence::Undo);
    EditRedoItem = Item(EditMenu, "EditRedoItem", "&Redo", "Redo what was undone");
    AddStandardKeys(EditRedoItem, QKeySequence::Redo,
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EditMenu->addSeparator();
    EditCutItem = Item(EditMenu, "EditCutItem", "Cu&t", "Cut the selection",
                       QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopyItem = Item(EditMenu, "EditCopyItem", "&Copy", "Copy the selection",
                        QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPasteItem = Item(EditMenu, "EditPasteItem", "&Paste", "Paste the clipboard",
                         QKeySequence(Qt::CTRL | Qt::Key_V));
    EditSelectAllItem = Item(EditMenu, "EditSelectAllItem", "Select &All", "Select all the text",
                             QKeySequence(Qt::CTRL | Qt::Key_A));
    EditMenu->addSeparator();
    Restore = SubMenu(EditMenu, "Restore", "&Restore", "Restore the section's text");
    RestPrevUpdate = Item(Restore, "RestPrevUpdate", "&Prev Update",
                          "The section as it was before its last update");
    RestLastUpdate =
        Item(Restore, "RestLastUpdate", "Last &Update", "The section as it was last updated");
    RestLastSaved = Item(Restore, "RestLastSaved", "Last &Save",
                         "The section as it was when the program was last saved");
    RestLastOpen = Item(Restore, "RestLastOpen", "Last &Open",
                        "The section as it was when the program was opened");
    Import = SubMenu(EditMenu, "Import", "&Import", "Import a text file into the section");
    ImpInsertatCursor =
        Item(Import, "ImpInsertatCursor", "Insert at &Cursor", "Insert a text file at the cursor");
    ImpReplaceSelection = Item(Import, "ImpReplaceSelection", "R&eplace Selection",
                               "Replace the selection by a text file");
    ImpOverrideAll =
        Item(Import, "ImpOverrideAll", "&Override All", "Replace the whole section by a text file");
    ExportTextFile = SubMenu(EditMenu, "ExportTextFile", "&Export Text File",
                             "Write the section's text into a file");
    ExpSelectedText = Item(ExportTextFile, "ExpSelectedText", "&Selected Text",
                           "Write the selected text into a file");
    ExpAllSection = Item(ExportTextFile, "ExpAllSection", "All Sectio&n",
                         "Write the whole section into a file");
    EditMenu->addSeparator();
    PrintSection = Item(EditMenu, "PrintSection", "Print &Section", "Print the section");

    connect(EditUndoItem, &QAction::triggered, this, &TMainForm::EditUndoItemClick);
    connect(EditRedoItem, &QAction::triggered, this, &TMainForm::EditRedoItemClick);
    auto onWindow = [this](QAction* action, void (TEditorsHolder::*command)()) {
        connect(action, &QAction::triggered, this,
                [this, command] { WithActiveWindow([&](TEditorsHolder& w) { (w.*command)(); }); });
    };
    auto onEditor = [this](QAction* action, void (QPlainTextEdit::*command)()) {
        connect(action, &QAction::triggered, this, [this, command] {
            WithActiveWindow([&](TEditorsHolder& w) { (w.RichEditSource->*command)(); });
        });
    };
    onEditor(EditCutItem, &QPlainTextEdit::cut);
    onEditor(EditCopyItem, &QPlainTextEdit::copy);
    onEditor(EditPasteItem, &QPlainTextEdit::paste);
    onEditor(EditSelectAllItem, &QPlainTextEdit::selectAll);
    // The restore commands with nothing to restore are off, the reason as their hint.
    connect(Restore, &QMenu::aboutToShow, this, [this] {
        const std::pair<QAction*, int> kinds[] = {
            {RestPrevUpdate, 0}, {RestLastUpdate, 1}, {RestLastSaved, 3}, {RestLastOpen, 2}};
        TEditorsHolder* window = ActiveWindow();
        QStringList reasons;
        for (auto [action, kind] : kinds) {
            std::string reason;
            action->setEnabled(window && window->CanRestore(kind, &reason));
            if (!reason.empty())
                reasons << QString::fromLatin1(reason.c_str());
        }
        StatusBar->showMessage(reasons.join("  "));
    });
    onWindow(RestPrevUpdate, &TEditorsHolder::PopRestPrevUpdateClick);
    onWindow(RestLastUpdate, &TEditorsHolder::PopRestLastUpdateClick);
    onWindow(RestLastSaved, &TEditorsHolder::PopRestLastSaveClick);
    onWindow(RestLastOpen, &TEditorsHolder::PopRestLastOpenClick);
    onWindow(ImpInsertatCursor, &TEditorsHolder::PopImportatCursorClick);
    onWindow(ImpReplaceSelection, &TEditorsHolder::PopReplaceSelClick);
    onWindow(ImpOverrideAll, &TEditorsHolder::PopImportOverrideClick);
    onWindow(ExpSelectedText, &TEditorsHolder::PopExpSelectedTextClick);
    onWindow(ExpAllSection, &TEditorsHolder::PopExpAllSectionClick);
    onWindow(PrintSection, &TEditorsHolder::PopPrintSectionClick);
}

void TMainForm::BuildSearchAndProgramMenus() {
    SearchMenu = MainMenu->addMenu("&Search");
    SearchMenu->setObjectName("SearchMenu");
    SearchFindItem = Item(SearchMenu, "SearchFindItem", "&Find...", "Find text",
                          QKeySequence(Qt::CTRL | Qt::Key_F));
    SearchReplaceItem = Item(SearchMenu, "SearchReplaceItem", "&Replace...",
                             "Find text and replace it", QKeySequence(Qt::CTRL | Qt::Key_R));
    AddStandardKeys(SearchFindItem, QKeySequence::Find);
    AddStandardKeys(SearchReplaceItem, QKeySequence::Replace);
    SearchSAgainItem = Item(SearchMenu, "SearchSAgainItem", "&Search Again",
                            "Find the next occurrence", QKeySequence(Qt::Key_F3));
    connect(SearchFindItem, &QAction::triggered, this, &TMainForm::SearchFindItemClick);
    connect(SearchReplaceItem, &QAction::triggered, this, &TMainForm::SearchReplaceItemClick);
    connect(SearchSAgainItem, &QAction::triggered, this, &TMainForm::SearchSAgainItemClick);
    SearchMenu->addSeparator();
    SearchNextErrorItem = Item(SearchMenu, "SearchNextErrorItem", "Next &Error\tF8",
                               "Go to the next error or warning of the last compile");
    SearchPrevErrorItem = Item(SearchMenu, "SearchPrevErrorItem", "Pre&vious Error\tShift+F8",
                               "Go to the previous error or warning of the last compile");
    connect(SearchNextErrorItem, &QAction::triggered, this,
            [this] { WithActiveWindow([](TEditorsHolder& w) { w.GoToFinding(1); }); });
    connect(SearchPrevErrorItem, &QAction::triggered, this,
            [this] { WithActiveWindow([](TEditorsHolder& w) { w.GoToFinding(-1); }); });
    BuildDatedSearchItems();

    ProgramMenu = MainMenu->addMenu("&Program");
    ProgramMenu->setObjectName("ProgramMenu");
    ProgCompileItem =
        Item(ProgramMenu, "ProgCompileItem", "Co&mpile", "Compile the modified sections");
    ProgBuildAllItem = Item(ProgramMenu, "ProgBuildAllItem", "&Build All", "Compile every section");
    ProgramMenu->addSeparator();
    ProgExportItem = Item(ProgramMenu, "ProgExportItem", "&Export To AS/400",
                          "Build the member and copy it into the members folder");
    ProgOpenItem = Item(ProgramMenu, "ProgOpenItem", "&Create from Source...",
                        "Make a program from an RPG/400 source file");
    ProgImportItem = Item(ProgramMenu, "ProgImportItem", "&Import From AS/400",
                          "Make a program from a member of the members folder");
    ProgSaveAsItem = Item(ProgramMenu, "ProgSaveAsItem", "&Save Source As...",
                          "Write the compiled RPG/400 source into a file");
    ProgramMenu->addSeparator();
    ProgPrintItem = Item(ProgramMenu, "ProgPrintItem", "&Print Source",
                         "Print the RPG/400 member built from the program");
    ProgPrintPreviewItem = Item(ProgramMenu, "ProgPrintPreviewItem", "Source Print Pre&view...",
                                "See the RPG/400 member as it will be printed");
    ProgExportPdfItem = Item(ProgramMenu, "ProgExportPdfItem", "Export Source to P&DF...",
                             "Write the RPG/400 member into a PDF file");
    connect(ProgCompileItem, &QAction::triggered, this, &TMainForm::ProgCompileItemClick);
    connect(ProgBuildAllItem, &QAction::triggered, this, &TMainForm::ProgBuildAllItemClick);
    connect(ProgExportItem, &QAction::triggered, this, &TMainForm::ProgExportItemClick);
    connect(ProgOpenItem, &QAction::triggered, this, &TMainForm::ProgOpenItemClick);
    connect(ProgImportItem, &QAction::triggered, this, &TMainForm::ProgImportItemClick);
    connect(ProgSaveAsItem, &QAction::triggered, this, &TMainForm::ProgSaveAsItemClick);
    connect(ProgPrintItem, &QAction::triggered, this, &TMainForm::ProgPrintItemClick);
    connect(ProgPrintPreviewItem, &QAction::triggered, this,
            [this] { PrintActive(TPrintContent::Member, TPrintWay::Preview); });
    connect(ProgExportPdfItem, &QAction::triggered, this,
            [this] { PrintActive(TPrintContent::Member, TPrintWay::Pdf); });
}

void TMainForm::BuildOptionsMenu() {
    OptionsMenu = MainMenu->addMenu("&Options");
    OptionsMenu->setObjectName("OptionsMenu");
    OptionsButtonBarItem =
        Item(OptionsMenu, "OptionsButtonBarItem", "&Button Bar", "Show or hide the button bar");
    OptionsButtonBarItem->setCheckable(true);
    OptionsButtonBarItem->setChecked(true);
    OptionsMenu->addSeparator();
    OptionEditorItem = Item(OptionsMenu, "OptionEditorItem", "&Editor", "Editor options");
    OptionUndoItem = Item(OptionsMenu, "OptionUndoItem", "&Undo", "Restore points kept");
    OptionHistoryLogItem =
        Item(OptionsMenu, "OptionHistoryLogItem", "&History Log", "Events the history logs");
    OptionCompilerItem =
        Item(OptionsMenu, "OptionCompilerItem", "&Compiler", "What the compiler writes");
    OptionExportItem =
        Item(OptionsMenu, "OptionExportItem", "E&xport", "What runs before an export");
    OptionsMenu->addSeparator();
    OptionChPassItem =
        Item(OptionsMenu, "OptionChPassItem", "Change &PassWord", "Change your password");

    // The check mark shows the bar as it is, however it was folded.
    connect(OptionsMenu, &QMenu::aboutToShow, this,
            [this] { OptionsButtonBarItem->setChecked(PanelButt->height() >= 3); });
    connect(OptionsButtonBarItem, &QAction::triggered, this, &TMainForm::OptionsButtonBarItemClick);
    connect(OptionEditorItem, &QAction::triggered, this, &TMainForm::OptionEditorItemClick);
    connect(OptionUndoItem, &QAction::triggered, this, &TMainForm::OptionUndoItemClick);
    connect(OptionHistoryLogItem, &QAction::triggered, this, &TMainForm::OptionHistoryLogItemClick);
    connect(OptionCompilerItem, &QAction::triggered, this, &TMainForm::OptionCompilerItemClick);
    connect(OptionExportItem, &QAction::triggered, this, &TMainForm::OptionExportItemClick);
    connect(OptionChPassItem, &QAction::triggered, this, &TMainForm::OptionChPassItemClick);
}

void TMainForm::BuildWindowAndHelpMenus() {
    WindowMenu = MainMenu->addMenu("&Window");
    WindowMenu->setObjectName("WindowMenu");
    WindowCascadeItem =
        Item(WindowMenu, "WindowCascadeItem", "&Cascade", "Arrange the windows in a cascade");
    WindowTileItem = Item(WindowMenu, "WindowTileItem", "&Tile", "Tile the windows");
    WindowArrangeItem =
        Item(WindowMenu, "WindowArrangeItem", "&Arrange Icons", "Line up the minimised windows");
    WindowMinimizeItem =
        Item(WindowMenu, "WindowMinimizeItem", "&Minimize All", "Minimise every window");
    WindowMenu->addSeparator();
    connect(WindowMenu, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowList);
    connect(WindowCascadeItem, &QAction::triggered, MdiArea, &QMdiArea::cascadeSubWindows);
    connect(WindowTileItem, &QAction::triggered, MdiArea, &QMdiArea::tileSubWindows);
    connect(WindowArrangeItem, &QAction::triggered, this, &TMainForm::WindowArrangeItemClick);
    connect(WindowMinimizeItem, &QAction::triggered, this, &TMainForm::WindowMinimizeItemClick);

    HelpMenu = MainMenu->addMenu("&Help");
    HelpMenu->setObjectName("HelpMenu");
    HelpOrvaleItem = Item(HelpMenu, "HelpOrvaleItem", "Orvale features", "What Orvale offers");
    HelpOpCodesItem =
        SubMenu(HelpMenu, "HelpOpCodesItem", "Operation Codes", "Help on the operation codes");
    RPGStandard =
        Item(HelpOpCodesItem, "RPGStandard", "&RPG Standard", "The RPG/400 operation codes");
    OrvaleSpecial =
        Item(HelpOpCodesItem, "OrvaleSpecial", "Orvale Special", "The statement forms of Orvale");
    HelpMenu->addSeparator();
    HelpAboutItem = Item(HelpMenu, "HelpAboutItem", "&About", "About Orvale");
    HelpOrvaleItem->setShortcut(QKeySequence::HelpContents);
    connect(HelpOrvaleItem, &QAction::triggered, this, &TMainForm::HelpOrvaleItemClick);
    connect(RPGStandard, &QAction::triggered, this, [this] { OpenHelp(kRPGOpCodesKeyword); });
    connect(OrvaleSpecial, &QAction::triggered, this, [this] { OpenHelp(kOrvaleOpCodesKeyword); });
    connect(HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
}

void TMainForm::BuildDialogs() {
    MainOpenDialog = new QFileDialog(this, kMainOpenTitle);
    MainOpenDialog->setObjectName("MainOpenDialog");
    MainOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    MainOpenDialog->setFileMode(QFileDialog::ExistingFile);
    ApplyMainFilter(*MainOpenDialog);

    MainSaveDialog = new QFileDialog(this, kMainSaveTitle);
    MainSaveDialog->setObjectName("MainSaveDialog");
    MainSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    MainSaveDialog->setFileMode(QFileDialog::AnyFile);
    ApplyMainFilter(*MainSaveDialog);
}

void TMainForm::ConnectButtons() {
    connect(BtnNew, &QToolButton::clicked, FileNewItem, &QAction::trigger);
    connect(BtnOpen, &QToolButton::clicked, FileOpenItem, &QAction::trigger);
    connect(BtnSave, &QToolButton::clicked, FileSaveItem, &QAction::trigger);
    connect(BtnFind, &QToolButton::clicked, this, &TMainForm::SearchFindItemClick);
    connect(BtnCut, &QToolButton::clicked, EditCutItem, &QAction::trigger);
    connect(BtnCopy, &QToolButton::clicked, EditCopyItem, &QAction::trigger);
    connect(BtnPaste, &QToolButton::clicked, EditPasteItem, &QAction::trigger);
    connect(BtnUndo, &QToolButton::clicked, this, &TMainForm::EditUndoItemClick);
    connect(BtnImport, &QToolButton::clicked, this, &TMainForm::ProgImportItemClick);
    connect(BtnGenerate, &QToolButton::clicked, this, &TMainForm::ProgBuildAllItemClick);
    connect(BtnExport, &QToolButton::clicked, this, &TMainForm::ProgExportItemClick);
}

// -- Windows

std::vector<TEditorsHolder*> TMainForm::EditorWindows() const {
    std::vector<TEditorsHolder*> windows;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* window = qobject_cast<TEditorsHolder*>(sub->widget()))
            windows.push_back(window);
    return windows;
}

QMdiSubWindow* TMainForm::ActiveSubWindow() const {
    if (QMdiSubWindow* sub = MdiArea->activeSubWindow())
        return sub;
    if (QMdiSubWindow* sub = MdiArea->currentSubWindow())
        return sub;
    // While the frame is not the active window the area may name none.
    if (LastActive && MdiArea->subWindowList().contains(LastActive.data()))
        return LastActive;
    return nullptr;
}

TEditorsHolder* TMainForm::ActiveWindow() const {
    QMdiSubWindow* sub = ActiveSubWindow();
    return sub ? qobject_cast<TEditorsHolder*>(sub->widget()) : nullptr;
}

QMdiSubWindow* TMainForm::SubWindowOf(const TEditorsHolder* window) const {
    for (QMdiSubWindow* sub : MdiArea->subWindowList())
        if (sub->widget() == window)
            return sub;
    return nullptr;
}

void TMainForm::SubWindowActivated(QMdiSubWindow* sub) {
    if (sub)
        LastActive = sub;
    if (sub)
        if (auto* window = qobject_cast<TEditorsHolder*>(sub->widget()))
            window->Activated();
    UpdateCaption();
    UpdateMenuItems();
}

void TMainForm::ApplicationStateChanged(Qt::ApplicationState state) {
    // The windows stay live while another program has the focus, so that a program can be
    // read and scrolled beside a terminal; the clipboard is left to cut, copy and paste.
    if (state == Qt::ApplicationActive)
        HelpShowing = false;
}

QString TMainForm::Caption() const {
    QMdiSubWindow* sub = ActiveSubWindow();
    if (!sub)
        return QString();
    // The program's file name; the desktop adds the application's name after it.
    QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
    return title.mid(title.lastIndexOf('/') + 1);
}

void TMainForm::UpdateCaption() {
    if (SettingCaption || !MdiArea)
        return;
    QString caption = Caption();
    if (windowTitle() == caption)
        return;
    SettingCaption = true;
    setWindowTitle(caption);
    SettingCaption = false;
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximised sub-window writes "frame - [child]" into the frame's caption; the caption
    // keeps the program's name alone.
    if (event->type() == QEvent::WindowTitleChange)
        UpdateCaption();
}

// -- Enabling

void TMainForm::UpdateMenuItems() {
    bool any = !MdiArea->subWindowList().isEmpty();
    for (QAction* item :
         {FileCloseItem, FileCloseAllItem, FileSaveItem, FileSaveAsItem, FileSaveAllItem,
          FilePrintItem, FilePrintPreviewItem, FileExportPdfItem, ProgCompileItem, ProgBuildAllItem,
          ProgExportItem, ProgSaveAsItem, ProgPrintItem, ProgPrintPreviewItem, ProgExportPdfItem,
          WindowCascadeItem, WindowTileItem, WindowArrangeItem, WindowMinimizeItem})
        item->setEnabled(any);
    for (QToolButton* button : {BtnGenerate, BtnExport})
        button->setEnabled(any);
    // The save button also stays off while the file commands are locked.
    BtnSave->setEnabled(any && LockDepth == 0);
}

void TMainForm::EnableEditCommands(bool enabled) {
    for (QAction* item :
         {EditCutItem, EditCopyItem, EditPasteItem, EditUndoItem, EditSelectAllItem, EditRedoItem,
          Restore->menuAction(), Import->menuAction(), ExportTextFile->menuAction(), PrintSection,
          SearchFindItem, SearchReplaceItem, SearchSAgainItem})
        item->setEnabled(enabled);
}

void TMainForm::EnableEditButtons(bool enabled) {
    for (QToolButton* button : {BtnCut, BtnCopy, BtnPaste, BtnFind, BtnUndo})
        button->setEnabled(enabled);
}

void TMainForm::LockFileCommands() {
    ++LockDepth;
    FileMenu->setEnabled(false);
    FileMenu->menuAction()->setEnabled(false);
    for (QToolButton* button : {BtnNew, BtnOpen, BtnSave})
        button->setEnabled(false);
    QApplication::processEvents();
}

void TMainForm::UnlockFileCommands() {
    if (LockDepth > 0)
        --LockDepth;
    if (LockDepth > 0)
        return;
    FileMenu->setEnabled(true);
    FileMenu->menuAction()->setEnabled(true);
    BtnNew->setEnabled(true);
    BtnOpen->setEnabled(true);
    UpdateMenuItems();
    QApplication::processEvents();
}

// -- Start-up and close

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (Started_ || StartupQueued)
        return;
    // The login opens over the frame once it is on the screen.
    StartupQueued = true;
    QTimer::singleShot(0, this, &TMainForm::Startup);
}

void TMainForm::Startup() {
    if (Started_)
        return;
    Started_ = true;
    if (ProgramDir.empty()) {
        std::string warning;
        ProgramDir = ResolveProgramDir(ExecutableDir(), UserDataDir(), &warning);
        if (!warning.empty())
            Box.Warning(warning);
    }
    HelpFile = HelpFilePath(ProgramDir);
    RunLogin();
    OptionsFile = kNoOptionsFile;
    if (UserName.empty()) {
        close();
        return;
    }
    OptionsFile = OptionsFilePath(ProgramDir);
    ReadOptions();
}

void TMainForm::RunLogin() {
    TPasswordDlg dialog(ProgramDir, Box, this);
    RunModal(dialog);
    if (dialog.LoginAccepted())
        UserName = dialog.UserName();
}

bool TMainForm::CloseAllWindows() {
    std::vector<TEditorsHolder*> windows = EditorWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        QMdiSubWindow* sub = SubWindowOf(*it);
        if (sub && !sub->close())
            return false;
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!CloseAllWindows()) {
        event->ignore();
        return;
    }
    if (OptionsFile != kNoOptionsFile)
        WriteOptions();
    if (HelpWindow)
        HelpWindow->close();
    FormFind->hide();
    event->accept();
}

bool TMainForm::RunModal(QDialog& dialog) {
    UseDialogFrame(dialog);
    return Services.RunDialog ? Services.RunDialog(dialog) : dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> TMainForm::RunFile(QFileDialog& dialog) {
    bool confirmed = Services.RunFileDialog ? Services.RunFileDialog(dialog)
                                            : dialog.exec() == QDialog::Accepted;
    QStringList chosen = dialog.selectedFiles();
    if (!confirmed || chosen.isEmpty() || chosen.front().isEmpty())
        return std::nullopt;
    return PathFromQt(chosen.front());
}
