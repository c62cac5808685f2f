#include "tessary/Tessary.h"

#include <gtest/gtest.h>

// The exported functions, as the program binds them, against the shipped parameter file.
namespace {
const std::string DataDir = ORVALE_SOURCE_DIR "/data";
}

TEST(Tessary, VersionText) {
    std::string version;
    GetTessaryDllVersion(version);
    EXPECT_EQ(version, "1.00 - 26/08/1997");
}

TEST(Tessary, FormatAndTopicOfShippedEntries) {
    std::string out = "old";
    GetOpCodeFormat(DataDir, "Z-ADD", out);
    EXPECT_EQ(out, "Z-ADD(Value, Result Field, Plus Ind., Minus Ind., Zero Ind., Field Length, "
                   "Decimal Pos.)");
    GetOpCodeFormat(DataDir, "Else", out);
    EXPECT_EQ(out, "Else");
    GetOpCodeSymple(DataDir, "DOWLT", out);
    EXPECT_EQ(out, "DOWxx");
    GetOpCodeSymple(DataDir, "chain", out);
    EXPECT_EQ(out, "chain");
}

TEST(Tessary, PromptWithoutAWindowSystemChangesNothing) {
    std::string out;
    DoPromptHelp(DataDir, "ADD(A,B", out, orvale::CodePage::Latin1());
    EXPECT_EQ(out, "CANCEL");
}
