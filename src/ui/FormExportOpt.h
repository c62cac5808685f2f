#pragma once

// "Export Options": what runs before an export, and the record length of the host's members. The
// compilation mode applies only while the compile is ticked.

#include "ui/OptionsDialog.h"

class QCheckBox;
class QComboBox;
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
};
