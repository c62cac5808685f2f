#pragma once

// The library in the main frame: File > Open Library... and the recent libraries, the library
// panel, Find in Library (Ctrl+Shift+F), Where Used (Ctrl+Shift+U), Compare With..., and the
// members opened from them: an RPG III member is imported into a program file kept in the
// library's work folder (in the user's data folder, never in the library folder), or that
// program file is opened when it is newer than the member; any other member opens read-only.
// The program windows it opens ask it for their copy members (F3, Ctrl+click) and for the
// fields of their copy members and externally described files (Shift+F4).

#include "library/TextCompare.h"
#include "platform/StringList.h"

#include "ui/LibraryEdge.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QMenu;
class QWidget;
class TCompareWindow;
class TEditorsHolder;
class TLibraryFindDock;
class TLibraryPanel;
class TMainForm;
class TMemberViewer;
class TWhereUsedDock;
struct TLibraryXrefRow;

class TLibraryFrame : public QObject {
    Q_OBJECT
public:
    explicit TLibraryFrame(TMainForm& frame);

    // -- What the user is asked (tests answer in the user's place)
    // A library folder to open; empty when none was chosen.
    std::function<std::string()> ChooseFolder;
    // A file to write (Save) or to read; empty when none was chosen.
    std::function<std::string(const QString& title, bool save)> ChooseFile;
    // Runs the Compare With dialog; true when it was accepted.
    std::function<bool(QDialog&)> RunDialog;
    // Where the recent list and the work folders live; empty: the user's data folder.
    std::string DataRoot;

    // -- Commands
    // Opens a library folder in the panel and puts it first in the recent list; false (with
    // the reason shown) when the folder cannot be a library.
    bool OpenLibrary(const std::string& folder);
    void OpenLibraryItemClick();
    // Opens a member of the open library on Line (from 1; 0 none). The window that shows it,
    // or none when it could not be opened (the reason is shown).
    QWidget* OpenMember(const std::string& member, int line = 0);
    // Opens the copy member a /COPY line of Member names; false when the library holds none.
    bool OpenCopyMember(const std::string& member, const std::string& line);
    // Find in Library, with the word at the cursor or the selection of the active window.
    void FindInLibraryClick();
    // Where Used for the name at the cursor of the active window (or the name typed).
    void WhereUsedClick();
    void SaveWhereUsedCsv();
    // Compares the active window's member or program with what the user picks.
    void CompareWithClick();
    // Opens a comparison window of two texts; Left Edge shows the left one.
    TCompareWindow* Compare(const QString& leftTitle, StringList left, const QString& rightTitle,
                            StringList right, const orvale::TextEdge& leftEdge = LibraryEdge());
    // The library member a window shows (a program imported from it, or a member shown
    // read-only); empty for none.
    std::string MemberOf(const QWidget* window) const;
    // The lines of the library's cross-reference of Field for a window's program.
    std::vector<TLibraryXrefRow> FieldRows(const TEditorsHolder& window, const std::string& field);

    // The menus' items.
    QAction* OpenLibraryItem = nullptr;
    QMenu* RecentLibrariesMenu = nullptr;
    QAction* FindInLibraryItem = nullptr;
    QAction* WhereUsedItem = nullptr;
    QAction* CompareItem = nullptr;
    QAction* ShowPanelItem = nullptr;

    TLibraryPanel* Panel = nullptr;
    TLibraryFindDock* FindDock = nullptr;
    TWhereUsedDock* WhereDock = nullptr;
    QPointer<TCompareWindow> LastCompare;

private:
    void BuildMenus();
    void UpdateRecentMenu();
    std::string Data() const;
    std::string RecentFile() const;
    QWidget* OpenProgram(const std::string& member, int line);
    QWidget* OpenReadOnly(const std::string& member, int line);
    void ShowInFrame(QWidget* window, const QString& caption);
    void Remember(QWidget* window, const std::string& member);
    QWidget* ActiveChild() const;
    // The name at the cursor (or the selection) of the active window.
    std::string WordOfActive() const;
    void ShowMessage(const QString& text);

    TMainForm& Frame;
    std::vector<std::pair<QPointer<QWidget>, std::string>> Opened;
};
