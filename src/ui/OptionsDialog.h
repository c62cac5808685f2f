#pragma once

// What the option dialogs share: OK and Cancel, and the options taken back only on OK.
// Each dialog is made for one command, filled from the options, shown modally and freed.

#include "frame/Options.h"

#include <QDialog>

class QBoxLayout;
class QPushButton;

class TOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsDialog(QWidget* parent = nullptr);

    // Shows the controls' state for Options.
    virtual void LoadFrom(const TOptions& options) = 0;
    // Writes the controls' state into the dialog's part of Options, leaving the rest alone.
    virtual void StoreInto(TOptions& options) const = 0;

    // Loads, runs modally and, only when closed with OK, stores. True on OK.
    bool Edit(TOptions& options);

    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

protected:
    // Appends the OK and Cancel row to Layout.
    void AddButtons(QBoxLayout* layout);
};
