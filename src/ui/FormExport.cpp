#include "ui/FormExport.h"

#include "document/ParseString.h"
#include "ondrel/CodePageTables.h"
#include "ondrel/Ondrel.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "ui/FileNames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Called by the library once per record: keeps the dialog alive, so that a click on Cancel
// reaches the running conversion.
void KeepResponsive() {
    QApplication::processEvents();
}

} // namespace

TFormExport::TFormExport(orvale::Prompter& prompter, QWidget* parent)
    : QDialog(parent), Box(prompter) {
    setWindowTitle(kExportCaption);

    EditFold = new QLineEdit(this);
    EditFold->setObjectName("EditFold");
    EditFold->setMinimumWidth(300);
    LabelFolder = new QLabel(kExportToFolder, this);
    LabelFolder->setObjectName("LabelFolder");
    LabelFolder->setBuddy(EditFold);
    BtnBrowse = new QPushButton("&Browse...", this);
    BtnBrowse->setObjectName("BtnBrowse");
    BtnBrowse->setAutoDefault(false);
    EditFile = new QLineEdit(this);
    EditFile->setObjectName("EditFile");
    LabelFile = new QLabel("&Member Name:", this);
    LabelFile->setBuddy(EditFile);

    Animation = new QProgressBar(this);
    Animation->setObjectName("Animation");
    Animation->setRange(0, 0);
    Animation->setTextVisible(false);
    Animation->setMaximumHeight(12);
    Animation->hide();

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(LabelFolder, 0, 0);
    fields->addWidget(EditFold, 0, 1);
    fields->addWidget(BtnBrowse, 0, 2);
    fields->addWidget(LabelFile, 1, 0);
    fields->addWidget(EditFile, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Animation, 1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TFormExport::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormExport::BtnCancelClick);
    connect(BtnBrowse, &QPushButton::clicked, this, &TFormExport::BtnBrowseClick);
}

void TFormExport::SetImportMode() {
    setWindowTitle(kImportCaption);
    LabelFolder->setText(kImportFromFolder);
}

bool TFormExport::ImportMode() const {
    return LabelFolder->text() == kImportFromFolder;
}

std::string TFormExport::JoinFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool TFormExport::ValidMemberName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos &&
           name.find("..") == std::string::npos;
}

bool TFormExport::OwnFileName(const std::string& name) {
    static constexpr const char* kOwnExtensions[] = {".RPG", ".RP3", ".~RP", ".~P3", ".KEY",
                                                     ".DEF", ".XLT", ".PRM", ".HLP"};
    std::string ext = orvale::ExtractFileExt(name);
    for (const char* own : kOwnExtensions)
        if (SameText(ext, own))
            return true;
    return false;
}

// -- Buttons

void TFormExport::BtnBrowseClick() {
    if (auto folder = BrowseDirDlg.Execute(this, PathFromQt(EditFold->text())))
        EditFold->setText(PathToQt(*folder));
}

void TFormExport::BtnOKClick() {
    if (Running_)
        return;
    std::string folder = PathFromQt(EditFold->text());
    std::string name = PathFromQt(EditFile->text());
    // The member is read from or written to a file of that name in the folder and in the
    // working directory: a name that reaches elsewhere is not taken.
    if (!ValidMemberName(name)) {
        Box.Error(kInvalidMemberName);
        EditFile->setFocus();
        return;
    }
    // The export writes the member into the working directory first, replacing what is there.
    if (!ImportMode() && OwnFileName(name)) {
        Box.Error(kOwnFileMemberName);
        EditFile->setFocus();
        return;
    }
    if (folder.empty()) {
        Box.Error(kInvalidMembersFolder);
        EditFold->setFocus();
        return;
    }
    Cancelled = false;
    Done = false;
    SetRunning(true);
    if (ImportMode())
        Import(folder, name);
    else
        Export(folder, name);
    SetRunning(false);
    if (Cancelled)
        QDialog::reject();
    else
        accept();
}

void TFormExport::BtnCancelClick() {
    Cancelled = true;
    if (Running_)
        OndrelCancelOp();
    else
        QDialog::reject();
}

void TFormExport::reject() {
    BtnCancelClick();
}

void TFormExport::closeEvent(QCloseEvent* event) {
    Cancelled = true;
    if (!Running_) {
        QDialog::closeEvent(event);
        return;
    }
    // The dialog goes when the conversion has returned.
    OndrelCancelOp();
    event->ignore();
}

void TFormExport::SetRunning(bool running) {
    Running_ = running;
    BtnOK->setEnabled(!running);
    EditFold->setEnabled(!running);
    EditFile->setEnabled(!running);
    BtnBrowse->setEnabled(!running);
    Animation->setVisible(running);
}

// -- Conversions

void TFormExport::Import(const std::string& folder, const std::string& name) {
    std::string source = JoinFolder(folder, name);
    ConvertedFile = WorkingDir + orvale::ChangeFileExt(name, ".RP3");
    // A member kept in the working directory under its converted name would be overwritten
    // by its own conversion, and deleted with it after the import.
    std::error_code same;
    FailureReason.clear();
    if (std::filesystem::equivalent(source, ConvertedFile, same)) {
        FailureReason = ConvertedFile + ": the member would be converted over itself";
        return;
    }
    EBCDicToASCII(source, ConvertedFile, WorkingDir + ondrel::HostToPcFile, RecordLength,
                  &KeepResponsive);
    std::string reason;
    int status = OndrelLastError(reason);
    if (status == OndrelCancelled)
        Cancelled = true;
    else if (status != OndrelOk)
        FailureReason = reason;
    // A failed conversion leaves whatever file had that name as it was; only a converted
    // file counts as the member.
    Done = status == OndrelOk && !Cancelled;
}

void TFormExport::Export(const std::string& folder, const std::string& name) {
    std::string memberFile = WorkingDir + name;
    ASCIIToEBCDic(ConvertedFile, memberFile, WorkingDir + ondrel::PcToHostFile, RecordLength,
                  &KeepResponsive);
    std::string reason;
    int status = OndrelLastError(reason);
    if (status == OndrelCancelled || Cancelled) {
        // Nothing goes to the host; the work files stay.
        Cancelled = true;
        return;
    }
    if (status != OndrelOk) {
        ExportFailed(memberFile, reason);
        return;
    }
    if (!ShellCopyToAS(memberFile, folder, reinterpret_cast<void*>(winId()), false)) {
        OndrelLastError(reason);
        ExportFailed(memberFile, reason);
        return;
    }
    QApplication::processEvents();
    Done = true;
}

void TFormExport::ExportFailed(const std::string& memberFile, const std::string& reason) {
    std::remove(memberFile.c_str());
    std::remove(ConvertedFile.c_str());
    Box.Error(reason.empty() ? std::string(kCantExportMember)
                             : std::string(kCantExportMember) + "\n" + reason);
}
