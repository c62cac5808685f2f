#include "ui/FormHistory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

TFormHistory::TFormHistory(QWidget* parent) : TOptionsDialog(parent) {
    setWindowTitle("History Log");
    auto* group = new QGroupBox("Select the events to be logged:", this);
    auto* boxes = new QVBoxLayout(group);
    auto check = [&](const char* name, const char* caption) {
        auto* box = new QCheckBox(caption, group);
        box->setObjectName(name);
        boxes->addWidget(box);
        return box;
    };
    CheckAddSec = check("CheckAddSec", "Add Section");
    CheckDelSec = check("CheckDelSec", "Delete Section");
    CheckModSec = check("CheckModSec", "Modify Section");
    CheckModPrp = check("CheckModPrp", "Modify Program Property");
    CheckModSPr = check("CheckModSPr", "Modify Section Property");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    AddButtons(layout);
}

void TFormHistory::LoadFrom(const TOptions& options) {
    CheckAddSec->setChecked(options.History.AddSec);
    CheckDelSec->setChecked(options.History.DelSec);
    CheckModSec->setChecked(options.History.ModSec);
    CheckModPrp->setChecked(options.History.ModPrp);
    CheckModSPr->setChecked(options.History.ModSPr);
}

void TFormHistory::StoreInto(TOptions& options) const {
    options.History.AddSec = CheckAddSec->isChecked();
    options.History.DelSec = CheckDelSec->isChecked();
    options.History.ModSec = CheckModSec->isChecked();
    options.History.ModPrp = CheckModPrp->isChecked();
    options.History.ModSPr = CheckModSPr->isChecked();
}
