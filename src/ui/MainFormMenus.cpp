// The main frame's menus, button bar and file dialogs, and the connections of their items and
// buttons to the commands.

#include "ui/MainForm.h"

#include "frame/HelpIndex.h"
#include "ui/ButtonBarImages.h"
#include "ui/ExtRichEdit.h"

#include <QAction>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

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
                reasons << Edge.ToQt(reason);
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
    ProgCompileItem = Item(ProgramMenu, "ProgCompileItem", "Co&mpile",
                           "Compile the modified sections", QKeySequence(Qt::CTRL | Qt::Key_F9));
    ProgBuildAllItem = Item(ProgramMenu, "ProgBuildAllItem", "&Build All", "Compile every section",
                            QKeySequence(Qt::Key_F9));
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
    ProgramMenu->addSeparator();
    ProgCodePageItem = Item(ProgramMenu, "ProgCodePageItem", "Code Pa&ge...",
                            "Choose the code page the program's text is written in");
    connect(ProgCodePageItem, &QAction::triggered, this, &TMainForm::ProgCodePageItemClick);
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
    // F1 is the source editor's topic search; the frame takes the F1 no editor took
    // (keyPressEvent), so the menu only names the key.
    HelpOrvaleItem = Item(HelpMenu, "HelpOrvaleItem", "Orvale features\tF1", "What Orvale offers");
    HelpOpCodesItem =
        SubMenu(HelpMenu, "HelpOpCodesItem", "Operation Codes", "Help on the operation codes");
    RPGStandard =
        Item(HelpOpCodesItem, "RPGStandard", "&RPG Standard", "The RPG/400 operation codes");
    OrvaleSpecial =
        Item(HelpOpCodesItem, "OrvaleSpecial", "Orvale Special", "The statement forms of Orvale");
    HelpMenu->addSeparator();
    HelpAboutItem = Item(HelpMenu, "HelpAboutItem", "&About", "About Orvale");
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
