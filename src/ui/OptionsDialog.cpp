#include "ui/OptionsDialog.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPushButton>

TOptionsDialog::TOptionsDialog(QWidget* parent) : QDialog(parent) {
    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TOptionsDialog::Edit(TOptions& options) {
    LoadFrom(options);
    if (exec() != QDialog::Accepted)
        return false;
    StoreInto(options);
    return true;
}

void TOptionsDialog::AddButtons(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(BtnOK);
    row->addWidget(BtnCancel);
    layout->addLayout(row);
}
