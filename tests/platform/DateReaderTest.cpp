#include "platform/DateReader.h"

#include <gtest/gtest.h>

using orvale::DateReader;
using orvale::DateTime;
using orvale::RegionalSettings;

namespace {

class DateReaderTest : public ::testing::Test {
protected:
    void SetUp() override { Saved = RegionalSettings::Current(); }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    RegionalSettings Saved{"", ""};
};

const DateTime kDecember9{2026, 12, 9, 14, 4, 14};

} // namespace

TEST_F(DateReaderTest, TheRecordOfTheFormatsReadsBack) {
    for (const char* name : {"en_US.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8"}) {
        std::optional<RegionalSettings> locale = RegionalSettings::FromLocale(name);
        ASSERT_TRUE(locale) << name << " is not installed";
        std::optional<RegionalSettings> read = orvale::FormatsFromRecord(FormatsRecord(*locale));
        ASSERT_TRUE(read) << name;
        EXPECT_TRUE(*read == *locale) << name;
        EXPECT_EQ(read->ParseDateTime(locale->FormatDateTime(kDecember9)), kDecember9) << name;
    }
    for (const char* junk : {"", "%d/%m/%Y", "%d|%H|AM", "%d|%H|AM|PM|more", "dd/mm|%H|AM|PM"})
        EXPECT_FALSE(orvale::FormatsFromRecord(junk)) << junk;
    EXPECT_FALSE(RegionalSettings::FromLocale("xx_NOWHERE.UTF-8"));
}

TEST_F(DateReaderTest, SameFormatsIgnoreTheTextsOfAMAndPMWhereNoneIsShown) {
    EXPECT_TRUE(RegionalSettings("%d/%m/%y", "%T", "am", "pm") ==
                RegionalSettings("%d/%m/%Y", "%H:%M:%S", "AM", "PM"));
    EXPECT_FALSE(RegionalSettings("%m/%d/%Y", "%r", "am", "pm") ==
                 RegionalSettings("%m/%d/%Y", "%r", "AM", "PM"));
    EXPECT_FALSE(RegionalSettings("%m/%d/%Y", "%T") == RegionalSettings("%d/%m/%Y", "%T"));
}

// A text of unknown formats is read with the first form that reads it; where day and month
// would read both ways, its clock decides.
TEST_F(DateReaderTest, EachTextIsReadInTheFirstFormThatReadsIt) {
    RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    DateReader reader(RegionalSettings::Current());
    auto read = [&](const char* text) {
        auto reading = reader.Read(text);
        return reading ? std::optional<DateTime>(reading->Moment) : std::nullopt;
    };
    EXPECT_EQ(read("09/12/2026 14:04:14"), kDecember9);
    EXPECT_TRUE(reader.Read("09/12/2026 14:04:14")->InCurrentFormats);
    EXPECT_EQ(read("12/09/2026 02:04:14 PM"), kDecember9);
    EXPECT_FALSE(reader.Read("12/09/2026 02:04:14 PM")->InCurrentFormats);
    EXPECT_EQ(read("09.12.2026 14:04:14"), kDecember9);
    EXPECT_EQ(read("2026-12-09 14:04:14"), kDecember9);
    EXPECT_EQ(read("2026\xE5\xB9\xB4"
                   "12\xE6\x9C\x88"
                   "09\xE6\x97\xA5 14\xE6\x99\x82"
                   "04\xE5\x88\x86"
                   "14\xE7\xA7\x92"),
              kDecember9);
    EXPECT_EQ(read("12-25-2026"), (DateTime{2026, 12, 25, 0, 0, 0}));
    EXPECT_FALSE(read("the ninth of December"));
    EXPECT_FALSE(read("31/02/2026"));
}

// The dates of one file were written on one machine: the form chosen is the first that reads
// them all, so that a date that reads both ways is read as its neighbours are.
TEST_F(DateReaderTest, ChoosingReadsTheDatesOfOneFileAlike) {
    RegionalSettings::SetCurrent(RegionalSettings("%m/%d/%Y", "%H:%M:%S"));
    DateReader written = DateReader::Choosing({"09/12/2026 14:04:14", "25/12/2026 10:00:00"});
    EXPECT_FALSE(written.IsCurrent());
    EXPECT_EQ(written.Read("09/12/2026 14:04:14")->Moment, kDecember9);
    // Dates the current settings read all: they are the file's.
    DateReader here = DateReader::Choosing({"09/12/2026 14:04:14", "01/02/2027 10:00:00"});
    EXPECT_TRUE(here.IsCurrent());
    EXPECT_EQ(here.Read("09/12/2026 14:04:14")->Moment, (DateTime{2026, 9, 12, 14, 4, 14}));
    // When no form reads them all, the one that reads most; the others are read on their own.
    DateReader most =
        DateReader::Choosing({"09/12/2026 14:04:14", "25/12/2026 10:00:00", "not a date"});
    EXPECT_EQ(most.Read("09/12/2026 14:04:14")->Moment, kDecember9);
    EXPECT_EQ(most.Read("2026-12-09 14:04:14")->Moment, kDecember9);
    EXPECT_FALSE(most.Read("not a date"));
}
