#pragma once

// The two grids of the program's settings page: setting names (bold, read-only) beside their
// values (editable). They scroll together and keep the same row selected. An edit that
// changes a value's text is reported through ValueEdited.

#include "qtedge/TextEdge.h"
#include <QString>
#include <QWidget>

#include <string>

class QTableWidget;

class TSettingsGrids : public QWidget {
    Q_OBJECT
public:
    // The code page of the properties it shows.
    orvale::TextEdge Edge;

    explicit TSettingsGrids(QWidget* parent = nullptr);

    QTableWidget* StringGridName = nullptr;
    QTableWidget* StringGridValue = nullptr;
    // The text of the value cell being edited, as it was when the edit started.
    QString CellTextBefore;

    int RowCount() const;
    void SetRowCount(int rows);
    // Grows the grids when Row lies past their end.
    void SetRow(int row, const std::string& name, const std::string& value);
    // Cells the grids do not have read as empty.
    std::string Name(int row) const;
    std::string Value(int row) const;

signals:
    // The user finished editing a value cell with a text other than CellTextBefore.
    void ValueEdited(int row);

private:
    void FollowRow(QTableWidget* from, QTableWidget* to, int row);
    void EditStarted(int row);
    void EditFinished(int row);

    bool Following = false;
};
