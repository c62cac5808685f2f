#include "tessary/PromptHelp.h"
#include "platform/SafeSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tessary;
using orvale::test::TempDir;

namespace {

constexpr const char* SmallFile = "[ParamName]\r\n"
                                  "ADD=Factor 1;Factor 2;Result\r\n"
                                  "IFxx=Factor 1;Factor 2\r\n"
                                  "Cyy=Only;\r\n"
                                  "ELSE=\r\n"
                                  "DEFOPCODE=P1;P2\r\n"
                                  "[ParamLeng]\r\n"
                                  "ADD=10;10;6\r\n"
                                  "DEFOPCODE=3;x\r\n"
                                  "[ParamNote]\r\n"
                                  "ADD=First;Second;Sum\r\n"
                                  "[OpCodeDesc]\r\n"
                                  "ADD=Add two numbers\r\n"
                                  "IFxx=Begin an IF group\r\n"
                                  "DEFOPCODE=Any operation\r\n";

class SmallPromptFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(orvale::WriteFileSafely(dir.File("PromptH.PRM"), SmallFile));
    }
    TempDir dir;
};

} // namespace

TEST(PromptHelp, FilePathJoinsTheDirectory) {
    EXPECT_EQ(PromptFilePath("/prg"), "/prg/PromptH.PRM");
    EXPECT_EQ(PromptFilePath("/prg/"), "/prg/PromptH.PRM");
    EXPECT_EQ(PromptFilePath(""), "");
}

TEST_F(SmallPromptFile, TemplatesFollowTheEntryFound) {
    EXPECT_EQ(OpCodeFormat(dir.Path(), "ADD"), "ADD(Factor 1, Factor 2, Result)");
    EXPECT_EQ(OpCodeFormat(dir.Path() + "/", "add"), "add(Factor 1, Factor 2, Result)");
    EXPECT_EQ(OpCodeFormat(dir.Path(), "IFEQ"), "IFxx(Factor 1, Factor 2)");
    EXPECT_EQ(OpCodeFormat(dir.Path(), "CAB"), "Cyy(Only)");
    EXPECT_EQ(OpCodeFormat(dir.Path(), "ELSE"), "ELSE");
    // No entry: the DEFOPCODE names under the code's "yy" form; a one-letter code stays as is.
    EXPECT_EQ(OpCodeFormat(dir.Path(), "FOO"), "Fyy(P1, P2)");
    EXPECT_EQ(OpCodeFormat(dir.Path(), "X"), "X(P1, P2)");

    EXPECT_EQ(OpCodeSymple(dir.Path(), "IFEQ"), "IFxx");
    EXPECT_EQ(OpCodeSymple(dir.Path(), "ADD"), "ADD");
    EXPECT_EQ(OpCodeSymple(dir.Path(), "ELSE"), "ELSE");
    EXPECT_EQ(OpCodeSymple(dir.Path(), "FOO"), "Fyy");
}

TEST(PromptHelp, WithoutAFileEveryLookupGivesItsDefault) {
    TempDir dir;
    for (const std::string& where : {dir.Path(), std::string(), dir.File("none")}) {
        EXPECT_EQ(OpCodeFormat(where, "ADD"), "Ayy");
        EXPECT_EQ(OpCodeFormat(where, "X"), "X");
        TPromptRows rows = PreparePrompt(where, "ADD(A,B");
        EXPECT_EQ(rows.Code, "DEFOPCODE");
        EXPECT_EQ(rows.Caption, "Prompt Help - DEFOPCODE  ");
        EXPECT_TRUE(rows.Names.empty());
    }
}

TEST(PromptHelp, TextAtTheCursorSplitsIntoCodeAndValues) {
    TPromptText parsed = ParsePromptText("ADD(A,B");
    EXPECT_EQ(parsed.Code, "ADD");
    EXPECT_EQ(parsed.Values, (StringList{"A", "B"}));
    EXPECT_EQ(ParsePromptText("ADD( A , B )").Values, (StringList{"A", "B"}));
    EXPECT_EQ(ParsePromptText("X(A,,C").Values, (StringList{"A", "", "C"}));
    EXPECT_EQ(ParsePromptText("X(A,").Values, (StringList{"A"}));
    EXPECT_TRUE(ParsePromptText("ADD()").Values.empty());
    EXPECT_TRUE(ParsePromptText("ADD(").Values.empty());
    parsed = ParsePromptText("Chain");
    EXPECT_EQ(parsed.Code, "Chain");
    EXPECT_TRUE(parsed.Values.empty());
    EXPECT_EQ(ParsePromptText("").Code, "DEFOPCODE");
}

TEST_F(SmallPromptFile, PromptRowsComeFromTheResolvedEntry) {
    TPromptRows rows = PreparePrompt(dir.Path(), "ADD(A,B");
    EXPECT_EQ(rows.Code, "ADD");
    EXPECT_EQ(rows.Caption, "Prompt Help - ADD  Add two numbers");
    EXPECT_EQ(rows.Names, (StringList{"Factor 1", "Factor 2", "Result"}));
    EXPECT_EQ(rows.Values, (StringList{"A", "B"}));
    EXPECT_EQ(rows.Lengths, (StringList{"10", "10", "6"}));
    EXPECT_EQ(rows.Notes, (StringList{"First", "Second", "Sum"}));
    EXPECT_EQ(rows.RowCount(), 3u);

    rows = PreparePrompt(dir.Path(), "IFEQ(X,Y)");
    EXPECT_EQ(rows.Code, "IFxx");
    EXPECT_EQ(rows.Caption, "Prompt Help - IFxx  Begin an IF group");

    rows = PreparePrompt(dir.Path(), "FOO(A)");
    EXPECT_EQ(rows.Code, "DEFOPCODE");
    EXPECT_EQ(rows.Names, (StringList{"P1", "P2"}));
    EXPECT_EQ(rows.Lengths, (StringList{"3", "x"}));

    rows = PreparePrompt(dir.Path(), "ADD");
    EXPECT_EQ(rows.Code, "ADD");
    EXPECT_TRUE(rows.Values.empty());
    EXPECT_EQ(rows.RowCount(), 3u);
}

TEST_F(SmallPromptFile, ValuesBeyondTheNamesKeepTheirRows) {
    TPromptRows rows = PreparePrompt(dir.Path(), "ADD(A,B,C,D,E");
    EXPECT_EQ(rows.RowCount(), 5u);
    EXPECT_EQ(BuildPromptResult(rows.Code, rows.Values), "ADD(A, B, C, D, E)");
    rows = PreparePrompt(dir.Path(), "ELSE(A");
    EXPECT_EQ(rows.RowCount(), 1u);
}

TEST(PromptHelp, ResultJoinsTrimmedValuesAndDropsTrailingEmptyOnes) {
    EXPECT_EQ(BuildPromptResult("ADD", {"A", "B", ""}), "ADD(A, B)");
    EXPECT_EQ(BuildPromptResult("X", {"A", "", "C"}), "X(A, , C)");
    EXPECT_EQ(BuildPromptResult("X", {" A ", "\tB", "  ", ""}), "X(A, B)");
    EXPECT_EQ(BuildPromptResult("ELSE", {}), "ELSE()");
    EXPECT_EQ(BuildPromptResult("X", {"", ""}), "X()");
    EXPECT_EQ(BuildPromptResult("X", {"'A B'"}), "X('A B')");
}
