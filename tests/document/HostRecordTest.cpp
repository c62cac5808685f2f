// The host's records of source lines: read and written digit for digit, dates ordered across
// the century, and a member told dated from undated by its lines.

#include "document/HostRecord.h"
#include "document/SequencePlan.h"

#include <gtest/gtest.h>

namespace {

using Kind = PlannedLine::Kind;

TEST(HostRecord, TwelveDigitsReadAndWriteBackAsTheyWere) {
    HostRecord r;
    ASSERT_TRUE(ReadHostRecord("001201000000     C  MOVE", r));
    EXPECT_EQ(r, (HostRecord{1201, 0}));
    std::string out;
    AppendHostRecord(out, r);
    EXPECT_EQ(out, "001201000000");
    ASSERT_TRUE(ReadHostRecord("999999991231", r));
    out.clear();
    AppendHostRecord(out, r);
    EXPECT_EQ(out, "999999991231");
    // Eleven digits, a blank or a sign among them: no record.
    EXPECT_FALSE(ReadHostRecord("00120100000", r));
    EXPECT_FALSE(ReadHostRecord("0012 1000000     C", r));
    EXPECT_FALSE(ReadHostRecord("-01201000000     C", r));
}

TEST(HostRecord, TwoDigitYearsFollowTheHostsWindow) {
    EXPECT_EQ(HostDateYear(991231), 1999);
    EXPECT_EQ(HostDateYear(400101), 1940);
    EXPECT_EQ(HostDateYear(391231), 2039);
    EXPECT_EQ(HostDateYear(101), 2000);
    // 2000 was a leap year, 2001 was not; 000000 is no day.
    EXPECT_TRUE(IsHostDate(229));
    EXPECT_FALSE(IsHostDate(10229));
    EXPECT_FALSE(IsHostDate(0));
    EXPECT_FALSE(IsHostDate(991301));
    // 2000 comes after 1999 although its digits are smaller.
    EXPECT_LT(HostDateKey(991231), HostDateKey(101));
    EXPECT_TRUE(ChangedOnOrAfter(101, 991231));
    EXPECT_TRUE(ChangedOnOrAfter(990301, 990301));
    EXPECT_FALSE(ChangedOnOrAfter(990228, 990301));
    EXPECT_FALSE(ChangedOnOrAfter(0, 400101)); // no date recorded: never counted as changed
    EXPECT_EQ(ParseHostDate("990301"), 990301);
    EXPECT_EQ(ParseHostDate("990230"), -1);
    EXPECT_EQ(ParseHostDate("9903011"), -1);
    EXPECT_EQ(ParseHostDate("99O301"), -1);
}

TEST(HostRecord, SequenceNumbersAsTheEditorAndTheListingWriteThem) {
    EXPECT_EQ(FormatSequence(1201), "0012.01");
    EXPECT_EQ(FormatSequence(999999), "9999.99");
    bool point = false;
    EXPECT_EQ(ParseSequence("12.01", point), 1201);
    EXPECT_TRUE(point);
    EXPECT_EQ(ParseSequence(" 8.1 ", point), 810);
    EXPECT_EQ(ParseSequence("8", point), 8);
    EXPECT_FALSE(point);
    EXPECT_EQ(ParseSequence("801", point), 801); // the listing's 8.01
    EXPECT_EQ(ParseSequence("12.345", point), -1);
    EXPECT_EQ(ParseSequence("10000.00", point), -1);
    EXPECT_EQ(ParseSequence("1a", point), -1);
    EXPECT_EQ(ParseSequence("", point), -1);
}

TEST(HostRecord, AMemberIsDatedWhenItsLinesSaySo) {
    StringList dated = {"000100900309     H", "", "000200900309     C   MOVE",
                        "000300900309** data", "000400000000123456789012"};
    EXPECT_TRUE(DecideDating(dated, DatedReading::Auto).Dated);
    EXPECT_FALSE(DecideDating(dated, DatedReading::Undated).Dated);

    // The compile-time data of an undated member may hold records of digits.
    StringList undated = {"     H", "     C           MOVE A B", "** ", "123456789012345"};
    MemberDating plain = DecideDating(undated, DatedReading::Auto);
    EXPECT_FALSE(plain.Dated);
    EXPECT_EQ(plain.MixedDatedLine, -1);
    EXPECT_TRUE(DecideDating(undated, DatedReading::Dated).Dated);

    // A dated line whose digits were damaged reads as no undated line: the member stays dated.
    StringList damaged = {"000100900309     H", "0002OO900309     C   MOVE", "000300900309     C"};
    EXPECT_TRUE(DecideDating(damaged, DatedReading::Auto).Dated);

    // Dated lines beside undated ones: read as undated, naming one of each.
    StringList mixed = {"     H", "000200900309     C   MOVE", "     C*"};
    MemberDating m = DecideDating(mixed, DatedReading::Auto);
    EXPECT_FALSE(m.Dated);
    EXPECT_EQ(m.MixedDatedLine, 1);
    EXPECT_EQ(m.MixedPlainLine, 0);

    StringList lines = damaged;
    lines.push_back("   ");
    std::vector<HostRecord> records;
    EXPECT_EQ(TakeHostRecords(lines, records), std::vector<int>{1});
    EXPECT_EQ(lines[0], "     H");
    EXPECT_EQ(lines[1], damaged[1]); // kept whole
    EXPECT_EQ(records[2], (HostRecord{300, 900309}));
    EXPECT_FALSE(records[1].Has());
    EXPECT_FALSE(records[3].Has());
}

// -- The numbering of a member being written

PlannedLine Kept(std::int32_t sequence, std::int32_t date, int place) {
    return {Kind::Kept, {sequence, date}, place};
}
PlannedLine Edited(std::int32_t sequence, std::int32_t date, int place) {
    return {Kind::Edited, {sequence, date}, place};
}
PlannedLine Fresh(Kind kind = Kind::New) {
    return {kind, {}, -1};
}
std::vector<std::int32_t> Numbers(const std::vector<PlannedLine>& lines) {
    std::vector<std::int32_t> numbers;
    for (const PlannedLine& line : lines)
        numbers.push_back(line.Dropped ? -2 : line.Record.Sequence);
    return numbers;
}
std::vector<std::int32_t> Dates(const std::vector<PlannedLine>& lines) {
    std::vector<std::int32_t> dates;
    for (const PlannedLine& line : lines)
        dates.push_back(line.Record.ChangeDate);
    return dates;
}

constexpr std::int32_t kToday = 250612;

TEST(SequencePlan, InsertedLinesTakeTheLargestStepThatFitsThemAll) {
    // Three between 1.00 and 2.00: by 0.10.
    std::vector<PlannedLine> lines = {Kept(100, 900309, 0), Fresh(), Fresh(), Fresh(),
                                      Kept(200, 0, 1)};
    SequencePlanResult result = PlanSequenceNumbers(lines, kToday, false);
    EXPECT_TRUE(result.NoRoom.empty());
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{100, 110, 120, 130, 200}));
    EXPECT_EQ(Dates(lines), (std::vector<std::int32_t>{900309, kToday, kToday, kToday, 0}));

    // Ten do not fit by 0.10 (the tenth would be 2.00 itself): by 0.01.
    lines = {Kept(100, 1, 0)};
    for (int k = 0; k < 10; ++k)
        lines.push_back(Fresh());
    lines.push_back(Kept(200, 1, 1));
    PlanSequenceNumbers(lines, kToday, false);
    EXPECT_EQ(lines[10].Record.Sequence, 110);
    // Two between 1.00 and 4.00 by 1.00; after the last line, by 1.00; before the first, from
    // 0.00 up.
    lines = {Fresh(), Kept(100, 1, 0), Fresh(), Fresh(), Kept(400, 1, 1), Fresh()};
    PlanSequenceNumbers(lines, kToday, false);
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{10, 100, 200, 300, 400, 500}));
}

TEST(SequencePlan, AnEditedLineKeepsItsNumberAndAMovedLineItsDate) {
    // 2.00 was moved to the end; 5.00 and 4.00 were edited.
    std::vector<PlannedLine> lines = {Kept(100, 900309, 0), Kept(300, 910101, 2),
                                      Edited(400, 900309, 3), Edited(500, 900309, 4),
                                      Kept(200, 880101, 1)};
    SequencePlanResult result = PlanSequenceNumbers(lines, kToday, false);
    EXPECT_TRUE(result.NoRoom.empty());
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{100, 300, 400, 500, 600}));
    EXPECT_EQ(Dates(lines), (std::vector<std::int32_t>{900309, 910101, kToday, kToday, 880101}));
    // Moved into the room between two others, it takes a number there.
    lines = {Kept(100, 1, 0), Kept(400, 880101, 3), Kept(200, 1, 1), Kept(300, 1, 2),
             Kept(500, 1, 4)};
    PlanSequenceNumbers(lines, kToday, false);
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{100, 110, 200, 300, 500}));
    EXPECT_EQ(lines[1].Record.ChangeDate, 880101);
}

TEST(SequencePlan, NoRoomIsReportedOrTheMemberRenumbered) {
    std::vector<PlannedLine> lines = {
        Kept(101, 900309, 0), Fresh(),        Fresh(), Kept(102, 900310, 1),
        Fresh(Kind::Added),   Kept(300, 0, 2)};
    std::vector<PlannedLine> asked = lines;
    SequencePlanResult result = PlanSequenceNumbers(asked, kToday, false);
    EXPECT_EQ(result.NoRoom, (std::vector<size_t>{1, 2}));
    ASSERT_EQ(result.Between.size(), 1u);
    EXPECT_EQ(result.Between[0], (std::pair<std::int32_t, std::int32_t>{101, 102}));
    EXPECT_FALSE(result.Renumbered);

    result = PlanSequenceNumbers(lines, kToday, true);
    EXPECT_TRUE(result.Renumbered);
    EXPECT_TRUE(result.NoRoom.empty());
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{100, 200, 300, 400, 500, 600}));
    EXPECT_EQ(Dates(lines), (std::vector<std::int32_t>{900309, kToday, kToday, 900310, kToday, 0}));
}

TEST(SequencePlan, TheBuildsOwnLinesGiveWayAndNumbersThatDoNotAscendStay) {
    // Room for the new line but not for the banner beside it: the banner is left out.
    std::vector<PlannedLine> lines = {Kept(100, 1, 0), Fresh(Kind::Added), Fresh(Kind::Added),
                                      Fresh(), Kept(103, 1, 1)};
    SequencePlanResult result = PlanSequenceNumbers(lines, kToday, false);
    EXPECT_TRUE(result.NoRoom.empty());
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{100, -2, -2, 101, 103}));

    // 5.00 before 3.00 in the member: both keep their numbers, nothing fits between them,
    // and a line after them still finds room.
    lines = {Kept(500, 1, 0), Kept(300, 1, 1), Fresh(Kind::Raw), Fresh()};
    lines[2].Record = {};
    result = PlanSequenceNumbers(lines, kToday, false);
    EXPECT_TRUE(result.NoRoom.empty());
    EXPECT_EQ(Numbers(lines), (std::vector<std::int32_t>{500, 300, -1, 400}));
    lines = {Kept(500, 1, 0), Fresh(), Kept(300, 1, 1)};
    result = PlanSequenceNumbers(lines, kToday, false);
    EXPECT_EQ(result.NoRoom, std::vector<size_t>{1});
}

} // namespace
