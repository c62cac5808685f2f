#include "ui/Sicurezza.h"

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

QLineEdit* PasswordField(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Typed as they are: the two fields must agree exactly before the text is upper-cased.
    edit->setValidator(new TKeyTextValidator(false, edit));
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet("lineedit-password-character: 42");
    return edit;
}

} // namespace

TSicurezza::TSicurezza(std::string programDir, std::string userName, orvale::Prompter& prompter,
                       QWidget* parent)
    : QDialog(parent), ProgramDir(std::move(programDir)), UserName(std::move(userName)),
      Prompter(prompter) {
    setWindowTitle("Change Password");

    LabelUserName = new QLabel(Edge.ToQt(UserName), this);
    LabelUserName->setObjectName("LabelUserName");
    Password1 = PasswordField("Password1", this);
    Password2 = PasswordField("Password2", this);

    auto* password1Label = new QLabel("Password", this);
    password1Label->setBuddy(Password1);
    auto* password2Label = new QLabel("Control", this);
    password2Label->setBuddy(Password2);
    auto* hint = new QLabel("Insert the same Password 2 times  (min. 4 chars)", this);

    BtnOk = new QPushButton("OK", this);
    BtnOk->setObjectName("BtnOk");
    BtnOk->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("User:", this), 0, 0);
    fields->addWidget(LabelUserName, 0, 1);
    fields->addWidget(password1Label, 1, 0);
    fields->addWidget(Password1, 1, 1);
    fields->addWidget(password2Label, 2, 0);
    fields->addWidget(Password2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    connect(BtnOk, &QPushButton::clicked, this, &TSicurezza::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    Password1->setFocus();
}

void TSicurezza::BtnOkClick() {
    TKeyFile keys(TKeyFile::PathIn(ProgramDir));
    TPasswordChange change = ChangePassword(keys, UserName, Edge.FromQt(Password1->text()),
                                            Edge.FromQt(Password2->text()));
    Prompter.Show(change.BoxKind, change.Message, orvale::Prompter::Buttons::Ok);
    Changed_ = change.Changed;
    done(Changed_ ? QDialog::Accepted : QDialog::Rejected);
}
