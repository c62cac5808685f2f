#include "calvex/Calvex.h"

#include "platform/RegionalSettings.h"
#include "support/MemberWalk.h"
#include "support/SpecLine.h"

#include <gtest/gtest.h>

using namespace calvex;
using namespace calvex::test;
using orvale::DateTime;
using orvale::RegionalSettings;

namespace {

class ConvertWalksTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    // A banner as the compile writes it for Section.
    StringList Banner(TEDITSection& section, char formType) {
        TEDITSection copy(section.Properties.Name, section.Properties.Description);
        copy.Properties = section.Properties;
        copy.AddLine("/* x");
        TCompileResult result{};
        CompileRPG3Source(&result, nullptr, copy, {}, formType, AllOptions(), true);
        StringList banner = copy.CompiledTexts();
        banner.pop_back();
        return banner;
    }

    RegionalSettings Saved{"", ""};
    TEDITSection Printer{"Printer", ""};
    TEDITSection Display{"Display", ""};
    TEDITSection Special{"Special", ""};
    TEDITSection Disk{"Logical", ""};
};

const std::string kDisk = SpecLine('F', {{7, "CUSTMASTIF  E"}, {31, "K"}, {40, "DISK"}});
const std::string kPrinter = SpecLine('F', {{7, "QSYSPRT O   F"}, {25, "132"}, {40, "PRINTER"}});
const std::string kScreen = SpecLine('F', {{7, "SCREEN  CF  E"}, {40, "WORKSTN"}});

StringList Join(std::initializer_list<StringList> parts) {
    StringList all;
    for (const StringList& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST_F(ConvertWalksTest, VersionText) {
    std::string version;
    GetRPG3DllVersion(version);
    EXPECT_EQ(version, "1.32 - 27/08/1997");
}

TEST_F(ConvertWalksTest, FilesGoToTheSectionOfTheirDevice) {
    TEDITSection diskBanner("Logical", "Customer files");
    diskBanner.Properties.CreatedOn = {2020, 1, 2, 3, 4, 5};
    diskBanner.Properties.LastUpdate = {2021, 1, 2, 3, 4, 5};
    TEDITSection printerBanner("Printer", "Reports");
    printerBanner.Properties.CreatedOn = {2022, 6, 7, 8, 9, 10};
    StringList source = Join({Banner(diskBanner, 'F'),
                              {kDisk, "     F* keys follow"},
                              {SpecLine('F', {{19, "RCUST"}, {53, "KRENAME"}, {60, "CUSTR"}})},
                              Banner(printerBanner, 'F'),
                              {kPrinter, kDisk},
                              {"     C"}});
    int next = ConvertRPG3Files(source, 0, Printer, Display, Special, Disk, "&%");
    EXPECT_EQ(next, static_cast<int>(source.size()) - 1);
    ASSERT_EQ(Disk.LinesCount(), 4);
    EXPECT_EQ(Disk.GetLine(0), "    File(CUSTMAST,DISK,I,F,E,K)");
    EXPECT_EQ(Disk.GetLine(2), "      Rename(RCUST,CUSTR)");
    EXPECT_EQ(Disk.GetLine(3), Disk.GetLine(0));
    EXPECT_EQ(Disk.Properties.Description, "Customer files");
    EXPECT_EQ(Disk.Properties.CreatedOn, (DateTime{2020, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Disk.Properties.LastUpdate, (DateTime{2021, 1, 2, 3, 4, 5}));
    // A disk file after the printer file goes to the disk section all the same (the build
    // keeps the member's order by the lines' places); its moments stay as its banner set them.
    ASSERT_EQ(Printer.LinesCount(), 1);
    EXPECT_EQ(Printer.GetLine(0), "    FilePrn(QSYSPRT,F,,132)");
    EXPECT_EQ(Printer.Properties.Description, "Reports");
    EXPECT_EQ(Printer.Properties.CreatedOn, (DateTime{2022, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Printer.CompiledTexts(), (StringList{kPrinter}));
    ASSERT_EQ(Disk.LinesCount(), 4);
    ASSERT_NE(Disk.OriginAt(3), nullptr);
    EXPECT_EQ(Disk.OriginAt(3)->Text, kDisk);
    EXPECT_EQ(Disk.OriginAt(3)->Ordinal, static_cast<int>(source.size()) - 2);
    EXPECT_TRUE(Disk.CompiledValid && Printer.CompiledValid && Display.CompiledValid &&
                Special.CompiledValid);
}

TEST_F(ConvertWalksTest, FilesInTheBuildsOrderEachFindTheirSection) {
    StringList source{kDisk, kScreen, kPrinter,
                      SpecLine('F', {{7, "TAPE    IT  F"}, {24, "  80"}, {40, "SEQ"}})};
    ConvertRPG3Files(source, 0, Printer, Display, Special, Disk, "&%");
    EXPECT_EQ(Disk.LinesCount(), 1);
    EXPECT_EQ(Display.LinesCount(), 1);
    EXPECT_EQ(Printer.LinesCount(), 1);
    EXPECT_EQ(Special.LinesCount(), 1);
    // A workstation file listed first does not take the disk files after it.
    TEDITSection d2("Display", ""), p2("Printer", ""), s2("Special", ""), k2("Logical", "");
    ConvertRPG3Files(StringList{kScreen, kDisk}, 0, p2, d2, s2, k2, "&%");
    EXPECT_EQ(d2.LinesCount(), 1);
    EXPECT_EQ(k2.LinesCount(), 1);
}

TEST_F(ConvertWalksTest, WalksStopAtOtherFormTypesAndAtCompileTimeData) {
    StringList source{"     I* input", SpecLine('I', {{7, "MYDS"}, {19, "DS"}}), "",
                      "     C* calcs", SpecLine('C', {{28, "Z-ADD"}, {33, "0"}, {43, "X"}})};
    TEDITSection input("Input", "");
    EXPECT_EQ(ConvertRPG3Input(source, 0, input, "&%"), 3);
    EXPECT_EQ(input.LinesCount(), 3);
    // A comment of another form type goes with the lines that follow it.
    StringList between{"     C* ruler", "     IX"};
    TEDITSection input2("Input", "");
    EXPECT_EQ(ConvertRPG3Input(between, 0, input2, "&%"), 2);
    EXPECT_EQ(input2.GetLine(0), "RPG(C* ruler)");

    StringList data{"     C                     Z-ADD0         X", "**", "     C* data"};
    TEDITSection main("Main Routine", "");
    StringList names{"old"};
    EXPECT_EQ(ConvertRPG3Calcs(data, names, 0, 2, main, "&%"), 1);
    EXPECT_TRUE(names.empty());
    // A comment whose column 6 holds no form type never ends a walk.
    StringList stray{"     M* Maintenance", kDisk};
    EXPECT_EQ(ConvertRPG3Files(stray, 0, Printer, Display, Special, Disk, "&%"), 2);
    EXPECT_EQ(Disk.GetLine(0), "RPG(M* Maintenance)");
}

TEST_F(ConvertWalksTest, StartOutsideTheSource) {
    StringList source{kDisk};
    StringList names{"x"};
    TEDITSection ext("Extension", "");
    EXPECT_EQ(ConvertRPG3Exten(source, names, 5, ext, "&%"), 5);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(ext.CompiledValid);
    EXPECT_EQ(ext.LinesCount(), 0);
    TEDITSection array("A", "");
    EXPECT_EQ(ConvertRPG3Array(source, 1, array, "&%"), 1);
    EXPECT_TRUE(array.CompiledValid);
    names = {"x"};
    EXPECT_EQ(ConvertRPG3GetOutList(source, names, 3), 3);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ConvertRPG3Files(source, -1, Printer, Display, Special, Disk, "&%"), 1);
}

TEST_F(ConvertWalksTest, CalculationsAndSubroutines) {
    auto calc = [](std::string_view factor1, std::string_view op, std::string_view factor2 = {}) {
        return SpecLine('C', {{18, factor1}, {28, op}, {33, factor2}});
    };
    StringList plain{calc("", "Z-ADD", "0"), calc("", "EXSR", "SR1")};
    TEDITSection main("Main Routine", "");
    StringList names{"x"};
    EXPECT_EQ(ConvertRPG3Calcs(plain, names, 0, 2, main, "&%"), 2);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(main.LinesCount(), 2);

    StringList source{calc("", "EXSR", "SR1"), "     C* First routine",
                      calc("SR1", "BEGSR"),    calc("", "ADD", "1"),
                      calc("", "ENDSR"),       "     C* Second routine",
                      calc("SR2", "BEGSR"),    calc("", "ENDSR"),
                      "     C* end of calcs",  SpecLine('O', {{7, "QSYSPRT H"}})};
    TEDITSection main2("Main Routine", "");
    EXPECT_EQ(ConvertRPG3Calcs(source, names, 0, 2, main2, "&%"), 2);
    EXPECT_EQ(names, (StringList{"SR1", "SR2"}));
    EXPECT_EQ(main2.GetLine(1), "/* First routine");
    TEDITSection sr1("SR1", ""), sr2("SR2", "");
    EXPECT_EQ(ConvertRPG3SubR(source, 2, 2, sr1, "&%"), 5);
    EXPECT_EQ(sr1.GetLine(0), "                  Begsr(SR1)");
    EXPECT_EQ(sr1.GetLine(2), "                  Endsr()");
    // The last subroutine keeps the calculation lines after its ENDSR.
    EXPECT_EQ(ConvertRPG3SubR(source, 5, 2, sr2, "&%"), 9);
    EXPECT_EQ(sr2.LinesCount(), 4);
    EXPECT_EQ(sr2.GetLine(3), "/* end of calcs");

    // Without ENDSR a subroutine takes every remaining calculation line.
    StringList open{calc("SR3", "BEGSR"), calc("", "ADD", "1"), calc("", "SUB", "1")};
    TEDITSection sr3("SR3", "");
    EXPECT_EQ(ConvertRPG3SubR(open, 0, 2, sr3, "&%"), 3);
    EXPECT_TRUE(sr3.CompiledValid);
}

TEST_F(ConvertWalksTest, OutputFilesEachGetTheirLines) {
    StringList source{
        SpecLine('O', {{7, "QSYSPRT H"}, {18, "1"}}), SpecLine('O', {{32, "TITLE"}, {42, "40"}}),
        SpecLine('O', {{7, "QSYSPRT D"}, {18, "1"}}), "     O* second file",
        SpecLine('O', {{7, "REPORT  H"}, {18, "1"}}), SpecLine('O', {{42, "60"}, {45, "'X'"}})};
    StringList names;
    ConvertRPG3GetOutList(source, names, 0);
    EXPECT_EQ(names, (StringList{"QSYSPRT", "QSYSPRT", "REPORT"}));
    TEDITSection out("REPORT", "");
    EXPECT_EQ(ConvertRPG3Output(source, 4, out, "&%"), 6);
    EXPECT_EQ(out.LinesCount(), 2);
    TEDITSection first("QSYSPRT", "");
    EXPECT_EQ(ConvertRPG3Output(source, 0, first, "&%"), 2);
}

TEST_F(ConvertWalksTest, ArraysTakeOneDataBlock) {
    StringList source{"** Month names  ", "JANFEB", std::string(80, 'x'), "**(fax) a record",
                      "** next"};
    TEDITSection array("TABM", "");
    EXPECT_EQ(ConvertRPG3Array(source, 0, array, "&%"), 4);
    EXPECT_EQ(array.Properties.Description, " Month names  ");
    EXPECT_EQ(array.LineTexts(), (StringList{"JANFEB", std::string(74, 'x'), "**(fax) a record"}));
    EXPECT_EQ(array.CompiledCount(), 4u);
    EXPECT_EQ(array.CompiledTexts()[2].size(), 80u);
}

TEST_F(ConvertWalksTest, ExtensionNamesTheTablesThatHaveData) {
    const std::string tabA = SpecLine('E', {{27, "TABA    1   3  3"}});
    const std::string tabB = SpecLine('E', {{27, "TABB    1   2  2"}});
    const std::string tabC = SpecLine('E', {{27, "TABC    1   2  2"}});
    const std::string array = SpecLine('E', {{27, "ARR       10  2"}});
    StringList data{"**", "AAA", "**(fax) a record of TABA", "** second", "BB"};

    StringList source = Join({{tabA, array, tabB, "     C"}, data, {"**   ZXY - copied", "12"}});
    TEDITSection ext("Extension", "");
    StringList names;
    EXPECT_EQ(ConvertRPG3Exten(source, names, 0, ext, "&%"), 3);
    // The third block belongs to a table that a copied member declares.
    EXPECT_EQ(names, (StringList{"TABA", "TABB", "** ZXY"}));
    EXPECT_EQ(ext.GetLine(0), "    Tab(TABA,1,3,3)");

    // A table without a block of data here stays a raw line, and gets no array.
    source = Join({{tabA, tabB, tabC}, data});
    TEDITSection ext2("Extension", "");
    ConvertRPG3Exten(source, names, 0, ext2, "&%");
    EXPECT_EQ(names, (StringList{"TABA", "TABB"}));
    EXPECT_EQ(ext2.GetLine(1), "    Tab(TABB,1,2,2)");
    EXPECT_EQ(ext2.GetLine(2), "RPG(" + tabC.substr(5) + ")");
}

TEST_F(ConvertWalksTest, DataBlocksGoToTheirTablesByTheCompilersRules) {
    const std::string tabA = SpecLine('E', {{27, "TABA    1   3  3"}});
    const std::string tabB = SpecLine('E', {{27, "TABB    1   2  2"}});
    // A compile-time array written to a file at the end takes a block too; one read from a
    // file takes none.
    const std::string toFile = SpecLine('E', {{19, "OUTFILE"}, {27, "ARO     1   2  2"}});
    const std::string fromFile = SpecLine('E', {{11, "INFILE"}, {27, "ARI     1   2  2"}});
    StringList data{"**", "A01", "** second", "B02", "** third", "C03", "** fourth", "D04"};
    auto names = [&](StringList head) {
        StringList source = Join({head, data});
        TEDITSection ext("Extension", "");
        StringList found;
        size_t first = 0;
        while (first < head.size() && head[first][5] != 'E' && head[first][6] != '/')
            ++first;
        ConvertRPG3Exten(source, found, static_cast<int>(first), ext, "&%");
        return found;
    };
    EXPECT_EQ(names({tabA, fromFile, toFile, tabB}),
              (StringList{"TABA", "ARO", "TABB", "** fourth"}));
    // The header asks for the alternate collating sequence and the file translation records,
    // which come first.
    const std::string header = SpecLine('H', {{26, "S"}, {43, "F"}});
    EXPECT_EQ(names({header, tabA, tabB}), (StringList{"** ALTSEQ", "** FTRANS", "TABA", "TABB"}));
    EXPECT_EQ(names({SpecLine('H', {{43, "F"}}), tabA}),
              (StringList{"** FTRANS", "TABA", "** third", "** fourth"}));
    // Tables after a copied member's lines cannot be matched with a block: those blocks keep
    // names of their own rather than another table's data.
    EXPECT_EQ(names({tabA, "     E/COPY QRPGSRC,TABLES", tabB}),
              (StringList{"TABA", "** second", "** third", "** fourth"}));
}

TEST_F(ConvertWalksTest, ProgramLevelSectionsComeBackFromTheHeader) {
    TEDITSection props("Property", ""), history("History", ""), description("Description", ""),
        pre("Pre Compiler", ""), header("Header", "Header's Specifications");
    props.AddLine("SourceLib=QGPL");
    history.AddLine("a,Converted,b,c,");
    TCompileResult r{};
    CompileRPG3Spec(&r, props, "&%", true);
    CompileRPG3Spec(&r, history, "&%", true);
    header.AddLine("RPG(H            Y)");
    header.Properties.Description = "The header";
    CompileRPG3Source(&r, nullptr, header, {}, 'H', AllOptions(), true);
    StringList source =
        Join({props.CompiledTexts(),
              history.CompiledTexts(),
              header.CompiledTexts(),
              {"     H* ours", "&%   H* stray code" + std::string(56, ' ') + "&%1XYZ"}});
    TEDITSection p2("Property", ""), h2("History", ""), d2("Description", ""),
        pre2("Pre Compiler", ""), header2("Header", "");
    EXPECT_EQ(ConvertRPG3Header(source, 0, header2, p2, h2, d2, pre2, "&%"),
              static_cast<int>(source.size()));
    EXPECT_EQ(p2.LineTexts(), props.LineTexts());
    EXPECT_EQ(h2.LineTexts(), history.LineTexts());
    EXPECT_EQ(header2.LineTexts(), (StringList{"RPG(H            Y)", "/* ours"}));
    EXPECT_EQ(header2.Properties.Description, "The header");
    EXPECT_TRUE(header2.CompiledValid);
    EXPECT_EQ(d2.LinesCount(), 0);
}

TEST_F(ConvertWalksTest, MainRoutineBannerRestoresTheSection) {
    TEDITSection main("Main Routine", "Program's Main Routine");
    main.Properties.CreatedOn = {2019, 5, 6, 7, 8, 9};
    main.AddLine("                  Z-add(0,X)");
    TEDITSection sub("SR1", "First routine");
    sub.AddLine("                  Begsr(SR1)");
    sub.AddLine("                  Endsr()");
    TCompileResult r{};
    CompileRPG3Source(&r, nullptr, main, {}, 'C', AllOptions(), true);
    CompileRPG3Source(&r, nullptr, sub, {}, 'C', AllOptions(), true);
    StringList source = Join({main.CompiledTexts(), sub.CompiledTexts()});

    TEDITSection main2("Main Routine", "");
    StringList names;
    int next = ConvertRPG3Calcs(source, names, 0, 2, main2, "&%");
    EXPECT_EQ(next, static_cast<int>(main.CompiledCount()));
    EXPECT_EQ(main2.LineTexts(), main.LineTexts());
    EXPECT_EQ(main2.Properties.Description, "Program's Main Routine");
    EXPECT_EQ(main2.Properties.CreatedOn, main.Properties.CreatedOn);
    EXPECT_EQ(names, (StringList{"SR1"}));
    TEDITSection sub2("SR1", "");
    EXPECT_EQ(ConvertRPG3SubR(source, next, 2, sub2, "&%"), static_cast<int>(source.size()));
    EXPECT_EQ(sub2.LineTexts(), sub.LineTexts());
    EXPECT_EQ(sub2.Properties.Description, "First routine");
}

TEST_F(ConvertWalksTest, SubroutineBannerWithoutMainRoutineLines) {
    TEDITSection sub("SR1", "First routine");
    sub.AddLine("                  Begsr(SR1)");
    sub.AddLine("                  Endsr()");
    TCompileResult r{};
    CompileRPG3Source(&r, nullptr, sub, {}, 'C', AllOptions(), true);
    TEDITSection main("Main Routine", "Program's Main Routine");
    StringList names;
    EXPECT_EQ(ConvertRPG3Calcs(sub.CompiledTexts(), names, 0, 2, main, "&%"), 0);
    EXPECT_EQ(main.LinesCount(), 0);
    EXPECT_EQ(main.Properties.Description, "Program's Main Routine");
    EXPECT_EQ(names, (StringList{"SR1"}));
    TEDITSection sub2("SR1", "");
    ConvertRPG3SubR(sub.CompiledTexts(), 0, 2, sub2, "&%");
    EXPECT_EQ(sub2.LineTexts(), sub.LineTexts());
    EXPECT_EQ(sub2.Properties.Description, "First routine");
}

TEST_F(ConvertWalksTest, CalculationCommentsTheCommentFormCannotCarry) {
    StringList source{"     M* Maintenance log", "     C* ends in a tab\t", "     C* plain",
                      "     C/EJECT", "     C/FREE"};
    TEDITSection main("Main Routine", "");
    StringList names;
    EXPECT_EQ(ConvertRPG3Calcs(source, names, 0, 2, main, "&%"), 5);
    EXPECT_EQ(main.LineTexts(), (StringList{"RPG(M* Maintenance log)", "RPG(C* ends in a tab\t)",
                                            "/* plain", "# /EJECT", "RPG(C/FREE)"}));
}

TEST_F(ConvertWalksTest, LinesOfAnotherFormTypeAtTheEndKeepTheirColumnSix) {
    StringList source{SpecLine('O', {{7, "QSYSPRT H"}, {18, "1"}}), "     C/EJECT",
                      "     C* end of member"};
    TEDITSection out("QSYSPRT", "");
    EXPECT_EQ(ConvertRPG3Output(source, 0, out, "&%"), 3);
    EXPECT_EQ(out.GetLine(1), "RPG(C/EJECT)");
    EXPECT_EQ(out.GetLine(2), "RPG(C* end of member)");
}

TEST_F(ConvertWalksTest, OutputLinesWithoutAFileStillGetASection) {
    StringList source{"     O* fields copied into a record",
                      SpecLine('O', {{32, "AMT"}, {42, "60"}}),
                      SpecLine('O', {{42, "70"}, {45, "'X'"}})};
    StringList names;
    ConvertRPG3GetOutList(source, names, 0);
    EXPECT_EQ(names, (StringList{"OUTPUT"}));
    TEDITSection out("OUTPUT", "");
    EXPECT_EQ(ConvertRPG3Output(source, 0, out, "&%"), 3);
    EXPECT_EQ(out.LinesCount(), 3);
    ConvertRPG3GetOutList(source, names, 3);
    EXPECT_TRUE(names.empty());
}
