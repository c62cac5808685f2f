// Compare: the rows of two members side by side, the characters that differ in a changed
// line, and the columns a comparison may leave out.

#include "library/TextCompare.h"
#include "library/RecentLibraries.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvale::library;
using ::testing::ElementsAre;

namespace {

std::string Rows(const std::vector<std::string>& a, const std::vector<std::string>& b,
                 TCompareOptions o = {}) {
    std::string out;
    for (const TDiffRow& r : CompareLines(a, b, o)) {
        const char* kinds = "=~-+";
        out += kinds[static_cast<int>(r.Kind)];
        out += (r.Left >= 0 ? std::to_string(r.Left) : "_") + "/" +
               (r.Right >= 0 ? std::to_string(r.Right) : "_") + " ";
    }
    return out;
}

TEST(TextCompare, RowsPairRemovedAndAddedLinesAndKeepTheSameOnesAligned) {
    EXPECT_EQ(Rows({"A", "B", "C", "D"}, {"A", "X", "C", "D", "E"}), "=0/0 ~1/1 =2/2 =3/3 +_/4 ");
    EXPECT_EQ(Rows({"A", "B", "B2", "C"}, {"A", "C"}), "=0/0 -1/_ -2/_ =3/1 ");
    EXPECT_EQ(Rows({}, {"A"}), "+_/0 ");
    EXPECT_EQ(Rows({"A"}, {}), "-0/_ ");
    EXPECT_EQ(Rows({}, {}), "");
    // Blanks at the end of a line and the line end's CR do not count.
    EXPECT_EQ(Rows({"A  ", "B\r"}, {"A", "B"}), "=0/0 =1/1 ");
}

TEST(TextCompare, SequenceNumbersAndChangeTagsMayBeLeftOut) {
    using orvale::library::test::SpecLine;
    std::string a = SpecLine('C', {{1, "00100"}, {28, "EXSR"}, {33, "CALC"}, {75, "ABC123"}});
    std::string b = SpecLine('C', {{1, "00200"}, {28, "EXSR"}, {33, "CALC"}, {75, "XYZ999"}});
    EXPECT_EQ(Rows({a}, {b}), "~0/0 ");
    TCompareOptions o;
    o.IgnoreSequenceAndTags = true;
    EXPECT_EQ(Rows({a}, {b}, o), "=0/0 ");
    std::string c = SpecLine('C', {{1, "00100"}, {28, "EXSR"}, {33, "CALX"}, {75, "ABC123"}});
    std::vector<TCharRange> left, right;
    CompareChars(a, c, o, left, right);
    EXPECT_THAT(left, ElementsAre(TCharRange{35, 36}));
    EXPECT_THAT(right, ElementsAre(TCharRange{35, 36}));
    CompareChars(a, b, {}, left, right);
    EXPECT_EQ(left.front().From, 2) << "the sequence numbers differ from the third column";
}

TEST(TextCompare, ChangedCharactersAreGivenAsRangesOnEachSide) {
    std::vector<TCharRange> left, right;
    CompareChars("MOVE A TO B", "MOVEL AA TO B", {}, left, right);
    EXPECT_TRUE(left.empty());
    ASSERT_EQ(right.size(), 2u);
    EXPECT_EQ(right[0], (TCharRange{4, 5})) << "the L";
    EXPECT_EQ(right[1].To - right[1].From, 1) << "one of the two A";
    CompareChars("abc", "xyz", {}, left, right);
    EXPECT_THAT(left, ElementsAre(TCharRange{0, 3}));
    EXPECT_THAT(right, ElementsAre(TCharRange{0, 3}));
}

TEST(TextCompare, LargeTextsWithManyDifferencesAreComparedInBoundedTime) {
    std::vector<std::string> a, b;
    for (int i = 0; i < 20000; ++i) {
        a.push_back("left " + std::to_string(i));
        b.push_back("right " + std::to_string(i));
    }
    a[10000] = b[10000] = "same";
    std::vector<TDiffRow> rows = CompareLines(a, b);
    size_t left = 0, right = 0;
    for (const TDiffRow& r : rows) {
        left += r.Left >= 0;
        right += r.Right >= 0;
    }
    EXPECT_EQ(left, a.size());
    EXPECT_EQ(right, b.size());
    EXPECT_EQ(DifferenceStarts(CompareLines({"A", "B", "C", "D"}, {"X", "B", "Y", "D"})),
              (std::vector<size_t>{0, 2}));
}

TEST(RecentLibraries, TheLastOpenedComesFirstOnceAndTheListStaysShort) {
    orvale::test::TempDir dir;
    std::string file = RecentLibrariesFile(dir.File("data"));
    EXPECT_TRUE(ReadRecentLibraries(file).empty());
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(AddRecentLibrary(file, "/libs/L" + std::to_string(i)));
    ASSERT_TRUE(AddRecentLibrary(file, "/libs/L5"));
    std::vector<std::string> recent = ReadRecentLibraries(file);
    ASSERT_EQ(recent.size(), kRecentLibraries);
    EXPECT_EQ(recent[0], "/libs/L5");
    EXPECT_EQ(recent[1], "/libs/L9");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/libs/L5"), 1);
}

} // namespace
