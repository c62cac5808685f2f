#pragma once

#include "platform/Prompter.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

// The login: a user name and a password checked against the key file of the program
// directory. A refused try leaves the dialog open for another; Cancel closes it unaccepted.
// While the key file holds no user, a well-formed name opens the password change so that the
// first user sets a password, and the login is accepted once it is stored.
//
// Use: construct, exec(), then read LoginAccepted() and UserName().
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(std::string programDir, orvale::Prompter& prompter, QWidget* parent = nullptr);

    bool LoginAccepted() const { return result() == QDialog::Accepted; }
    // The accepted user name in upper case; empty until a login is accepted.
    const std::string& UserName() const { return UserName_; }

    QLineEdit* EditUserName = nullptr;
    QLineEdit* EditPassword = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private slots:
    void BtnOKClick();

private:
    // Runs the password change for the first user; true once a password is stored.
    bool Enrol(const std::string& userName);
    void RetryPassword();

    std::string ProgramDir;
    orvale::Prompter& Prompter;
    std::string UserName_;
};
