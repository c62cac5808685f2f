// The library in the main frame as a user works with it: the library panel and its filter,
// members opened as programs of the work folder or read-only, Open Copy Member, Where Used
// and its CSV, Find in Library, the library's lines of the field cross-reference, Compare.

#include "ui/LibraryFrame.h"

#include "FrameUser.h"
#include "calvex/support/SpecLine.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"
#include "ui/CompareWindow.h"
#include "ui/EditorsHolder.h"
#include "ui/ExtRichEdit.h"
#include "ui/LibraryFindDock.h"
#include "ui/LibraryPanel.h"
#include "ui/MainForm.h"
#include "ui/MemberViewer.h"
#include "ui/WhereUsedDock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTreeView>
#include <QTreeWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using calvex::test::SpecLine;
using orvale::ScriptedPrompter;
using orvale::test::FrameUser;
using orvale::test::TempDir;
using ::testing::HasSubstr;

namespace {

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

class LibraryFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale::test::QtApp();
        ::setenv("XDG_CACHE_HOME", Dir.File("cache").c_str(), 1);
        Write("QDDSSRC/CUSTF.PF", Lines({SpecLine('A', {{17, "R"}, {19, "CUSTR"}}),
                                         SpecLine('A', {{19, "CUSNO"}, {30, "    7"}, {36, " 0"}}),
                                         SpecLine('A', {{19, "CUSNAM"}, {30, "   30"}})}));
        Write("QRPGSRC/CUS001.RPG",
              Lines({SpecLine('F', {{7, "CUSTF"}, {15, "IF"}, {19, "E"}, {31, "K"}, {40, "DISK"}}),
                     SpecLine(' ', {{7, "/COPY QCPYSRC,DATES"}}),
                     SpecLine('C', {{18, "CUSNO"}, {28, "CHAIN"}, {33, "CUSTR"}, {54, "90"}}),
                     SpecLine('C', {{28, "MOVE"}, {33, "CUSNAM"}, {43, "NAME"}, {49, " 30"}}),
                     SpecLine('C', {{28, "SETON"}, {54, "LR"}})}));
        Write("QCPYSRC/DATES.RPG",
              Lines({SpecLine(
                  'C', {{28, "Z-ADD"}, {33, "CUSNO"}, {43, "WKNO"}, {49, "  7"}, {52, "0"}})}));
        Write("QCLSRC/NIGHT.CLP", Lines({"PGM", "CALL PGM(CUS001)", "ENDPGM"}));
        std::string programDir = Dir.Path() + "/";
        orvale::test::AddUser(programDir, "MARIO", "RPG400");
        User.Dialogs.push_back(FrameUser::Login("MARIO", "RPG400"));
        Frame = std::make_unique<TMainForm>(Box, User.Services());
        Frame->ProgramDir = programDir;
        Frame->show();
        Frame->Startup();
        Library = Frame->Library;
        Library->DataRoot = Dir.File("data");
        ASSERT_TRUE(Library->OpenLibrary(Dir.File("lib")));
        Library->Panel->WaitForRefresh();
    }

    void TearDown() override {
        for (TEditorsHolder* w : Frame->EditorWindows())
            w->DiscardChanges();
        Frame.reset();
        ::unsetenv("XDG_CACHE_HOME");
    }

    void Write(const std::string& relative, const std::string& text) {
        std::filesystem::path p = Dir.File("lib/" + relative);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }

    TempDir Dir;
    ScriptedPrompter Box;
    FrameUser User;
    std::unique_ptr<TMainForm> Frame;
    TLibraryFrame* Library = nullptr;
};

TEST_F(LibraryFrameTest, ThePanelListsTheMembersAndFiltersThem) {
    TLibraryPanel* panel = Library->Panel;
    EXPECT_TRUE(panel->isVisible());
    QAbstractItemModel* model = panel->ListMembers->model();
    EXPECT_EQ(model->rowCount(), 4);
    panel->EditFilter->setText("cus0*");
    EXPECT_EQ(model->rowCount(), 1);
    panel->EditFilter->setText("*");
    panel->ComboType->setCurrentIndex(panel->ComboType->findText("CLP"));
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 1).data().toString(), "NIGHT");
    panel->ComboType->setCurrentIndex(0);
    // Sorted by lines, the longest first.
    panel->ListMembers->sortByColumn(4, Qt::DescendingOrder);
    EXPECT_EQ(model->index(0, 1).data().toString(), "CUS001");
    // The library comes first in the recent list.
    EXPECT_EQ(Library->RecentLibrariesMenu->actions().size(), 1);
}

TEST_F(LibraryFrameTest, AnRpgMemberOpensAsAProgramOfTheWorkFolderOtherMembersReadOnly) {
    auto* program = qobject_cast<TEditorsHolder*>(Library->OpenMember("QRPGSRC/CUS001.RPG", 3));
    ASSERT_NE(program, nullptr);
    std::string file = program->Document->FilePath + program->Document->FileName;
    EXPECT_EQ(file.rfind(Dir.File("data"), 0), 0u) << file;
    EXPECT_TRUE(orvale::FileExists(file));
    EXPECT_EQ(Library->MemberOf(program), "QRPGSRC/CUS001.RPG");
    // The member's line 3 is the CHAIN: the caret stands on its statement.
    EXPECT_THAT(program->RichEditSource->textCursor().block().text().toUpper().toStdString(),
                HasSubstr("CHAIN"))
        << program->RichEditSource->toPlainText().toStdString();
    // Nothing was written into the library.
    for (const auto& e : std::filesystem::recursive_directory_iterator(Dir.File("lib")))
        EXPECT_THAT(e.path().extension().string(), ::testing::Not(HasSubstr("RP3")));
    // Asked again, the same window comes forward.
    EXPECT_EQ(Library->OpenMember("QRPGSRC/CUS001.RPG"), program);

    auto* viewer = qobject_cast<TMemberViewer*>(Library->OpenMember("QCLSRC/NIGHT.CLP", 2));
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->EditText->isReadOnly());
    EXPECT_EQ(viewer->CurrentLine(), 2);
}

TEST_F(LibraryFrameTest, ACopyLineOpensItsCopyMember) {
    auto* program = qobject_cast<TEditorsHolder*>(Library->OpenMember("QRPGSRC/CUS001.RPG"));
    ASSERT_NE(program, nullptr);
    EXPECT_TRUE(Library->OpenCopyMember("QRPGSRC/CUS001.RPG", "#/COPY QCPYSRC,DATES"));
    EXPECT_FALSE(Library->OpenCopyMember("QRPGSRC/CUS001.RPG", "#/COPY QCPYSRC,NOSUCH"));
    EXPECT_FALSE(Library->OpenCopyMember("QRPGSRC/CUS001.RPG", "Z-ADD(1,X)"));
    bool shown = false;
    for (const auto* w : Frame->EditorWindows())
        shown = shown || Library->MemberOf(w) == "QCPYSRC/DATES.RPG";
    EXPECT_TRUE(shown);
}

TEST_F(LibraryFrameTest, TheProgramWindowOpensCopyMembersAndShowsTheLibraryInItsCrossReference) {
    auto* program = qobject_cast<TEditorsHolder*>(Library->OpenMember("QRPGSRC/CUS001.RPG", 2));
    ASSERT_NE(program, nullptr);
    QWidget* before = Frame->MdiArea->activeSubWindow()->widget();
    // F3 on the /COPY line.
    ASSERT_THAT(program->RichEditSource->textCursor().block().text().toStdString(),
                HasSubstr("/COPY"));
    // F3 there is not Search Again, which has the key everywhere else.
    program->RichEditSource->setFocus();
    QTest::keyClick(program->RichEditSource, Qt::Key_F3);
    QWidget* copy = Frame->MdiArea->activeSubWindow()->widget();
    EXPECT_NE(copy, before);
    EXPECT_EQ(Library->MemberOf(copy), "QCPYSRC/DATES.RPG");
    // Ctrl+click on the /COPY line does the same.
    Frame->MdiArea->setActiveSubWindow(Frame->SubWindowOf(program));
    QPoint at = program->RichEditSource->cursorRect().center();
    QTest::mouseClick(program->RichEditSource->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_EQ(Frame->MdiArea->activeSubWindow()->widget(), copy);
    // On a line that names no copy member, the window says so.
    Frame->MdiArea->setActiveSubWindow(Frame->SubWindowOf(program));
    EXPECT_FALSE(program->OpenCopyMemberAt(0));
    EXPECT_THAT(program->StatusPanel(TEditorsHolder::MessagePanel)->text().toStdString(),
                HasSubstr("No copy member"));

    // Shift+F4 on CUSNO: the program's uses, then the copy member's and the file's.
    program->OpenCopyMemberAt(-1); // the caret stays; nothing opens twice
    TreeNode* node = nullptr;
    program->Document->ForEachNode([&](TreeNode* n) {
        if (!node && n->Section())
            for (const std::string& l : n->Section()->LineTexts())
                if (l.find("CUSNO") != std::string::npos) {
                    node = n;
                    break;
                }
        return true;
    });
    ASSERT_NE(node, nullptr);
    program->SelectNode(node);
    int line = 0;
    const StringList& lines = node->Section()->LineTexts();
    while (lines[static_cast<size_t>(line)].find("CUSNO") == std::string::npos)
        ++line;
    program->GoToPlace(node, line,
                       static_cast<int>(lines[static_cast<size_t>(line)].find("CUSNO")));
    program->PopCrossReference->trigger();
    QTreeWidget* list = program->ListCrossRef;
    ASSERT_NE(list, nullptr);
    QStringList places;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        places << list->topLevelItem(i)->text(0);
    EXPECT_TRUE(places.contains("copy member QCPYSRC/DATES.RPG")) << places.join("|").toStdString();
    EXPECT_TRUE(places.contains("file CUSTF, format CUSTR"));
}

TEST_F(LibraryFrameTest, ARefreshShowsMembersAddedAndDropsMembersRemoved) {
    Write("QCLSRC/LATER.CLP", Lines({"PGM", "ENDPGM"}));
    std::filesystem::remove(Dir.File("lib/QCLSRC/NIGHT.CLP"));
    Library->Panel->Refresh();
    Library->Panel->WaitForRefresh();
    QAbstractItemModel* model = Library->Panel->ListMembers->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 1).data().toString();
    EXPECT_TRUE(names.contains("LATER"));
    EXPECT_FALSE(names.contains("NIGHT"));
    EXPECT_EQ(Library->Panel->LastReport().Removed, 1u);
}

TEST_F(LibraryFrameTest, WhereUsedListsRolesAndSavesThemAsCsv) {
    TWhereUsedDock* dock = Library->WhereDock;
    EXPECT_EQ(dock->Show("cus001"), 1);
    QTreeWidgetItem* row = dock->ListHits->topLevelItem(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(0), "QCLSRC/NIGHT.CLP");
    EXPECT_EQ(row->text(2), "calls");
    EXPECT_EQ(dock->Show("CUSTF"), 3);
    std::string csv = Dir.File("where.csv");
    std::string error;
    ASSERT_TRUE(dock->SaveCsv(csv, error)) << error;
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(csv, lines));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "member,line,role,kind,name,operation,text");
    EXPECT_EQ(lines[2].substr(0, 39), "QRPGSRC/CUS001.RPG,1,declares,file,CUST");
    EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
}

TEST_F(LibraryFrameTest, FindInLibraryGroupsItsHitsByMember) {
    TLibraryFindDock* dock = Library->FindDock;
    dock->EditText->setText("cusno");
    dock->CheckCase->setChecked(false);
    ASSERT_TRUE(dock->Start());
    dock->WaitForSearch();
    ASSERT_EQ(dock->TreeResults->topLevelItemCount(), 3);
    EXPECT_THAT(dock->TreeResults->topLevelItem(0)->text(0).toStdString(),
                HasSubstr("QCPYSRC/DATES.RPG (1)"));
    EXPECT_EQ(dock->TreeResults->topLevelItem(2)->child(0)->text(0), "3");
    EXPECT_THAT(dock->LabelCounts->text().toStdString(), HasSubstr("3 lines in 3 of 4 members"));
    dock->EditText->clear();
    EXPECT_FALSE(dock->Start());
}

TEST_F(LibraryFrameTest, TheFieldCrossReferenceBringsCopyMembersAndFileFields) {
    auto* program = qobject_cast<TEditorsHolder*>(Library->OpenMember("QRPGSRC/CUS001.RPG"));
    ASSERT_NE(program, nullptr);
    std::vector<TLibraryXrefRow> rows = Library->FieldRows(*program, "cusno");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Place, "copy member QCPYSRC/DATES.RPG");
    EXPECT_EQ(rows[0].Role, "reads");
    EXPECT_EQ(rows[1].Place, "file CUSTF, format CUSTR");
    EXPECT_EQ(rows[1].Text, "length 7, decimals 0, type P");
}

TEST_F(LibraryFrameTest, CompareShowsChangedLinesAndStepsThroughTheDifferences) {
    StringList a = {"     C                     EXSR A", "same",
                    "     C                     EXSR B"};
    StringList b = {"     C                     EXSR X", "same",
                    "     C                     EXSR B", "new"};
    TCompareWindow* window = Library->Compare("left", a, "right", b);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->DifferenceCount(), 2);
    EXPECT_EQ(window->CurrentDifference(), 0);
    EXPECT_TRUE(window->GoToDifference(1));
    EXPECT_FALSE(window->GoToDifference(1));
    EXPECT_TRUE(window->GoToDifference(-1));
    EXPECT_EQ(window->EditLeft->document()->blockCount(),
              window->EditRight->document()->blockCount());
    window->close();

    // A program's source is shown in the program's code page, the member in the library's:
    // the same bytes read as Chinese on the left and as ISO-8859-1 on the right.
    const orvale::CodePage* big5 = orvale::CodePage::Shared("BIG5");
    ASSERT_NE(big5, nullptr);
    const StringList chinese = {"     C* \xB8\xEA\xAE\xC6"};
    window = Library->Compare("program", chinese, "member", chinese, orvale::TextEdge(*big5));
    EXPECT_EQ(window->DifferenceCount(), 0);
    EXPECT_TRUE(window->EditLeft->toPlainText().contains(QString::fromUtf8("\xE8\xB3\x87")));
    EXPECT_TRUE(window->EditRight->toPlainText().contains(QString::fromLatin1("\xB8\xEA")));
    window->close();
}

} // namespace
