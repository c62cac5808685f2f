// The main frame's commands on program files: new, open, browse, reopen and the recent list,
// save, close, the program made from RPG/400 source or from a host member, the source written
// out, and the export to the host.

#include "ui/MainForm.h"

#include "platform/CodePage.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormGenRPG.h"
#include "ui/HostTransfer.h"
#include "ui/TreeImages.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardPaths>

namespace {

// A path as a menu caption: its "&" are not mnemonics.
QString MenuCaption(const std::string& path) {
    return orvale::PathToQt(path).replace('&', "&&");
}

} // namespace

// -- Windows

TEditorsHolder* TMainForm::NewEditorWindow(const std::string& caption) {
    TEditorSetup setup;
    setup.UserName = UserName;
    setup.TabSpaces = Options.Editor.TabSpaces;
    setup.CompilerOptions = CompilerOptions();
    setup.ProgramDir = ProgramDir;
    auto* window = new TEditorsHolder(Box, setup, this);
    window->Services = Services.Editor;
    window->setWindowTitle(orvale::PathToQt(caption));
    QMdiSubWindow* sub = MdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(ProgramTreeImages().value(0));
    // The window menu's Close would take the keys of File > Close a second time.
    if (QMenu* system = sub->systemMenu())
        for (QAction* item : system->actions())
            item->setShortcuts({});
    // A closed window leaves the menus to the ones still open.
    connect(sub, &QObject::destroyed, this, [this] { UpdateMenuItems(); });
    connect(window, &QWidget::windowTitleChanged, this, [this] { UpdateCaption(); });
    // A typed character the program's text cannot hold is named in the window's message panel.
    QLabel* messages = window->StatusPanel(TEditorsHolder::MessagePanel);
    connect(window->RichEditSource, &TExtRichEdit::CharacterRefused, messages, &QLabel::setText);
    // The window opens at the size it was made for, as far as the client area allows, not
    // at the least size its controls need.
    QSize room = MdiArea->viewport()->size();
    QSize wanted = window->size() + (sub->size() - sub->contentsRect().size());
    sub->resize(wanted.boundedTo(room).expandedTo(sub->minimumSizeHint()));
    sub->show();
    LastActive = sub;
    MdiArea->setActiveSubWindow(sub);
    UpdateMenuItems();
    return window;
}

void TMainForm::DiscardWindow(TEditorsHolder& window) {
    window.DiscardChanges();
    if (QMdiSubWindow* sub = SubWindowOf(&window))
        sub->close();
}

void TMainForm::TileWhenAlone() {
    if (MdiArea->subWindowList().size() == 1)
        MdiArea->tileSubWindows();
}

TEditorsHolder* TMainForm::LoadIntoNewWindow(const std::string& path) {
    TEditorsHolder* window = NewEditorWindow(path);
    if (!window->OpenProgram(path)) {
        // Nothing was read (the reason has been shown): an empty window under the file's
        // name could only overwrite the file.
        DiscardWindow(*window);
        return nullptr;
    }
    return window;
}

// -- New, open, browse

void TMainForm::FileNewItemClick() {
    if (FileCommandsLocked())
        return;
    MdiArea->cascadeSubWindows();
    LockFileCommands();
    std::string caption = "NoName" + std::to_string(MdiArea->subWindowList().size() + 1) + ".RPG";
    TEditorsHolder* window = NewEditorWindow(caption);
    TRPGProgram& doc = *window->Document;
    doc.NewProgram();
    TakeDefaultCodePage(*window);
    // One name for the program: the caption's, in the tree and in the save question too.
    doc.SetFileName(caption);
    if (TreeNode* root = doc.Tree.Root())
        doc.Tree.SetText(root, caption);
    ApplyOptionsToWindow(*window);
    TileWhenAlone();
    UnlockFileCommands();
}

void TMainForm::FileOpenItemClick() {
    if (FileCommandsLocked())
        return;
    LockFileCommands();
    MainOpenDialog->setWindowTitle(kOpenProgramTitle);
    if (std::optional<std::string> path = RunFile(*MainOpenDialog))
        OpenProgramFile(*path);
    UnlockFileCommands();
}

void TMainForm::OpenProgramFile(const std::string& path) {
    if (!path.empty()) {
        if (TEditorsHolder* window = LoadIntoNewWindow(path)) {
            ApplyOptionsToWindow(*window);
            RememberProgramFolder(path);
        }
        // The window puts it back on top when it closes.
        Options.Reopen.Remove(path);
        UpdateReopenMenu();
    }
    TileWhenAlone();
}

void TMainForm::FileBrowseItemClick() {
    if (FileCommandsLocked())
        return;
    LockFileCommands();
    std::string path = Services.BrowseProgram ? Services.BrowseProgram(Edge.Page()) : std::string();
    if (!path.empty()) {
        if (orvale::FileExists(path))
            OpenProgramFile(path);
        else
            Box.Error(CantFindProgramMessage(path));
    }
    UnlockFileCommands();
}

void TMainForm::FileCaddisItemClick() {
    if (Services.ShowRepository)
        Services.ShowRepository(Edge.Page());
}

std::string TMainForm::ProgramFolder() const {
    auto folder = [](std::string dir) {
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        return dir;
    };
    const std::string& last = Options.LastProgramFolder;
    if (!last.empty() && QFileInfo(orvale::PathToQt(last)).isDir())
        return folder(last);
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return folder(orvale::PathFromQt(documents));
    return folder(orvale::PathFromQt(QDir::homePath()));
}

void TMainForm::RememberProgramFolder(const std::string& path) {
    std::string folder = orvale::ExtractFilePath(path);
    if (!folder.empty())
        Options.LastProgramFolder = folder;
}

// -- Recent programs

void TMainForm::AddToReopenList(const std::string& path) {
    Options.Reopen.AddToReopenList(path);
    UpdateReopenMenu();
}

void TMainForm::UpdateReopenMenu() {
    // The items go later: the one clicked may be the caller.
    for (QAction* item : FileReopenItem->actions()) {
        FileReopenItem->removeAction(item);
        item->deleteLater();
    }
    if (Options.Reopen.Empty()) {
        QAction* none = FileReopenItem->addAction(kVoidReopenItem);
        none->setEnabled(false);
        return;
    }
    for (const std::string& path : Options.Reopen.Paths()) {
        QAction* item = FileReopenItem->addAction(MenuCaption(path));
        item->setStatusTip(orvale::PathToQt(path));
        connect(item, &QAction::triggered, this, [this, path] { ReopenClick(path); });
    }
}

void TMainForm::ReopenClick(const std::string& path) {
    if (FileCommandsLocked())
        return;
    LockFileCommands();
    if (orvale::FileExists(path)) {
        if (TEditorsHolder* window = LoadIntoNewWindow(path)) {
            QApplication::processEvents();
            ApplyOptionsToWindow(*window);
            TileWhenAlone();
            RememberProgramFolder(path);
        }
    } else {
        Box.Error(CantFindProgramMessage(path));
    }
    // Gone either way: the window puts it back when it closes.
    Options.Reopen.Remove(path);
    UpdateReopenMenu();
    QApplication::processEvents();
    UnlockFileCommands();
}

// -- Save and close

void TMainForm::SaveWindow(TEditorsHolder& window, bool saveAs) {
    TRPGProgram& doc = *window.Document;
    std::string path = saveAs ? doc.SaveAs() : doc.Save();
    // A program still without a file (its save dialog was cancelled) keeps its caption.
    if (!doc.Untitled)
        window.setWindowTitle(orvale::PathToQt(path));
    if (!doc.Untitled && !doc.Modified)
        RememberProgramFolder(path);
    // The mark goes only when the program is on disk: a failed or cancelled save keeps it.
    if (!doc.Modified)
        window.StatusPanel(TEditorsHolder::ModifiedPanel)->clear();
}

void TMainForm::FileSaveItemClick() {
    TEditorsHolder* window = ActiveWindow();
    if (!window || FileCommandsLocked())
        return;
    LockFileCommands();
    SaveWindow(*window, false);
    UnlockFileCommands();
}

void TMainForm::FileSaveAsItemClick() {
    TEditorsHolder* window = ActiveWindow();
    if (!window || FileCommandsLocked())
        return;
    LockFileCommands();
    SaveWindow(*window, true);
    UnlockFileCommands();
}

void TMainForm::FileSaveAllItemClick() {
    if (FileCommandsLocked())
        return;
    LockFileCommands();
    std::vector<TEditorsHolder*> windows = EditorWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        SaveWindow(**it, false);
    UnlockFileCommands();
}

void TMainForm::FileCloseItemClick() {
    if (QMdiSubWindow* sub = ActiveSubWindow())
        sub->close();
}

void TMainForm::FileCloseAllItemClick() {
    if (FileCommandsLocked())
        return;
    LockFileCommands();
    CloseAllWindows();
    UnlockFileCommands();
}

std::optional<std::string> TMainForm::ChooseSaveFile(const std::string& title,
                                                     const std::string& initialDir,
                                                     const std::string& fileName) {
    MainSaveDialog->setWindowTitle(orvale::PathToQt(title));
    MainSaveDialog->setDirectory(
        orvale::PathToQt(initialDir.empty() ? ProgramFolder() : initialDir));
    MainSaveDialog->selectFile(orvale::PathToQt(fileName));
    return RunFile(*MainSaveDialog);
}

std::optional<std::string> TMainForm::ChooseTextFileToImport() {
    return ::ChooseTextFileToImport(*MainOpenDialog, Services.RunFileDialog);
}

std::optional<std::string> TMainForm::ChooseTextFileToExport() {
    return ::ChooseTextFileToExport(*MainSaveDialog, Services.RunFileDialog);
}

TTextFileEncoding TMainForm::TextFileEncoding() const {
    return Options.Editor.TextFilesLatin1 ? TTextFileEncoding::Latin1CrLf
                                          : TTextFileEncoding::Utf8Lf;
}

// -- Programs from RPG/400 source

TEditorsHolder* TMainForm::ImportIntoNewWindow(const std::string& sourceFile,
                                               const std::string& caption,
                                               const std::string& codePage) {
    TEditorsHolder* window = NewEditorWindow(caption);
    setEnabled(false);
    if (codePage.empty() || !window->SetCodePage(codePage))
        TakeDefaultCodePage(*window);
    window->Document->ReadDated = static_cast<DatedReading>(Options.Export.DatedReading);
    window->ImportSource(sourceFile);
    TRPGProgram& doc = *window->Document;
    // An unreadable file leaves the document without its tree: nothing to keep either.
    if (doc.ImportCancelled || !doc.Tree.Root()) {
        DiscardWindow(*window);
        window = nullptr;
    } else {
        ApplyOptionsToWindow(*window);
        TileWhenAlone();
    }
    setEnabled(true);
    return window;
}

void TMainForm::TakeDefaultCodePage(TEditorsHolder& window) const {
    std::string name = orvale::CodePage::Canonical(Options.Editor.CodePage);
    if (name.empty() || name == "ISO-8859-1" || !orvale::CodePage::Shared(name))
        return;
    window.Document->TextCodePage = name;
    window.ShowCodePage();
}

void TMainForm::ProgCodePageItemClick() {
    TEditorsHolder* window = ActiveWindow();
    if (!window)
        return;
    QStringList names;
    for (const std::string& name : orvale::CodePage::Offered())
        names << QString::fromStdString(name);
    const std::string& current = window->Document->TextCodePage;
    int at = static_cast<int>(
        names.indexOf(QString::fromStdString(current.empty() ? "ISO-8859-1" : current)));
    bool chosen = false;
    QString name = QInputDialog::getItem(
        this, "Code Page",
        "The code page the program's text is written in\n(its bytes stay as they are):", names,
        std::max(at, 0), false, &chosen);
    if (chosen)
        window->SetCodePage(name.toStdString());
}

void TMainForm::ProgOpenItemClick() {
    MainOpenDialog->setWindowTitle(kOpenSourceTitle);
    SetFilterIndex(*MainOpenDialog, 2);
    std::optional<std::string> path = RunFile(*MainOpenDialog);
    SetFilterIndex(*MainOpenDialog, 1);
    if (path)
        ImportIntoNewWindow(*path, orvale::ChangeFileExt(*path, ".RPG"));
}

void TMainForm::ProgImportItemClick() {
    THostTransfer transfer{Options, ProgramDir, Box, this, Services.RunDialog};
    // The converted file lives in a work folder that goes with Member: the user says where the
    // program is to be kept before it is made.
    std::optional<TImportedMember> member = ImportFromHost(transfer);
    if (!member)
        return;
    {
        const std::string& converted = member->ConvertedFile;
        std::string caption = ImportedProgramCaption(converted);
        std::optional<std::string> place = ChooseSaveFile(kSaveImportedTitle, {}, caption);
        TEditorsHolder* window =
            ImportIntoNewWindow(converted, place ? *place : caption, member->CodePage);
        if (!window)
            return;
        TRPGProgram& doc = *window->Document;
        if (place) {
            doc.SetFileName(*place);
            RememberProgramFolder(*place);
        } else {
            // No place yet: the first save asks for one, in the folder offered now.
            doc.SetFileName(ProgramFolder() + caption);
            doc.Untitled = true;
        }
        if (TreeNode* root = doc.Tree.Root())
            doc.Tree.SetText(root, doc.FileName);
    }
}

void TMainForm::ProgExportItemClick() {
    TEditorsHolder* window = ActiveWindow();
    if (!window)
        return;
    THostTransfer transfer{Options, ProgramDir, Box, this, Services.RunDialog};
    ExportToHost(*window, transfer);
}

void TMainForm::ProgSaveAsItemClick() {
    TEditorsHolder* window = ActiveWindow();
    if (!window)
        return;
    MainSaveDialog->setWindowTitle(kSaveSourceTitle);
    SetFilterIndex(*MainSaveDialog, 2);
    MainSaveDialog->setDefaultSuffix("RP3");
    std::string dir = window->Document->FilePath;
    if (!dir.empty())
        MainSaveDialog->setDirectory(orvale::PathToQt(dir));
    MainSaveDialog->selectFile(
        orvale::PathToQt(orvale::ChangeFileExt(window->Document->FileName, ".RP3")));
    std::optional<std::string> path = RunFile(*MainSaveDialog);
    SetFilterIndex(*MainSaveDialog, 1);
    MainSaveDialog->setDefaultSuffix("RPG");
    if (path)
        window->Document->WriteSource(*path);
}

void TMainForm::CompileActive(bool buildAll) {
    TEditorsHolder* window = ActiveWindow();
    setEnabled(false);
    if (window) {
        window->CompileProgram(buildAll);
        // The RPG/400 page shows the new lines when it is next shown.
        window->LastRpgViewSection = nullptr;
    }
    setEnabled(true);
}
