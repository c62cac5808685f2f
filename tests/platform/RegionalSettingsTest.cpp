#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

using orvale::DateTime;
using orvale::RegionalSettings;

TEST(RegionalSettings, DayFirstShortDateAndLongTime) {
    RegionalSettings r("%d/%m/%Y", "%H:%M:%S");
    DateTime m{1999, 12, 6, 10, 15, 0};
    EXPECT_EQ(r.FormatDateTime(m), "06/12/1999 10:15:00");
    EXPECT_EQ(r.ParseDateTime("06/12/1999 10:15:00"), m);
}

TEST(RegionalSettings, TimeIsLeftOutAtExactlyMidnight) {
    RegionalSettings r("%d/%m/%Y", "%H:%M:%S");
    DateTime midnight{2001, 2, 3, 0, 0, 0};
    EXPECT_EQ(r.FormatDateTime(midnight), "03/02/2001");
    EXPECT_EQ(r.ParseDateTime("03/02/2001"), midnight);
    EXPECT_EQ(r.FormatDateTime(DateTime{2001, 2, 3, 0, 0, 1}), "03/02/2001 00:00:01");
}

TEST(RegionalSettings, TwoDigitYearsAreWidenedToFour) {
    RegionalSettings r("%m/%d/%y", "%I:%M:%S %p");
    DateTime m{2026, 12, 7, 23, 5, 9};
    EXPECT_EQ(r.FormatDateTime(m), "12/07/2026 11:05:09 PM");
    EXPECT_EQ(r.ParseDateTime("12/07/2026 11:05:09 PM"), m);
    EXPECT_EQ(r.ParseDateTime("12/07/2026 12:00:01 AM"), (DateTime{2026, 12, 7, 0, 0, 1}));
    // Text from other software with a two-digit year still reads.
    EXPECT_EQ(r.ParseDateTime("12/07/26"), (DateTime{2026, 12, 7, 0, 0, 0}));
}

TEST(RegionalSettings, ShorthandFormatsOfRealLocales) {
    RegionalSettings iso("%F", "%T");
    EXPECT_EQ(iso.FormatDateTime(DateTime{2024, 2, 29, 8, 0, 0}), "2024-02-29 08:00:00");
    RegionalSettings german("%d.%m.%Y", "%T");
    EXPECT_EQ(german.ParseDateTime(" 29.02.2024 08:00:00 "), (DateTime{2024, 2, 29, 8, 0, 0}));
}

TEST(RegionalSettings, TextThatDoesNotFitGivesNoValue) {
    RegionalSettings r("%d/%m/%Y", "%H:%M:%S");
    EXPECT_FALSE(r.ParseDateTime(""));
    EXPECT_FALSE(r.ParseDateTime("not a date"));
    EXPECT_FALSE(r.ParseDateTime("31/02/2020"));
    EXPECT_FALSE(r.ParseDateTime("06/12/1999 25:00:00"));
    EXPECT_FALSE(r.ParseDateTime("06/12/1999 10:15:00 trailing"));
    EXPECT_FALSE(r.ParseDateTime("06-12-1999"));
}

TEST(RegionalSettings, EnvironmentSettingsReadBackWhatTheyWrite) {
    RegionalSettings r = RegionalSettings::FromEnvironment();
    DateTime m{2010, 1, 31, 17, 45, 59};
    EXPECT_EQ(r.ParseDateTime(r.FormatDateTime(m)), m);
}
