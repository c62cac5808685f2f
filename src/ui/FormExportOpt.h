#pragma once

// "Export Options": what runs before an export. The compilation mode applies only while the
// compile is ticked.

#include "ui/OptionsDialog.h"

class QCheckBox;
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
};
