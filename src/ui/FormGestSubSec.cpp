#include "ui/FormGestSubSec.h"

#include "ui/KeyTextValidator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormGestSubSec::TFormGestSubSec(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);

    // Names and descriptions are stored as single-byte text, one line each.
    EditName = new QLineEdit(this);
    EditName->setObjectName("EditName");
    EditName->setValidator(new TKeyTextValidator(false, EditName));
    EditDesc = new QLineEdit(this);
    EditDesc->setObjectName("EditDesc");
    EditDesc->setValidator(new TKeyTextValidator(false, EditDesc));
    EditDesc->setMinimumWidth(260);

    auto* nameLabel = new QLabel("Name:", this);
    nameLabel->setBuddy(EditName);
    auto* descLabel = new QLabel("Description:", this);
    descLabel->setBuddy(EditDesc);

    CheckPurge = new QCheckBox("Purge Modify Entrys", this);
    CheckPurge->setObjectName("CheckPurge");
    CheckPurgeAll = new QCheckBox("Purge All Other Entrys", this);
    CheckPurgeAll->setObjectName("CheckPurgeAll");

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(EditName, 0, 1);
    fields->addWidget(descLabel, 1, 0);
    fields->addWidget(EditDesc, 1, 1);
    fields->addWidget(CheckPurge, 2, 1);
    fields->addWidget(CheckPurgeAll, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowPurgeBoxes(false);
    EditName->setFocus();
}

void TFormGestSubSec::ShowPurgeBoxes(bool shown) {
    CheckPurge->setVisible(shown);
    CheckPurgeAll->setVisible(shown);
}
