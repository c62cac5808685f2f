#include "ui/FormUndoOpt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

TFormUndoOpt::TFormUndoOpt(QWidget* parent) : TOptionsDialog(parent) {
    setWindowTitle("Undo Options");
    auto* group = new QGroupBox("Information Preserved", this);
    CheckPrev = new QCheckBox("Previous Update of the Section", group);
    CheckPrev->setObjectName("CheckPrev");
    CheckSave = new QCheckBox("Section as was on Last Program's Saving", group);
    CheckSave->setObjectName("CheckSave");
    CheckOpen = new QCheckBox("Section as was at Program's Opening", group);
    CheckOpen->setObjectName("CheckOpen");
    auto* boxes = new QVBoxLayout(group);
    boxes->addWidget(CheckPrev);
    boxes->addWidget(CheckSave);
    boxes->addWidget(CheckOpen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    AddButtons(layout);
}

void TFormUndoOpt::LoadFrom(const TOptions& options) {
    CheckPrev->setChecked(options.Undo.Previous);
    CheckSave->setChecked(options.Undo.LastSave);
    CheckOpen->setChecked(options.Undo.LastOpen);
}

void TFormUndoOpt::StoreInto(TOptions& options) const {
    options.Undo.Previous = CheckPrev->isChecked();
    options.Undo.LastSave = CheckSave->isChecked();
    options.Undo.LastOpen = CheckOpen->isChecked();
}
