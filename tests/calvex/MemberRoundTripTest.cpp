// A member written to hold, in one place, the things real members do that a conversion can
// trip over; imported, compiled back and compared like the corpus members.

#include "support/MemberWalk.h"
#include "support/RoundTripCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;

namespace {

StringList TrickyMember() {
    return {
        "     H/TITLE Order entry - \xDCr\xFCn listesi",
        "0001 H            Y                                     1",
        "      *",
        "     M* Maintenance log: kept by hand",
        "     F* Files",
        SpecLine('F', {{7, "SCREEN  CF  E"}, {40, "WORKSTN"}}),
        SpecLine('F', {{47, "RRN"}, {53, "KSFILE"}, {60, "SFL01"}}),
        SpecLine('F', {{7, "ORDERS  UF  E"}, {31, "K"}, {40, "DISK"}, {66, "A"}}),
        SpecLine('F', {{19, "RORDER"}, {53, "KRENAME"}, {60, "ORDREC"}}),
        SpecLine('F', {{7, "QSYSPRT O   F"}, {25, "132"}, {33, "OF"}, {40, "PRINTER"}}),
        "     F/COPY QRPGSRC,FILES",
        SpecLine('E', {{27, "MSG     1   3 40"}, {58, "messages"}}),
        SpecLine('E', {{27, "WRK        20 10"}}),
        SpecLine('E', {{27, "DAY     7   7  3"}}),
        SpecLine('L', {{7, "QSYSPRT"}, {16, "66FL"}, {21, "60OL"}}),
        "     I* Data structures",
        SpecLine('I', {{7, "INFO"}, {19, "DS"}}),
        SpecLine('I', {{44, "   1   8"}, {53, "PGM"}}),
        SpecLine('I', {{43, "P   9  132AMOUNT"}}),
        SpecLine('I', {{21, "'\xDCnit\xE9, totale'"}, {43, "C"}, {53, "TOTLBL"}}),
        SpecLine('I', {{21, "'A long constant that'"}, {43, "C"}, {53, "LONGC"}}),
        SpecLine('I', {{21, "'continues here'"}}),
        SpecLine('I', {{7, "RORDER"}, {19, "01"}}),
        SpecLine('I', {{21, "ORDNUM"}, {53, "ONUM"}}),
        "     C* Main line\t",
        SpecLine('C', {{28, "EXSR"}, {33, "*INZSR"}}),
        SpecLine('C', {{9, "01"}, {18, "ONUM"}, {28, "CHAIN"}, {33, "ORDERS"}, {56, "90"}}),
        SpecLine('C',
                 {{9, "N90"}, {18, "QTY"}, {28, "MULT"}, {33, "PRICE"}, {43, "AMOUNT"}, {53, "H"}}),
        SpecLine('C', {{7, "L1"}, {28, "ADD"}, {33, "AMOUNT"}, {43, "TOTAL"}, {62, "level 1"}}),
        SpecLine('C', {{18, "ACT"}, {28, "CASEQ"}, {33, "'A'"}, {43, "ADDSR"}}),
        SpecLine('C', {{28, "CAS"}, {43, "OTHSR"}}),
        SpecLine('C', {{28, "END"}}),
        "     C/EXEC SQL",
        "     C+ SELECT count(*) INTO :CNT",
        "     C+   FROM orders WHERE status = 'open'",
        "     C/END-EXEC",
        SpecLine('C', {{9, "LR"}}),
        SpecLine('C', {{28, "MOVEL"}, {33, "'x\tTAB'"}, {43, "TXT"}}),
        "     C           *INZSR    BEGSR",
        SpecLine('C', {{28, "Z-ADD"}, {33, "0"}, {43, "TOTAL"}, {49, "  92"}}),
        "     C                     ENDSR",
        "     C* ----- Add routine -----",
        "     C           ADDSR     BEGSR",
        SpecLine('C', {{18, "X"}, {28, "IFGT"}, {33, "0"}}),
        SpecLine('C', {{28, "DO"}, {33, "10"}, {43, "I"}, {49, "  30"}}),
        SpecLine('C', {{18, "WRK,I"}, {28, "ADD"}, {33, "1"}, {43, "WRK,I"}}),
        SpecLine('C', {{28, "ENDDO"}}),
        SpecLine('C', {{28, "ELSE"}}),
        SpecLine('C', {{28, "SETON"}, {58, "99"}}),
        SpecLine('C', {{28, "ENDIF"}}),
        "     C                     ENDSR",
        "     C           OTHSR     BEGSR",
        "     C                     ENDSR",
        "     C*-------------------------------------- end of calculations",
        "     C/EJECT",
        SpecLine('O', {{7, "QSYSPRT H"}, {16, "F"}, {18, "103"}, {24, "1P"}}),
        SpecLine('O', {{14, "OR"}, {24, "OF"}}),
        SpecLine('O', {{40, "  30"}, {45, "'Order report'"}}),
        SpecLine('O', {{32, "UDATE"}, {38, "Y"}, {43, "60"}}),
        SpecLine('O', {{15, "D  1"}, {24, "01"}}),
        SpecLine('O', {{32, "ONUM"}, {38, "Z"}, {43, "10"}}),
        SpecLine('O', {{32, "AMOUNT"}, {38, "1"}, {40, "+  2"}}),
        SpecLine('O', {{15, "E  1"}, {32, "TOTALS"}}),
        SpecLine('O', {{32, "TOTAL"}, {38, "J"}, {43, "30"}, {45, "'  ,   .  '"}}),
        SpecLine('O', {{15, "T 2"}, {24, "LR"}}),
        "**",
        "Order not found                         ",
        "**Priority record kept as data          ",
        "Quantity missing",
        "** days",
        "MONTUEWEDTHUFRISATSUN",
        "**   COPY - table of a copied member",
        "ABCDEF",
    };
}

} // namespace

TEST(MemberRoundTrip, EveryLineComesBackInItsPlace) {
    StringList member = TrickyMember();
    MemberSections s;
    ImportMember(member, s);
    EXPECT_EQ(s.Arrays.size(), 3u);
    BuildTotals totals = CompileAll(s, AllOptions());
    EXPECT_EQ(totals.Errors, 0);
    EXPECT_EQ(totals.Warnings, 0);
    for (const auto& d : CompareRoundTrip(member, AssembleByPlace(s.BuildOrder())))
        ADD_FAILURE() << "line " << d.SourceIndex + 1 << "\n  source:   [" << d.Source
                      << "]\n  compiled: [" << d.Compiled << "]";
}

TEST(MemberRoundTrip, AComparisonThatWouldMissNothing) {
    // The same walk with a line changed in the member: the comparison must notice.
    StringList member = TrickyMember();
    MemberSections s;
    ImportMember(member, s);
    CompileAll(s, AllOptions());
    StringList built = AssembleByPlace(s.BuildOrder());
    member[27][40] = 'X';
    EXPECT_EQ(CompareRoundTrip(member, built).size(), 1u);
}
