#include "ui/FormExport.h"

#include "document/ParseString.h"
#include "frame/MemberName.h"
#include "ondrel/CodePageTables.h"
#include "ondrel/MemberConversion.h"
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
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace {

// Called by the library once per record: keeps the dialog alive, so that a click on Cancel
// reaches the running conversion.
void KeepResponsive() {
    QApplication::processEvents();
}

std::string WorkPath(const QTemporaryDir& folder, const std::string& name) {
    return PathFromQt(folder.path()) + "/" + name;
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

std::string TFormExport::MemberFileIn(const std::string& folder, const std::string& member) {
    const std::string file = orvale::MemberFileName(member);
    const std::string exact = JoinFolder(folder, file);
    std::error_code error;
    if (std::filesystem::exists(exact, error))
        return exact;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && SameText(entry.path().filename().string(), file))
            return entry.path().string();
    return exact;
}

TFormExport::~TFormExport() = default;

std::unique_ptr<QTemporaryDir> TFormExport::TakeWorkFolder() {
    return std::move(WorkFolder);
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
    // Only a name the host takes: it reaches the member's own file and nothing else.
    std::optional<std::string> name = orvale::MemberNameOf(PathFromQt(EditFile->text()));
    if (!name) {
        Box.Error(kInvalidMemberName);
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
    Warning.clear();
    WorkFolder = std::make_unique<QTemporaryDir>();
    if (!WorkFolder->isValid()) {
        Box.Error(std::string(kNoWorkFolder) + "\n" + PathFromQt(WorkFolder->errorString()));
        WorkFolder.reset();
        return;
    }
    SetRunning(true);
    if (ImportMode())
        Import(folder, *name);
    else
        Export(folder, *name);
    SetRunning(false);
    // The export's member has been copied (or not): its work folder goes now. An import's
    // converted file stays until the caller has read it.
    if (!ImportMode() || !Done)
        WorkFolder.reset();
    if (!Warning.empty())
        Box.Warning(Warning);
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
    std::string source = MemberFileIn(folder, name);
    ConvertedFile = WorkPath(*WorkFolder, name + ".RP3");
    FailureReason.clear();
    TOndrelConversion conversion;
    conversion.RecordLength = RecordLength;
    conversion.Dated = Dated;
    conversion.TableFile = WorkingDir + ondrel::HostToPcFile;
    EBCDicToASCIIEx(source, ConvertedFile, conversion, &KeepResponsive);
    std::string reason;
    int status = OndrelLastError(reason);
    if (status == OndrelCancelled)
        Cancelled = true;
    else if (!OndrelWritten(status))
        FailureReason = reason;
    else if (status != OndrelOk)
        Warning = reason;
    Done = OndrelWritten(status) && !Cancelled;
}

void TFormExport::Export(const std::string& folder, const std::string& name) {
    std::string memberFile = WorkPath(*WorkFolder, orvale::MemberFileName(name));
    TOndrelConversion conversion;
    conversion.RecordLength = RecordLength;
    conversion.Dated = Dated;
    conversion.TableFile = WorkingDir + ondrel::PcToHostFile;
    ASCIIToEBCDicEx(ConvertedFile, memberFile, conversion, &KeepResponsive);
    std::string reason;
    int status = OndrelLastError(reason);
    if (status == OndrelCancelled || Cancelled) {
        // Nothing goes to the host.
        Cancelled = true;
        return;
    }
    if (!OndrelWritten(status)) {
        ExportFailed(memberFile, reason);
        return;
    }
    if (status != OndrelOk)
        Warning = reason;
    if (!ShellCopyToAS(memberFile, folder, reinterpret_cast<void*>(winId()), false)) {
        OndrelLastError(reason);
        Warning.clear();
        ExportFailed(memberFile, reason);
        return;
    }
    QApplication::processEvents();
    Done = true;
}

void TFormExport::ExportFailed(const std::string& memberFile, const std::string& reason) {
    std::error_code ignored;
    std::filesystem::remove(memberFile, ignored);
    std::filesystem::remove(ConvertedFile, ignored);
    Box.Error(reason.empty() ? std::string(kCantExportMember)
                             : std::string(kCantExportMember) + "\n" + reason);
}
