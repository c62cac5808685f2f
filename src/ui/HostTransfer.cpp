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

#include <cstdio>

namespace {

bool RunModal(THostTransfer& transfer, QDialog& dialog) {
    if (transfer.RunDialog)
        return transfer.RunDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

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
    // A compile that found errors or warnings has shown them; nothing is exported.
    if (options.CompOnExport && !window.CompileProgram(options.BuilOnExport))
        return false;

    window.LastRpgViewSection = nullptr;
    std::string source = transfer.ProgramDir + orvale::ChangeFileExt(doc.FileName, ".RP3");
    // The member would be made from whatever an earlier export left there.
    if (!doc.WriteSource(source))
        return false;

    TFormExport dialog(transfer.Box, transfer.Parent ? transfer.Parent : &window);
    dialog.ConvertedFile = source;
    dialog.RecordLength = 80;
    dialog.EditFile->setText(PathToQt(orvale::ChangeFileExt(doc.FileName, ".MBR")));
    dialog.EditFold->setText(PathToQt(transfer.Options.LastExportFolder));
    dialog.WorkingDir = transfer.ProgramDir;
    bool accepted = RunModal(transfer, dialog);
    transfer.Options.LastExportFolder = PathFromQt(dialog.EditFold->text());
    return accepted && dialog.Done && !dialog.Cancelled;
}

std::optional<std::string> ImportFromHost(THostTransfer& transfer) {
    TFormExport dialog(transfer.Box, transfer.Parent);
    dialog.SetImportMode();
    dialog.RecordLength = 80;
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
    return dialog.ConvertedFile;
}

bool ImportFromHost(THostTransfer& transfer, const std::function<void(const std::string&)>& open) {
    std::optional<std::string> converted = ImportFromHost(transfer);
    if (!converted)
        return false;
    open(*converted);
    std::remove(converted->c_str());
    return true;
}

std::string ImportedProgramCaption(const std::string& convertedFile) {
    return orvale::ChangeFileExt(orvale::ExtractFileName(convertedFile), ".RPG");
}
