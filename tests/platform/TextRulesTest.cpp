#include "platform/TextRules.h"

#include <gtest/gtest.h>

TEST(TextRules, TrimmingDropsControlCodesAndBlanksButNoByteAboveThem) {
    EXPECT_EQ(Trim(std::string(" \t\r\n\x1f", 5) + "A B" + std::string("\0 \x01", 3)), "A B");
    EXPECT_EQ(TrimLeftView("  x  "), "x  ");
    EXPECT_EQ(TrimRightView("  x  "), "  x");
    EXPECT_EQ(TrimView(" \t "), "");
    EXPECT_EQ(TrimView(""), "");
    // Bytes of 128 and above are characters of the code page (a no-break space, an e with an
    // acute accent), not blanks: read as signed, they would compare below the space.
    EXPECT_EQ(TrimView("\xA0x\xE9"), "\xA0x\xE9");
    EXPECT_EQ(Trim(" \xFF "), "\xFF");
}

TEST(TextRules, CaseChangesTouchOnlyTheLettersOfTheAlphabet) {
    const std::string bytes = "az AZ 09 @[`{ \xE9\xC9\xFF";
    EXPECT_EQ(UpperCase(bytes), "AZ AZ 09 @[`{ \xE9\xC9\xFF");
    EXPECT_EQ(LowerCase(bytes), "az az 09 @[`{ \xE9\xC9\xFF");
    std::string inPlace = "Mixed \xE9";
    UpperCaseInPlace(inPlace);
    EXPECT_EQ(inPlace, "MIXED \xE9");
}

TEST(TextRules, SameTextIgnoresTheCaseOfLettersAlone) {
    EXPECT_TRUE(SameText("Iso-8859-1", "ISO-8859-1"));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_FALSE(SameText("ABC", "ABCD"));
    EXPECT_FALSE(SameText("ABC", "ABD"));
    // Characters 32 apart that are not a letter and its capital: a comparison that merely
    // masks the case bit would take them for the same.
    EXPECT_FALSE(SameText("@", "`"));
    EXPECT_FALSE(SameText("[", "{"));
    EXPECT_FALSE(SameText("\xE9", "\xC9"));
}
