#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/ColSortListView.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormCompileStat.h"
#include "ui/FormConvProgress.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using orvale::ProgramPage;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;

namespace {

const std::string kMember = std::string(ORVALE_CORPUS_DIR) + "/MIDAS__DL1610.RPG.RP3";
constexpr int kRpgPageIndex = 3;

class EditorBuild : public orvale::test::EditorWindowTest {
protected:
    void Select(const std::string& text) { Window->SelectNode(Node(text)); }
    void ShowRpgPage() { Window->PageControl->setCurrentIndex(kRpgPageIndex); }
    void ShowSourcePage() { Window->PageControl->setCurrentIndex(0); }

    // A new program whose first output section holds Lines.
    TEDITSection& NewOutput(const StringList& lines) {
        Doc().NewProgram();
        TEDITSection* section = Doc().AddOutput("QPRINT", "");
        section->SetLines(lines);
        Window->SelectNode(Node("QPRINT"));
        return *section;
    }
};

std::vector<int> Numbers(const TColSortListView& list, int column) {
    std::vector<int> values;
    for (int i = 0; i < list.ItemCount(); ++i)
        values.push_back(list.Item(i)->text(column).toInt());
    return values;
}

} // namespace

TEST_F(EditorBuild, ImportedMemberShowsItsSectionsAndCompiledLines) {
    if (!std::filesystem::exists(kMember))
        GTEST_SKIP() << "no corpus";
    Window->ImportSource(kMember);
    EXPECT_FALSE(Doc().ImportCancelled);
    EXPECT_TRUE(Window->isEnabled());
    EXPECT_EQ(Doc().FileName, "MIDAS__DL1610.RPG.RPG");
    ASSERT_GT(Doc().SubRoutinesNode->Count(), 1);
    ASSERT_GT(Doc().OutputNode->Count(), 0);
    EXPECT_EQ(Doc().SubRoutinesNode->Child(0)->ImageIndex, 9);
    EXPECT_EQ(Doc().OutputNode->Child(0)->ImageIndex, 19);
    EXPECT_EQ(Window->ActivePage(), ProgramPage::Objects);

    // The folder's list sorts its line counts as numbers.
    Select("Sub Routines");
    Window->ListViewObject->ColumnClick(1);
    std::vector<int> lines = Numbers(*Window->ListViewObject, 1);
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    EXPECT_NE(lines.front(), lines.back());

    // The RPG/400 page shows the section's compiled lines, compiled again after an edit.
    TreeNode* routine = Doc().SubRoutinesNode->Child(0);
    Window->SelectNode(routine);
    ShowRpgPage();
    ASSERT_FALSE(routine->Section()->CompiledTexts().empty());
    EXPECT_EQ(Window->MemoRPGView->Lines(), routine->Section()->CompiledTexts());
    EXPECT_EQ(Window->LastRpgViewSection, routine->Section());
    ShowSourcePage();
    Window->RichEditSource->SetCaretPos(0, 0);
    QTest::keyClicks(Window->RichEditSource, "    Move('1',WWCNT)");
    QTest::keyClick(Window->RichEditSource, Qt::Key_Return);
    ShowRpgPage();
    EXPECT_FALSE(Doc().EditorModified);
    EXPECT_TRUE(routine->Section()->CompiledValid);
    StringList shown = Window->MemoRPGView->Lines();
    EXPECT_EQ(shown, routine->Section()->CompiledTexts());
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const std::string& line) {
        return line.find("MOVE") != std::string::npos && line.find("WWCNT") != std::string::npos;
    }));
}

TEST_F(EditorBuild, FlagNodesFillTheObjectList) {
    if (!std::filesystem::exists(kMember))
        GTEST_SKIP() << "no corpus";
    Window->ImportSource(kMember);
    Select("Indicators");
    TColSortListView& list = *Window->ListViewObject;
    ASSERT_GT(list.ItemCount(), 2);
    EXPECT_EQ(list.ColumnCaption(0), "Flag");
    EXPECT_EQ(list.ColumnCaption(2), "Line");
    Window->ListViewObject->ColumnClick(2);
    std::vector<int> lines = Numbers(list, 2);
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    // A row leads to the section it names.
    QTreeWidgetItem* first = list.Item(0);
    std::string section = first->text(1).toStdString();
    emit list.ReportView()->itemDoubleClicked(first, 0);
    EXPECT_EQ(Doc().Tree.Selected()->Text, section);
}

TEST_F(EditorBuild, CancelStopsTheImport) {
    if (!std::filesystem::exists(kMember))
        GTEST_SKIP() << "no corpus";
    // The user clicks Cancel once the conversion is under way.
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&watch] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<TFormConvProgress*>(top);
                progress && progress->ProgressBar->value() > 0) {
                progress->BtnCancel->click();
                watch.stop();
            }
    });
    watch.start();
    Window->ImportSource(kMember);
    EXPECT_TRUE(Doc().ImportCancelled);
    EXPECT_EQ(Doc().OutputNode->Count(), 0);
    EXPECT_TRUE(Window->isEnabled());
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFormConvProgress*>(top), nullptr);
}

TEST_F(EditorBuild, CompileShowsTheStatisticsUntilRead) {
    Doc().NewProgram();
    TEDITSection* bad = Doc().AddSubRoutine("BAD", "");
    bad->SetLines({"                Begsr(BAD)", "    NOSUCHOP(X)", "                Endsr()"});
    QString button, errors;
    QStringList errorLines;
    Window->Services.RunDialog = [&](QDialog& dialog) {
        auto& form = dynamic_cast<TFormCompileStat&>(dialog);
        button = form.BtnCancel->text();
        errors = form.LabelErrors->text();
        for (int i = 0; i < form.ListErrors->count(); ++i)
            errorLines << form.ListErrors->item(i)->text();
        return true;
    };
    EXPECT_FALSE(Window->CompileProgram(false));
    EXPECT_EQ(button, "Ok");
    EXPECT_EQ(errors, "1");
    // Under the section's line, each finding with the statement it came from.
    EXPECT_EQ(errorLines, QStringList({"BAD              Warnings: 0    Errors: 1",
                                       "    line 2: **ERROR: Invalid operating code!"}));
    EXPECT_TRUE(Window->isEnabled());

    // Nothing has changed since: nothing is compiled and the result is clean.
    errorLines.clear();
    EXPECT_TRUE(Window->CompileProgram(false));
    EXPECT_TRUE(errorLines.isEmpty());
}

TEST_F(EditorBuild, AMendedErrorLeavesNoStaleMessageBehind) {
    Doc().NewProgram();
    TEDITSection* bad = Doc().AddSubRoutine("BAD", "");
    bad->SetLines({"                Begsr(BAD)", "    NOSUCHOP(X)", "                Endsr()"});
    Window->Services.RunDialog = [](QDialog&) { return true; };
    auto message = [&] {
        return Window->StatusPanel(TEditorsHolder::MessagePanel)->text().toStdString();
    };
    Window->CompileProgram(true);
    EXPECT_EQ(message(), "Compiled: 1 error, 0 warnings; F8 goes to the next one.");
    ASSERT_TRUE(Window->GoToFinding(1));
    EXPECT_NE(message().find("**ERROR: Invalid operating code!"), std::string::npos);

    // Mended and built again: the panel says so, and F8 finds nothing to go to.
    Window->SelectNode(Doc().FindNodeByText("BAD"));
    Window->RichEditSource->SetLines(
        {"                Begsr(BAD)", "    Z-ADD(1,X)", "                Endsr()"});
    Doc().EditorModified = true;
    Window->CompileProgram(true);
    EXPECT_EQ(message(), "Compiled: no error or warning.");
    EXPECT_FALSE(Window->GoToFinding(1));
    EXPECT_EQ(message(), "No error or warning in the compiled sections");
}

TEST_F(EditorBuild, StatisticsWindowStaysWhileTheCompileRuns) {
    Doc().NewProgram();
    TFormCompileStat form(Doc(), "PAYROLL.RPG");
    EXPECT_EQ(form.windowTitle(), "Compiling");
    EXPECT_EQ(form.BtnCancel->text(), "&Cancel");
    form.show();
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(Doc().CompileStopRequested);
    Doc().CompileStopRequested = false;
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(Doc().CompileStopRequested);
    Doc().CompileStopRequested = false;
    form.BtnCancel->click();
    EXPECT_TRUE(Doc().CompileStopRequested);
    EXPECT_TRUE(form.isVisible());

    form.Finish();
    EXPECT_EQ(form.BtnCancel->text(), "Ok");
    form.BtnCancel->click();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(EditorBuild, ProgressWindowOnlyAsksTheImportToStop) {
    TFormConvProgress form(Doc());
    EXPECT_EQ(form.windowTitle(), "Convert from RPG Source");
    form.show();
    form.SetMaximum(250);
    form.SetPosition(100);
    form.SetCaption("100");
    EXPECT_EQ(form.ProgressBar->value(), 100);
    EXPECT_EQ(form.LabelLines->text(), "100");
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(Doc().ImportCancelled);
    EXPECT_TRUE(form.isVisible());
    Doc().ImportCancelled = false;
    form.BtnCancel->click();
    EXPECT_TRUE(Doc().ImportCancelled);
}

TEST_F(EditorBuild, PrintDesignAidNeedsACleanSection) {
    int calls = 0;
    Window->Services.PrintDesign = [&](StringList&, const orvale::CodePage&) {
        ++calls;
        return false;
    };
    // Text after a statement's closing parenthesis draws one warning and no error.
    NewOutput({"    OUTBegin(QPRINT,H,,,,,1P)", "        LConst('H',1) stray"});
    ASSERT_TRUE(Window->SpeedBtnPrnAid->isEnabled());
    Box.Clear();
    Window->SpeedBtnPrnAidClick();
    EXPECT_EQ(calls, 0);
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(
        Box.Messages.back(),
        (ScriptedPrompter::Shown{Prompter::Kind::Plain, "Sorry, There are some Error or Warning!",
                                 Prompter::Buttons::Ok, ""}));
}

TEST_F(EditorBuild, PrintDesignAidTakesTheDesignedLines) {
    StringList designed{"    OUTBegin(QPRINT,H,,,,,1P)", "        LConst('TITLE',20)"};
    StringList given;
    const orvale::CodePage* handed = nullptr;
    Window->Services.PrintDesign = [&](StringList& lines, const orvale::CodePage& page) {
        handed = &page;
        given = lines;
        lines = designed;
        return true;
    };
    TEDITSection& section = NewOutput({"    OUTBegin(QPRINT,H,,,,,1P)", "        LConst('H',1)"});
    Box.Clear();
    Window->SpeedBtnPrnAidClick();
    EXPECT_TRUE(Box.Messages.empty());
    // The aid gets the lines in the code page of the window's program.
    EXPECT_EQ(handed, &Window->Edge.Page());
    EXPECT_EQ(given, (StringList{"    OUTBegin(QPRINT,H,,,,,1P)", "        LConst('H',1)"}));
    EXPECT_EQ(Window->RichEditSource->Lines(), designed);
    // Stored in the section and compiled again.
    EXPECT_EQ(section.LineTexts(), designed);
    EXPECT_TRUE(section.CompiledValid);
    EXPECT_TRUE(std::any_of(
        section.Compiled().begin(), section.Compiled().end(),
        [](const CompiledLine& l) { return l.Text.find("'TITLE'") != std::string::npos; }));
}
