#include "outside/Verrow.h"
#include "ModalWindow.h"
#include "outside/VerrowDialog.h"
#include "platform/TextFile.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using orvale::test::TempDir;

namespace {

void WriteProgram(const std::string& path, const std::string& description) {
    ASSERT_TRUE(
        orvale::WriteTextFile(path, {"[Begin Of Tree Program]", "[3]", "[Description]",
                                     "[Program's Description]", "[01/02/2024]", "[01/02/2024]",
                                     "[1]", description, "[End Of Sec]", "", "[End Of Program]"}));
}

class VerrowTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale::test::QtApp();
        WriteProgram(Dir.File("AAA.RPG"), "Monthly invoices");
        WriteProgram(Dir.File("BBB.RPG"), "Customer list");
        ASSERT_TRUE(orvale::WriteTextFile(Dir.File("CCC.RPG"), {"     H"}));
    }
    TempDir Dir;
};

} // namespace

TEST_F(VerrowTest, ShowsEachProgramsDescription) {
    TVerrowDialog dialog(Dir.Path());
    ASSERT_EQ(dialog.ListPrograms->count(), 3);
    EXPECT_EQ(dialog.ListPrograms->currentRow(), 0);
    EXPECT_EQ(dialog.LabelCaption->text(), "Program's Description");
    EXPECT_EQ(dialog.MemoDescription->toPlainText().trimmed(), "Monthly invoices");
    dialog.ListPrograms->setCurrentRow(2);
    EXPECT_EQ(dialog.LabelCaption->text(), "Not a tree program.");
    EXPECT_TRUE(dialog.MemoDescription->toPlainText().isEmpty());
    EXPECT_TRUE(dialog.BtnOK->isEnabled());
    EXPECT_EQ(dialog.SelectedPath(), ""); // not accepted yet

    dialog.SetFolder(Dir.File("none"));
    EXPECT_EQ(dialog.ListPrograms->count(), 0);
    EXPECT_FALSE(dialog.BtnOK->isEnabled());
    EXPECT_EQ(dialog.LabelCaption->text(), "No program in this folder.");
}

TEST_F(VerrowTest, BrowseReturnsTheChosenProgramOrNothing) {
    std::string version;
    GetVerrowVersion(version);
    EXPECT_FALSE(version.empty());

    std::string path = Dir.Path();
    WhenModalShown("TVerrowDialog", [](QWidget& dialog) {
        Control<QListWidget>(dialog, "ListPrograms")->setCurrentRow(1);
        Control<QPushButton>(dialog, "BtnOK")->click();
    });
    VerrowBrowse(path, orvale::CodePage::Latin1());
    EXPECT_EQ(path, Dir.File("BBB.RPG"));

    // Without a place the browser starts where it was left; Cancel gives nothing.
    path.clear();
    std::string shownFolder;
    WhenModalShown("TVerrowDialog", [&shownFolder](QWidget& dialog) {
        shownFolder = Control<QLineEdit>(dialog, "EditFolder")->text().toStdString();
        Control<QPushButton>(dialog, "BtnCancel")->click();
    });
    VerrowBrowse(path, orvale::CodePage::Latin1());
    EXPECT_EQ(path, "");
    EXPECT_EQ(shownFolder, Dir.Path());

    // A file names its folder; double click opens.
    path = Dir.File("AAA.RPG");
    WhenModalShown("TVerrowDialog", [](QWidget& dialog) {
        QListWidget* list = Control<QListWidget>(dialog, "ListPrograms");
        emit list->itemDoubleClicked(list->item(0));
    });
    VerrowBrowse(path, orvale::CodePage::Latin1());
    EXPECT_EQ(path, Dir.File("AAA.RPG"));
}
