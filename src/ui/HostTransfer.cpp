#include "ui/HostTransfer.h"

#include "calvex/MemberRoundTrip.h"
#include "document/HostRecord.h"
#include "frame/MemberName.h"
#include "frame/Options.h"
#include "ondrel/MemberConversion.h"
#include "ondrel/Ondrel.h"
#include "platform/CodePage.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/EditorsHolder.h"
#include "ui/FormExport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

bool RunModal(THostTransfer& transfer, QDialog& dialog) {
    if (transfer.RunDialog)
        return transfer.RunDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

std::string SectionList(const std::vector<std::string>& sections) {
    std::string list;
    for (const std::string& name : sections)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

std::string ExportStoppedMessage(const std::vector<std::string>& sections) {
    return "The member was not exported: the compile found errors in " + SectionList(sections) +
           ". Correct them and export again.";
}

std::string ExportWarningsQuestion(const std::vector<std::string>& sections) {
    return "The compile found warnings in " + SectionList(sections) +
           ". Export the member anyway? (The warning lines are not written into it.)";
}

bool ExportToHost(TEditorsHolder& window, THostTransfer& transfer) {
    TRPGProgram& doc = *window.Document;
    const TExportOptions& options = transfer.Options.Export;
    if (options.SaveOnExport) {
        std::string path = doc.Save();
        window.setWindowTitle(orvale::PathToQt(path));
        if (!doc.Modified)
            window.StatusPanel(TEditorsHolder::ModifiedPanel)->clear();
    } else {
        doc.CommitCurrent();
    }
    // The statistics window has shown what the compile found; what it means for the export is
    // said here. A member never goes to the host with an error line in it, and with warnings
    // only when the user says so (the warning lines are not written into it).
    bool clean = !options.CompOnExport || window.CompileProgram(options.BuilOnExport);
    if (!clean && doc.CompileStopRequested) {
        transfer.Box.Warning(kExportCompileStopped);
        return false;
    }
    std::vector<TSourceRun> runs = doc.SourceRuns();
    std::vector<std::string> failed = SectionsWithDiagnostics(runs, true);
    if (!failed.empty()) {
        transfer.Box.Error(ExportStoppedMessage(failed));
        return false;
    }
    std::vector<std::string> warned = SectionsWithDiagnostics(runs, false);
    doc.ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        if (s && !s->CompileNotes.empty() &&
            std::find(warned.begin(), warned.end(), s->Properties.Name) == warned.end())
            warned.push_back(s->Properties.Name);
        return true;
    });
    if (!warned.empty() &&
        transfer.Box.Show(orvale::Prompter::Kind::Confirmation, ExportWarningsQuestion(warned),
                          orvale::Prompter::Buttons::YesNo) != orvale::Prompter::Answer::Yes)
        return false;

    window.LastRpgViewSection = nullptr;
    // The built source is a work file of this export only: it goes with it.
    QTemporaryDir work;
    if (!work.isValid()) {
        transfer.Box.Error(std::string(kNoWorkFolder) + "\n" +
                           orvale::PathFromQt(work.errorString()));
        return false;
    }
    std::string source =
        orvale::PathFromQt(work.path()) + "/" + orvale::ChangeFileExt(doc.FileName, ".RP3");
    if (!doc.WriteSource(source))
        return false;

    TFormExport dialog(transfer.Box, transfer.Parent ? transfer.Parent : &window);
    dialog.ConvertedFile = source;
    // A program of a dated member goes back with its numbers and dates.
    dialog.Dated = doc.Dated;
    TMemberPreview preview = PreviewMember(source, doc.IndicatorPrefix, doc.Dated);
    dialog.ShowPreview(preview, ExportRecordLength(preview, options.RecordLength));
    std::string member = orvale::MemberNameFor(doc.FileName);
    dialog.EditFile->setText(orvale::PathToQt(orvale::MemberFileName(member)));
    dialog.EditFold->setText(orvale::PathToQt(transfer.Options.LastExportFolder));
    dialog.WorkingDir = transfer.ProgramDir;
    dialog.HostCodePage = transfer.Options.Export.HostCodePage;
    dialog.PcCodePage = PcCodePageFor(dialog.HostCodePage, doc.TextCodePage);
    bool accepted = RunModal(transfer, dialog);
    transfer.Options.LastExportFolder = orvale::PathFromQt(dialog.EditFold->text());
    if (!accepted || !dialog.Done || dialog.Cancelled)
        return false;
    if (auto sent = orvale::MemberNameOf(orvale::PathFromQt(dialog.EditFile->text())))
        member = *sent;
    // A dated record holds the 12 digits of its sequence number and date before its columns.
    const int recordBytes =
        dialog.RecordLength + (dialog.Dated ? static_cast<int>(kRecordWidth) : 0);
    transfer.Box.Information(
        ExportedMemberMessage(member, dialog.Destination, dialog.RecordsSent, recordBytes));
    return true;
}

namespace {

int ValidRecordLength(int length) {
    return std::clamp(length, 1, 255);
}

size_t TrimmedLength(const std::string& line) {
    size_t end = line.find_last_not_of(' ');
    return end == std::string::npos ? 0 : end + 1;
}

} // namespace

TMemberPreview PreviewMember(const std::string& sourceFile, const std::string& bannerPrefix,
                             bool dated) {
    TMemberPreview preview;
    preview.BannerPrefix = bannerPrefix;
    preview.Dated = dated;
    StringList lines;
    if (!orvale::ReadTextFile(sourceFile, lines))
        return preview;
    preview.Lines = lines.size();
    for (const std::string& line : lines) {
        // The 12 digits of a dated line are no columns of its record.
        const size_t length =
            dated ? TrimmedLength(line) - std::min(TrimmedLength(line), kRecordWidth)
                  : TrimmedLength(line);
        preview.Longest = std::max(preview.Longest, length);
        if (IsBannerLine(line, bannerPrefix, dated))
            ++preview.BannerLines;
        else
            preview.LongestWithoutBanners = std::max(preview.LongestWithoutBanners, length);
    }
    return preview;
}

int ExportRecordLength(const TMemberPreview& preview, int option) {
    return ValidRecordLength(
        std::max(option, static_cast<int>(std::min<size_t>(preview.Longest, 255))));
}

int ExportRecordLength(const std::string& sourceFile, int option, bool dated) {
    return ExportRecordLength(PreviewMember(sourceFile, {}, dated), option);
}

std::optional<TImportedMember> ImportFromHost(THostTransfer& transfer) {
    TFormExport dialog(transfer.Box, transfer.Parent);
    dialog.SetImportMode();
    dialog.RecordLength = ValidRecordLength(transfer.Options.Export.RecordLength);
    dialog.Dated = transfer.Options.Export.DatedRecords;
    dialog.EditFile->clear();
    dialog.EditFold->setText(orvale::PathToQt(transfer.Options.LastExportFolder));
    dialog.WorkingDir = transfer.ProgramDir;
    dialog.HostCodePage = transfer.Options.Export.HostCodePage;
    dialog.PcCodePage = PcCodePageFor(dialog.HostCodePage, transfer.Options.Editor.CodePage);
    bool accepted = RunModal(transfer, dialog);
    transfer.Options.LastExportFolder = orvale::PathFromQt(dialog.EditFold->text());
    if (!accepted || dialog.Cancelled)
        return std::nullopt;
    if (!dialog.Done || !orvale::FileExists(dialog.ConvertedFile)) {
        transfer.Box.Error(dialog.FailureReason.empty()
                               ? std::string(kCantImportMember)
                               : std::string(kCantImportMember) + "\n" + dialog.FailureReason);
        return std::nullopt;
    }
    return TImportedMember{dialog.ConvertedFile, dialog.TakeWorkFolder(),
                           dialog.HostCodePage.empty() ? std::string() : dialog.PcCodePage};
}

std::string PcCodePageFor(const std::string& hostCodePage, const std::string& programCodePage) {
    if (hostCodePage.empty())
        return {};
    std::string program = orvale::CodePage::Canonical(programCodePage);
    if (!program.empty() && program != "ISO-8859-1")
        return program;
    std::string usual;
    OndrelDefaultPcCodePage(hostCodePage, usual);
    return usual;
}

bool ImportFromHost(THostTransfer& transfer, const std::function<void(const std::string&)>& open) {
    std::optional<TImportedMember> converted = ImportFromHost(transfer);
    if (!converted)
        return false;
    open(converted->ConvertedFile);
    return true;
}

std::string ImportedProgramPath(const std::string& programDir, const std::string& convertedFile) {
    return programDir + ImportedProgramCaption(convertedFile);
}

std::string ImportedProgramCaption(const std::string& convertedFile) {
    return orvale::ChangeFileExt(orvale::ExtractFileName(convertedFile), ".RPG");
}
