#pragma once

// The dialog that names a new subroutine, array or output specification, or changes the name
// and description of the selected object (with the history purge boxes for the history log).
// It only collects the fields; the editor window checks them after OK.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TFormGestSubSec : public QDialog {
    Q_OBJECT
public:
    explicit TFormGestSubSec(const QString& caption, QWidget* parent = nullptr);

    QLineEdit* EditName = nullptr;
    QLineEdit* EditDesc = nullptr;
    QCheckBox* CheckPurge = nullptr;
    QCheckBox* CheckPurgeAll = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    // Shows or hides the two history purge boxes (hidden at first).
    void ShowPurgeBoxes(bool shown);
};
