#include "ui/FormExport.h"

#include "calvex/MemberRoundTrip.h"
#include "document/HostRecord.h"
#include "document/ParseString.h"
#include "frame/MemberName.h"
#include "ondrel/CodePageTables.h"
#include "ondrel/MemberConversion.h"
#include "ondrel/Ondrel.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
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
    return orvale::PathFromQt(folder.path()) + "/" + name;
}

std::string Number(size_t n) {
    return std::to_string(n);
}

std::string Bytes(int length) {
    return std::to_string(length) + " bytes";
}

} // namespace

std::string MisreadMemberQuestion(const std::string& member, int length, int share, int found,
                                  int foundShare) {
    std::string text = "The records of " + member +
                       " do not read as RPG/400 source in records of " + Bytes(length) + ": only " +
                       std::to_string(share) +
                       "% of them have a specification type in column 6 or a comment in column "
                       "7, so its lines would be read out of their columns.";
    if (found != 0)
        text += " In records of " + Bytes(found) + ", " + std::to_string(foundShare) + "% do.";
    else
        text += " No record length from 7 to 255 bytes reads as source.";
    return text + "\n\nImport it in records of " + Bytes(length) + " anyway?";
}

std::string ExportedMemberMessage(const std::string& member, const std::string& destination,
                                  size_t records, int recordLength) {
    return "The member " + member + " was exported to " + destination + ": " + Number(records) +
           " records of " + Bytes(recordLength) + ".";
}

bool IsBannerLine(const std::string& line, const std::string& prefix, bool dated) {
    if (!dated)
        return calvex::IsAddedBanner(line, prefix);
    return line.size() > kRecordWidth && calvex::IsAddedBanner(line.substr(kRecordWidth), prefix);
}

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
    EditRecordLength = new QSpinBox(this);
    EditRecordLength->setObjectName("EditRecordLength");
    EditRecordLength->setRange(1, 255);
    EditRecordLength->setValue(RecordLength);
    EditRecordLength->setSuffix(" bytes");
    auto* labelLength = new QLabel("&Record Length:", this);
    labelLength->setBuddy(EditRecordLength);
    CheckBanners = new QCheckBox("Send the &banner lines", this);
    CheckBanners->setObjectName("CheckBanners");
    CheckBanners->setChecked(true);
    CheckBanners->hide();
    LabelSummary = new QLabel(this);
    LabelSummary->setObjectName("LabelSummary");
    LabelSummary->setWordWrap(true);
    LabelSummary->hide();

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
    fields->addWidget(labelLength, 2, 0);
    auto* length = new QHBoxLayout;
    length->addWidget(EditRecordLength);
    length->addWidget(CheckBanners);
    length->addStretch(1);
    fields->addLayout(length, 2, 1);
    fields->addWidget(LabelSummary, 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Animation, 1);
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TFormExport::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormExport::BtnCancelClick);
    connect(BtnBrowse, &QPushButton::clicked, this, &TFormExport::BtnBrowseClick);
    auto summarize = [this] { LabelSummary->setText(QString::fromStdString(Summary())); };
    connect(EditRecordLength, &QSpinBox::valueChanged, this, summarize);
    connect(CheckBanners, &QCheckBox::toggled, this, summarize);
}

void TFormExport::SetImportMode() {
    setWindowTitle(kImportCaption);
    LabelFolder->setText(kImportFromFolder);
    EditRecordLength->setRange(0, 255);
    EditRecordLength->setSpecialValueText(kAutomaticRecordLength);
    EditRecordLength->setValue(0);
    EditRecordLength->setToolTip("Automatic: the member's records tell their length");
    CheckBanners->hide();
    LabelSummary->hide();
}

void TFormExport::ShowPreview(const TMemberPreview& preview, int recordLength) {
    Preview = preview;
    RecordLength = recordLength;
    CheckBanners->setText(
        QString::fromStdString("Send the &banner lines (" + Number(preview.BannerLines) + ")"));
    CheckBanners->setChecked(true);
    CheckBanners->setEnabled(preview.BannerLines > 0);
    CheckBanners->setToolTip("Comment lines the compile writes at the head of each section "
                             "(as the compile options say); an import reads the sections, "
                             "their descriptions and dates back from them");
    CheckBanners->show();
    EditRecordLength->setValue(recordLength);
    LabelSummary->setText(QString::fromStdString(Summary()));
    LabelSummary->show();
}

bool TFormExport::SendsBanners() const {
    return CheckBanners->isChecked() || Preview.BannerLines == 0;
}

std::string TFormExport::Summary() const {
    const bool banners = SendsBanners();
    const size_t lines = Preview.Lines - (banners ? 0 : Preview.BannerLines);
    const size_t longest = banners ? Preview.Longest : Preview.LongestWithoutBanners;
    const int length = EditRecordLength->value();
    std::string text = "The host receives " + Number(lines) + " lines, as " + Number(lines) +
                       " records of " + Bytes(length);
    if (Preview.Dated)
        text += " after the " + Bytes(static_cast<int>(kRecordWidth)) +
                " of their sequence number and date";
    if (Preview.BannerLines == 0)
        text += "; the compile wrote no banner lines.";
    else if (banners)
        text += ", " + Number(Preview.BannerLines) + " of them banner lines of the compile.";
    else
        text +=
            "; the " + Number(Preview.BannerLines) + " banner lines of the compile are left out.";
    if (longest > static_cast<size_t>(length))
        text += " Lines longer than " + Number(static_cast<size_t>(length)) +
                " characters lose the text past it (the longest has " + Number(longest) + ").";
    else if (length > 80)
        text += " The longest line has " + Number(longest) + " characters.";
    return text;
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
    if (auto folder = BrowseDirDlg.Execute(this, orvale::PathFromQt(EditFold->text())))
        EditFold->setText(orvale::PathToQt(*folder));
}

void TFormExport::BtnOKClick() {
    if (Running_)
        return;
    std::string folder = orvale::PathFromQt(EditFold->text());
    // Only a name the host takes: it reaches the member's own file and nothing else.
    std::optional<std::string> name = orvale::MemberNameOf(orvale::PathFromQt(EditFile->text()));
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
    if (ImportMode() && !ChooseImportLength(MemberFileIn(folder, *name), *name))
        return;
    if (!ImportMode())
        RecordLength = EditRecordLength->value();
    Cancelled = false;
    Done = false;
    Warning.clear();
    WorkFolder = std::make_unique<QTemporaryDir>();
    if (!WorkFolder->isValid()) {
        Box.Error(std::string(kNoWorkFolder) + "\n" +
                  orvale::PathFromQt(WorkFolder->errorString()));
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
    EditRecordLength->setEnabled(!running);
    CheckBanners->setEnabled(!running && Preview.BannerLines > 0);
    BtnBrowse->setEnabled(!running);
    Animation->setVisible(running);
}

// -- Conversions

// The record length the import reads the member with: the one chosen, or the one its records
// tell (else the caller's). A member whose records do not read as source at that length would
// open as a broken program: the user is asked first, and a No leaves the dialog open with the
// length the records tell.
bool TFormExport::ChooseImportLength(const std::string& member, const std::string& name) {
    const int chosen = EditRecordLength->value();
    const int asked = chosen != 0 ? chosen : std::clamp(RecordLength, 1, 255);
    RecordLength = asked;
    // The fit reads the form type of undated records; the columns of a dated record follow
    // its 12 digits, and a member that is no whole number of them is refused by the conversion.
    if (Dated)
        return true;
    TOndrelRecordFit fit;
    std::error_code error;
    // A member that cannot be read is reported by the conversion; an empty one says nothing.
    if (!MemberRecordFit(member, WorkingDir + ondrel::HostToPcFile, asked, fit) ||
        std::filesystem::file_size(member, error) == 0)
        return true;
    if (chosen == 0 && fit.Found != 0)
        RecordLength = fit.Found;
    const int share = RecordLength == fit.Found ? fit.FoundShare : fit.Share;
    if (share >= OndrelSourceShare)
        return true;
    if (Box.Show(orvale::Prompter::Kind::Confirmation,
                 MisreadMemberQuestion(name, RecordLength, share, fit.Found, fit.FoundShare),
                 orvale::Prompter::Buttons::YesNo) == orvale::Prompter::Answer::Yes)
        return true;
    if (fit.Found != 0)
        EditRecordLength->setValue(fit.Found);
    EditRecordLength->setFocus();
    return false;
}

TOndrelConversion TFormExport::Conversion(const char* tableFile) const {
    TOndrelConversion conversion;
    conversion.RecordLength = RecordLength;
    conversion.Dated = Dated;
    conversion.HostCodePage = HostCodePage;
    conversion.PcCodePage = HostCodePage.empty() ? std::string() : PcCodePage;
    conversion.TableFile = WorkingDir + tableFile;
    return conversion;
}

void TFormExport::Import(const std::string& folder, const std::string& name) {
    std::string source = MemberFileIn(folder, name);
    ConvertedFile = WorkPath(*WorkFolder, name + ".RP3");
    FailureReason.clear();
    EBCDicToASCIIEx(source, ConvertedFile, Conversion(ondrel::HostToPcFile), &KeepResponsive);
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
    std::string source = ConvertedFile;
    size_t records = Preview.Lines;
    if (!SendsBanners()) {
        // The source without its banner lines, beside the member.
        StringList lines;
        std::string reason;
        if (!orvale::ReadTextFile(ConvertedFile, lines, &reason)) {
            ExportFailed(memberFile, reason);
            return;
        }
        std::erase_if(lines, [&](const std::string& line) {
            return IsBannerLine(line, Preview.BannerPrefix, Dated);
        });
        records = lines.size();
        source = WorkPath(*WorkFolder, name + ".RP3");
        if (!orvale::WriteTextFile(source, lines, &reason)) {
            ExportFailed(memberFile, reason);
            return;
        }
    }
    ASCIIToEBCDicEx(source, memberFile, Conversion(ondrel::PcToHostFile), &KeepResponsive);
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
    Destination = JoinFolder(folder, orvale::MemberFileName(name));
    RecordsSent = records;
    Done = true;
}

void TFormExport::ExportFailed(const std::string& memberFile, const std::string& reason) {
    std::error_code ignored;
    std::filesystem::remove(memberFile, ignored);
    std::filesystem::remove(ConvertedFile, ignored);
    Box.Error(reason.empty() ? std::string(kCantExportMember)
                             : std::string(kCantExportMember) + "\n" + reason);
}
