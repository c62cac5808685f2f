#pragma once

// The member dialog of the host transfers: one dialog for both directions. Exporting, it
// converts the built RPG/400 source into an EBCDIC member in the working directory and copies
// the member into the host's members folder; importing, it converts a member of that folder
// into RPG/400 source in the working directory. The conversion runs inside the OK click; the
// dialog stays responsive meanwhile, so that Cancel can stop it.

#include "ui/BrowserFold.h"

#include <QDialog>

#include <memory>
#include <string>

class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
struct TOndrelConversion;
class QTemporaryDir;

namespace orvale {
class Prompter;
}

// What an export is about to send: the built source as it stands.
struct TMemberPreview {
    size_t Lines = 0;
    // Of them, the banner lines the compile wrote (the indicator prefix and a code in columns
    // 75 on), which mark the sections for a later import.
    size_t BannerLines = 0;
    // The longest line, trailing blanks left out, with and without the banner lines.
    size_t Longest = 0;
    size_t LongestWithoutBanners = 0;
    std::string BannerPrefix;
    // Each line begins with the 12 digits of its sequence number and date, which are no
    // columns of its record (the lengths above leave them out).
    bool Dated = false;
};

// Whether a line of the built source is a banner line the compile added, in the columns after
// the 12 digits of a dated line.
bool IsBannerLine(const std::string& line, const std::string& prefix, bool dated);

class TFormExport : public QDialog {
    Q_OBJECT
public:
    explicit TFormExport(orvale::Prompter& prompter, QWidget* parent = nullptr);

    QLabel* LabelFolder = nullptr;
    QLineEdit* EditFold = nullptr;
    QPushButton* BtnBrowse = nullptr;
    QLabel* LabelFile = nullptr;
    QLineEdit* EditFile = nullptr;
    // Bytes per record. Exporting, what the member is written with; importing, 0 ("Automatic")
    // lets the member's records tell it.
    QSpinBox* EditRecordLength = nullptr;
    // Exporting: whether the banner lines go to the host, and what will be sent.
    QCheckBox* CheckBanners = nullptr;
    QLabel* LabelSummary = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
    // Runs while a conversion runs.
    QProgressBar* Animation = nullptr;
    TBrowserFold BrowseDirDlg;

    // Export: the RPG/400 source file to convert, set by the caller. Import: the converted
    // file, set by the dialog in its work folder.
    std::string ConvertedFile;
    // The program directory, with its trailing separator: the conversion tables are there.
    std::string WorkingDir;
    // Bytes per record of the last conversion (after the 12 of a dated record). Importing, set
    // by the caller to the length taken when the member's records do not tell theirs.
    int RecordLength = 80;
    // The records begin with the sequence number and date, as zoned digits: the host's source
    // file layout, read into and written from a dated member. Set by the caller.
    bool Dated = false;
    // The host's code page (empty: the translation tables of WorkingDir) and the PC's.
    std::string HostCodePage;
    std::string PcCodePage;
    // What the export sends (set with ShowPreview).
    TMemberPreview Preview;
    // Where the last export put its member, and how many records it has.
    std::string Destination;
    size_t RecordsSent = 0;
    // A warning of the last conversion (a partial record kept, lines cut), shown once the
    // conversion is done; empty when there was none.
    std::string Warning;
    // Set by Cancel and by closing the dialog.
    bool Cancelled = false;
    // The last OK converted the member: an import wrote ConvertedFile, an export copied its
    // member into the folder. A failure leaves it false.
    bool Done = false;
    // Why the last import failed, in the system's words (empty when it did not say).
    std::string FailureReason;

    // Turns the dialog to the import direction.
    void SetImportMode();
    // Exporting: shows what the export will send, with records of RecordLength bytes.
    void ShowPreview(const TMemberPreview& preview, int recordLength);
    bool SendsBanners() const;
    // What the export will send with the choices made, in a sentence or two.
    std::string Summary() const;
    // The direction is told by the folder label.
    bool ImportMode() const;
    bool Running() const { return Running_; }

    void BtnOKClick();
    void BtnCancelClick();
    void BtnBrowseClick();
    // Escape works as Cancel.
    void reject() override;

    // Folder + Name, with one separator between them.
    static std::string JoinFolder(const std::string& folder, const std::string& name);
    // The file of a member in Folder: the member's ".MBR" file, found ignoring case when only
    // a file of another case is there (members copied by other tools).
    static std::string MemberFileIn(const std::string& folder, const std::string& member);
    // The private folder an import converted into (removed with the dialog, or taken over
    // by the caller with TakeWorkFolder).
    std::unique_ptr<QTemporaryDir> TakeWorkFolder();
    ~TFormExport() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool ChooseImportLength(const std::string& member, const std::string& name);
    // The conversion of the dialog's choices; Table File is the translation file used without
    // a host code page.
    TOndrelConversion Conversion(const char* tableFile) const;
    void Import(const std::string& folder, const std::string& name);
    void Export(const std::string& folder, const std::string& name);
    void ExportFailed(const std::string& memberFile, const std::string& reason);
    void SetRunning(bool running);

    orvale::Prompter& Box;
    bool Running_ = false;
    // The work files of one conversion live here: a folder only this run can write, removed
    // with what is in it, so that no member name can reach any other file.
    std::unique_ptr<QTemporaryDir> WorkFolder;
};

inline constexpr const char* kExportCaption = "Export EBCDIC AS/400 Member";
inline constexpr const char* kImportCaption = "Import EBCDIC AS/400 Member";
inline constexpr const char* kExportToFolder = "Export to Folder:";
inline constexpr const char* kImportFromFolder = "Import from Folder";
inline constexpr const char* kInvalidMemberName =
    "Invalid Member Name! A member name has 1 to 10 characters: the first a letter or $, # or @, "
    "the others letters, digits or $, #, @, _ or . (a final .MBR is taken as the member file's "
    "extension).";
inline constexpr const char* kNoWorkFolder = "Sorry, no private work folder could be made.";
inline constexpr const char* kInvalidMembersFolder = "Invalid Folder! Select the members folder.";
inline constexpr const char* kCantExportMember = "Sorry can't Export the member!";
inline constexpr const char* kAutomaticRecordLength = "Automatic";

// The question an import asks before it reads a member whose records do not read as RPG/400
// source at Length bytes (Share percent do; Found is the length they do read at, 0 for none).
std::string MisreadMemberQuestion(const std::string& member, int length, int share, int found,
                                  int foundShare);
// What a successful export says.
std::string ExportedMemberMessage(const std::string& member, const std::string& destination,
                                  size_t records, int recordLength);
