#include "ui/PasswordDlg.h"

#include "access/Login.h"
#include "access/PasswordChange.h"
#include "qtedge/TextEdge.h"
#include "ui/KeyTextValidator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// What the enrolment adds to a refusal of the password change, whose words speak of its own
// dialog's fields.
std::string EnrolmentReason(const std::string& message) {
    if (message == ControlDiffersText)
        return "\nThe password must be typed the same under Password and under Repeat.";
    if (message == PasswordRejectedText)
        return "\nIt could not be made into the form the user key file keeps.";
    return {};
}

} // namespace

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

    EditRepeat = new QLineEdit(this);
    EditRepeat->setObjectName("EditRepeat");
    EditRepeat->setValidator(new TKeyTextValidator(true, EditRepeat));
    EditRepeat->setEchoMode(QLineEdit::Password);
    EditRepeat->setStyleSheet("lineedit-password-character: 42");

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

    LabelRepeat = new QLabel("Repeat:", this);
    LabelRepeat->setBuddy(EditRepeat);
    LabelEnrol = new QLabel("No user is enabled yet. Choose the first user's name and "
                            "password (at least 4 characters each), and type the "
                            "password twice.",
                            this);
    LabelEnrol->setObjectName("LabelEnrol");
    LabelEnrol->setWordWrap(true);

    auto* fields = new QGridLayout;
    fields->addWidget(LabelEnrol, 0, 0, 1, 2);
    fields->addWidget(userLabel, 1, 0);
    fields->addWidget(EditUserName, 1, 1);
    fields->addWidget(passwordLabel, 2, 0);
    fields->addWidget(EditPassword, 2, 1);
    fields->addWidget(LabelRepeat, 3, 0);
    fields->addWidget(EditRepeat, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    // A fresh installation: the first user is enrolled here, in one step.
    TKeyFile keys(TKeyFile::PathIn(ProgramDir));
    ShowEnrolment(keys.Load() && !keys.HasUsers());

    connect(BtnOK, &QPushButton::clicked, this, &TPasswordDlg::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    EditUserName->setFocus();
}

void TPasswordDlg::BtnOKClick() {
    TKeyFile keys(TKeyFile::PathIn(ProgramDir));
    TLoginCheck check =
        CheckLogin(keys, Edge.FromQt(EditUserName->text()), Edge.FromQt(EditPassword->text()));
    switch (check.Verdict) {
    case LoginVerdict::Accepted:
        UserName_ = check.UserName;
        accept();
        return;
    case LoginVerdict::Enrol:
        if (Enrol(keys, check.UserName)) {
            UserName_ = check.UserName;
            accept();
            return;
        }
        break;
    case LoginVerdict::Refused: {
        // The first user chooses a name here: the message says what the name lacks.
        std::string why = Enrolling_ ? UserNameRefusal(Edge.FromQt(EditUserName->text())) : "";
        Prompter.Show(check.BoxKind, why.empty() ? check.Message : check.Message + "\n" + why,
                      orvale::Prompter::Buttons::Ok);
        break;
    }
    }
    RetryPassword();
}

bool TPasswordDlg::Enrol(TKeyFile& keys, const std::string& userName) {
    if (!Enrolling_) {
        // The last user went from the key file while the dialog was open: enrol from here.
        ShowEnrolment(true);
        Prompter.Information("No user is enabled yet. Type the password of " + userName +
                             " twice to enable it.");
        return false;
    }
    TPasswordChange change = ChangePassword(keys, userName, Edge.FromQt(EditPassword->text()),
                                            Edge.FromQt(EditRepeat->text()));
    // Stored: the login goes on without a further box.
    if (change.Changed)
        return true;
    Prompter.Show(change.BoxKind, change.Message + EnrolmentReason(change.Message),
                  orvale::Prompter::Buttons::Ok);
    return false;
}

void TPasswordDlg::ShowEnrolment(bool shown) {
    Enrolling_ = shown;
    LabelEnrol->setVisible(shown);
    LabelRepeat->setVisible(shown);
    EditRepeat->setVisible(shown);
}

void TPasswordDlg::RetryPassword() {
    EditPassword->clear();
    EditRepeat->clear();
    EditPassword->setFocus();
}
