// The main frame: its windows, the enabling of its commands, the start-up with the login and
// the close. The menus and the button bar are built in MainFormMenus.cpp; the commands are in
// MainFormFiles.cpp (files and programs), MainFormCommands.cpp (edit, search, window, help)
// and MainFormOptions.cpp.

#include "ui/MainForm.h"

#include "frame/HelpIndex.h"
#include "frame/ProgramDir.h"
#include "outside/Caddis.h"
#include "outside/Verrow.h"
#include "platform/Prompter.h"
#include "qtedge/FileNames.h"
#include "ui/ButtonBarImages.h"
#include "ui/DialogFrame.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormFind.h"
#include "ui/FormGenRPG.h"
#include "ui/HelpWindow.h"
#include "ui/LibraryFrame.h"
#include "ui/PasswordDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

TMainFormServices TMainFormServices::Default() {
    TMainFormServices services;
    services.RunDialog = [](QDialog& dialog) {
        UseDialogFrame(dialog);
        return dialog.exec() == QDialog::Accepted;
    };
    services.RunFileDialog = [](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    services.BrowseProgram = [](const orvale::CodePage& codePage) {
        std::string path;
        VerrowBrowse(path, codePage);
        return path;
    };
    services.ShowRepository = [](const orvale::CodePage& codePage) {
        CaddisShowRepository(codePage);
    };
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
    Library = new TLibraryFrame(*this);

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

void TMainForm::ShowEditState(const QWidget* window, const TEditState& state) {
    if (!window || window != ActiveWindow())
        return;
    EditUndoItem->setEnabled(state.Undo);
    EditUndoItem->setText(state.UndoName.empty() ? "&Undo" : Edge.ToQt("&Undo " + state.UndoName));
    BtnUndo->setEnabled(state.Undo);
    EditRedoItem->setEnabled(state.Redo);
    EditRedoItem->setText(state.RedoName.empty() ? "&Redo" : Edge.ToQt("&Redo " + state.RedoName));
    for (QAction* item : {EditCutItem, EditCopyItem})
        item->setEnabled(state.Selection);
    for (QToolButton* button : {BtnCut, BtnCopy})
        button->setEnabled(state.Selection);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The source editor's F1 asks for the topic at its caret; anywhere else it is the help's
    // contents. (One binding of the key, so that Qt never finds two.)
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        HelpOrvaleItemClick();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
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
    return orvale::PathFromQt(chosen.front());
}
