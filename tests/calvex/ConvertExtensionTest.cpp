#include "calvex/ConvertExtension.h"

#include "support/ConverterCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;

TEST(ConvertExtension, StatementKindFollowsTheColumnsInUse) {
    TRPG3ConvertExtension c;
    // A from-file makes a FileArray even when entries per record are given.
    std::string fromFile = SpecLine('E', {{11, "RATES"}, {27, "RAT    12  48  5 2"}});
    EXPECT_EQ(c.ConvertLine(fromFile), "    FileArray(RATES,,RAT,12,48,5,,2)");
    EXPECT_TRUE(RoundTrips(c, fromFile, 58));
    std::string table = SpecLine('E', {{27, "TABMTH  6  12  3"}});
    EXPECT_EQ(c.ConvertLine(table), "    Tab(TABMTH,6,12,3)");
    EXPECT_TRUE(RoundTrips(c, table, 58));
    std::string array = SpecLine('E', {{27, "ARC        40  1"}});
    EXPECT_EQ(c.ConvertLine(array), "    Array(ARC,40,1)");
    EXPECT_TRUE(RoundTrips(c, array, 58));
    std::string alternating = SpecLine('E', {{27, "TABA    1  10  3 0ATABB    5 0A"}});
    EXPECT_EQ(c.ConvertLine(alternating), "    Tab(TABA,1,10,3,,0,A,TABB,5,,0,A)");
    EXPECT_TRUE(RoundTrips(c, alternating, 58));
}

TEST(ConvertExtension, CommentsInColumns58To74) {
    TRPG3ConvertExtension c;
    std::string line = SpecLine('E', {{27, "TABMTH  6  12  3"}, {58, "Month name table"}});
    std::string statement = c.ConvertLine(line);
    EXPECT_EQ(statement, "    Tab(TABMTH,6,12,3)" + std::string(28, ' ') + "/* Month name table");
    EXPECT_TRUE(RoundTrips(c, line, 58));
    // A comment that starts further right comes back from column 58, text unchanged.
    std::string indented = SpecLine('E', {{27, "ARC        40  1"}, {62, "codes"}});
    EXPECT_EQ(c.ConvertLine(indented), "    Array(ARC,40,1)" + std::string(31, ' ') + "/* codes");
    EXPECT_TRUE(RoundTrips(c, indented, 58));
    ResultLine r = CompileWith(c, c.ConvertLine(indented));
    EXPECT_EQ(ColumnsOf(r.Text, 58, 74), "codes            ");
    // A statement longer than the alignment is not padded.
    std::string wide = "    FileArray(RATESFIL,RATESOUT,RATE,12,48,5,P,2,A) ";
    r = CompileWith(c, wide + "/* a comment of more than 17 characters");
    EXPECT_EQ(ColumnsOf(r.Text, 58, 74), "a comment of more");
    EXPECT_EQ(r.Text.size(), 80u);
}

TEST(ConvertExtension, CompileChecks) {
    TRPG3ConvertExtension c;
    EXPECT_EQ(CompileWith(c, "Tab(TABA,1,XX,3)").Text,
              "**ERROR: Param N.3 must be of integer type!");
    EXPECT_EQ(CompileWith(c, "File(X)").Text,
              "**ERROR: Operating code not allowed for this section!");
    EXPECT_EQ(CompileWith(c, "Array(A,1,2,3,4,5,6,7,8,9,10,11)").Text, "**ERROR: Too many params!");
    // Unused columns 7-10 hold text: the raw form keeps it.
    std::string odd = SpecLine('E', {{7, "XX"}, {27, "ARC        40  1"}});
    EXPECT_EQ(c.ConvertLine(odd), "RPG(" + odd.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(c, odd, 58));
}
