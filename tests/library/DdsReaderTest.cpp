// The reader of data descriptions: formats, fields and their attributes, and the files a
// description takes its definitions from, each on the line that names it.

#include "library/DdsReader.h"
#include "library/MemberClassify.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::Contains;

namespace {

TEST(DdsReader, PhysicalFileFieldsKeepTheirAttributesAndReferences) {
    std::string text = Member({
        SpecLine('A', {{7, "*"}, {9, "Customer master"}}),
        SpecLine('A', {{45, "REF(*LIBL/FLDREF)"}}),
        SpecLine('A', {{17, "R"}, {19, "CUSTR"}, {45, "TEXT('Customer')"}}),
        SpecLine('A', {{19, "CUSNO"}, {30, "    7"}, {35, "P"}, {36, " 0"}}),
        SpecLine('A', {{19, "CUSNAM"}, {30, "   30"}}),
        SpecLine('A', {{19, "AMOUNT"}, {30, "   11"}, {36, " 2"}}),
        SpecLine('A', {{19, "CITY"}, {29, "R"}}),
        SpecLine('A', {{19, "ZIP"}, {29, "R"}, {45, "REFFLD(POSTCD"}}),
        SpecLine('A', {{45, "GEOREF)"}}),
        SpecLine('A', {{17, "K"}, {19, "CUSNO"}}),
    });
    TMemberFacts facts;
    ReadDds(text, "custf", "PF", facts);
    auto uses = UseTexts(facts);
    EXPECT_THAT(uses, Contains("2 defines file CUSTF"));
    EXPECT_THAT(uses, Contains("2 uses file FLDREF REF"));
    EXPECT_THAT(uses, Contains("3 defines format CUSTR"));
    EXPECT_THAT(uses, Contains("4 defines field CUSNO"));
    // The file REFFLD names is used on the line that names it.
    EXPECT_THAT(uses, Contains("8 uses file GEOREF REFFLD"));
    EXPECT_THAT(uses, Contains("10 uses field CUSNO KEY"));
    ASSERT_EQ(facts.Fields.size(), 5u);
    const TDdsField& cusno = facts.Fields[0];
    EXPECT_EQ(cusno.Format, "CUSTR");
    EXPECT_EQ(cusno.Length, 7);
    EXPECT_EQ(cusno.Decimals, 0);
    EXPECT_EQ(cusno.Type, 'P');
    EXPECT_EQ(facts.Fields[1].Type, 'A');
    // A number without a type is packed in a database file.
    EXPECT_EQ(facts.Fields[2].Type, 'P');
    EXPECT_TRUE(facts.Fields[3].Referenced);
    EXPECT_EQ(facts.Fields[3].RefFile, "FLDREF");
    EXPECT_EQ(facts.Fields[3].RefField, "CITY");
    EXPECT_EQ(facts.Fields[4].RefFile, "GEOREF");
    EXPECT_EQ(facts.Fields[4].RefField, "POSTCD");
}

TEST(DdsReader, LogicalFileFormatsAndFieldsComeFromTheirPhysicalFile) {
    std::string text = Member({
        SpecLine('A', {{17, "R"}, {19, "CUSTR"}, {45, "PFILE(CUSTF)"}}),
        SpecLine('A', {{19, "CUSNO"}}),
        SpecLine('A', {{19, "NAME"}, {45, "RENAME(CUSNAM)"}}),
        SpecLine('A', {{17, "K"}, {19, "NAME"}}),
        SpecLine('A', {{17, "S"}, {19, "CUSNO"}, {45, "COMP(GT 0)"}}),
    });
    TMemberFacts facts;
    ReadDds(text, "CUSTL1", "LF", facts);
    auto uses = UseTexts(facts);
    EXPECT_THAT(uses, Contains("1 uses file CUSTF PFILE"));
    EXPECT_THAT(uses, Contains("5 uses field CUSNO SELECT"));
    ASSERT_EQ(facts.Formats.size(), 1u);
    EXPECT_EQ(facts.Formats[0].BasedOn, "CUSTF");
    ASSERT_EQ(facts.Fields.size(), 2u);
    EXPECT_EQ(facts.Fields[0].RefFile, "CUSTF");
    EXPECT_EQ(facts.Fields[0].RefField, "CUSNO");
    EXPECT_EQ(facts.Fields[1].RefField, "CUSNAM");
}

TEST(DdsReader, DisplayFilesNameTheirSubfilesAndPlacedConstantsAreNoFields) {
    std::string text = Member({
        SpecLine('A', {{45, "DSPSIZ(24 80 *DS3)"}}),
        SpecLine('A', {{17, "R"}, {19, "SFL01"}, {45, "SFL"}}),
        SpecLine('A', {{19, "OPT"}, {30, "    1"}, {38, "B"}, {39, "  5"}, {42, "  2"}}),
        SpecLine('A',
                 {{19, "QTY"}, {30, "    5"}, {36, " 0"}, {38, "O"}, {39, "  5"}, {42, "  6"}}),
        SpecLine('A', {{39, "  1"}, {42, " 30"}, {45, "'Orders'"}}),
        SpecLine('A', {{17, "R"}, {19, "CTL01"}, {45, "SFLCTL(SFL01)"}}),
    });
    TMemberFacts facts;
    ReadDds(text, "ORDD", DdsType(text), facts);
    EXPECT_EQ(DdsType(text), "DSPF");
    auto uses = UseTexts(facts);
    EXPECT_THAT(uses, Contains("6 uses format SFL01 SFLCTL"));
    ASSERT_EQ(facts.Fields.size(), 2u);
    EXPECT_EQ(facts.Fields[0].Usage, 'B');
    // A number without a type is zoned on a screen.
    EXPECT_EQ(facts.Fields[1].Type, 'S');
}

TEST(DdsReader, TypeOfADescriptionIsToldByItsKeywords) {
    EXPECT_EQ(DdsType(Member({SpecLine('A', {{17, "R"}, {19, "R1"}, {45, "PFILE(X)"}})})), "LF");
    EXPECT_EQ(DdsType(Member({SpecLine('A', {{17, "R"}, {19, "R1"}, {45, "SKIPB(1)"}})})), "PRTF");
    EXPECT_EQ(DdsType(Member({SpecLine('A', {{45, "CA03(03)"}})})), "DSPF");
    EXPECT_EQ(DdsType(Member({SpecLine('A', {{17, "R"}, {19, "R1"}})})), "PF");
}

} // namespace
