#pragma once

// The program's settings as the main frame holds them between the login and its close, and
// their options file "Orvale.DEF" in the program directory. The compiler options are not kept
// here: the compiler-options form holds them (TFormGenRPG) and the file functions take it
// beside these.

#include "frame/ReopenList.h"
#include "rpgprogram/GenRPGOptions.h"

#include <string>

namespace orvale {
class ProfileFile;
}

inline constexpr const char* kOptionsFileName = "Orvale.DEF";

// Colours are the options file's integers: blue in the high byte, red in the low byte.
inline constexpr int kNavyColor = 0x800000;
inline constexpr int kYellowColor = 0x00FFFF;

// The editor font sizes offered by every font list, "6" to "18"; an index picks one.
inline constexpr int kFirstFontSize = 6;
inline constexpr int kFontSizeCount = 13;
// The size of an index into the font list; an index outside it gives 12.
int FontSizeForIndex(int index);

inline constexpr int kMinTabSpaces = 2;
inline constexpr int kMaxTabSpaces = 10;

struct TEditorOptions {
    int BackColor = kNavyColor;
    int TextColor = kYellowColor;
    int FontSizeIdx = 4; // "10"
    bool UseRightButton = false;
    bool EditorPopupMemu = true;
    bool AutoIndent = false;
    bool BackUnindent = false;
    bool CursThrTabs = false;
    int TabSpaces = 2;
    // Section text files are written as Latin-1 with CR LF instead of UTF-8 with LF.
    bool TextFilesLatin1 = false;
    // The code page of the text of a new or imported program (its own setting then holds).
    std::string CodePage = "ISO-8859-1";
    // A dated member's change dates shown as YY/MM/DD, not in the user's short date format.
    bool HostDateFormat = false;
};

// Which document events the history log records.
struct THistoryOptions {
    bool AddSec = true;
    bool DelSec = true;
    bool ModSec = true;
    bool ModPrp = true;
    bool ModSPr = true;
};

// Which restore points of a section's text are kept.
struct TUndoOptions {
    bool Previous = true;
    bool LastOpen = true;
    bool LastSave = true;
};

// What runs before an export.
struct TExportOptions {
    bool SaveOnExport = true;
    bool CompOnExport = true;
    bool BuilOnExport = true; // the compile before the export is a full build
    // Bytes per record of the host's members, 1 to 255: an import reads records of this
    // length; an export writes at least this many, more when a line of the member is longer.
    int RecordLength = 80;
    // The host's members begin each record with the sequence number and date (12 zoned
    // digits): an import reads them into a dated member. A program of a dated member is always
    // exported so.
    bool DatedRecords = false;
    // How an imported source member's lines are read: 0 dated when every line begins with
    // the 12 digits of sequence number and date, 1 always dated, 2 never (see DatedReading).
    int DatedReading = 0;
    // The host's code page, read through the system's converters (IBM037, IBM-937 ...);
    // empty: the translation tables of the program directory. The PC side is the program's
    // code page (for an import, the code page of new programs).
    std::string HostCodePage;
};

// The main window as it was left: its place and size and its panels (the desktop's saved
// forms, as text), and whether the button bar was shown.
struct TWindowOptions {
    std::string Geometry;
    std::string State;
    bool ButtonBar = true;
};

struct TOptions {
    TEditorOptions Editor;
    THistoryOptions History;
    TUndoOptions Undo;
    TExportOptions Export;
    // Folder last used by the member import and export dialogs.
    std::string LastExportFolder = DefaultExportFolder();
    // Folder of the program last opened or saved: where new programs are offered a place.
    std::string LastProgramFolder;
    TWindowOptions Window;
    TReopenList Reopen;

    // The user's home folder with a trailing separator ("/" when there is no home).
    static std::string DefaultExportFolder();
};

// Fills Options and Compiler from the profile, in the file's order; a missing key leaves its
// value as it was (the default, for fresh records). A tab width outside 2 to 10 is brought
// into that range. The recent-programs keys are added oldest first, so that key "0" ends on
// top; "Void" and empty values are not programs and are left out.
void ReadOptions(const orvale::ProfileFile& profile, TOptions& options, TFormGenRPG& compiler);
// Writes every key in the file's order, then the recent-programs list from the top under keys
// "0", "1", ... ("0=Void" for an empty list). Keys of a longer earlier list stay in the file.
// False when a key could not be stored; the other keys are written all the same.
bool WriteOptions(orvale::ProfileFile& profile, const TOptions& options,
                  const TFormGenRPG& compiler);

// The options file of a program directory (which ends with its separator).
std::string OptionsFilePath(const std::string& programDir);

// Reads the options file into fresh defaults. A missing file gives the defaults and true; an
// unreadable one gives the defaults, false and Error.
bool LoadOptionsFile(const std::string& path, TOptions& options, TFormGenRPG& compiler,
                     std::string* error = nullptr);
// Writes the options into the file, keeping whatever else it holds (comments, other sections,
// recent-program keys beyond the current list). When the file cannot be read or written it is
// left as it was; a value that cannot be stored is left out of a file written all the same.
// Either way the result is false and Error names the file.
bool SaveOptionsFile(const std::string& path, const TOptions& options, const TFormGenRPG& compiler,
                     std::string* error = nullptr);
