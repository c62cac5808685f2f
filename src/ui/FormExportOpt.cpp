#include "ui/FormExportOpt.h"

#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QGroupBox>
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    AddButtons(layout);
    connect(CheckComp, &QCheckBox::toggled, RadioCompMode, &QWidget::setEnabled);
    RadioCompMode->setEnabled(false);
}

void TFormExportOpt::LoadFrom(const TOptions& options) {
    CheckSave->setChecked(options.Export.SaveOnExport);
    CheckComp->setChecked(options.Export.CompOnExport);
    RadioCompMode->setEnabled(CheckComp->isChecked());
    RadioCompMode->SetItemIndex(options.Export.BuilOnExport ? 1 : 0);
}

void TFormExportOpt::StoreInto(TOptions& options) const {
    options.Export.SaveOnExport = CheckSave->isChecked();
    options.Export.CompOnExport = CheckComp->isChecked();
    options.Export.BuilOnExport = RadioCompMode->ItemIndex() == 1;
}
