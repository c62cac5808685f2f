#include "ui/FormExportOpt.h"

#include "ondrel/MemberConversion.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const char* const kTablesEntry = "Translation tables of the program directory";
} // namespace

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
    ComboHostCodePage = new QComboBox(this);
    ComboHostCodePage->setObjectName("ComboHostCodePage");
    ComboHostCodePage->setEditable(true);
    ComboHostCodePage->addItem(kTablesEntry);
    // The host's usual code pages: the single-byte ones of the western and eastern European
    // countries, and the mixed single- and double-byte ones of Japan, China and Korea.
    for (const char* name :
         {"IBM037",  "IBM273",  "IBM277",  "IBM278",  "IBM280",  "IBM284",  "IBM285",  "IBM297",
          "IBM500",  "IBM870",  "IBM871",  "IBM875",  "IBM1025", "IBM1026", "IBM1140", "IBM1141",
          "IBM1148", "IBM-930", "IBM-939", "IBM-937", "IBM-935", "IBM-933"})
        ComboHostCodePage->addItem(name);
    member->addRow("Host &Code Page:", ComboHostCodePage);
    LabelCodePageError = new QLabel(this);
    LabelCodePageError->setObjectName("LabelCodePageError");
    LabelCodePageError->setWordWrap(true);
    LabelCodePageError->hide();
    member->addRow(LabelCodePageError);
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
    ComboHostCodePage->setCurrentText(options.Export.HostCodePage.empty()
                                          ? QString(kTablesEntry)
                                          : QString::fromStdString(options.Export.HostCodePage));
}

void TFormExportOpt::StoreInto(TOptions& options) const {
    options.Export.SaveOnExport = CheckSave->isChecked();
    options.Export.CompOnExport = CheckComp->isChecked();
    options.Export.BuilOnExport = RadioCompMode->ItemIndex() == 1;
    options.Export.RecordLength = EditRecordLength->value();
    options.Export.DatedRecords = CheckDated->isChecked();
    options.Export.DatedReading = ComboDatedReading->currentIndex();
    options.Export.HostCodePage = HostCodePage();
}

std::string TFormExportOpt::HostCodePage() const {
    QString text = ComboHostCodePage->currentText().trimmed();
    if (text.isEmpty() || text == kTablesEntry)
        return {};
    return text.toStdString();
}

void TFormExportOpt::accept() {
    std::string host = HostCodePage();
    std::string message;
    if (!host.empty() && !OndrelCheckCodePages(host, "", message)) {
        LabelCodePageError->setText(QString::fromStdString(message));
        LabelCodePageError->show();
        ComboHostCodePage->setFocus();
        return;
    }
    TOptionsDialog::accept();
}
