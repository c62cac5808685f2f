#include "calvex/ConvertOutput.h"

#include "support/ConverterCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;

class ConvertOutputTest : public ::testing::Test {
protected:
    TRPG3ConvertOutput C;
    std::string Convert(const std::string& line) { return C.ConvertLine(line); }
};

TEST_F(ConvertOutputTest, RecordLines) {
    std::string first = SpecLine('O', {{7, "QSYSPRT H"}, {16, "F"}, {18, "103"}, {24, "1P"}});
    EXPECT_EQ(Convert(first), "    OUTBegin(QSYSPRT,H,,1,03,,1P,,,F)");
    EXPECT_TRUE(RoundTrips(C, first));
    std::string detail = SpecLine('O', {{15, "D  1"}, {24, "01"}});
    EXPECT_EQ(Convert(detail), "      DETLine(,,1,,,01)");
    EXPECT_TRUE(RoundTrips(C, detail));
    std::string total = SpecLine('O', {{15, "T 2"}, {23, "NLR"}});
    EXPECT_EQ(Convert(total), "      TOTLine(,2,,,,NLR)");
    EXPECT_TRUE(RoundTrips(C, total));
    std::string andLine = SpecLine('O', {{14, "AND"}, {24, "02"}});
    std::string orLine = SpecLine('O', {{14, "OR"}, {24, "OF"}});
    EXPECT_EQ(Convert(andLine), "         ANDL(,,,,,02)");
    EXPECT_EQ(Convert(orLine), "          ORL(,,,,,OF)");
    EXPECT_TRUE(RoundTrips(C, andLine));
    EXPECT_TRUE(RoundTrips(C, orLine));
}

TEST_F(ConvertOutputTest, ExceptionRecords) {
    std::string named = SpecLine('O', {{15, "E  1"}, {32, "TOTALS"}});
    EXPECT_EQ(Convert(named), "      EXCLine(TOTALS,,,1)");
    EXPECT_TRUE(RoundTrips(C, named));
    std::string unnamed = SpecLine('O', {{15, "EF 1"}, {24, "LR"}});
    EXPECT_EQ(Convert(unnamed), "      EXCLine(,F,,1,,,LR)");
    EXPECT_TRUE(RoundTrips(C, unnamed));
    // With both a file name and an exception name the line opens the file.
    std::string both = SpecLine('O', {{7, "QSYSPRT E  1"}, {32, "HEAD"}});
    EXPECT_EQ(Convert(both), "    OUTBegin(QSYSPRT,E,,1,,,,,,,HEAD)");
    EXPECT_TRUE(RoundTrips(C, both));
}

TEST_F(ConvertOutputTest, FieldsAndConstants) {
    std::string field = SpecLine('O', {{24, "01"}, {32, "AMT"}, {38, "1"}, {42, "60"}});
    EXPECT_EQ(Convert(field), "        LField(AMT,60,1,,,,01)");
    ResultLine r = CompileWith(C, Convert(field));
    EXPECT_EQ(ColumnsOf(r.Text, 23, 25), " 01");
    EXPECT_EQ(ColumnsOf(r.Text, 40, 43), "  60");
    std::string element = SpecLine('O', {{32, "TOT,3"}, {42, "80"}});
    EXPECT_EQ(Convert(element), "        LField(TOT[3],80)");
    EXPECT_TRUE(RoundTrips(C, element));
    std::string constant = SpecLine('O', {{40, "+  1"}, {45, "'Page, total'"}});
    EXPECT_EQ(Convert(constant), "        LConst('Page, total',+  1)");
    EXPECT_TRUE(RoundTrips(C, constant));
    std::string edit = SpecLine('O', {{32, "UDATE"}, {38, "Y"}, {42, "80"}});
    EXPECT_TRUE(RoundTrips(C, edit));
    EXPECT_EQ(ColumnsOf(CompileWith(C, "LConst('X',-3)").Text, 40, 43), "-  3");
}

TEST_F(ConvertOutputTest, LinesWithoutStatementStayRaw) {
    // Text in columns 7-22 of a field line.
    std::string odd = SpecLine('O', {{7, "X"}, {32, "AMT"}, {42, "60"}});
    EXPECT_EQ(Convert(odd), "RPG(" + odd.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(C, odd));
    // A heading record after the file's first record has no statement of its own.
    std::string heading = SpecLine('O', {{15, "H  2"}, {24, "1P"}});
    EXPECT_EQ(Convert(heading), "RPG(" + heading.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(C, heading));
    // An indicator written left-justified would move.
    std::string left = SpecLine('O', {{23, "01"}, {32, "AMT"}, {42, "60"}});
    EXPECT_EQ(Convert(left).substr(0, 4), "RPG(");
    EXPECT_TRUE(RoundTrips(C, left));
}

TEST_F(ConvertOutputTest, CompileAcceptsPrnBegin) {
    ResultLine out = CompileWith(C, "OUTBegin(QPRINT,H,,1,03)");
    ResultLine prn = CompileWith(C, "PrnBegin(QPRINT,H,,1,03)");
    EXPECT_FALSE(out.Error);
    EXPECT_EQ(out.Text, prn.Text);
    EXPECT_EQ(CompileWith(C, "DETLine(,,1,X)").Text, "**ERROR: Param N.4 must be of integer type!");
}
