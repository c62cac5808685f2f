#include "calvex/ConvertFiles.h"
#include "calvex/ConvertHeader.h"
#include "calvex/ConvertLinesCount.h"

#include "support/ConverterCheck.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;

TEST(ConvertFiles, PrinterFilesBecomeFilePrn) {
    TRPG3ConvertFiles c;
    std::string line =
        SpecLine('F', {{7, "QSYSPRT O   F"}, {25, "132"}, {33, "OF"}, {40, "PRINTER"}});
    EXPECT_EQ(c.ConvertLine(line), "    FilePrn(QSYSPRT,F,,132,OF)");
    EXPECT_TRUE(RoundTrips(c, line));
    // The device and the file type come from the statement name alone.
    ResultLine r = CompileWith(c, "FilePrn(QPRINT)");
    EXPECT_EQ(ColumnsOf(r.Text, 7, 46), "QPRINT  O" + std::string(24, ' ') + "PRINTER");
}

TEST(ConvertFiles, DiskFilesWriteNoTrailingEmptyParameters) {
    TRPG3ConvertFiles c;
    std::string line = SpecLine('F', {{7, "CUSTMASTIF  E"}, {31, "K"}, {40, "DISK"}});
    EXPECT_EQ(c.ConvertLine(line), "    File(CUSTMAST,DISK,I,F,E,K)");
    EXPECT_TRUE(RoundTrips(c, line));
    line = SpecLine('F', {{7, "ORDERS  UF  E"}, {31, "K"}, {40, "DISK"}, {66, "A"}});
    EXPECT_EQ(c.ConvertLine(line), "    File(ORDERS,DISK,U,F,E,K,A)");
    line = SpecLine('F', {{7, "SCREEN  CF  E"}, {40, "WORKSTN"}});
    EXPECT_TRUE(RoundTrips(c, line));
}

TEST(ConvertFiles, ContinuationLines) {
    TRPG3ConvertFiles c;
    std::string rename = SpecLine('F', {{19, "RCUST"}, {53, "KRENAME"}, {60, "CUSTR"}});
    EXPECT_EQ(c.ConvertLine(rename), "      Rename(RCUST,CUSTR)");
    EXPECT_TRUE(RoundTrips(c, rename));
    EXPECT_EQ(c.ConvertLine(SpecLine('F', {{19, "RHIST"}, {53, "KIGNORE"}})),
              "      Ignore(RHIST)");
    std::string sfile = SpecLine('F', {{47, "RRN"}, {53, "KSFILE"}, {60, "SFL01"}});
    EXPECT_EQ(c.ConvertLine(sfile), "      SFRecNo(SFL01,RRN)");
    EXPECT_TRUE(RoundTrips(c, sfile));
    EXPECT_EQ(c.ConvertLine(SpecLine('F', {{53, "KINFDS"}, {60, "FEEDBK"}})),
              "      InfoDS(FEEDBK)");
    EXPECT_EQ(c.ConvertLine(SpecLine('F', {{53, "KPLIST"}, {60, "PL1"}})), "      Plist(PL1)");
    // Any other keyword is a general continuation line.
    std::string commit = SpecLine('F', {{19, "RCUST"}, {47, "LIB"}, {53, "KCOMIT"}, {60, "FLAG"}});
    EXPECT_EQ(c.ConvertLine(commit), "      FCont(COMIT,RCUST,LIB,FLAG)");
    EXPECT_TRUE(RoundTrips(c, commit));
    // Written in lower case the keyword is not RENAME either; since the compile upper-cases
    // the parameters, only the raw form keeps its letters.
    std::string lower = SpecLine('F', {{19, "RCUST"}, {53, "Krename"}, {60, "CUSTR"}});
    EXPECT_EQ(c.ConvertLine(lower), "RPG(" + lower.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(c, lower));
}

TEST(ConvertFiles, LinesNoStatementCarriesStayRaw) {
    TRPG3ConvertFiles c;
    // Text in columns 20-23 (block length), which no statement has a field for.
    std::string block = SpecLine('F', {{7, "INPUT   IP  F 512 128            DISK"}});
    EXPECT_EQ(c.ConvertLine(block), "RPG(" + block.substr(5) + ")");
    EXPECT_TRUE(RoundTrips(c, block));
    // A record length not right-justified would move.
    std::string left = SpecLine('F', {{7, "WORK    O   F    80              DISK"}});
    EXPECT_EQ(c.ConvertLine(left).substr(0, 4), "RPG(");
    EXPECT_TRUE(RoundTrips(c, left));
}

TEST(ConvertFiles, CommentsAndDirectives) {
    TRPG3ConvertFiles c;
    EXPECT_EQ(c.ConvertLine("     F* Files used"), "/* Files used");
    EXPECT_EQ(c.ConvertLine("     F*-----"), "/*-----");
    EXPECT_EQ(c.ConvertLine("0011 F/SPACE 3"), "# /SPACE 3");
    // A comment whose column 6 holds another letter keeps it through the raw form.
    EXPECT_EQ(c.ConvertLine("     M* Maintenance"), "RPG(M* Maintenance)");
    ResultLine r = CompileWith(c, "RPG(M* Maintenance)");
    EXPECT_EQ(r.Text, "     M* Maintenance");
}

TEST(ConvertFiles, CompileChecks) {
    TRPG3ConvertFiles c;
    EXPECT_EQ(CompileWith(c, "File(CUSTMASTX)").Text, "**ERROR: Param N.1 too long!");
    EXPECT_EQ(CompileWith(c, "File(X,DISK,I,F,E,,,,12A)").Text,
              "**ERROR: Param N.9 must be of integer type!");
    EXPECT_EQ(CompileWith(c, "Array(X)").Text,
              "**ERROR: Operating code not allowed for this section!");
    EXPECT_EQ(CompileWith(c, "Sql(F X)").Text, "**ERROR: Invalid operating code!");
}

TEST(ConvertHeader, EveryLineIsKeptRaw) {
    TRPG3ConvertHeader c;
    std::string line = "     H            Y                                       1";
    EXPECT_EQ(c.ConvertLine(line), "RPG(H            Y                                       1)");
    EXPECT_TRUE(RoundTrips(c, line));
    EXPECT_TRUE(RoundTrips(c, "     H"));
    EXPECT_EQ(c.ConvertLine("     H/TITLE Report"), "# /TITLE Report");
    EXPECT_EQ(c.ConvertLine("     H* Copyright"), "/* Copyright");
    EXPECT_EQ(CompileWith(c, "File(X)").Text, "**ERROR: Invalid operating code!");
    EXPECT_EQ(CompileWith(c, "Sql(H X)").Text, "**ERROR: Invalid operating code!");
    EXPECT_EQ(CompileWith(c, "# /EJECT").Text, "     H/EJECT");
}

TEST(ConvertLinesCount, LineCountStatement) {
    TRPG3ConvertLinesCount c;
    std::string line = SpecLine('L', {{7, "QPRINT"}, {16, "66FL"}, {21, "60OL"}});
    EXPECT_EQ(c.ConvertLine(line), "    LineCount(QPRINT,66,FL,60,OL)");
    EXPECT_TRUE(RoundTrips(c, line));
    EXPECT_EQ(CompileWith(c, "LineCount(QPRINT,6X)").Text,
              "**ERROR: Param N.2 must be of integer type!");
}
