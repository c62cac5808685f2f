// The reader of RPG IV: calls of programs through literals, constants and prototypes, in
// fixed and free form, its copy members and its files.

#include "library/RpgIVReader.h"

#include "LibraryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvale::library;
using namespace orvale::library::test;
using ::testing::Contains;
using ::testing::Not;

namespace {

std::vector<std::string> Read(const std::vector<std::string>& lines) {
    TMemberFacts facts;
    ReadRpgIV(Member(lines), facts);
    return UseTexts(facts);
}

TEST(RpgIVReader, FixedFormCallsAndPrototypesNameTheirPrograms) {
    auto uses = Read({
        SpecLine('F', {{7, "CUSTF"}, {17, "I"}, {18, "F"}, {22, "E"}, {34, "K"}, {36, "DISK"}}),
        SpecLine('D', {{7, "PGMNAME"}, {24, "C"}, {44, "CONST('PGMC')"}}),
        SpecLine('D', {{7, "GetRate"}, {24, "PR"}, {44, "EXTPGM('RATEPGM')"}}),
        SpecLine('D', {{7, "Self"}, {24, "PR"}, {44, "EXTPGM"}}),
        SpecLine('D', {{7, "Proc"}, {24, "PR"}}),
        SpecLine('D', {{7, "CUST"}, {22, "E"}, {24, "DS"}, {44, "EXTNAME(CUSTF:CUSTR)"}}),
        SpecLine('C', {{26, "CALL"}, {36, "'PGMA'"}}),
        SpecLine('C', {{26, "CALL"}, {36, "PGMNAME"}}),
        SpecLine('C', {{26, "CALLP(E)"}, {36, "GetRate(X)"}}),
        SpecLine('C', {{26, "CALLP"}, {36, "Self"}}),
        SpecLine('C', {{26, "CALLP"}, {36, "Proc(Y)"}}),
        SpecLine(' ', {{7, "/COPY QRPGLESRC,PROTOS"}}),
    });
    EXPECT_THAT(uses, Contains("1 declares file CUSTF"));
    EXPECT_THAT(uses, Contains("6 uses file CUSTF DS"));
    EXPECT_THAT(uses, Contains("7 calls program PGMA CALL"));
    EXPECT_THAT(uses, Contains("8 calls program PGMC CALL via named constant"));
    EXPECT_THAT(uses, Contains("9 calls program RATEPGM CALLP"));
    EXPECT_THAT(uses, Contains("10 calls program SELF CALLP"));
    EXPECT_THAT(uses, Contains("12 copies copy PROTOS"));
    // A procedure is no program.
    EXPECT_THAT(uses, Not(Contains("11 calls program PROC CALLP")));
}

TEST(RpgIVReader, FreeFormStatementsCallPrototypesWithOrWithoutCallp) {
    auto uses = Read({
        "**FREE",
        "dcl-f orders keyed;",
        "dcl-pr Ship extpgm('SHIPPGM');",
        "  order char(10);",
        "end-pr;",
        "dcl-c NEXT 'NEXTPGM';",
        "dcl-ds cust extname('CUSTF') qualified end-ds;",
        "dcl-pr Follow extpgm(NEXT) end-pr;",
        "// Ship(comment);",
        "callp(e) Ship(ord);",
        "Ship(ord",
        "     );",
        "Follow();",
        "/include qrpglesrc,common",
    });
    EXPECT_THAT(uses, Contains("2 declares file ORDERS"));
    EXPECT_THAT(uses, Contains("7 uses file CUSTF DS"));
    EXPECT_THAT(uses, Contains("10 calls program SHIPPGM CALLP"));
    EXPECT_THAT(uses, Contains("11 calls program SHIPPGM CALLP"));
    EXPECT_THAT(uses, Contains("13 calls program NEXTPGM CALLP"));
    EXPECT_THAT(uses, Contains("14 copies copy COMMON"));
    EXPECT_THAT(uses, Not(Contains("9 calls program SHIPPGM CALLP")));
}

TEST(RpgIVReader, FreeBlocksOfAFixedFormMemberAreReadAsStatements) {
    auto uses = Read({
        SpecLine('D', {{7, "Run"}, {24, "PR"}, {44, "EXTPGM('RUNPGM')"}}),
        SpecLine(' ', {{7, "/FREE"}}),
        "         Run();",
        SpecLine(' ', {{7, "/END-FREE"}}),
        SpecLine('C', {{26, "CALLP"}, {36, "Run"}}),
    });
    EXPECT_THAT(uses, Contains("3 calls program RUNPGM CALLP"));
    EXPECT_THAT(uses, Contains("5 calls program RUNPGM CALLP"));
}

} // namespace
