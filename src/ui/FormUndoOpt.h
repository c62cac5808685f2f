#pragma once

// "Undo Options": which restore points of a section's text are kept.

#include "ui/OptionsDialog.h"

class QCheckBox;

class TFormUndoOpt : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TFormUndoOpt(QWidget* parent = nullptr);

    void LoadFrom(const TOptions& options) override;
    void StoreInto(TOptions& options) const override;

    QCheckBox* CheckPrev = nullptr;
    QCheckBox* CheckSave = nullptr;
    QCheckBox* CheckOpen = nullptr;
};
