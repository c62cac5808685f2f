#include "outside/PrintLayout.h"

#include <gtest/gtest.h>

using namespace lumbro;

namespace {

// The printed lines of a layout, records and spaces alike, with trailing blanks removed.
StringList Printed(const TPrintLayout& layout) {
    StringList lines;
    for (const TPrintedLine& line : layout.Lines) {
        if (line.LineKind == TPrintedLine::Kind::Skip) {
            lines.push_back("<" + line.Note + ">");
            continue;
        }
        std::string text = line.Text;
        text.erase(text.find_last_not_of(' ') + 1);
        lines.push_back(text);
    }
    return lines;
}

} // namespace

TEST(PrintLayout, StatementsCompileAndLayOutAsPrinted) {
    StringList statements = {
        "    OUTBegin(QPRINT,H,,2,03,,1P)", "        LConst('CUSTOMER LIST',30)",
        "        LField(PAGE,60,Z)",        "      DETLine(,,1,,,01)",
        "        LField(CUSNO,10)",         "        LField(CUSNAM,+2)",
        "        LConst('X''Y',+1)",        "      TOTLine(,1,1,,,01,LR)",
        "        LConst('END',3)"};
    TCompiledOutput compiled = CompileOutputStatements(statements);
    ASSERT_EQ(compiled.Errors, 0) << compiled.Lines[0];
    ASSERT_EQ(compiled.Warnings, 0);
    ASSERT_EQ(compiled.Lines.size(), statements.size());

    TPrintLayout layout = BuildPrintLayout(compiled.Lines);
    StringList expected = {"<skip to line 03>",
                           std::string(17, ' ') + "CUSTOMER LIST" + std::string(26, ' ') + "PAGE",
                           "",
                           "     CUSNO  CUSNAM X'Y",
                           "",
                           "END"};
    EXPECT_EQ(Printed(layout), expected);
    EXPECT_TRUE(layout.Messages.empty()) << layout.Messages[0];
    EXPECT_EQ(layout.Width, 132);
    EXPECT_EQ(layout.Lines[1].Note, "H 1P");
    EXPECT_EQ(layout.Lines[3].Note, "D 01");
    EXPECT_EQ(layout.Lines[5].Note, "T 01 LR");
}

TEST(PrintLayout, CompileErrorsAreCountedAndLeftOutOfTheLayout) {
    TCompiledOutput compiled =
        CompileOutputStatements({"    OUTBegin(QPRINT,H,,1)", "        LField(AMOUNT,X12)"});
    EXPECT_EQ(compiled.Errors, 1);
    TPrintLayout layout = BuildPrintLayout(compiled.Lines);
    ASSERT_EQ(layout.Lines.size(), 1u);
    EXPECT_EQ(layout.Lines[0].Text, "");
}

TEST(PrintLayout, PlacementRulesOnFixedColumnLines) {
    auto line = [](std::string text) {
        text.resize(80, ' ');
        return text;
    };
    auto at = [](std::string text, int column, const std::string& value) {
        text.resize(80, ' ');
        text.replace(static_cast<size_t>(column - 1), value.size(), value);
        return text;
    };
    std::string record = at(at(line("     O"), 7, "QPRINT"), 15, "D");
    record = at(record, 18, "0"); // space after 0: the next line prints over this one
    std::string field = line("     O");
    StringList compiled = {
        "     O* a comment line is not printed",
        at(field, 32, "LOST"), // before any record line
        record,
        at(at(field, 32, "AMT"), 40, "   8"),                        // ends at 8
        at(at(field, 32, "TOTAL"), 40, "   3"),                      // cannot start before column 1
        at(at(at(field, 32, "NET"), 40, " 150"), 45, "' ,  0.  -'"), // edit word
        at(at(line("     O"), 14, "AND"), 24, "99"),                 // a condition of the record
        at(field, 40, "  X9"),                                       // not a number
        at(at(field, 45, "'TAIL'"), 40, "    "), // blank end: follows the field before
    };
    TPrintLayout layout = BuildPrintLayout(compiled);
    ASSERT_EQ(layout.Lines.size(), 1u);
    const TPrintedLine& printed = layout.Lines[0];
    EXPECT_EQ(printed.Note, "D AND 99 (prints over the next line)");
    EXPECT_EQ(printed.Text.substr(0, 8), "TAL  AMT");
    EXPECT_EQ(printed.Text.substr(140, 14), " 9,999.99-TAIL");
    EXPECT_EQ(layout.Width, 154);
    ASSERT_EQ(layout.Messages.size(), 3u);
    EXPECT_EQ(layout.Messages[0], "Line 2: field or constant before any record line.");
    EXPECT_EQ(layout.Messages[1], "Line 5: TOTAL does not fit before its end position 3.");
    EXPECT_EQ(layout.Messages[2], "Line 8: end position \"X9\" is not a number.");
}

TEST(PrintLayout, RulerNumbersEveryColumn) {
    StringList ruler = ColumnRuler(21);
    ASSERT_EQ(ruler.size(), 2u);
    EXPECT_EQ(ruler[0], "         1         2 ");
    EXPECT_EQ(ruler[1], "123456789012345678901");
    EXPECT_EQ(ColumnRuler(0), (StringList{"", ""}));
}
