#pragma once

// "History Log": which document events the history log records.

#include "ui/OptionsDialog.h"

class QCheckBox;

class TFormHistory : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TFormHistory(QWidget* parent = nullptr);

    void LoadFrom(const TOptions& options) override;
    void StoreInto(TOptions& options) const override;

    QCheckBox* CheckAddSec = nullptr;
    QCheckBox* CheckDelSec = nullptr;
    QCheckBox* CheckModSec = nullptr;
    QCheckBox* CheckModPrp = nullptr;
    QCheckBox* CheckModSPr = nullptr;
};
