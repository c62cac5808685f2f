#pragma once

// "Editor Options": the source editor's font size, colours, tab width and typing aids, and
// what the right mouse button does. The sample line shows colours and size as they are chosen.

#include "ui/OptionsDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class TColorComboBox;
class TRadioGroup;

class TFormEditOptions : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TFormEditOptions(QWidget* parent = nullptr);

    void LoadFrom(const TOptions& options) override;
    void StoreInto(TOptions& options) const override;

    QComboBox* ComboFont = nullptr; // "6" to "18"
    TColorComboBox* ComboBackCol = nullptr;
    TColorComboBox* ComboTextCol = nullptr;
    QLineEdit* EditTest = nullptr;
    QSlider* TrackTabSpace = nullptr; // 2 to 10
    QLabel* LabelTab = nullptr;       // "[n]"
    QCheckBox* CheckAutoIndent = nullptr;
    QCheckBox* CheckBackUnindent = nullptr;
    QCheckBox* CheckCursThrTabs = nullptr;
    QCheckBox* CheckTextLatin1 = nullptr;
    // The code page of the text of new and imported programs.
    QComboBox* ComboCodePage = nullptr;
    QCheckBox* CheckHostDates = nullptr;
    // 0 "Use to Activate Popup Menu", 1 "Use to Cut, Copy and Paste".
    TRadioGroup* RadioRightMouse = nullptr;

private:
    // Shows the chosen colours and font size in EditTest.
    void UpdateSample();
    void UpdateTabLabel();

    // The index read from the options when the list could not show it (out of range), kept
    // so that OK without a choice does not change it.
    int LoadedFontIndex = -1;
};
