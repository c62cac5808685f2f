// The RPG III reader: what each specification defines and uses, with its line and role.

#include "library/RpgReader.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::Contains;
using ::testing::Not;

namespace {

std::vector<std::string> Read(const std::vector<std::string>& lines, TMemberFacts* out = nullptr) {
    TMemberFacts facts;
    ReadRpgIII(Member(lines), facts);
    if (out)
        *out = facts;
    return UseTexts(facts);
}

TEST(RpgReader, FileOperationsNameTheFileOrItsRecordFormat) {
    auto uses = Read({
        SpecLine('F', {{7, "CUSTF"}, {15, "UF"}, {19, "E"}, {31, "K"}, {40, "DISK"}}),
        SpecLine('F', {{7, "PRINT"}, {15, "O"}, {16, "F"}, {40, "PRINTER"}}),
        SpecLine('C', {{18, "CUSNO"}, {28, "CHAIN"}, {33, "CUSTR"}, {54, "90"}}),
        SpecLine('C', {{28, "READ"}, {33, "CUSTF"}, {58, "91"}}),
        SpecLine('C', {{28, "UPDATCUSTR"}}),
        SpecLine('C', {{18, "CUSNO"}, {28, "DELETCUSTR"}}),
        SpecLine('C', {{28, "WRITECUSTR"}}),
        SpecLine('C', {{28, "CLOSE"}, {33, "CUSTF"}}),
    });
    EXPECT_THAT(uses, Contains("1 declares file CUSTF"));
    EXPECT_THAT(uses, Contains("2 declares file PRINT"));
    EXPECT_THAT(uses, Contains("3 reads format CUSTR CHAIN"));
    EXPECT_THAT(uses, Contains("3 reads field CUSNO"));
    EXPECT_THAT(uses, Contains("4 reads file CUSTF READ"));
    EXPECT_THAT(uses, Contains("5 updates format CUSTR UPDAT"));
    EXPECT_THAT(uses, Contains("6 deletes format CUSTR DELET"));
    EXPECT_THAT(uses, Contains("7 writes format CUSTR WRITE"));
    EXPECT_THAT(uses, Contains("8 uses file CUSTF CLOSE"));
}

TEST(RpgReader, ContinuationLinesRenameAndNameSubfiles) {
    TMemberFacts facts;
    auto uses = Read(
        {
            SpecLine('F', {{7, "CUSTF"}, {15, "IF"}, {19, "E"}, {40, "DISK"}}),
            SpecLine('F', {{19, "CUSTR"}, {53, "K"}, {54, "RENAME"}, {60, "CUSTR1"}}),
            SpecLine('F', {{7, "SCREEN"}, {15, "CF"}, {19, "E"}, {40, "WORKSTN"}}),
            SpecLine('F', {{47, "RRN1"}, {53, "K"}, {54, "SFILE"}, {60, "SFL01"}}),
            SpecLine('C', {{28, "READ"}, {33, "CUSTR1"}}),
        },
        &facts);
    EXPECT_THAT(uses, Contains("2 uses format CUSTR RENAME"));
    EXPECT_THAT(uses, Contains("2 defines format CUSTR1 RENAME"));
    EXPECT_THAT(uses, Contains("4 uses format SFL01 SFILE"));
    EXPECT_THAT(uses, Contains("4 uses field RRN1 SFILE"));
    EXPECT_THAT(uses, Contains("5 reads format CUSTR1 READ"));
    // A continuation line declares no file.
    EXPECT_THAT(uses, Not(Contains("2 declares file CUSTR")));
    ASSERT_EQ(facts.FormatsOfFiles.size(), 2u);
    EXPECT_EQ(facts.FormatsOfFiles[0].File, "CUSTF");
    EXPECT_EQ(facts.FormatsOfFiles[0].Format, "CUSTR1");
    EXPECT_EQ(facts.FormatsOfFiles[0].External, "CUSTR");
    EXPECT_EQ(facts.FormatsOfFiles[1].File, "SCREEN");
    EXPECT_EQ(facts.FormatsOfFiles[1].Format, "SFL01");
}

TEST(RpgReader, CallsSayWhetherALiteralAConstantOrAFieldNamesTheProgram) {
    auto uses = Read({
        SpecLine('I', {{21, "'PGMB'"}, {43, "C"}, {53, "PGMNAM"}}),
        SpecLine('C', {{28, "CALL"}, {33, "'PGMA'"}, {43, "PLIST1"}}),
        SpecLine('C', {{28, "CALL"}, {33, "PGMNAM"}}),
        SpecLine('C', {{28, "CALL"}, {33, "WKPGM"}}),
        SpecLine('C', {{18, "RETCOD"}, {28, "PARM"}, {33, "INCOD"}, {43, "PRMCOD"}, {49, "  2"}}),
    });
    EXPECT_THAT(uses, Contains("1 defines field PGMNAM"));
    EXPECT_THAT(uses, Contains("2 calls program PGMA CALL"));
    EXPECT_THAT(uses, Contains("2 uses plist PLIST1 CALL"));
    EXPECT_THAT(uses, Contains("3 calls program PGMB CALL via named constant"));
    EXPECT_THAT(uses, Contains("4 calls program WKPGM CALL via field"));
    EXPECT_THAT(uses, Contains("5 changes field RETCOD PARM"));
    EXPECT_THAT(uses, Contains("5 reads field INCOD PARM"));
    EXPECT_THAT(uses, Contains("5 defines field PRMCOD PARM"));
}

TEST(RpgReader, FieldsAreDefinedReadAndChangedByTheirColumns) {
    auto uses = Read({
        SpecLine('E', {{11, "TABIN"}, {19, "TABOUT"}, {27, "ARR"}, {36, "  10"}, {46, "ALT"}}),
        SpecLine('I', {{7, "WORKDS"}, {19, "DS"}}),
        SpecLine('I', {{44, "   1"}, {48, "   8"}, {53, "DATE8"}}),
        SpecLine('I', {{7, "LDA"}, {18, "U"}, {19, "DS"}}),
        SpecLine('C', {{18, "A"}, {28, "ADD"}, {33, "B"}, {43, "C"}, {49, "  5"}, {52, "0"}}),
        SpecLine('C', {{28, "Z-ADD"}, {33, "ARR,I"}, {43, "D"}}),
        SpecLine('C', {{28, "MOVE"}, {33, "'LITERAL'"}, {43, "*IN,01"}}),
        SpecLine('C', {{18, "*LIKE"}, {28, "DEFN"}, {33, "C"}, {43, "E"}}),
    });
    EXPECT_THAT(uses, Contains("1 reads file TABIN ARRAY"));
    EXPECT_THAT(uses, Contains("1 writes file TABOUT ARRAY"));
    EXPECT_THAT(uses, Contains("1 defines field ARR ARRAY"));
    EXPECT_THAT(uses, Contains("1 defines field ALT ARRAY"));
    EXPECT_THAT(uses, Contains("2 defines field WORKDS DS"));
    EXPECT_THAT(uses, Contains("3 defines field DATE8"));
    EXPECT_THAT(uses, Contains("4 defines dataarea LDA DS"));
    EXPECT_THAT(uses, Contains("5 reads field A"));
    EXPECT_THAT(uses, Contains("5 defines field C"));
    EXPECT_THAT(uses, Contains("6 reads field ARR"));
    EXPECT_THAT(uses, Contains("6 reads field I"));
    EXPECT_THAT(uses, Contains("6 changes field D"));
    EXPECT_THAT(uses, Contains("8 reads field C DEFN"));
    EXPECT_THAT(uses, Contains("8 defines field E DEFN"));
    // Literals and indicators are no fields.
    for (const std::string& u : uses) {
        EXPECT_EQ(u.find("LITERAL"), std::string::npos) << u;
        EXPECT_EQ(u.find("*IN"), std::string::npos) << u;
    }
}

TEST(RpgReader, KeyListsSubroutinesAndDataAreasAreResolvedOverTheWholeMember) {
    auto uses = Read({
        SpecLine('F', {{7, "CUSTF"}, {15, "IF"}, {19, "E"}, {40, "DISK"}}),
        SpecLine('C', {{18, "KEY1"}, {28, "CHAIN"}, {33, "CUSTF"}}),
        SpecLine('C', {{28, "IN"}, {33, "WKAREA"}}),
        SpecLine('C', {{28, "EXSR"}, {33, "CALC"}}),
        SpecLine('C', {{18, "A"}, {28, "CASEQ"}, {33, "B"}, {43, "OTHER"}}),
        SpecLine('C', {{18, "CALC"}, {28, "BEGSR"}}),
        SpecLine('C', {{18, "KEY1"}, {28, "KLIST"}}),
        SpecLine('C', {{28, "KFLD"}, {43, "CUSNO"}}),
        SpecLine('C', {{18, "*NAMVAR"}, {28, "DEFN"}, {33, "CTLAREA"}, {43, "WKAREA"}}),
        SpecLine('C', {{28, "OUT"}, {33, "WKAREA"}}),
        SpecLine('C', {{28, "UNLCK"}, {33, "CUSTF"}}),
        SpecLine('C', {{28, "IN"}, {33, "*NAMVAR"}}),
    });
    EXPECT_THAT(uses, Contains("2 uses klist KEY1"));
    EXPECT_THAT(uses, Contains("7 defines klist KEY1 KLIST"));
    EXPECT_THAT(uses, Contains("8 reads field CUSNO KFLD"));
    EXPECT_THAT(uses, Contains("4 calls subroutine CALC EXSR"));
    EXPECT_THAT(uses, Contains("5 calls subroutine OTHER CASEQ"));
    EXPECT_THAT(uses, Contains("6 defines subroutine CALC BEGSR"));
    // The program's name for a data area stands for the data area it was defined as.
    EXPECT_THAT(uses, Contains("3 reads dataarea CTLAREA IN"));
    EXPECT_THAT(uses, Contains("9 defines dataarea CTLAREA DEFN"));
    EXPECT_THAT(uses, Contains("10 writes dataarea CTLAREA OUT"));
    EXPECT_THAT(uses, Contains("11 uses file CUSTF UNLCK"));
    EXPECT_THAT(uses, Contains("12 reads dataarea CTLAREA IN"));
}

TEST(RpgReader, OutputLinesWriteTheirFileAndExceptionOutputWritesTheRecordsOfItsName) {
    auto uses = Read({
        SpecLine('F', {{7, "PRINT"}, {15, "O"}, {16, "F"}, {40, "PRINTER"}}),
        SpecLine('F', {{7, "CUSTF"}, {15, "UF"}, {19, "E"}, {40, "DISK"}}),
        SpecLine('C', {{28, "EXCPT"}, {33, "HDG"}}),
        SpecLine('C', {{28, "EXCPT"}}),
        SpecLine('O', {{7, "PRINT"}, {15, "E"}, {32, "HDG"}}),
        SpecLine('O', {{32, "TOTAL"}, {40, "  20"}}),
        SpecLine('O', {{32, "PAGE"}, {40, "  30"}}),
        SpecLine('O', {{7, "CUSTR"}, {15, "E"}, {16, "DEL"}}),
    });
    EXPECT_THAT(uses, Contains("3 writes file PRINT EXCPT"));
    EXPECT_THAT(uses, Contains("4 writes format CUSTR EXCPT"));
    EXPECT_THAT(uses, Not(Contains("3 writes format CUSTR EXCPT")));
    EXPECT_THAT(uses, Contains("5 writes file PRINT OUTPUT"));
    EXPECT_THAT(uses, Contains("6 reads field TOTAL OUTPUT"));
    EXPECT_THAT(uses, Not(Contains("7 reads field PAGE OUTPUT")));
    EXPECT_THAT(uses, Contains("8 deletes format CUSTR OUTPUT"));
}

TEST(RpgReader, CommentsSqlAndCompileTimeDataHoldNoNames) {
    TMemberFacts facts;
    auto uses = Read(
        {
            SpecLine('C', {{7, "*"}, {28, "CHAIN"}, {33, "COMMENT"}}),
            SpecLine('C', {{7, "/EXEC SQL"}}),
            SpecLine('C', {{7, "+"}, {8, " SELECT * FROM SQLFILE"}}),
            SpecLine('C', {{7, "/END-EXEC"}}),
            SpecLine('C', {{28, "EXSR"}, {33, "AFTER"}}),
            "**",
            SpecLine('C', {{28, "EXSR"}, {33, "DATA"}}),
        },
        &facts);
    EXPECT_THAT(uses, Contains("5 calls subroutine AFTER EXSR"));
    EXPECT_EQ(uses.size(), 1u);
}

TEST(RpgReader, CopyDirectivesNameASourceFileAndALibraryWhenTheyGiveThem) {
    TMemberFacts facts;
    auto uses = Read(
        {
            SpecLine(' ', {{7, "/COPY QRPGSRC,DATECALC"}}),
            SpecLine('C', {{7, "/copy mylib/qcpysrc,ERRORS"}, {75, "CHG001"}}),
            SpecLine('E', {{7, "/COPY ARRAYS"}}),
            SpecLine('E', {{7, "/COPY"}}),
        },
        &facts);
    ASSERT_EQ(facts.Copies.size(), 3u);
    EXPECT_EQ(facts.Copies[0].File, "QRPGSRC");
    EXPECT_EQ(facts.Copies[0].Member, "DATECALC");
    EXPECT_EQ(facts.Copies[1].Library, "MYLIB");
    EXPECT_EQ(facts.Copies[1].File, "QCPYSRC");
    EXPECT_EQ(facts.Copies[1].Member, "ERRORS");
    EXPECT_EQ(facts.Copies[2].File, "");
    EXPECT_EQ(facts.Copies[2].Member, "ARRAYS");
    EXPECT_THAT(uses, Contains("2 copies copy ERRORS"));

    TCopyDirective copy;
    ASSERT_TRUE(ParseCopyLine("#/COPY QCPYSRC,DATES", copy)) << "a program's statement";
    EXPECT_EQ(copy.File, "QCPYSRC");
    ASSERT_TRUE(ParseCopyLine(SpecLine('C', {{1, "00100"}, {7, "/COPY LIB/F,M"}}), copy));
    EXPECT_EQ(copy.Library, "LIB");
    ASSERT_TRUE(ParseCopyLine("  /include protos", copy));
    EXPECT_EQ(copy.Member, "PROTOS");
    EXPECT_FALSE(ParseCopyLine(SpecLine('C', {{7, "* /COPY X,Y"}}), copy));
    EXPECT_FALSE(ParseCopyLine("/COPYX A", copy));
    EXPECT_FALSE(ParseCopyOperand("", copy));
    EXPECT_FALSE(ParseCopyOperand("QRPGSRC,", copy));
    EXPECT_FALSE(ParseCopyOperand("'/ifs/path.rpgle'", copy));
}

TEST(RpgReader, ShortLongAndOddLinesAreReadInTheirColumnsOnly) {
    // Lines cut before the columns a specification reads, bytes above 0x7F in a name, and a
    // line of 2,000 columns whose columns past 80 hold nothing the reader takes.
    TMemberFacts facts;
    Read({"     C", "     F", SpecLine('C', {{18, "\xe9T\xe8"}, {28, "ADD"}, {33, "Y"}, {43, "Z"}}),
          (SpecLine('C', {{28, "EXSR"}, {33, "LONG"}}) + std::string(80, ' ')).substr(0, 80) +
              std::string(2000, 'X')},
         &facts);
    std::vector<std::string> names;
    for (const TUse& u : facts.Uses)
        names.push_back(std::to_string(u.Line) + u.Name);
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("3\xe9T\xe8", "3Y", "3Z", "4LONG"));
}

} // namespace
