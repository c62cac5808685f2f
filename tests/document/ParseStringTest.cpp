#include "document/ParseString.h"

#include <gtest/gtest.h>

TEST(ParseString, EmptyFieldsCountAndAnEmptyLineGivesNone) {
    TParseString p;
    p.Parse("a,,b", ",", false, false);
    EXPECT_EQ(p.Tokens, (StringList{"a", "", "b"}));
    p.Parse("a,", ",", false, false);
    EXPECT_EQ(p.Tokens, (StringList{"a", ""}));
    p.Parse("", ",", true, true);
    EXPECT_TRUE(p.Tokens.empty());
}

TEST(ParseString, AQuotedFieldStaysWholeAndKeepsItsCase) {
    TParseString p;
    p.Parse("'x,y',z", ",", false, true);
    EXPECT_EQ(p.Tokens, (StringList{"'x,y'", "Z"}));
    // Each field is examined afresh, so several quoted fields split field by field.
    p.Parse("'a,b','c,d',e", ",", true, false);
    EXPECT_EQ(p.Tokens, (StringList{"'a,b'", "'c,d'", "e"}));
    // A quote that is never closed protects nothing.
    p.Parse("'a,b", ",", false, false);
    EXPECT_EQ(p.Tokens, (StringList{"'a", "b"}));
}

TEST(ParseString, TrimmingIsOptional) {
    TParseString p;
    p.Parse(" ab , cd ", ",", true, false);
    EXPECT_EQ(p.Tokens, (StringList{"ab", "cd"}));
    p.Parse(" ab , cd ", ",", false, false);
    EXPECT_EQ(p.Tokens, (StringList{" ab ", " cd "}));
    // Trimming drops tabs and other control characters too.
    p.Parse("\tab\x01,c", ",", true, false);
    EXPECT_EQ(p.Tokens, (StringList{"ab", "c"}));
}

TEST(ParseString, UpperCasingTouchesOnlyAsciiLetters) {
    TParseString p;
    p.Parse("abc\xE8,z-add", ",", false, true);
    EXPECT_EQ(p.Tokens, (StringList{"ABC\xE8", "Z-ADD"}));
}

TEST(ParseString, HistoryLineSplitsIntoItsFiveFields) {
    TParseString p;
    p.Parse("CALC2,Modify,USER1,06/12/1999 10:40:12, ", ",", false, false);
    EXPECT_EQ(p.Tokens, (StringList{"CALC2", "Modify", "USER1", "06/12/1999 10:40:12", " "}));
}
