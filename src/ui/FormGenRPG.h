#pragma once

// "Generate RPG/400 Source": the compiler options. The form lives for the whole run and its
// controls are the options: each change is kept at once, so closing it with Cancel keeps what
// was changed. The documents read the options through Options().

#include "qtedge/TextEdge.h"
#include "rpgprogram/GenRPGOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TFormGenRPGWindow : public QDialog {
    Q_OBJECT
public:
    // The code page of the prefix and the change tag.
    orvale::TextEdge Edge;

    explicit TFormGenRPGWindow(QWidget* parent = nullptr);

    const TFormGenRPG& Options() const { return Options_; }
    // Sets the controls (when the options file is read).
    void SetOptions(const TFormGenRPG& options);

    QCheckBox* PrgProp = nullptr;
    QCheckBox* PrgDesc = nullptr;
    QCheckBox* PrgHist = nullptr;
    QCheckBox* PreComp = nullptr;
    QCheckBox* SDesc = nullptr;
    QCheckBox* CDate = nullptr;
    QCheckBox* UDate = nullptr;
    QCheckBox* LComm = nullptr;
    QCheckBox* CComm = nullptr;
    QCheckBox* BLines = nullptr;
    QCheckBox* SaveComp = nullptr;
    QCheckBox* LoadComp = nullptr;
    QLineEdit* EditPrefix = nullptr; // at most 2 characters
    // The change tag of new lines (at most 6 characters) and the columns it goes in.
    QLineEdit* EditChangeTag = nullptr;
    QComboBox* ChangeTagColumns = nullptr; // 0: 75-80, 1: 1-5
    // A dated member: the date (YYMMDD) changed lines take, empty for today, and whether the
    // member is renumbered when new lines find no room.
    QLineEdit* EditChangeDate = nullptr;
    QCheckBox* RenumberDated = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private:
    TFormGenRPG Options_;
};
