#include "support/QtApp.h"
#include "ui/ColorComboBox.h"
#include "ui/FormEditOptions.h"
#include "ui/FormExportOpt.h"
#include "ui/FormHistory.h"
#include "ui/FormUndoOpt.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class OptionsDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { orvale::test::QtApp(); }
};

bool HasText(QWidget* parent, const QString& text) {
    for (QLabel* label : parent->findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    for (QGroupBox* group : parent->findChildren<QGroupBox*>())
        if (group->title() == text)
            return true;
    return false;
}

} // namespace

TEST_F(OptionsDialogsTest, UndoBoxesMapToTheirRestorePoints) {
    TFormUndoOpt dlg;
    EXPECT_EQ(dlg.windowTitle(), "Undo Options");
    EXPECT_TRUE(HasText(&dlg, "Information Preserved"));
    EXPECT_EQ(dlg.findChild<QCheckBox*>("CheckPrev")->text(), "Previous Update of the Section");
    EXPECT_EQ(dlg.findChild<QCheckBox*>("CheckSave")->text(),
              "Section as was on Last Program's Saving");
    EXPECT_EQ(dlg.findChild<QCheckBox*>("CheckOpen")->text(),
              "Section as was at Program's Opening");

    TOptions options;
    options.Undo = {true, true, false}; // Previous, LastOpen, LastSave
    dlg.LoadFrom(options);
    EXPECT_TRUE(dlg.CheckPrev->isChecked());
    EXPECT_FALSE(dlg.CheckSave->isChecked());
    EXPECT_TRUE(dlg.CheckOpen->isChecked());

    dlg.CheckSave->setChecked(true);
    dlg.CheckOpen->setChecked(false);
    dlg.StoreInto(options);
    EXPECT_TRUE(options.Undo.LastSave);
    EXPECT_FALSE(options.Undo.LastOpen);
    EXPECT_TRUE(options.Undo.Previous);
}

TEST_F(OptionsDialogsTest, HistoryBoxesMapToTheirEvents) {
    TFormHistory dlg;
    EXPECT_EQ(dlg.windowTitle(), "History Log");
    EXPECT_TRUE(HasText(&dlg, "Select the events to be logged:"));
    const std::pair<const char*, bool THistoryOptions::*> boxes[] = {
        {"CheckAddSec", &THistoryOptions::AddSec},
        {"CheckDelSec", &THistoryOptions::DelSec},
        {"CheckModSec", &THistoryOptions::ModSec},
        {"CheckModPrp", &THistoryOptions::ModPrp},
        {"CheckModSPr", &THistoryOptions::ModSPr}};
    for (auto [name, flag] : boxes) {
        TOptions options;
        options.History.*flag = false;
        dlg.LoadFrom(options);
        auto* box = dlg.findChild<QCheckBox*>(name);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_FALSE(box->isChecked()) << name;
        box->setChecked(true);
        options.Editor.TabSpaces = 7;
        dlg.StoreInto(options);
        EXPECT_TRUE(options.History.*flag) << name;
        EXPECT_EQ(options.Editor.TabSpaces, 7); // other options untouched
    }
    EXPECT_EQ(dlg.CheckModPrp->text(), "Modify Program Property");
    EXPECT_EQ(dlg.CheckModSPr->text(), "Modify Section Property");
}

TEST_F(OptionsDialogsTest, CompilationModeOnlyWhileCompiling) {
    TFormExportOpt dlg;
    EXPECT_EQ(dlg.windowTitle(), "Export Options");
    EXPECT_TRUE(HasText(&dlg, "Actions done before Export"));
    ASSERT_EQ(dlg.findChild<TRadioGroup*>("RadioCompMode"), dlg.RadioCompMode);
    EXPECT_EQ(dlg.RadioCompMode->title(), "Compilation Mode");
    EXPECT_EQ(dlg.RadioCompMode->Button(0)->text(), "Compile modified Sections");
    EXPECT_EQ(dlg.RadioCompMode->Button(1)->text(), "Build All");

    TOptions options;
    options.Export.SaveOnExport = true;
    options.Export.CompOnExport = false;
    options.Export.BuilOnExport = false;
    dlg.LoadFrom(options);
    EXPECT_FALSE(dlg.RadioCompMode->isEnabled());
    EXPECT_EQ(dlg.RadioCompMode->ItemIndex(), 0);
    dlg.CheckComp->setChecked(true);
    EXPECT_TRUE(dlg.RadioCompMode->isEnabled());
    dlg.RadioCompMode->Button(1)->click();
    dlg.CheckSave->setChecked(false);
    dlg.StoreInto(options);
    EXPECT_FALSE(options.Export.SaveOnExport);
    EXPECT_TRUE(options.Export.CompOnExport);
    EXPECT_TRUE(options.Export.BuilOnExport);

    dlg.LoadFrom(TOptions());
    EXPECT_TRUE(dlg.RadioCompMode->isEnabled());
    EXPECT_EQ(dlg.RadioCompMode->ItemIndex(), 1);
}

// The host's code page: the translation tables unless one is chosen; a name the system
// cannot convert keeps the dialog open and says why, the options left as they were.
TEST_F(OptionsDialogsTest, TheHostCodePageIsOneTheSystemCanConvert) {
    TFormExportOpt dlg;
    TOptions options;
    dlg.LoadFrom(options);
    EXPECT_EQ(dlg.HostCodePage(), "");
    dlg.ComboHostCodePage->setCurrentText("IBM-937");
    dlg.StoreInto(options);
    EXPECT_EQ(options.Export.HostCodePage, "IBM-937");
    dlg.LoadFrom(options);
    EXPECT_EQ(dlg.ComboHostCodePage->currentText(), "IBM-937");

    dlg.ComboHostCodePage->setCurrentText("EBCDIC-OF-NOWHERE");
    dlg.show();
    dlg.BtnOK->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.LabelCodePageError->isHidden());
    EXPECT_NE(dlg.LabelCodePageError->text().indexOf("EBCDIC-OF-NOWHERE"), -1)
        << dlg.LabelCodePageError->text().toStdString();
    dlg.ComboHostCodePage->setCurrentIndex(0);
    dlg.BtnOK->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    dlg.StoreInto(options);
    EXPECT_EQ(options.Export.HostCodePage, "");
}

TEST_F(OptionsDialogsTest, EditorOptionsShowTheirChoicesAsTheyAreMade) {
    TFormEditOptions dlg;
    EXPECT_EQ(dlg.windowTitle(), "Editor Options");
    for (const char* text :
         {"Default Font Size:", "BackGround Color", "Text Color", "Tabulation Size:"})
        EXPECT_TRUE(HasText(&dlg, text)) << text;
    ASSERT_EQ(dlg.ComboFont->count(), 13);
    EXPECT_EQ(dlg.ComboFont->itemText(0), "6");
    EXPECT_EQ(dlg.ComboFont->itemText(12), "18");
    EXPECT_EQ(dlg.EditTest->text(), "Editor's Color Test  12345678");
    EXPECT_TRUE(dlg.EditTest->font().bold());
    EXPECT_EQ(dlg.TrackTabSpace->minimum(), 2);
    EXPECT_EQ(dlg.TrackTabSpace->maximum(), 10);
    EXPECT_EQ(dlg.RadioRightMouse->Button(0)->text(), "Use to &Activate Popup Menu");
    EXPECT_EQ(dlg.RadioRightMouse->Button(1)->text(), "&Use to Cut, Copy and Paste");

    TOptions options;
    options.Editor.TabSpaces = 5;
    options.Editor.UseRightButton = true;
    options.Editor.EditorPopupMemu = false;
    dlg.LoadFrom(options);
    EXPECT_EQ(dlg.ComboFont->currentText(), "10");
    EXPECT_EQ(dlg.LabelTab->text(), "[5]");
    EXPECT_EQ(dlg.RadioRightMouse->ItemIndex(), 1);
    EXPECT_EQ(dlg.EditTest->palette().color(QPalette::Base), QColor(0, 0, 128)); // navy
    EXPECT_EQ(dlg.EditTest->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(dlg.EditTest->font().pointSize(), 10);

    dlg.TrackTabSpace->setValue(8);
    EXPECT_EQ(dlg.LabelTab->text(), "[8]");
    dlg.ComboBackCol->SetColorValue(0xFFFFFF);
    dlg.ComboTextCol->SetColorValue(0x0000FF);
    dlg.ComboFont->setCurrentIndex(8);
    EXPECT_EQ(dlg.EditTest->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(dlg.EditTest->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(dlg.EditTest->font().pointSize(), 14);

    dlg.RadioRightMouse->Button(0)->click();
    dlg.CheckCursThrTabs->setChecked(true);
    dlg.StoreInto(options);
    EXPECT_EQ(options.Editor.BackColor, 0xFFFFFF);
    EXPECT_EQ(options.Editor.TextColor, 0x0000FF);
    EXPECT_EQ(options.Editor.FontSizeIdx, 8);
    EXPECT_EQ(options.Editor.TabSpaces, 8);
    EXPECT_TRUE(options.Editor.CursThrTabs);
    EXPECT_TRUE(options.Editor.EditorPopupMemu);
    EXPECT_FALSE(options.Editor.UseRightButton);
}

TEST_F(OptionsDialogsTest, OddStoredValuesSurviveAnUnchangedOK) {
    TFormEditOptions dlg;
    TOptions options;
    options.Editor.FontSizeIdx = 40;     // written by hand into the file
    options.Editor.BackColor = 0x123456; // not one of the sixteen swatches
    dlg.LoadFrom(options);
    EXPECT_EQ(dlg.ComboFont->currentIndex(), -1);
    EXPECT_EQ(dlg.EditTest->font().pointSize(), 12);
    dlg.StoreInto(options);
    EXPECT_EQ(options.Editor.FontSizeIdx, 40);
    // The colour list cannot show it; aqua is what it then holds.
    EXPECT_EQ(options.Editor.BackColor, TColorComboBox::AquaValue);
}

TEST_F(OptionsDialogsTest, ValuesAreTakenBackOnlyOnOK) {
    TFormUndoOpt dlg;
    TOptions options;
    QTimer::singleShot(0, &dlg, [&dlg] {
        dlg.CheckPrev->setChecked(false);
        dlg.BtnCancel->click();
    });
    EXPECT_FALSE(dlg.Edit(options));
    EXPECT_TRUE(options.Undo.Previous);

    QTimer::singleShot(0, &dlg, [&dlg] {
        dlg.CheckPrev->setChecked(false);
        dlg.BtnOK->click();
    });
    EXPECT_TRUE(dlg.Edit(options));
    EXPECT_FALSE(options.Undo.Previous);
}
