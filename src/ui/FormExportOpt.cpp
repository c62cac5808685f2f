#include "ui/FormExportOpt.h"

#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

TFormExportOpt::TFormExportOpt(QWidget* parent) : TOptionsDialog(parent) {
    setWindowTitle("Export Options");
    auto* group = new QGroupBox("Actions done before Export", this);
    CheckSave = new QCheckBox("Save Program", group);
    CheckSave->setObjectName("CheckSave");
    CheckComp = new QCheckBox("Compile Program", group);
    CheckComp->setObjectName("CheckComp");
    RadioCompMode =
        new TRadioGroup("Compilation Mode", {"Compile modified Sections", "Build All"}, group);
    RadioCompMode->setObjectName("RadioCompMode");
    auto* boxes = new QVBoxLayout(group);
    boxes->addWidget(CheckSave);
    boxes->addWidget(CheckComp);
    boxes->addWidget(RadioCompMode);
    EditRecordLength = new QSpinBox(this);
    EditRecordLength->setObjectName("EditRecordLength");
    EditRecordLength->setRange(1, 255);
    auto* member = new QFormLayout;
    member->addRow("Member &Record Length:", EditRecordLength);
    CheckDated =
        new QCheckBox("Sequence number and &date before the columns (92 bytes for 80)", this);
    CheckDated->setObjectName("CheckDated");
    member->addRow(CheckDated);
    ComboDatedReading = new QComboBox(this);
    ComboDatedReading->setObjectName("ComboDatedReading");
    ComboDatedReading->addItems(
        {"dated when every line begins with 12 digits", "always dated", "never dated"});
    member->addRow("&Imported members:", ComboDatedReading);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(member);
    AddButtons(layout);
    connect(CheckComp, &QCheckBox::toggled, RadioCompMode, &QWidget::setEnabled);
    RadioCompMode->setEnabled(false);
}

void TFormExportOpt::LoadFrom(const TOptions& options) {
    CheckSave->setChecked(options.Export.SaveOnExport);
    CheckComp->setChecked(options.Export.CompOnExport);
    RadioCompMode->setEnabled(CheckComp->isChecked());
    RadioCompMode->SetItemIndex(options.Export.BuilOnExport ? 1 : 0);
    EditRecordLength->setValue(options.Export.RecordLength);
    CheckDated->setChecked(options.Export.DatedRecords);
    ComboDatedReading->setCurrentIndex(options.Export.DatedReading);
}

void TFormExportOpt::StoreInto(TOptions& options) const {
    options.Export.SaveOnExport = CheckSave->isChecked();
    options.Export.CompOnExport = CheckComp->isChecked();
    options.Export.BuilOnExport = RadioCompMode->ItemIndex() == 1;
    options.Export.RecordLength = EditRecordLength->value();
    options.Export.DatedRecords = CheckDated->isChecked();
    options.Export.DatedReading = ComboDatedReading->currentIndex();
}
