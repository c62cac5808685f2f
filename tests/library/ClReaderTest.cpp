// The reader of control language: calls in every form a program can be run, and the files and
// data areas the commands name, on the line that names them.

#include "library/ClReader.h"

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
    ReadCl(Member(lines), facts);
    return UseTexts(facts);
}

TEST(ClReader, CallsAreFoundWhereverACommandRunsAProgram) {
    auto uses = Read({
        "/* Nightly run */",
        "             PGM",
        "             CALL       PGM(MYLIB/PGMA) PARM(&X)",
        "             CALL       PGMB",
        "LOOP:        CALL       PGM(&PGM)",
        "             IF         COND(&A *EQ 'Y') THEN(CALL +",
        "                          PGM(PGMC))",
        "             MONMSG     MSGID(CPF0000) EXEC(CALL PGM(PGMD))",
        "             SBMJOB     CMD(CALL PGM(PGME)) JOB(NIGHT)",
        "             SBMJOB     JOB(X) RQSDTA('CALL PGMF')",
        "             CHGVAR     VAR(&CMD) VALUE('CALL PGM(PGMG) PARM(''A'')')",
        "             TFRCTL     PGM(PGMH)",
        "             ENDPGM",
    });
    EXPECT_THAT(uses, Contains("3 calls program PGMA CALL"));
    EXPECT_THAT(uses, Contains("4 calls program PGMB CALL"));
    EXPECT_THAT(uses, Contains("5 calls program &PGM CALL via field"));
    // The line that holds the program's name, not the first line of the command.
    EXPECT_THAT(uses, Contains("7 calls program PGMC CALL"));
    EXPECT_THAT(uses, Contains("8 calls program PGMD CALL"));
    EXPECT_THAT(uses, Contains("9 calls program PGME CALL"));
    EXPECT_THAT(uses, Contains("10 calls program PGMF CALL"));
    EXPECT_THAT(uses, Contains("11 calls program PGMG CALL"));
    EXPECT_THAT(uses, Contains("12 calls program PGMH TFRCTL"));
}

TEST(ClReader, CommentsAndContinuationsAreTakenAsTheCommandProcessorTakesThem) {
    auto uses = Read({
        "/* CALL PGM(INCOMMENT) over",
        "   two lines */",
        "             CALL       PGM(PGMA) /* CALL PGM(NOTME) */ +",
        "                          PARM('A /* not a comment */')",
        "             CALL       PGM(PG-",
        "MB)",
        "             CHGVAR     VAR(&X) VALUE('CALL')",
    });
    EXPECT_THAT(uses, Contains("3 calls program PGMA CALL"));
    EXPECT_THAT(uses, Not(Contains("1 calls program INCOMMENT CALL")));
    EXPECT_THAT(uses, Not(Contains("3 calls program NOTME CALL")));
    EXPECT_THAT(uses, Contains("5 calls program PGMB CALL"));
    EXPECT_EQ(uses.size(), 2u);
}

TEST(ClReader, FilesAndDataAreasHaveTheRoleTheirCommandGivesThem) {
    auto uses = Read({
        "             DCLF       FILE(CUSTF) RCDFMT(CUSTR)",
        "             OVRDBF     FILE(CUSTF) TOFILE(QTEMP/CUSTX)",
        "             RCVF       RCDFMT(CUSTR)",
        "             CPYF       FROMFILE(A) TOFILE(B)",
        "             RTVDTAARA  DTAARA(*LIBL/CTL (1 10)) RTNVAR(&V)",
        "             CHGDTAARA  DTAARA(CTL) VALUE('X')",
        "             RTVDTAARA  DTAARA(*LDA) RTNVAR(&V)",
    });
    EXPECT_THAT(uses, Contains("1 declares file CUSTF DCLF"));
    EXPECT_THAT(uses, Contains("2 uses file CUSTX OVRDBF"));
    EXPECT_THAT(uses, Contains("3 reads file CUSTF RCVF"));
    EXPECT_THAT(uses, Contains("3 reads format CUSTR RCVF"));
    EXPECT_THAT(uses, Contains("4 reads file A CPYF"));
    EXPECT_THAT(uses, Contains("4 writes file B CPYF"));
    EXPECT_THAT(uses, Contains("5 reads dataarea CTL RTVDTAARA"));
    EXPECT_THAT(uses, Contains("6 writes dataarea CTL CHGDTAARA"));
    // Special values name no object.
    EXPECT_THAT(uses, Not(Contains("7 reads dataarea *LDA RTVDTAARA")));
}

TEST(ClReader, AnUnendedCommentOrContinuationEndsWithTheMember) {
    EXPECT_TRUE(Read({"  CALL PGM(A) +"}).size() == 1);
    EXPECT_TRUE(Read({"  /* CALL PGM(A)", "  CALL PGM(B)"}).empty());
    EXPECT_TRUE(Read({"  CALL PGM(", "", "  '"}).size() <= 1);
}

} // namespace
