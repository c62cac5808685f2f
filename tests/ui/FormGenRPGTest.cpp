#include "ui/FormGenRPG.h"
#include "support/QtApp.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class FormGenRPGTest : public ::testing::Test {
protected:
    void SetUp() override { orvale::test::QtApp(); }
};

QStringList GroupBoxes(QGroupBox* group) {
    QStringList names;
    for (QCheckBox* box : group->findChildren<QCheckBox*>())
        names << box->objectName();
    return names;
}

} // namespace

TEST_F(FormGenRPGTest, GroupsAndCaptions) {
    TFormGenRPGWindow form;
    EXPECT_EQ(form.windowTitle(), "Generate RPG/400 Source");
    QMap<QString, QStringList> groups;
    for (QGroupBox* group : form.findChildren<QGroupBox*>())
        groups[group->title()] = GroupBoxes(group);
    EXPECT_EQ(groups["Include in the Source:"],
              (QStringList{"PrgProp", "PrgHist", "PrgDesc", "PreComp"}));
    EXPECT_EQ(groups["Information to Include"], (QStringList{"SDesc", "CDate", "UDate", "LComm"}));
    EXPECT_EQ(groups["Compiled Section:"], (QStringList{"SaveComp", "LoadComp"}));
    EXPECT_EQ(groups["Additional"], (QStringList{"CComm", "BLines"}));
    EXPECT_EQ(form.PreComp->text(), "Pre compiler Instruction");
    EXPECT_EQ(form.LComm->text(), "Comment Lines");
    EXPECT_EQ(form.CComm->text(), "Code Comments");
    EXPECT_EQ(form.LoadComp->text(), "Load From Program File");
    bool labelled = false;
    for (QLabel* label : form.findChildren<QLabel*>())
        labelled =
            labelled || (label->text() == "Orvale Prefix for non standard data indicators:" &&
                         label->buddy() == form.EditPrefix);
    EXPECT_TRUE(labelled);
    EXPECT_EQ(form.EditPrefix->text(), "&%");
}

TEST_F(FormGenRPGTest, ControlsAreTheOptionsSoCancelKeepsChanges) {
    TFormGenRPGWindow form;
    QTimer::singleShot(0, &form, [&form] {
        form.PrgDesc->click();
        form.BLines->click();
        form.EditPrefix->selectAll();
        QTest::keyClicks(form.EditPrefix, "#");
        form.BtnCancel->click();
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_FALSE(form.Options().PrgDesc);
    EXPECT_FALSE(form.Options().BLines);
    EXPECT_TRUE(form.Options().PrgProp);
    EXPECT_EQ(form.Options().EditPrefix, "#");
}

TEST_F(FormGenRPGTest, PrefixTakesAtMostTwoPrintableCharacters) {
    TFormGenRPGWindow form;
    form.EditPrefix->clear();
    QTest::keyClicks(form.EditPrefix, "a b$%");
    EXPECT_EQ(form.EditPrefix->text(), "ab");
    EXPECT_EQ(form.Options().EditPrefix, "ab");
    form.EditPrefix->clear();
    EXPECT_EQ(form.Options().EditPrefix, ""); // empty: the document keeps its own
}

TEST_F(FormGenRPGTest, SetOptionsShowsThemAll) {
    TFormGenRPGWindow form;
    TFormGenRPG options;
    options.SDesc = false;
    options.LoadComp = false;
    options.EditPrefix = "@@@";
    form.SetOptions(options);
    EXPECT_FALSE(form.SDesc->isChecked());
    EXPECT_FALSE(form.LoadComp->isChecked());
    EXPECT_TRUE(form.CDate->isChecked());
    EXPECT_EQ(form.EditPrefix->text(), "@@");
    EXPECT_FALSE(form.Options().SDesc);
    EXPECT_FALSE(form.Options().LoadComp);
    EXPECT_EQ(form.Options().EditPrefix, "@@");
}
