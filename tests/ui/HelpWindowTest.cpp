#include "ui/HelpWindow.h"
#include "frame/HelpPages.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include <gtest/gtest.h>

using orvale::test::TempDir;

namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(WriteHelpPages(ORVALE_SOURCE_DIR "/data/PromptH.PRM", Dir.File("Help"), &error))
            << error;
        ASSERT_TRUE(Window.OpenHelpFile(Dir.File("Help/Orvale.hlp")));
    }

    // The application must exist before the window member is made.
    QApplication& App = orvale::test::QtApp();
    TempDir Dir;
    THelpWindow Window;
};

} // namespace

TEST_F(HelpWindowTest, OpensThePageAndAnchorOfAKeyword) {
    EXPECT_TRUE(Window.ShowKeyword("IDH_OpCod_IFXX"));
    EXPECT_TRUE(Window.isVisible());
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/opcodes/IFXX.html"));
    EXPECT_EQ(Window.CurrentAnchor(), "IDH_OpCod_IFXX");
    EXPECT_TRUE(Window.Browser->toPlainText().contains("IFEQ, IFNE, IFLT, IFLE, IFGT, IFGE"));

    EXPECT_TRUE(Window.ShowKeyword("IDH_OrvaleOpCodes"));
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/orvale-opcodes.html"));
    EXPECT_TRUE(Window.ShowKeyword("IDH_OpCod_ENDYY"));
    EXPECT_TRUE(Window.Browser->toPlainText().contains("ENDSR"));
    EXPECT_TRUE(Window.BtnBack->isEnabled());
    Window.BtnBack->click();
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/orvale-opcodes.html"));
    Window.BtnContents->click();
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/index.html"));
}

TEST_F(HelpWindowTest, UnknownKeywordsLandOnAnOverview) {
    // A word that is no operation code resolves to a "yy" topic without a page.
    EXPECT_FALSE(Window.ShowKeyword("IDH_OpCod_CUSYY"));
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/rpg-opcodes.html"));
    EXPECT_EQ(Window.LabelStatus->text(), "No help topic for IDH_OpCod_CUSYY.");

    EXPECT_FALSE(Window.ShowKeyword("IDH_Nothing"));
    EXPECT_EQ(Window.CurrentPage(), Dir.File("Help/index.html"));

    EXPECT_TRUE(Window.ShowKeyword("IDH_RPGOpCodes"));
    EXPECT_EQ(Window.LabelStatus->text(), "");
}

TEST(HelpWindow, MissingHelpFileIsReported) {
    orvale::test::QtApp();
    THelpWindow window;
    EXPECT_FALSE(window.OpenHelpFile("/nonexistent/Help/Orvale.hlp"));
    EXPECT_TRUE(window.Browser->toPlainText().contains("/nonexistent/Help/Orvale.hlp"));
    EXPECT_FALSE(window.ShowKeyword("IDH_RPGOpCodes"));
    EXPECT_TRUE(window.LabelStatus->text().startsWith("No help file"));
}
