#pragma once

// The two host transfers of the frame: Export To AS/400 (the active program is built into
// RPG/400 source, converted into an EBCDIC member and copied into the members folder) and
// Import From AS/400 (a member of that folder is converted into RPG/400 source and imported
// into a new program window).

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QTemporaryDir;
class TEditorsHolder;
struct TOptions;

namespace orvale {
class Prompter;
}

// What the transfers take from the frame.
struct THostTransfer {
    // The export flags, and the members folder last used (kept up to date here).
    TOptions& Options;
    // The program directory with its trailing separator: tables and work files.
    std::string ProgramDir;
    orvale::Prompter& Box;
    // The window the member dialog is modal to (for the export: the program's window).
    QWidget* Parent = nullptr;
    // Runs the member dialog modally; true when it was closed with OK. Tests replace it.
    std::function<bool(QDialog&)> RunDialog;
};

// Export To AS/400 on the program's window: saves (or commits), compiles when the options say
// so, builds the source into a work folder of its own, and runs the member dialog, which shows
// what the host will receive and proposes a member name made from the program's name. A member
// copied is reported with where it went. False when it stopped before the dialog, or the
// dialog did not copy the member (cancelled or failed).
bool ExportToHost(TEditorsHolder& window, THostTransfer& transfer);

// A member converted by the import: the RPG/400 source in a private work folder, which goes
// (with the file) when this goes.
struct TImportedMember {
    std::string ConvertedFile;
    std::shared_ptr<QTemporaryDir> WorkFolder;
    // The code page of its text when a host code page converted it; empty: the text is in the
    // code page of new programs (the translation tables map single bytes alone).
    std::string CodePage;
};

// The PC side of a conversion through Host Code Page: the program's code page, or, for a
// program in ISO-8859-1, the usual one for the host's (a double-byte host's text needs its
// double-byte PC page). Empty without a host code page.
std::string PcCodePageFor(const std::string& hostCodePage, const std::string& programCodePage);

// Import From AS/400: runs the member dialog, which reads the member with the record length
// its records tell (or the option's when they do not). The converted member, or nothing (the
// dialog was cancelled, or the member could not be converted, which has been reported).
std::optional<TImportedMember> ImportFromHost(THostTransfer& transfer);

// The whole import: when a member was converted, Open makes the new program window from the
// converted file; the file and its work folder are removed afterwards. True when Open ran.
bool ImportFromHost(THostTransfer& transfer, const std::function<void(const std::string&)>& open);

// The caption of the window an imported file opens in: its name with ".RPG".
std::string ImportedProgramCaption(const std::string& convertedFile);

// What an export says when the compile before it stops it.
std::string ExportStoppedMessage(const std::vector<std::string>& sections);
std::string ExportWarningsQuestion(const std::vector<std::string>& sections);
inline constexpr const char* kExportCompileStopped =
    "The member was not exported: the compile was stopped before it ended.";

// Where a program imported from the host is saved: the program directory and the caption.
std::string ImportedProgramPath(const std::string& programDir, const std::string& convertedFile);

// What the built source Source File holds, its banner lines marked by Banner Prefix; with
// Dated, each line begins with the 12 digits of its sequence number and date.
struct TMemberPreview;
TMemberPreview PreviewMember(const std::string& sourceFile, const std::string& bannerPrefix,
                             bool dated = false);

// Record length of the export: the option's, or more when a line of the source is longer
// (up to the 255 a member record holds; longer lines are cut, with a warning).
int ExportRecordLength(const TMemberPreview& preview, int option);
int ExportRecordLength(const std::string& sourceFile, int option, bool dated = false);

inline constexpr const char* kCantImportMember = "Sorry can't Import selected member!";
