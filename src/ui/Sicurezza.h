#pragma once

#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// Password change for the logged-in user: the new password typed twice, stored as a new entry
// of the key file. OK always closes the dialog after its message; the dialog is accepted only
// when the password was stored.
class TSicurezza : public QDialog {
    Q_OBJECT
public:
    // The code page of the names and passwords of the user file.
    orvale::TextEdge Edge;

    TSicurezza(std::string programDir, std::string userName, orvale::Prompter& prompter,
               QWidget* parent = nullptr);

    bool Changed() const { return Changed_; }

    QLabel* LabelUserName = nullptr;
    QLineEdit* Password1 = nullptr;
    QLineEdit* Password2 = nullptr;
    QPushButton* BtnOk = nullptr;
    QPushButton* BtnCancel = nullptr;

private slots:
    void BtnOkClick();

private:
    std::string ProgramDir;
    std::string UserName;
    orvale::Prompter& Prompter;
    bool Changed_ = false;
};
