#include "ui/HostTransfer.h"

#include "frame/Options.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/EditorsHolder.h"
#include "ui/FileNames.h"
#include "ui/FormExport.h"
#include "ui/Latin1.h"

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
        window.setWindowTitle(PathToQt(path));
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
    std::string source = transfer.ProgramDir + orvale::ChangeFileExt(doc.FileName, ".RP3");
    // The member would be made from whatever an earlier export left there.
    if (!doc.WriteSource(source))
        return false;

    TFormExport dialog(transfer.Box, transfer.Parent ? transfer.Parent : &window);
    dialog.ConvertedFile = source;
    // A program of a dated member goes back with its numbers and dates.
    dialog.Dated = doc.Dated;
    dialog.RecordLength = ExportRecordLength(source, options.RecordLength, doc.Dated);
    dialog.EditFile->setText(PathToQt(orvale::ChangeFileExt(doc.FileName, ".MBR")));
    dialog.EditFold->setText(PathToQt(transfer.Options.LastExportFolder));
    dialog.WorkingDir = transfer.ProgramDir;
    bool accepted = RunModal(transfer, dialog);
    transfer.Options.LastExportFolder = PathFromQt(dialog.EditFold->text());
    return accepted && dialog.Done && !dialog.Cancelled;
}

namespace {

int ValidRecordLength(int length) {
    return std::clamp(length, 1, 255);
}

} // namespace

int ExportRecordLength(const std::string& sourceFile, int option, bool dated) {
    size_t longest = 0;
    StringList lines;
    if (orvale::ReadTextFile(sourceFile, lines))
        for (const std::string& line : lines) {
            size_t end = line.find_last_not_of(' ');
            size_t length = end == std::string::npos ? 0 : end + 1;
            // The 12 digits of a dated line are no columns of its record.
            longest = std::max(longest, dated ? length - std::min<size_t>(length, 12) : length);
        }
    return ValidRecordLength(std::max(option, static_cast<int>(std::min<size_t>(longest, 255))));
}

std::optional<TImportedMember> ImportFromHost(THostTransfer& transfer) {
    TFormExport dialog(transfer.Box, transfer.Parent);
    dialog.SetImportMode();
    dialog.RecordLength = ValidRecordLength(transfer.Options.Export.RecordLength);
    dialog.Dated = transfer.Options.Export.DatedRecords;
    dialog.EditFile->clear();
    dialog.EditFold->setText(PathToQt(transfer.Options.LastExportFolder));
    dialog.WorkingDir = transfer.ProgramDir;
    bool accepted = RunModal(transfer, dialog);
    transfer.Options.LastExportFolder = PathFromQt(dialog.EditFold->text());
    if (!accepted || dialog.Cancelled)
        return std::nullopt;
    if (!dialog.Done || !orvale::FileExists(dialog.ConvertedFile)) {
        transfer.Box.Error(dialog.FailureReason.empty()
                               ? std::string(kCantImportMember)
                               : std::string(kCantImportMember) + "\n" + dialog.FailureReason);
        return std::nullopt;
    }
    return TImportedMember{dialog.ConvertedFile, dialog.TakeWorkFolder()};
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
