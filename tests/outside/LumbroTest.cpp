#include "outside/Lumbro.h"
#include "ModalWindow.h"
#include "outside/LumbroWindow.h"
#include "support/QtApp.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const StringList Statements = {"    OUTBegin(QPRINT,H,,1,01,,1P)",
                               "        LConst('CUSTOMER LIST',30)"};

class LumbroTest : public ::testing::Test {
protected:
    void SetUp() override { orvale::test::QtApp(); }
};

} // namespace

TEST_F(LumbroTest, LayoutFollowsTheStatements) {
    TLumbroWindow window(Statements);
    QString layout = window.MemoLayout->toPlainText();
    EXPECT_TRUE(layout.contains("123456789012345678901234567890")) << layout.toStdString();
    EXPECT_TRUE(layout.contains("H 1P")) << layout.toStdString();
    int at = layout.indexOf("CUSTOMER LIST");
    ASSERT_GE(at, 0);
    // The constant ends in column 30 of the ruler above it.
    int lineStart = layout.lastIndexOf('\n', at) + 1;
    int rulerStart = layout.indexOf("1234567890");
    int rulerLine = layout.lastIndexOf('\n', rulerStart) + 1;
    EXPECT_EQ(at + 13 - lineStart, rulerStart - rulerLine + 30);
    EXPECT_EQ(window.LabelStatus->text(), "1 printed line(s).");

    window.EditStatements->appendPlainText("        LField(AMT,X)");
    window.Preview();
    EXPECT_TRUE(window.LabelStatus->text().startsWith("1 error(s), 0 warning(s):"))
        << window.LabelStatus->text().toStdString();
    EXPECT_TRUE(window.LabelStatus->text().contains("**ERROR:"));
}

TEST_F(LumbroTest, OnlyAcceptedChangesAreTaken) {
    std::string version;
    GetLumbroVersion(version);
    EXPECT_FALSE(version.empty());

    StringList lines = Statements;
    WhenModalShown("TLumbroWindow",
                   [](QWidget& window) { Control<QPushButton>(window, "BtnOK")->click(); });
    EXPECT_FALSE(LumbroDesign(lines, orvale::CodePage::Latin1())); // accepted, but nothing changed
    EXPECT_EQ(lines, Statements);

    WhenModalShown("TLumbroWindow", [](QWidget& window) {
        Control<QPlainTextEdit>(window, "EditStatements")
            ->appendPlainText("        LConst('PAGE',60)");
        Control<QPushButton>(window, "BtnCancel")->click();
    });
    EXPECT_FALSE(LumbroDesign(lines, orvale::CodePage::Latin1()));
    EXPECT_EQ(lines, Statements);

    WhenModalShown("TLumbroWindow", [](QWidget& window) {
        Control<QPlainTextEdit>(window, "EditStatements")
            ->appendPlainText("        LConst('PAGE',60)");
        Control<QPushButton>(window, "BtnOK")->click();
    });
    EXPECT_TRUE(LumbroDesign(lines, orvale::CodePage::Latin1()));
    StringList expected = Statements;
    expected.push_back("        LConst('PAGE',60)");
    EXPECT_EQ(lines, expected);
}
