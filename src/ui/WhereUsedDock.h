#pragma once

// Where Used: a dock that lists every member and line that defines or uses a name (a file,
// record format, field, subroutine, program, data area or copy member), with its role, from
// the library's index. A double click opens the member on that line; the list can be saved as
// CSV.

#include "library/LibraryIndex.h"

#include <QDockWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class TWhereUsedDock : public QDockWidget {
    Q_OBJECT
public:
    explicit TWhereUsedDock(QWidget* parent = nullptr);

    // The index asked (owned by the library panel); none while no library is open.
    void SetIndex(orvale::library::LibraryIndex* index);
    // Asks the index for Name (of the kind chosen) and shows the hits; their number.
    int Show(const QString& name);
    // Writes the list as CSV (member, line, role, kind, name, operation, text); false with
    // Error when the file cannot be written.
    bool SaveCsv(const std::string& path, std::string& error) const;
    const std::vector<orvale::library::THit>& Hits() const { return Found; }

    QLineEdit* EditName = nullptr;
    QComboBox* ComboKind = nullptr;
    QPushButton* BtnFind = nullptr;
    QPushButton* BtnSave = nullptr;
    QTreeWidget* ListHits = nullptr;
    QLabel* LabelCount = nullptr;

signals:
    void PlaceActivated(const QByteArray& member, int line);
    // The user asked to save the list: the frame asks for the file.
    void SaveRequested();

private:
    orvale::library::LibraryIndex* Index = nullptr;
    std::vector<orvale::library::THit> Found;
};

// A CSV field: quoted when it holds a comma, a quote or a line end, quotes doubled.
std::string CsvField(const std::string& text);
