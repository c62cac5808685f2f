#pragma once

// The library panel: a dock that lists the members of the open library (source file, member,
// type, text, lines, changed), filtered by a name pattern with * and ?, a type and a text, and
// sorted by any column. It keeps the library's index up to date in the background, with a
// progress bar, and hands on the member the user opens with Enter or a double click.

#include "library/LibraryIndex.h"
#include "qtedge/TextEdge.h"

#include <QDockWidget>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QTreeView;
class TMemberTableModel;
class TMemberFilterModel;

class TLibraryPanel : public QDockWidget {
    Q_OBJECT
public:
    // The code page of the members' texts and types.
    orvale::TextEdge Edge;

    explicit TLibraryPanel(QWidget* parent = nullptr);
    ~TLibraryPanel() override;

    // Opens the library folder and brings its index up to date in the background; false with
    // Error when the folder cannot be a library.
    bool OpenLibrary(const std::string& folder, std::string& error);
    bool HasLibrary() const;
    // The library folder, canonical; empty when none is open.
    const std::string& Root() const;
    // The index the window queries (on the window's thread).
    orvale::library::LibraryIndex& Index();
    // Brings the index up to date in the background (nothing while a refresh runs).
    void Refresh();
    bool Busy() const { return Running; }
    // Waits for a refresh that runs (for tests and the close).
    void WaitForRefresh();
    // The member shown selected in the list (path relative to the library), or empty.
    std::string CurrentMember() const;
    // What the last refresh found, and what it had to tell.
    const orvale::library::TRefreshReport& LastReport() const { return Report; }
    QStringList LastNotices() const { return Notices; }
    // The members as the index lists them.
    const std::vector<orvale::library::TMemberInfo>& Members() const;

    QLineEdit* EditFilter = nullptr;
    QComboBox* ComboType = nullptr;
    QLineEdit* EditText = nullptr;
    QTreeView* ListMembers = nullptr;
    QProgressBar* Progress = nullptr;
    QLabel* LabelStatus = nullptr;
    QToolButton* BtnRefresh = nullptr;

signals:
    // The user opened a member (path relative to the library, in the file system's bytes).
    void MemberActivated(const QByteArray& member);
    // The index was brought up to date (the list shows it).
    void IndexRefreshed();

private:
    void Reload();
    void RefreshDone(bool ok, const QString& error);
    void ApplyFilter();

    std::unique_ptr<orvale::library::LibraryIndex> Idx;
    TMemberTableModel* Model = nullptr;
    TMemberFilterModel* Filter = nullptr;
    std::thread Worker;
    std::atomic<bool> Cancel{false};
    bool Running = false;
    bool Again = false;
    orvale::library::TRefreshReport Report;
    QStringList Notices;
};
