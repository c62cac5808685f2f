// Find in Library: the lines a plain search finds, with case, word and column options, a
// scope, and the files a search passes over.

#include "library/LibraryFind.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> Find(std::string_view text, TFindOptions o) {
    std::vector<std::string> out;
    for (const TFindHit& h : FindInText(text, o))
        out.push_back(std::to_string(h.Line) + ":" + std::to_string(h.Column) + ":" + h.Text);
    return out;
}

TFindOptions Options(std::string text) {
    TFindOptions o;
    o.Text = std::move(text);
    return o;
}

TEST(LibraryFind, EachLineThatHoldsTheTextIsOneHitWithItsLineAndFirstColumn) {
    std::string text = "CHAIN CHAIN\r\nnone\r\n\r\nxCHAIN\nCHAI\nlast CHAIN";
    EXPECT_THAT(Find(text, Options("CHAIN")),
                ElementsAre("1:1:CHAIN CHAIN", "4:2:xCHAIN", "6:6:last CHAIN"));
    EXPECT_THAT(Find(text, Options("chain")), IsEmpty());
    TFindOptions i = Options("chain");
    i.IgnoreCase = true;
    EXPECT_EQ(Find(text, i).size(), 3u);
    // A text across a line end is on no line.
    EXPECT_THAT(Find("AB\nCD", Options("B\nC")), IsEmpty());
    EXPECT_THAT(Find("", Options("A")), IsEmpty());
}

TEST(LibraryFind, WholeWordsStandBetweenCharactersThatAreNoPartOfAName) {
    TFindOptions w = Options("CUST");
    w.Word = true;
    EXPECT_THAT(Find("CUSTNO\n#CUST\nCUST,1\n(CUST)\nCUST_X\n CUST", w),
                ElementsAre("3:1:CUST,1", "4:2:(CUST)", "6:2: CUST"));
    // A later occurrence on the line counts when the first is part of a word.
    EXPECT_THAT(Find("CUSTNO CUST", w), ElementsAre("1:8:CUSTNO CUST"));
}

TEST(LibraryFind, AColumnRangeHoldsTheWholeText) {
    TFindOptions c = Options("EXSR");
    c.FromColumn = 28;
    c.ToColumn = 32;
    std::string inFactor = SpecLine('C', {{18, "EXSR"}, {28, "EXSR"}, {33, "EXSR"}});
    std::string overlapping = SpecLine('C', {{30, "EXSR"}});
    EXPECT_THAT(Find(inFactor + "\n" + overlapping, c), ElementsAre("1:28:" + inFactor));
    std::string error;
    c.ToColumn = 29;
    EXPECT_FALSE(CheckFindOptions(c, error));
    EXPECT_FALSE(CheckFindOptions(Options(""), error));
    EXPECT_FALSE(CheckFindOptions(Options("A\nB"), error));
}

TEST(LibraryFind, TheLibraryIsSearchedInPathOrderWithinItsScope) {
    TestLibrary lib;
    lib.Write("QRPGSRC/B.RPG", "     C                     EXSR CALC\n");
    lib.Write("QRPGSRC/A.RPG", "     C                     EXSR CALC\n");
    lib.Write("QCLSRC/C.CLP", "CALL CALC\n");
    lib.Write("QTXT/D.txt", SpecLine('C', {{28, "EXSR"}, {33, "CALC"}}) + "\n");
    lib.Write("QRPGSRC/BIN.RPG", std::string("CALC\0\1\2", 7));
    auto run = [&](TFindOptions o) {
        std::vector<std::string> members;
        TFindSummary summary;
        std::string error;
        EXPECT_TRUE(FindInLibrary(
            lib.Root(), o,
            [&](const std::string& m, std::vector<TFindHit>& hits) {
                members.push_back(m + ":" + std::to_string(hits.size()));
                return true;
            },
            summary, error))
            << error;
        return std::pair(members, summary);
    };
    auto [all, summary] = run(Options("CALC"));
    EXPECT_THAT(
        all, ElementsAre("QCLSRC/C.CLP:1", "QRPGSRC/A.RPG:1", "QRPGSRC/B.RPG:1", "QTXT/D.txt:1"));
    ASSERT_EQ(summary.Skipped.size(), 1u);
    EXPECT_EQ(summary.Skipped[0].Reason, "binary file");
    TFindOptions rpg = Options("CALC");
    rpg.Types = {"rpg"};
    // A .txt member's type is what its content shows.
    EXPECT_THAT(run(rpg).first, ElementsAre("QRPGSRC/A.RPG:1", "QRPGSRC/B.RPG:1", "QTXT/D.txt:1"));
    TFindOptions file = Options("CALC");
    file.SourceFiles = {"qclsrc"};
    EXPECT_THAT(run(file).first, ElementsAre("QCLSRC/C.CLP:1"));
    EXPECT_TRUE(TypeMatches("COPY*", "COPYRPGI"));
    EXPECT_TRUE(TypeMatches("?LP", "CLP"));
    EXPECT_FALSE(TypeMatches("RPG", "RPGLE"));
}

} // namespace
