#pragma once

// Find in Library: a dock with the text to find, its options (case, whole words, a column
// range as the host's tool has) and a scope (the whole library, the source file of the member
// selected, or member types), and the hits grouped by member with their line and text. The
// search runs in the background; a double click opens the member on that line.

#include "library/LibraryFind.h"

#include <QDockWidget>

#include <atomic>
#include <string>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

class TLibraryFindDock : public QDockWidget {
    Q_OBJECT
public:
    explicit TLibraryFindDock(QWidget* parent = nullptr);
    ~TLibraryFindDock() override;

    // The library searched, and the source file of the member selected in the library panel
    // (for the scope "source file").
    void SetLibrary(const std::string& root);
    void SetCurrentSourceFile(const std::string& sourceFile);
    // Starts a search with the options shown; false (with the reason shown) when they are bad.
    bool Start();
    void Stop();
    bool Busy() const { return Running; }
    void WaitForSearch();
    // The options as the controls give them.
    orvale::library::TFindOptions Options() const;

    QLineEdit* EditText = nullptr;
    QCheckBox* CheckCase = nullptr;
    QCheckBox* CheckWord = nullptr;
    QSpinBox* SpinFrom = nullptr;
    QSpinBox* SpinTo = nullptr;
    QComboBox* ComboScope = nullptr;
    QLineEdit* EditTypes = nullptr;
    QPushButton* BtnFind = nullptr;
    QTreeWidget* TreeResults = nullptr;
    QLabel* LabelCounts = nullptr;

    enum Scope { LibraryScope, SourceFileScope, TypesScope };

signals:
    // A hit was opened: the member (path relative to the library) and its line.
    void PlaceActivated(const QByteArray& member, int line);
    void SearchFinished();

private:
    void AddHits(const QByteArray& member, const QList<QPair<int, QString>>& hits);
    void Finished(const orvale::library::TFindSummary& summary, const QString& error);
    void ItemActivated(QTreeWidgetItem* item);

    std::string Root;
    std::string SourceFile;
    std::thread Worker;
    std::atomic<bool> Cancel{false};
    bool Running = false;
    int Lines = 0;
};
