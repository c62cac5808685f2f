// The indicator cross-reference of the "All Flags" groups.

#include "ImportFixture.h"
#include "support/ShownIn.h"

#include <algorithm>
#include <filesystem>

using orvale::ColumnSort;
using orvale::test::ShownIn;
using namespace orvale::test;

namespace {

class FlagReportTest : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        Doc.NewProgram();
        Doc.MainRoutineSection.AssignLines({"  ADD(A, 07, C)", "  MOVE(*ON, *IN05)",
                                            "  MOVE(*OFF, *IN05)", "  MOVE(*ON, *IN[08])"});
        Sub = Doc.AddSubRoutine("SR1", "");
        Sub->AssignLines({"  Begsr(SR1)", "  {06} ADD(A, B, C)", "  MOVE(*ON, *IN05)"});
        Doc.PrinterSection.AssignLines({"File(QSYSPRT, O, F, 132, OF, PRINTER)"});
        Out = Doc.AddOutput("QSYSPRT", "");
        Out->AssignLines({"{10} OUTField(A)", "{L1} OUTRecord(QSYSPRT, T)"});
    }
    // Flag, section, line and column of each row the group node shows.
    std::vector<std::string> Report(const std::string& group) {
        Doc.Tree.Select(Doc.FindNodeByText(group));
        Doc.ShowSelected();
        std::vector<std::string> rows;
        for (const orvale::ListItem& item : View.Items)
            rows.push_back(item.Caption + " " + item.SubItems[0] + " " + item.SubItems[1] + " " +
                           item.SubItems[2]);
        return rows;
    }

    TEDITSection* Sub = nullptr;
    TEDITSection* Out = nullptr;
};

using Rows = std::vector<std::string>;

} // namespace

TEST_F(FlagReportTest, IndicatorsAreSearchedInThreeWays) {
    // 05 as *IN05, first in the main routine; 08 in the array form; 06 only as a definition;
    // 07 only after ADD, which is a use, and 10 only in an output section: neither is listed.
    EXPECT_EQ(Report("Indicators"),
              (Rows{"05 Main Routine 2 13", "06 SR1 2 4", "08 Main Routine 4 13"}));
    const orvale::ListItem& row = View.Items[0];
    EXPECT_EQ(row.SubItems[3], "  MOVE(*ON, *IN05)");
    EXPECT_EQ(row.SubItems[4], "");
    EXPECT_EQ(row.Section, &Doc.MainRoutineSection);
    EXPECT_EQ(row.ImageIndex, 22);
    EXPECT_EQ(View.ActivePage, orvale::ProgramPage::Objects);
}

TEST_F(FlagReportTest, GroupsIncludeFilesAndOutputAsTheySay) {
    EXPECT_EQ(Report("Break Level"), Rows{"L1 QSYSPRT 2 2"});
    EXPECT_EQ(Report("Output Flag"), Rows{"OF Printer 1 26"});
    // OF in the printer file counts for no other group.
    Doc.MainRoutineSection.AddLine("  {U3} SETON(KC)");
    EXPECT_EQ(Report("System Flag"), Rows{"U3 Main Routine 5 4"});
    EXPECT_EQ(Report("Comm Keys"), Rows{"KC Main Routine 5 14"});
}

TEST_F(FlagReportTest, EmptyGroupShowsItsColumns) {
    EXPECT_TRUE(Report("Comm Keys").empty());
    using C = orvale::ListColumn;
    EXPECT_EQ(View.Columns, (std::vector<C>{{"Flag", 100, ColumnSort::Text},
                                            {"Section", 100, ColumnSort::Text},
                                            {"Line", 50, ColumnSort::Integer},
                                            {"Col.", 50, ColumnSort::Integer},
                                            {"Code", 400, ColumnSort::Text},
                                            {"", 0, ColumnSort::Text}}));
}

// A line that was commented out, the text of a literal and a trailing comment mention an
// indicator without using it: the first use is the first line of code that does.
TEST_F(FlagReportTest, CommentsAndLiteralsAreNoFirstUse) {
    Doc.MainRoutineSection.AssignLines({
        "/*       MOVE(*ON, *IN41)",                                // a statement commented out
        "RPG(C*   42                SETON                     43)", // a member comment
        "  MOVE('*IN44 45', TEXT)",                                 // a literal
        "  Z-add(1,X)          /* sets *IN46 later */",             // a trailing comment
        "  Movea('0000',*IN[47])       /* *IN47 to *IN50 */",       // the array form in the code
        "  MOVE(*ON, *IN41)",
        "  {42} Z-add(0,Y)",
        "  MOVE('''', *IN44)", // a quote written twice inside a literal
        "  SETON(43, 45, 46)",
    });
    Sub->AssignLines({});
    Out->AssignLines({});
    EXPECT_EQ(Report("Indicators"),
              (Rows{"41 Main Routine 6 13", "42 Main Routine 7 4", "43 Main Routine 9 9",
                    "44 Main Routine 8 14", "45 Main Routine 9 13", "46 Main Routine 9 17",
                    "47 Main Routine 5 16"}));
    // The search indicator by indicator agrees.
    int line = 0, column = 0;
    EXPECT_EQ(Doc.FindFirstFlagUse("*IN41", false, false, false, line, column),
              Doc.FindNodeByText("Main Routine"));
    EXPECT_EQ(line, 5);
    EXPECT_EQ(column, 13);
    EXPECT_EQ(Doc.FindFirstFlagUse("43", true, false, false, line, column),
              Doc.FindNodeByText("Main Routine"));
    EXPECT_EQ(line, 8);
    // Only mentioned, never used: no row.
    Doc.MainRoutineSection.AssignLines({"/* {48} SETON(49)", "  MOVE('48', X) /* 49 */"});
    EXPECT_TRUE(Report("Indicators").empty());
    EXPECT_EQ(Doc.FindFirstFlagUse("48", true, false, false, line, column), nullptr);
}

namespace {

// Whether the text at Column (1-based) of Line is, to a reader, in a comment or in a quoted
// literal: a "/*" line, a raw member line with "*" in column 7, after a "/*", or after an odd
// number of quotes.
bool ReadsAsCommentOrLiteral(const std::string& line, int column) {
    std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    if (trimmed.starts_with("/*") ||
        (trimmed.starts_with("RPG(") && trimmed.size() > 5 && trimmed[5] == '*'))
        return true;
    std::string before = line.substr(0, static_cast<size_t>(column - 1));
    return before.find("/*") != std::string::npos ||
           std::count(before.begin(), before.end(), '\'') % 2 == 1;
}

} // namespace

// The report searches every indicator of a group in one pass over the sections; it must find
// what the search section by section finds, indicator by indicator, and never a comment or a
// literal (real members comment out hundreds of lines that used indicators).
TEST_F(FlagReportTest, OnePassFindsWhatTheSearchOneByOneFinds) {
    struct Group {
        const char* Text;
        std::vector<std::string> Names;
        bool Files, Output;
    };
    std::vector<std::string> numbers, keys, breaks, external;
    for (int k = 1; k <= 99; ++k)
        numbers.push_back((k < 10 ? "0" : "") + std::to_string(k));
    for (char c = 'A'; c <= 'Z'; ++c)
        keys.push_back(std::string("K") + c);
    for (char c = '1'; c <= '9'; ++c) {
        breaks.push_back(std::string("L") + c);
        external.push_back(std::string("U") + c);
    }
    const std::vector<Group> groups{
        {"Indicators", numbers, false, false},
        {"Comm Keys", keys, false, false},
        {"Output Flag", {"OA", "OB", "OC", "OD", "OE", "OF", "OG", "OV"}, true, true},
        {"Break Level", breaks, false, true},
        {"System Flag", external, false, true}};
    std::vector<std::string> members;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ORVALE_CORPUS_DIR, ec))
        if (entry.path().extension() == ".RP3")
            members.push_back(entry.path().string());
    // And every tenth member of the wide sample.
    std::filesystem::path wide =
        std::filesystem::path(ORVALE_CORPUS_DIR).parent_path() / "corpus-wide";
    std::vector<std::string> wideMembers;
    for (const auto& entry : std::filesystem::directory_iterator(wide, ec))
        if (entry.path().extension() == ".RP3")
            wideMembers.push_back(entry.path().string());
    std::sort(wideMembers.begin(), wideMembers.end());
    for (size_t k = 0; k < wideMembers.size(); k += 10)
        members.push_back(wideMembers[k]);
    if (members.empty())
        GTEST_SKIP() << "no members in " << ORVALE_CORPUS_DIR;
    size_t rows = 0;
    for (const std::string& member : members) {
        TRPGProgram doc(Box);
        ASSERT_TRUE(doc.ImportFromFile(member, ShownIn(Box)));
        for (const Group& g : groups) {
            std::vector<std::string> expected, found;
            for (const std::string& name : g.Names) {
                int line = 0, column = 0;
                TreeNode* node = nullptr;
                if (g.Text == std::string("Indicators")) {
                    node = doc.FindFirstFlagUse("*IN" + name, false, false, false, line, column);
                    if (!node)
                        node =
                            doc.FindFirstFlagUse("*IN[" + name, false, false, false, line, column);
                }
                if (!node)
                    node = doc.FindFirstFlagUse(name, true, g.Output, g.Files, line, column);
                if (node)
                    expected.push_back(name + " " + node->Text + " " + std::to_string(line) + " " +
                                       std::to_string(column));
            }
            for (const TFlagUse& use : doc.FlagUses(g.Text)) {
                found.push_back(use.Flag + " " + use.Node->Text + " " + std::to_string(use.Line) +
                                " " + std::to_string(use.Column));
                EXPECT_FALSE(
                    ReadsAsCommentOrLiteral(use.Node->Section()->GetLine(use.Line), use.Column))
                    << member << " " << found.back();
            }
            EXPECT_EQ(found, expected) << member << " " << g.Text;
            rows += found.size();
        }
    }
    EXPECT_GT(rows, 100u); // the members do use indicators
}
