#include "outside/Caddis.h"
#include "ModalWindow.h"
#include "frame/ProgramDir.h"
#include "outside/CaddisWindow.h"
#include "platform/TextFile.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::TempDir;

namespace {

std::string Content(const std::string& path) {
    StringList lines;
    return orvale::ReadTextFile(path, lines) && !lines.empty() ? lines[0] : "<none>";
}

class CaddisTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale::test::QtApp();
        ASSERT_TRUE(orvale::WriteTextFile(Dir.File("PAY.RPG"), {"new"}));
        ASSERT_TRUE(orvale::WriteTextFile(Dir.File("PAY.~RP"), {"old"}));
        ASSERT_TRUE(orvale::WriteTextFile(Dir.File("LIST.RPG"), {"list"}));
    }
    TempDir Dir;
    ScriptedPrompter Prompter;
};

} // namespace

TEST_F(CaddisTest, ListsProgramsWithBackupsAndExchangesOnConfirmation) {
    TCaddisWindow window(Dir.Path(), Prompter);
    QTreeWidget* tree = window.TreeArchive;
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "LIST.RPG");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    QTreeWidgetItem* pay = tree->topLevelItem(1);
    ASSERT_EQ(pay->childCount(), 1);
    EXPECT_EQ(pay->child(0)->text(0), "PAY.~RP");
    EXPECT_EQ(pay->text(1), "5");

    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_FALSE(window.BtnExchange->isEnabled());

    tree->setCurrentItem(pay->child(0));
    ASSERT_TRUE(window.BtnExchange->isEnabled());
    Prompter.Queue(Prompter::Answer::No);
    window.BtnExchange->click();
    ASSERT_EQ(Prompter.Messages.size(), 1u);
    EXPECT_EQ(Prompter.Messages[0].BoxKind, Prompter::Kind::Confirmation);
    EXPECT_EQ(Content(Dir.File("PAY.RPG")), "new");

    tree->setCurrentItem(tree->topLevelItem(1));
    Prompter.Queue(Prompter::Answer::Yes);
    window.BtnExchange->click();
    EXPECT_EQ(Content(Dir.File("PAY.RPG")), "old");
    EXPECT_EQ(Content(Dir.File("PAY.~RP")), "new");
    EXPECT_EQ(window.TreeArchive->topLevelItemCount(), 2); // read again
}

TEST_F(CaddisTest, RepositoryOpensOnTheProgramDirectory) {
    std::string version;
    GetCaddisVersion(version);
    EXPECT_FALSE(version.empty());

    QString shown;
    WhenModalShown("TCaddisWindow", [&shown](QWidget& window) {
        shown = Control<QLabel>(window, "LabelFolder")->text();
        Control<QPushButton>(window, "BtnClose")->click();
    });
    CaddisShowRepository(orvale::CodePage::Latin1());
    EXPECT_EQ(shown.toStdString(), "Programs of " + CurrentProgramDir());
}
