#include "ui/PasswordDlg.h"

#include "access/Login.h"
#include "ui/KeyTextValidator.h"
#include "ui/Latin1.h"
#include "ui/Sicurezza.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPasswordDlg::TPasswordDlg(std::string programDir, orvale::Prompter& prompter, QWidget* parent)
    : QDialog(parent), ProgramDir(std::move(programDir)), Prompter(prompter) {
    setWindowTitle("Password Dialog");

    EditUserName = new QLineEdit(this);
    EditUserName->setObjectName("EditUserName");
    EditUserName->setValidator(new TKeyTextValidator(true, EditUserName));

    EditPassword = new QLineEdit(this);
    EditPassword->setObjectName("EditPassword");
    EditPassword->setValidator(new TKeyTextValidator(true, EditPassword));
    EditPassword->setEchoMode(QLineEdit::Password);
    EditPassword->setStyleSheet("lineedit-password-character: 42");

    auto* userLabel = new QLabel("User Name:", this);
    userLabel->setBuddy(EditUserName);
    auto* passwordLabel = new QLabel("Password:", this);
    passwordLabel->setBuddy(EditPassword);

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(EditUserName, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(EditPassword, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TPasswordDlg::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    EditUserName->setFocus();
}

void TPasswordDlg::BtnOKClick() {
    TKeyFile keys(TKeyFile::PathIn(ProgramDir));
    TLoginCheck check =
        CheckLogin(keys, FromQt(EditUserName->text()), FromQt(EditPassword->text()));
    switch (check.Verdict) {
    case LoginVerdict::Accepted:
        UserName_ = check.UserName;
        accept();
        return;
    case LoginVerdict::Enrol:
        if (Enrol(check.UserName)) {
            UserName_ = check.UserName;
            accept();
            return;
        }
        break;
    case LoginVerdict::Refused:
        Prompter.Show(check.BoxKind, check.Message, orvale::Prompter::Buttons::Ok);
        break;
    }
    RetryPassword();
}

bool TPasswordDlg::Enrol(const std::string& userName) {
    Prompter.Information("No user is enabled yet. Set the password of " + userName +
                         " to enable it.");
    TSicurezza change(ProgramDir, userName, Prompter, this);
    change.exec();
    TKeyFile keys(TKeyFile::PathIn(ProgramDir));
    return HasPasswordFor(keys, userName);
}

void TPasswordDlg::RetryPassword() {
    EditPassword->clear();
    EditPassword->setFocus();
}
