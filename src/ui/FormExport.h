#pragma once

// The member dialog of the host transfers: one dialog for both directions. Exporting, it
// converts the built RPG/400 source into an EBCDIC member in the working directory and copies
// the member into the host's members folder; importing, it converts a member of that folder
// into RPG/400 source in the working directory. The conversion runs inside the OK click; the
// dialog stays responsive meanwhile, so that Cancel can stop it.

#include "ui/BrowserFold.h"

#include <QDialog>

#include <string>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orvale {
class Prompter;
}

class TFormExport : public QDialog {
    Q_OBJECT
public:
    explicit TFormExport(orvale::Prompter& prompter, QWidget* parent = nullptr);

    QLabel* LabelFolder = nullptr;
    QLineEdit* EditFold = nullptr;
    QPushButton* BtnBrowse = nullptr;
    QLabel* LabelFile = nullptr;
    QLineEdit* EditFile = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
    // Runs while a conversion runs.
    QProgressBar* Animation = nullptr;
    TBrowserFold BrowseDirDlg;

    // Export: the RPG/400 source file to convert, set by the caller. Import: the converted
    // file, set by the dialog.
    std::string ConvertedFile;
    // The program directory, with its trailing separator: the conversion tables and the work
    // files are there.
    std::string WorkingDir;
    int RecordLength = 80;
    // Set by Cancel and by closing the dialog.
    bool Cancelled = false;
    // The last OK converted the member: an import wrote ConvertedFile, an export copied its
    // member into the folder. A failure leaves it false.
    bool Done = false;
    // Why the last import failed, in the system's words (empty when it did not say).
    std::string FailureReason;

    // Turns the dialog to the import direction.
    void SetImportMode();
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
    // A member name that names a file in the folder itself: not empty, no folder separator and
    // no "..".
    static bool ValidMemberName(const std::string& name);
    // Whether an exported member of that name would be written over one of the files the
    // program directory keeps: programs, sources and their backups, the user list, the options,
    // the translation tables, the prompt file and help.
    static bool OwnFileName(const std::string& name);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Import(const std::string& folder, const std::string& name);
    void Export(const std::string& folder, const std::string& name);
    void ExportFailed(const std::string& memberFile, const std::string& reason);
    void SetRunning(bool running);

    orvale::Prompter& Box;
    bool Running_ = false;
};

inline constexpr const char* kExportCaption = "Export EBCDIC AS/400 Member";
inline constexpr const char* kImportCaption = "Import EBCDIC AS/400 Member";
inline constexpr const char* kExportToFolder = "Export to Folder:";
inline constexpr const char* kImportFromFolder = "Import from Folder";
inline constexpr const char* kInvalidMemberName =
    "Invalid Member Name! Type the name of a member file of the folder, without \"/\", \"\\\" "
    "or \"..\".";
inline constexpr const char* kOwnFileMemberName =
    "Invalid Member Name! A member is written to the program directory before it is copied: "
    "give it a name that is not one of Orvale's own files (for example PAYROLL.MBR).";
inline constexpr const char* kInvalidMembersFolder = "Invalid Folder! Select the members folder.";
inline constexpr const char* kCantExportMember = "Sorry can't Export the member!";
