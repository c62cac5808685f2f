#pragma once

#include "access/KeyFile.h"
#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The login: a user name and a password checked against the key file of the program
// directory. A refused try leaves the dialog open for another; Cancel closes it unaccepted.
// While the key file holds no user (a fresh installation) the same dialog enrols the first
// user: the password is typed twice, stored for the name in the key file, and the login is
// accepted once it is stored.
//
// Use: construct, exec(), then read LoginAccepted() and UserName().
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    // The code page of the names and passwords of the user file.
    orvale::TextEdge Edge;

    TPasswordDlg(std::string programDir, orvale::Prompter& prompter, QWidget* parent = nullptr);

    bool LoginAccepted() const { return result() == QDialog::Accepted; }
    // The dialog enrols the first user of the installation.
    bool Enrolling() const { return Enrolling_; }
    // The accepted user name in upper case; empty until a login is accepted.
    const std::string& UserName() const { return UserName_; }

    QLineEdit* EditUserName = nullptr;
    QLineEdit* EditPassword = nullptr;
    // The password again: shown only to enrol the first user.
    QLineEdit* EditRepeat = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private slots:
    void BtnOKClick();

private:
    // Stores the typed password for the first user; true once it is stored, else the reason
    // has been shown.
    bool Enrol(TKeyFile& keys, const std::string& userName);
    void RetryPassword();

    std::string ProgramDir;
    orvale::Prompter& Prompter;
    std::string UserName_;
    bool Enrolling_ = false;
    QLabel* LabelRepeat = nullptr;
    QLabel* LabelEnrol = nullptr;
    void ShowEnrolment(bool shown);
};
