// The check every converter makes on its statement, the raw form it falls back to, and the
// round-trip comparison the corpus tests rely on (which must itself catch what differs).

#include "calvex/RoundTrip.h"
#include "calvex/Banner.h"
#include "calvex/MemberLines.h"
#include "platform/RegionalSettings.h"

#include "support/RoundTripCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;

TEST(RoundTrip, RawFallbackKeepsColumnsSixTo74) {
    EXPECT_EQ(RawFallback("00010C   01     Z-ADD0         X    tag81-100 beyond"),
              "RPG(C   01     Z-ADD0         X    tag81-100 beyond)");
    EXPECT_EQ(RawFallback(std::string(10, ' ') + std::string(80, 'x')),
              "RPG(     " + std::string(64, 'x') + ")");
    // A line holding only its form type keeps a blank, which compiles back to the same line.
    EXPECT_EQ(RawFallback("     I"), "RPG(I )");
    EXPECT_EQ(RawFallback("  "), "RPG()");
}

TEST(RoundTrip, GivesBackByLineClass) {
    const std::string spec = "     C           KEY       CHAIN FILE               90";
    EXPECT_TRUE(GivesBack(spec, spec + "      ", LineClass::Specification, 60));
    EXPECT_FALSE(GivesBack(spec, "     C          KEY        CHAIN FILE               90",
                           LineClass::Specification, 60));
    // Sequence numbers and columns 75-80 are not carried.
    EXPECT_TRUE(GivesBack("12345" + spec.substr(5), spec, LineClass::Specification, 0));

    EXPECT_TRUE(GivesBack("      * note", "     C* note", LineClass::Comment, 0));
    EXPECT_FALSE(GivesBack("     I* note", "     C* note", LineClass::Comment, 0));
    EXPECT_FALSE(GivesBack("     C* note", "     C*  note", LineClass::Comment, 0));
    EXPECT_TRUE(GivesBack("        text", "     C* text", LineClass::Comment, 0));
    EXPECT_FALSE(GivesBack("      Xtext", "     C*text", LineClass::Comment, 0));

    EXPECT_TRUE(GivesBack("     C/copy lib,mbr", "     C/COPY LIB,MBR", LineClass::Directive, 0));
    EXPECT_TRUE(GivesBack("      /EJECT", "     C/EJECT", LineClass::Directive, 0));
    EXPECT_FALSE(GivesBack("     C/COPY A", "     C/COPY B", LineClass::Directive, 0));
}

TEST(RoundTrip, ForeignComments) {
    EXPECT_TRUE(IsForeignComment("     M* Maintenance", 'F'));
    EXPECT_TRUE(IsForeignComment("     C* calcs", 'I'));
    EXPECT_FALSE(IsForeignComment("     F* files", 'F'));
    EXPECT_FALSE(IsForeignComment("      * any", 'F'));
    EXPECT_FALSE(IsForeignComment("     CX", 'F'));
}

TEST(MemberLines, CompileTimeDataAndSeparators) {
    EXPECT_TRUE(StartsCompileTimeData("**"));
    EXPECT_TRUE(StartsCompileTimeData("**(fax) record"));
    EXPECT_FALSE(StartsCompileTimeData("/*S*D****"));
    EXPECT_TRUE(IsDataSeparator("**"));
    EXPECT_TRUE(IsDataSeparator("** Months"));
    EXPECT_FALSE(IsDataSeparator("**(fax) record"));
    EXPECT_TRUE(HoldsOperation("     C           SR1       BEGSR", "BEGSR"));
    EXPECT_FALSE(HoldsOperation("     C*          SR1       BEGSR", "BEGSR"));
}

TEST(MemberLines, WalkFilterLooksPastCommentRuns) {
    StringList source{"     I* a", "     C* b", "      * c", "     IX", "     C* d",
                      "     O* e", "     CY",   "     M* f", "     OZ", "**"};
    WalkFilter input(source, 'I');
    EXPECT_TRUE(input.Takes(0));
    EXPECT_TRUE(input.Takes(1)); // followed by input lines
    EXPECT_TRUE(input.Takes(2));
    EXPECT_TRUE(input.Takes(3));
    EXPECT_FALSE(input.Takes(4)); // followed by a calculation line
    WalkFilter calc(source, 'C');
    EXPECT_TRUE(calc.Takes(4));
    EXPECT_TRUE(calc.Takes(5));
    EXPECT_TRUE(calc.Takes(6));
    EXPECT_TRUE(calc.Takes(7)); // no form type in column 6: always taken
    EXPECT_FALSE(calc.Takes(8));
    EXPECT_FALSE(calc.Takes(9));
    WalkFilter output(source, 'O');
    EXPECT_TRUE(output.Takes(8));
}

TEST(Banner, CodesTextAndMoments) {
    std::string line =
        "&%   C* *  Created On: 09/03/2024 14:05:06" + std::string(29, ' ') + " * &%1CRT";
    EXPECT_TRUE(HasBannerCode(line, "&%", "1CRT"));
    EXPECT_TRUE(IsBannerLine(line, "&%"));
    EXPECT_FALSE(HasBannerCode(line, "&%", "1UPD"));
    EXPECT_FALSE(IsBannerLine(line, ""));
    EXPECT_FALSE(HasBannerCode(line.substr(0, 78), "&%", "1CRT"));
    EXPECT_TRUE(HasBannerCode(line, "&%extra", "1CRT"));
    std::string description = "&%   C* * Customer files";
    description.resize(71, ' ');
    EXPECT_EQ(BannerText(description + " * &%1SDS"), "Customer files");

    orvale::RegionalSettings saved = orvale::RegionalSettings::Current();
    orvale::RegionalSettings::SetCurrent(orvale::RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    auto moment = BannerMoment(line);
    ASSERT_TRUE(moment.has_value());
    EXPECT_EQ(*moment, (orvale::DateTime{2024, 3, 9, 14, 5, 6}));
    EXPECT_FALSE(BannerMoment("&%   C* *  Created On: yesterday").has_value());
    orvale::RegionalSettings::SetCurrent(saved);

    auto frame = [](std::string name) {
        std::string line = "&%   C* " + std::string(26, '*') + " " + name + " ";
        line.append(name.size() < 15 ? 15 - name.size() : 0, '*');
        return line + std::string(22, '*') + " &%xSEC";
    };
    EXPECT_EQ(FrameName(frame("SR1")), "SR1");
    EXPECT_EQ(FrameName(frame("MAIN ROUTINE")), "MAIN ROUTINE");
    EXPECT_EQ(FrameName(frame("INIT SUBROUTINE")), "INIT SUBROUTINE");
    EXPECT_EQ(FrameName("&%   C* " + std::string(65, '*') + " &%xSEC"), "");
}

TEST(RoundTripCheck, CatchesWhatDiffers) {
    using calvex::test::CompareRoundTrip;
    StringList source{"     C           A         ADD  B         C",
                      "     C* note",
                      "      /EJECT",
                      "",
                      calvex::test::SpecLine('C', {{28, "EXSR X"}, {62, "comment"}}),
                      "**",
                      "DATA"};
    // Banner lines the build adds are not compared; every other line must be as it was, in
    // every column (trailing blanks aside).
    StringList good{"&%   C* banner line" + std::string(55, ' ') + "&%xSEC",
                    "     C           A         ADD  B         C   ",
                    "     C* note",
                    "      /EJECT",
                    "",
                    calvex::test::SpecLine('C', {{28, "EXSR X"}, {62, "comment"}}),
                    "**",
                    "DATA"};
    EXPECT_TRUE(CompareRoundTrip(source, good).empty());
    // What the looser rule of columns 6-74 let pass now counts: the form type of a directive,
    // a comment moved to another column, a separator written anew.
    StringList loose = good;
    loose[3] = "     C/EJECT";
    loose[5] = calvex::test::SpecLine('C', {{28, "EXSR X"}, {60, "comment"}});
    loose[6] = "** TAB" + std::string(68, ' ') + "&%1ARY";
    EXPECT_EQ(CompareRoundTrip(source, loose).size(), 3u);
    StringList moved = good;
    moved[1][18] = 'A';
    moved[1][17] = ' ';
    auto d = CompareRoundTrip(source, moved);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].SourceIndex, 0);
    StringList lost = good;
    lost.erase(lost.begin() + 3);
    EXPECT_FALSE(CompareRoundTrip(source, lost).empty());
    StringList extra = good;
    extra.push_back("MORE");
    EXPECT_EQ(CompareRoundTrip(source, extra).size(), 1u);
    StringList data = good;
    data[7] = "DATA2";
    EXPECT_EQ(CompareRoundTrip(source, data).size(), 1u);
}
