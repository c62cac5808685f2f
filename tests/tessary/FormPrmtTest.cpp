#include "tessary/FormPrmt.h"
#include "platform/SafeSave.h"
#include "support/TempDir.h"
#include "tessary/Tessary.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tessary;
using orvale::test::TempDir;

namespace {

QApplication& App() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *app;
    static int argc = 1;
    static char name[] = "tessary-tests";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

constexpr const char* PromptFile = "[ParamName]\n"
                                   "ADD=Factor 1;Factor 2;Result\n"
                                   "IFxx=Factor 1;Factor 2\n"
                                   "[ParamLeng]\n"
                                   "ADD=10;10;6\n"
                                   "IFxx=10\n"
                                   "[ParamNote]\n"
                                   "ADD=First;Second;Sum\n"
                                   "[OpCodeDesc]\n"
                                   "ADD=Add two numbers\n";

class PromptWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(orvale::WriteFileSafely(dir.File("PromptH.PRM"), PromptFile));
    }
    std::string Cell(QTableWidget* grid, int row) {
        QTableWidgetItem* item = grid->item(row, 0);
        return item ? item->text().toStdString() : std::string("<none>");
    }
    std::string Value(int row) {
        QLineEdit* editor = form.ValueEditor(row);
        return editor ? editor->text().toStdString() : std::string("<none>");
    }
    QApplication& app = App(); // before the window
    TempDir dir;
    TFPrmtH form;
};

} // namespace

TEST_F(PromptWindow, RowsShowTheEntryAndTheValuesOfTheText) {
    form.Fill(dir.Path(), "ADD(A,B");
    EXPECT_EQ(form.windowTitle().toStdString(), "Prompt Help - ADD  Add two numbers");
    EXPECT_EQ(form.OpCode(), "ADD");
    EXPECT_EQ(form.ProgramDir(), dir.Path());
    for (QTableWidget* grid : {form.StringName, form.StringValu, form.StringLeng, form.StringNote})
        EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(Cell(form.StringName, 1), "Factor 1");
    EXPECT_EQ(Cell(form.StringName, 3), "Result");
    EXPECT_EQ(Cell(form.StringLeng, 3), "6");
    EXPECT_EQ(Cell(form.StringNote, 2), "Second");
    EXPECT_EQ(Value(1), "A");
    EXPECT_EQ(Value(2), "B");
    EXPECT_EQ(Value(3), "");
    EXPECT_FALSE(form.StringName->isEnabled());
    EXPECT_TRUE(form.StringValu->isEnabled());

    form.BtnOk->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.WorkText, "ADD(A, B)");
}

TEST_F(PromptWindow, ResultIsHeadedByTheResolvedCode) {
    form.Fill(dir.Path(), "IFEQ(X,Y");
    form.BtnOk->click();
    EXPECT_EQ(form.WorkText, "IFxx(X, Y)");
}

TEST_F(PromptWindow, EmptyMiddleValueKeepsItsPlace) {
    form.Fill(dir.Path(), "ADD(A,,C");
    EXPECT_EQ(Value(2), "");
    form.BtnOk->click();
    EXPECT_EQ(form.WorkText, "ADD(A, , C)");
}

TEST_F(PromptWindow, TextWithoutParenthesisPromptsTheWholeTextAsCode) {
    form.Fill(dir.Path(), "ADD");
    EXPECT_EQ(form.StringValu->rowCount(), 4);
    EXPECT_EQ(Value(1), "");
    QTest::keyClicks(form.ValueEditor(3), "TOTAL");
    form.BtnOk->click();
    EXPECT_EQ(form.WorkText, "ADD(, , TOTAL)");
}

TEST_F(PromptWindow, TypedValuesAreCutToTheRowLength) {
    form.Fill(dir.Path(), "IFEQ(X,Y");
    form.show();
    QLineEdit* first = form.ValueEditor(1);
    QLineEdit* second = form.ValueEditor(2);
    first->clear();
    QTest::keyClicks(first, "ABCDEFGHIJKLMN");
    EXPECT_EQ(first->text().toStdString(), "ABCDEFGHIJ");
    // A row without a length takes ten characters.
    second->clear();
    QTest::keyClicks(second, "0123456789XYZ");
    EXPECT_EQ(second->text().toStdString(), "0123456789");

    form.Fill(dir.Path(), "ADD(A,B,LONGNAME");
    QLineEdit* result = form.ValueEditor(3);
    // What the text brought is kept until it is edited.
    EXPECT_EQ(result->text().toStdString(), "LONGNAME");
    result->setCursorPosition(2);
    QTest::keyClicks(result, "X");
    EXPECT_EQ(result->text().toStdString(), "LOXNGN");
    EXPECT_EQ(result->cursorPosition(), 3);
}

TEST_F(PromptWindow, EnterConfirmsAndEscapeCancelsFromAnywhere) {
    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    QTest::keyClick(form.ValueEditor(2), Qt::Key_Return);
    EXPECT_EQ(form.WorkText, "ADD(A, B)");
    EXPECT_FALSE(form.isVisible());

    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    QTest::keyClick(form.BtnCancel, Qt::Key_Enter);
    EXPECT_EQ(form.WorkText, "ADD(A, B)");

    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    QTest::keyClick(form.ValueEditor(1), Qt::Key_Escape);
    EXPECT_EQ(form.WorkText, "CANCEL");
    EXPECT_EQ(form.result(), QDialog::Rejected);

    form.Fill(dir.Path(), "ADD(A,B");
    form.BtnCancel->click();
    EXPECT_EQ(form.WorkText, "CANCEL");
}

TEST_F(PromptWindow, CloseBoxLeavesTheEditorTextAlone) {
    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    form.close();
    EXPECT_EQ(form.WorkText, "CANCEL");
}

TEST_F(PromptWindow, HeightFollowsTheRowCount) {
    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    EXPECT_EQ(form.height(), 19 * 4 + 76);
    form.hide();
    form.Fill(dir.Path(), "IFEQ(X,Y");
    form.show();
    EXPECT_EQ(form.height(), 19 * 3 + 76);
}

TEST_F(PromptWindow, ExportedPromptRunsTheModalWindow) {
    std::string result;
    // The library holds its own copy of the window class, so its window is found by name.
    QTimer::singleShot(0, [] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        auto* result = window->findChild<QLineEdit*>("Value3");
        ASSERT_NE(result, nullptr);
        QTest::keyClicks(result, "SUM");
        QTest::keyClick(result, Qt::Key_Return);
    });
    DoPromptHelp(dir.Path(), "ADD(A,B", result, orvale::CodePage::Latin1());
    EXPECT_EQ(result, "ADD(A, B, SUM)");

    QTimer::singleShot(0, [] {
        if (QWidget* window = QApplication::activeModalWidget())
            QTest::keyClick(window, Qt::Key_Escape);
    });
    DoPromptHelp(dir.Path(), "ADD(A,B", result, orvale::CodePage::Latin1());
    EXPECT_EQ(result, "CANCEL");
}

TEST_F(PromptWindow, AWarningStandsAboveTheRowsOnlyWhenThereIsOne) {
    TPromptRows rows = PreparePrompt(dir.Path(), "ADD(A,B");
    rows.Warning = "ZADD is not an operation code.";
    form.Fill(dir.Path(), "ADD(A,B", rows);
    form.show();
    EXPECT_TRUE(form.LabelWarning->isVisible());
    EXPECT_EQ(form.LabelWarning->text().toStdString(), rows.Warning);
    EXPECT_GT(form.height(), 19 * 4 + 76);
    form.hide();
    form.Fill(dir.Path(), "ADD(A,B");
    form.show();
    EXPECT_FALSE(form.LabelWarning->isVisible());
}

TEST_F(PromptWindow, ARawLineComesBackAsTyped) {
    TPromptRows rows;
    rows.Code = "RPG";
    rows.Raw = true;
    rows.Names = {"Line from column 6"};
    rows.Values = {"C   01      A   ADD  B"};
    rows.Lengths = {"69"};
    form.Fill(dir.Path(), "RPG(C   01      A   ADD  B)", rows);
    ASSERT_NE(form.ValueEditor(1), nullptr);
    form.ValueEditor(1)->setText("C   02      A   ADD  B,  C");
    form.BtnOk->click();
    EXPECT_EQ(form.WorkText, "RPG(C   02      A   ADD  B,  C)");
}

TEST_F(PromptWindow, ExportedStatementPromptTakesTheSectionsStatements) {
    ASSERT_TRUE(
        orvale::WriteFileSafely(dir.File("PromptS.PRM"), "[FieldName]\nL01=Printer File\n"));
    std::string result;
    QStringList names;
    QTimer::singleShot(0, [&names] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        auto* grid = window->findChild<QTableWidget*>("StringName");
        for (int row = 1; grid && row < grid->rowCount(); ++row)
            names << (grid->item(row, 0) ? grid->item(row, 0)->text() : QString());
        auto* length = window->findChild<QLineEdit*>("Value2");
        ASSERT_NE(length, nullptr);
        length->setText("88");
        QTest::keyClick(length, Qt::Key_Return);
    });
    DoStatementPromptHelp(dir.Path(), 'L', "LineCount(QPRINT,66,FL,60,OL)", result,
                          orvale::CodePage::Latin1());
    EXPECT_EQ(names.size(), 5);
    EXPECT_EQ(names.value(0), "Printer File");
    EXPECT_EQ(result, "LineCount(QPRINT, 88, FL, 60, OL)");
}
