#pragma once

// "Export Options": what runs before an export, the record length of the host's members and
// their code page. The compilation mode applies only while the compile is ticked; a host code
// page the system cannot convert keeps the dialog open, saying why.

#include "ui/OptionsDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class TRadioGroup;

class TFormExportOpt : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TFormExportOpt(QWidget* parent = nullptr);

    void LoadFrom(const TOptions& options) override;
    void StoreInto(TOptions& options) const override;

    QCheckBox* CheckSave = nullptr;
    QCheckBox* CheckComp = nullptr;
    TRadioGroup* RadioCompMode = nullptr; // 0 "Compile modified Sections", 1 "Build All"
    // Bytes per record of the host's members: what an import reads, the least an export writes.
    QSpinBox* EditRecordLength = nullptr;
    // Records with the sequence number and date before the columns.
    QCheckBox* CheckDated = nullptr;
    // How an imported member's lines are read: as they say, always dated, never dated.
    QComboBox* ComboDatedReading = nullptr;
    // The host's code page: the first entry is the translation tables, the others name a
    // code page (a name may be typed).
    QComboBox* ComboHostCodePage = nullptr;
    QLabel* LabelCodePageError = nullptr;

    // The host code page chosen: empty for the translation tables.
    std::string HostCodePage() const;

public slots:
    void accept() override;
};
