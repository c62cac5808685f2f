// What an import learns of a member before walking it: the lines only RPG IV has, and the lines
// that stand outside the form order; and how the walks keep the latter where they stand.

#include "calvex/MemberCheck.h"
#include "calvex/Calvex.h"
#include "calvex/MemberLines.h"

#include "support/MemberWalk.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace calvex;
using namespace calvex::test;

namespace {

std::optional<RpgIvSign> SignIn(StringList member) {
    return FindRpgIvSign(member);
}

// The sign's line and text, or -1 and nothing.
std::pair<int, std::string> Sign(StringList member) {
    std::optional<RpgIvSign> sign = FindRpgIvSign(member);
    return sign ? std::pair{sign->Line, sign->What} : std::pair{-1, std::string()};
}

const std::string kRpg3Calc = SpecLine('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUSTMAST"}});
const std::string kRpg3Header = SpecLine('H', {{15, "1"}});

} // namespace

TEST(RpgIvSign, EachKindNamesTheFirstLineThatShowsIt) {
    EXPECT_EQ(Sign({kRpg3Header, SpecLine('D', {{7, "CUSTNO"}, {24, "S"}, {39, "7P 0"}})}),
              (std::pair{1, std::string("a definition specification (D)")}));
    // A data structure subfield with no name and keywords only, in lower case.
    EXPECT_EQ(Sign({SpecLine('d', {{44, "overlay(ds:5)"}})}).first, 0);
    EXPECT_EQ(Sign({SpecLine('P', {{7, "GetCustomer"}, {24, "B"}, {44, "EXPORT"}})}),
              (std::pair{0, std::string("a procedure specification (P)")}));
    EXPECT_EQ(Sign({SpecLine('P', {{24, "E"}})}).first, 0);
    EXPECT_EQ(Sign({"     H DFTACTGRP(*NO) ACTGRP('QILE')"}),
              (std::pair{0, std::string("a control specification with keywords")}));
    EXPECT_EQ(Sign({"     h datedit(*ymd)"}).first, 0);
    EXPECT_EQ(Sign({kRpg3Calc, "      /free", "        x = 1;"}),
              (std::pair{1, std::string("free-form code (/FREE)")}));
    EXPECT_EQ(Sign({"**FREE", "ctl-opt main(x);"}),
              (std::pair{0, std::string("fully free-form code (**FREE)")}));
    EXPECT_EQ(Sign({"       ctl-opt dftactgrp(*no);"}),
              (std::pair{0, std::string("a free-form statement (CTL-OPT)")}));
    EXPECT_EQ(Sign({"       dcl-s count int(10);"}).second, "a free-form statement (DCL-S)");
    EXPECT_EQ(Sign({SpecLine('F', {{7, "CUSTMAST  IF   E"}, {34, "K DISK"}})}),
              (std::pair{0, std::string("a file specification in the RPG IV layout")}));
    EXPECT_EQ(Sign({SpecLine('F', {{44, "RENAME(CUSTR:CUSTR1)"}})}).first, 0);
    EXPECT_EQ(Sign({SpecLine('C', {{12, "KEY"}, {26, "CHAIN"}, {36, "CUSTMAST"}})}),
              (std::pair{0, std::string("a calculation specification in the RPG IV layout")}));
    EXPECT_EQ(Sign({SpecLine('C', {{26, "EVAL(H)"}, {36, "X = Y * 2"}})}).first, 0);
    EXPECT_EQ(Sign({SpecLine('C', {{26, "ENDIF"}})}).first, 0);
}

TEST(RpgIvSign, RpgIIIMembersAndTheirOddLinesShowNone) {
    // Fixed-form RPG III: files, extension, input, calculations and output.
    EXPECT_FALSE(SignIn(
        {kRpg3Header, SpecLine('F', {{7, "CUSTMAST"}, {15, "IF  E"}, {31, "K"}, {40, "DISK"}}),
         SpecLine('F', {{7, "CUSTMAST"}, {53, "KRENAME"}, {60, "CUSTR1"}}),
         SpecLine('E', {{27, "TABMTH  6  12  3"}}), SpecLine('I', {{7, "DS1"}, {19, "DS"}}),
         kRpg3Calc, SpecLine('C', {{28, "ENDIF"}}), SpecLine('O', {{7, "QSYSPRT H  1 03"}})}));
    // Text lines whose sixth column happens to hold D or P, comments of those letters, and a
    // D line whose columns say nothing a definition would.
    EXPECT_FALSE(SignIn({"Procedure: none", "  Purpose: print", "     Dear reader, this...",
                         "     D* definitions", "     P* procedures", "     Data"}));
    // An SQL statement continued on a calculation line: its words stand where the RPG IV
    // layout has its operation.
    EXPECT_FALSE(SignIn(
        {"     C/EXEC SQL", "     C+                  SELECT NAME INTO :NAME", "     C/END-EXEC"}));
    // A double-byte literal in factor 1 that lost its shift characters moves the operation
    // two columns to the left.
    EXPECT_FALSE(SignIn({"     C           '\xa4\xa4\xa4\xe5'  MOVE 'A'       FLD1"}));
    // A control line with a parenthesis in it, and RPG IV text in the compile-time data.
    EXPECT_FALSE(SignIn({"     H            (", "**", "     D X               S"}));
    EXPECT_FALSE(SignIn({}));
}

// The real RPG III members are all accepted and the real RPG IV members all refused.
TEST(RpgIvSign, RealMembersOfBothKinds) {
    const std::filesystem::path shared = std::filesystem::path(ORVALE_CORPUS_DIR).parent_path();
    if (!std::filesystem::exists(shared / "library"))
        GTEST_SKIP() << "no source library beside " << ORVALE_CORPUS_DIR;
    int rpg3 = 0, rpg4 = 0;
    auto check = [&](const std::filesystem::path& path) {
        std::string type = path.extension().string();
        bool isRpg4 = type == ".RPGLE" || type == ".SQLRPGLE";
        if (!isRpg4 && type != ".RPG" && type != ".SQLRPG" && type != ".RP3")
            return;
        std::optional<RpgIvSign> sign = FindRpgIvSign(ReadMember(path.string()));
        if (isRpg4) {
            ++rpg4;
            EXPECT_TRUE(sign) << path;
        } else {
            ++rpg3;
            EXPECT_FALSE(sign) << path << ": line " << sign->Line + 1 << ", " << sign->What;
        }
    };
    for (const char* folder : {"corpus", "corpus-wide", "corpus-dated", "corpus-dbcs", "library"})
        if (std::filesystem::exists(shared / folder))
            for (const auto& entry : std::filesystem::recursive_directory_iterator(shared / folder))
                if (entry.is_regular_file())
                    check(entry.path());
    EXPECT_GT(rpg3, 0);
    EXPECT_GT(rpg4, 0);
}

TEST(StrayLines, ForeignLinesAndFormsOutOfOrder) {
    StringList member{kRpg3Header,
                      SpecLine('F', {{7, "CUSTMAST"}, {15, "IF  E"}, {40, "DISK"}}),
                      SpecLine('I', {{7, "DS1"}, {19, "DS"}}),
                      SpecLine('F', {{7, "OTHER"}, {15, "IF  E"}, {40, "DISK"}}),
                      "     F* a comment of any form is in its place anywhere",
                      "     H/EJECT",
                      "     X  not a specification",
                      "",
                      kRpg3Calc,
                      SpecLine('I', {{53, "FLD"}}),
                      "   \xa4\xa4\xa4\xe5"
                      "C* a comment whose columns moved",
                      SpecLine('O', {{7, "QSYSPRT H"}}),
                      "**",
                      "     H data, not a specification"};
    StrayLines found = FindStrayLines(member);
    EXPECT_EQ(found.Foreign, (std::vector<int>{6, 10}));
    EXPECT_EQ(found.OutOfOrder, (std::vector<int>{3, 9}));
    EXPECT_EQ(found.FirstForm, 'F');
    EXPECT_EQ(found.FirstFollows, 'I');
    StrayLines none = FindStrayLines({kRpg3Header, kRpg3Calc, SpecLine('O', {{7, "QSYSPRT H"}})});
    EXPECT_TRUE(none.Foreign.empty());
    EXPECT_TRUE(none.OutOfOrder.empty());
}

TEST(StrayLines, WalksTakeThemAndLookPastThem) {
    StringList source{SpecLine('I', {{53, "A"}}),
                      "     X  text",
                      SpecLine('F', {{7, "F2"}, {40, "DISK"}}),
                      "     C* next",
                      SpecLine('I', {{53, "B"}}),
                      "     O* last",
                      SpecLine('C', {{28, "SETON"}})};
    WalkFilter input(source, 'I');
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(input.Takes(k)) << k; // the C comment comes before input lines, past strays
    EXPECT_FALSE(input.Takes(5));
    EXPECT_FALSE(input.Takes(6));
    // A walk of an earlier form keeps none of them.
    WalkFilter files(source, 'F');
    EXPECT_FALSE(files.Takes(0));
    EXPECT_FALSE(IsStrayLine(source[2], 'F'));
    EXPECT_TRUE(IsStrayLine(source[2], 'I'));
    EXPECT_FALSE(IsStrayLine(source[3], 'O'));
    EXPECT_FALSE(IsStrayLine("**", 'O'));
}

// A stray line is stored in the raw form as written, and none of the walk's rules reads it: a
// subroutine bound, a file device, a table, an output file name.
TEST(StrayLines, WalksKeepThemWithoutReadingThem) {
    const std::string inputLine = SpecLine('I', {{7, "OUTFILE"}, {28, "ENDSR"}, {40, "PRINTER"}});
    StringList source{SpecLine('C', {{18, "SR1"}, {28, "BEGSR"}}),  inputLine,
                      SpecLine('C', {{28, "SETON"}, {54, "  LR"}}), SpecLine('C', {{28, "ENDSR"}}),
                      SpecLine('C', {{18, "SR2"}, {28, "BEGSR"}}),  SpecLine('C', {{28, "ENDSR"}})};
    TEDITSection subroutine("SR1", "");
    EXPECT_EQ(ConvertRPG3SubR(source, 0, 2, subroutine, "&%"), 4);
    EXPECT_EQ(subroutine.CompiledTexts(), StringList(source.begin(), source.begin() + 4));
    EXPECT_EQ(subroutine.GetLine(1), "RPG(" + inputLine.substr(5) + ")");

    StringList output{SpecLine('O', {{7, "QSYSPRT H"}}), inputLine,
                      SpecLine('O', {{42, "10"}, {45, "'X'"}})};
    StringList names;
    EXPECT_EQ(ConvertRPG3GetOutList(output, names, 0), 3);
    EXPECT_EQ(names, StringList{"QSYSPRT"});
    TEDITSection printerOut("QSYSPRT", "");
    EXPECT_EQ(ConvertRPG3Output(output, 0, printerOut, "&%"), 3);
    EXPECT_EQ(printerOut.CompiledTexts(), output);

    StringList extension{SpecLine('E', {{27, "TABMTH  6  12  3"}}),
                         SpecLine('H', {{27, "TABX    6  12  3"}}),
                         "**",
                         "JANFEB",
                         "**",
                         "X"};
    TEDITSection ext("Extension", "");
    EXPECT_EQ(ConvertRPG3Exten(extension, names, 0, ext, "&%"), 2);
    // The second block has no table it is known to be for: it is carried as written.
    EXPECT_EQ(names, (StringList{"TABMTH", "**"}));

    StringList files{SpecLine('F', {{7, "CUSTMAST"}, {15, "IF  E"}, {40, "DISK"}}),
                     SpecLine('H', {{40, "PRINTER"}}),
                     SpecLine('F', {{7, "CUSTMAST"}, {53, "KRENAME"}, {60, "CUSTR1"}})};
    TEDITSection printer("Printer", ""), display("Display", ""), special("Special", ""),
        disk("Logical", "");
    EXPECT_EQ(ConvertRPG3Files(files, 0, printer, display, special, disk, "&%"), 3);
    EXPECT_EQ(disk.CompiledTexts(), files);
    EXPECT_TRUE(printer.CompiledTexts().empty());
}
