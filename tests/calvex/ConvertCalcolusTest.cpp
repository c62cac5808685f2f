#include "calvex/ConvertCalcolus.h"

#include "calvex/ConvertText.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace calvex;

namespace {

// The fields of a calculation line, each written from its first column as given.
struct Calc {
    std::string_view Flags = {};    // 7-17: control level, conditioning indicators
    std::string_view Factor1 = {};  // 18-27
    std::string_view Op = {};       // 28-32
    std::string_view Factor2 = {};  // 33-42
    std::string_view Result = {};   // 43-48
    std::string_view Length = {};   // 49-51
    std::string_view Decimals = {}; // 52
    std::string_view Extender = {}; // 53
    std::string_view High = {};     // 54-55
    std::string_view Low = {};      // 56-57
    std::string_view Equal = {};    // 58-59
    std::string_view Comment = {};  // 60-74
};

std::string Line(const Calc& c) {
    std::string s(80, ' ');
    s[5] = 'C';
    auto put = [&s](int column, std::string_view text) {
        s.replace(static_cast<size_t>(column - 1), text.size(), text);
    };
    put(7, c.Flags);
    put(18, c.Factor1);
    put(28, c.Op);
    put(33, c.Factor2);
    put(43, c.Result);
    put(49, c.Length);
    put(52, c.Decimals);
    put(53, c.Extender);
    put(54, c.High);
    put(56, c.Low);
    put(58, c.Equal);
    put(60, c.Comment);
    while (s.back() == ' ')
        s.pop_back();
    return s;
}

size_t LeadingBlanks(const std::string& s) {
    size_t n = s.find_first_not_of(' ');
    return n == std::string::npos ? s.size() : n;
}

std::string TrimmedRight(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

class ConvertCalcolusTest : public ::testing::Test {
protected:
    TRPG3ConvertCalcolus Converter;

    std::string Convert(std::string_view line, int level = 0, int width = 2) {
        return Converter.ConvertLine(line, level, width);
    }

    // Parses a statement as the compile does (trailing comments kept, no definitions).
    ResultLine Compile(std::string_view statement) {
        ParsedStatement parsed;
        ParseStatementLine(statement, ParseSwitches{}, Definitions{}, parsed);
        EXPECT_TRUE(parsed.Messages.empty()) << statement;
        if (!parsed.Messages.empty())
            return parsed.Messages.front();
        return Converter.CompileStatement(parsed);
    }

    // The compiled line of a statement that must compile without a message.
    std::string Compiled(std::string_view statement) {
        ResultLine r = Compile(statement);
        EXPECT_FALSE(r.Error || r.Warning) << statement << " -> " << r.Text;
        return r.Text;
    }

    // A statement brings a trailing comment back from column 60; a raw line keeps it in place.
    static bool SameLine(std::string_view source, std::string_view compiled) {
        return SameSpecification(source, compiled) || SameSpecification(source, compiled, 60);
    }

    void ExpectRoundTrip(std::string_view line) {
        std::string statement = Convert(line);
        std::string compiled = Compiled(statement);
        EXPECT_TRUE(SameLine(line, compiled)) << "source   [" << line << "]\nstatement["
                                              << statement << "]\ncompiled [" << compiled << "]";
    }

    std::string Error(std::string_view statement) {
        ResultLine r = Compile(statement);
        EXPECT_TRUE(r.Error) << statement << " -> " << r.Text;
        return r.Text;
    }
};

// ---------------------------------------------------------------- convert: block structure

TEST_F(ConvertCalcolusTest, IndentationFollowsTheBlocks) {
    const std::string lines[] = {
        Line({.Factor1 = "A", .Op = "IFEQ", .Factor2 = "B"}),
        Line({.Op = "ADD", .Factor2 = "1", .Result = "X"}),
        Line({.Op = "ELSE"}),
        Line({.Op = "ADD", .Factor2 = "2", .Result = "X"}),
        Line({.Op = "ENDIF"}),
    };
    int level = 0;
    std::vector<size_t> blanks;
    for (const std::string& line : lines)
        blanks.push_back(LeadingBlanks(Converter.ConvertLine(line, level, 2)));
    EXPECT_EQ(blanks, (std::vector<size_t>{18, 20, 18, 20, 18}));
    EXPECT_EQ(level, 0);

    // SELEC opens two levels: its WHxx and OTHER lines stand one out, ENDSL closes both.
    const std::string select[] = {
        Line({.Op = "SELEC"}),
        Line({.Factor1 = "A", .Op = "WHEQ", .Factor2 = "1"}),
        Line({.Factor1 = "A", .Op = "ANDNE", .Factor2 = "B"}),
        Line({.Op = "EXSR", .Factor2 = "ONE"}),
        Line({.Op = "OTHER"}),
        Line({.Op = "EXSR", .Factor2 = "TWO"}),
        Line({.Op = "ENDSL"}),
    };
    level = 0;
    blanks.clear();
    for (const std::string& line : select)
        blanks.push_back(LeadingBlanks(Converter.ConvertLine(line, level, 4)));
    EXPECT_EQ(blanks, (std::vector<size_t>{18, 22, 22, 26, 22, 26, 18}));
    EXPECT_EQ(level, 0);
}

TEST_F(ConvertCalcolusTest, KeyFieldsStandOneLevelInWithoutMovingTheNextLine) {
    int level = 0;
    EXPECT_EQ(
        LeadingBlanks(Converter.ConvertLine(Line({.Factor1 = "KEY", .Op = "KLIST"}), level, 2)),
        18u);
    std::string kfld = Converter.ConvertLine(Line({.Op = "KFLD", .Result = "CUST"}), level, 2);
    EXPECT_EQ(kfld, std::string(20, ' ') + "Kfld(CUST)");
    EXPECT_EQ(level, 0);
    Converter.ConvertLine(Line({.Op = "KFLD", .Result = "ORDER"}), level, 2);
    EXPECT_EQ(LeadingBlanks(Converter.ConvertLine(Line({.Op = "EXSR", .Factor2 = "X"}), level, 2)),
              18u);
}

TEST_F(ConvertCalcolusTest, FlagsPartTakesItsPlaceFromTheIndentation) {
    std::string s =
        Convert(Line({.Flags = "LR 01N02", .Op = "ADD", .Factor2 = "1", .Result = "X"}));
    EXPECT_EQ(s, "{|LR| 01N02}      Add(,1,X)");
    s = Convert(Line({.Flags = "   01", .Op = "ADD", .Factor2 = "1", .Result = "X"}), 3);
    EXPECT_EQ(s, "{ 01}" + std::string(19, ' ') + "Add(,1,X)");
    // A level below zero is kept; the indentation only stops at nothing.
    int level = 0;
    EXPECT_EQ(Converter.ConvertLine(Line({.Op = "ENDIF"}), level, 2),
              std::string(16, ' ') + "Endif");
    EXPECT_EQ(level, -1);
    level = -20;
    EXPECT_EQ(Converter.ConvertLine(Line({.Op = "ENDDO"}), level, 2), "Enddo()");
    EXPECT_EQ(level, -21);
}

// ---------------------------------------------------------------- convert: parameters

TEST_F(ConvertCalcolusTest, ParametersFollowTheSlotOrder) {
    const std::string pad(18, ' ');
    EXPECT_EQ(Convert(Line({.Factor1 = "KEY", .Op = "CHAIN", .Factor2 = "FILE", .High = "50"})),
              pad + "Chain(KEY,FILE,,,50)");
    EXPECT_EQ(
        Convert(Line(
            {.Op = "Z-ADD", .Factor2 = "1", .Result = "STRPOS", .Length = "  5", .Decimals = "0"})),
        pad + "Z-add(1,STRPOS,,,,5,0)");
    EXPECT_EQ(Convert(Line({.Op = "MOVEL",
                            .Factor2 = "'SAVF0100'",
                            .Result = "FMTNAM",
                            .Length = "  8",
                            .Extender = "P"})),
              pad + "Movel('SAVF0100',FMTNAM,P,,,,8)");
    EXPECT_EQ(Convert(Line({.Factor1 = "*ENTRY", .Op = "PLIST"})), pad + "Plist(*ENTRY)");
    EXPECT_EQ(Convert(Line({.Op = "SETON", .Low = "LR"})), pad + "Seton(,LR)");
    EXPECT_EQ(Convert(Line({.Op = "ELSE"}), 1), pad + "Else");
    EXPECT_EQ(Convert(Line({.Op = "EXFMT", .Factor2 = "SCREEN"})), pad + "Exfmt(SCREEN)");
    // An item used alone after unused ones is still the first parameter.
    EXPECT_EQ(Convert(Line({.Op = "ROLBK", .Low = "50"})), pad + "Rolbk(50)");
    EXPECT_EQ(Convert(Line({.Op = "ROLBK"})), pad + "Rolbk()");
}

TEST_F(ConvertCalcolusTest, ArrayElementsAndTrailingComments) {
    EXPECT_EQ(Convert(Line({.Op = "MOVE", .Factor2 = "ARR,X", .Result = "TAB,5"})),
              std::string(18, ' ') + "Move(ARR[X],TAB[5])");
    std::string s = Convert(Line({.Op = "EXSR", .Factor2 = "CALC", .Comment = "  totals"}));
    EXPECT_EQ(s, std::string(18, ' ') + "Exsr(CALC)" + std::string(32, ' ') + "/* totals");
    // A statement that reaches past column 60 gets the comment right after it.
    s = Convert(Line({.Flags = "L1 01N02N03",
                      .Factor1 = "AAAAAAAAAA",
                      .Op = "CHAIN",
                      .Factor2 = "BBBBBBBBBB",
                      .Result = "CCCCCC",
                      .Extender = "N",
                      .High = "10",
                      .Low = "20",
                      .Comment = "c"}));
    EXPECT_EQ(s, "{|L1| 01N02N03}   Chain(AAAAAAAAAA,BBBBBBBBBB,CCCCCC,N,10,20)/* c");
}

TEST_F(ConvertCalcolusTest, CommentsDirectivesAndContinuationsKeepTheLevel) {
    int level = 2;
    EXPECT_EQ(Converter.ConvertLine("     C* a note", level, 2), "/* a note");
    EXPECT_EQ(Converter.ConvertLine("     C/COPY QRPGSRC,DATES", level, 2),
              "# /COPY QRPGSRC,DATES");
    EXPECT_EQ(Converter.ConvertLine("     C+ where F1DNFD = :RUND       ", level, 2),
              "+ where F1DNFD = :RUND");
    EXPECT_EQ(level, 2);
    ExpectRoundTrip("     C+ Select count(BAACRC) into :CHGIND from SDBSRTL1 /* x */");
    ExpectRoundTrip("     C+");
}

// ---------------------------------------------------------------- convert: raw form

TEST_F(ConvertCalcolusTest, LinesTheStatementCannotCarryAreKeptRaw) {
    const std::string lines[] = {
        // an operation code the table lacks
        Line({.Factor1 = "CODE", .Op = "CAS", .Result = "SUBR"}),
        Line({.Op = "CAS", .Result = "SUBR", .Comment = "    default"}),
        Line({.Op = "XYZ", .Factor2 = "A"}),
        // half adjust on an operation whose flags have no extender
        Line({.Factor1 = "A", .Op = "ADD", .Factor2 = "B", .Result = "C", .Extender = "H"}),
        // text in columns the operation has no field for
        Line({.Factor1 = "X", .Op = "ELSE"}),
        Line({.Op = "EXSR", .Factor2 = "SUB", .Result = "JUNK"}),
        // a value not where the compile would put it
        Line({.Op = "Z-ADD", .Factor2 = " 1", .Result = "N", .Length = " 5"}),
        Line({.Op = "add", .Factor2 = "1", .Result = "N"}),
        Line({.Op = "MOVE", .Factor2 = "name", .Result = "N"}),
        // an indicator that is not one
        Line({.Flags = "  X01", .Op = "ADD", .Factor2 = "1", .Result = "N"}),
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        std::string statement = Convert(line, 1);
        EXPECT_EQ(statement.substr(LeadingBlanks(statement), 5), "RPG(C");
        ExpectRoundTrip(line);
    }
}

TEST_F(ConvertCalcolusTest, RawFormStillMovesTheLevel) {
    int level = 0;
    std::string s = Converter.ConvertLine(
        Line({.Factor1 = "A", .Op = "IFEQ", .Factor2 = "B", .Extender = "H"}), level, 2);
    EXPECT_EQ(s.substr(0, 22), std::string(18, ' ') + "RPG(");
    EXPECT_EQ(level, 1);
    s = Converter.ConvertLine(Line({.Op = "ENDIF", .Factor2 = "X"}), level, 2);
    EXPECT_EQ(LeadingBlanks(s), 18u);
    EXPECT_EQ(level, 0);
}

TEST_F(ConvertCalcolusTest, UnknownOperationCodeUsesEveryItem) {
    std::string line = Line({.Factor1 = "F1",
                             .Op = "XYZ",
                             .Factor2 = "F2",
                             .Result = "RES",
                             .Length = " 10",
                             .Decimals = "2",
                             .Extender = "E",
                             .High = "01",
                             .Low = "02",
                             .Equal = "03"});
    Converter.DecodeOpCode("XYZ");
    EXPECT_EQ(Converter.K + Converter.L + Converter.M, 3);
    EXPECT_EQ(Converter.StatementForm(line, 0, 2),
              std::string(18, ' ') + "Xyz(F1,F2,RES,E,01,02,03,10,2)");
    EXPECT_EQ(Error("Xyz(F1,F2,RES,E,01,02,03,10,2)"), "**ERROR: Invalid operating code!");
    // Blank operation columns use nothing.
    Converter.DecodeOpCode("     ");
    EXPECT_FALSE(Converter.HasParams || Converter.UsesFactor1 || Converter.UsesDecimals);
    EXPECT_EQ(Converter.K + Converter.L + Converter.M, 0);
}

TEST_F(ConvertCalcolusTest, IndicatorLinesAndBlankLinesCompileBack) {
    std::string line = Line({.Flags = "   01N02 03"});
    EXPECT_EQ(Convert(line), "{ 01N02 03}");
    ExpectRoundTrip(line);
    line = Line({.Flags = "L2 99", .Comment = "or level"});
    EXPECT_EQ(TrimmedRight(Convert(line)).substr(0, 10), "{|L2| 99} ");
    ExpectRoundTrip(line);
    // A line with nothing but its form type.
    EXPECT_EQ(Convert("     C"), "{ }");
    ExpectRoundTrip("     C");
    ExpectRoundTrip("     C                                                        ");
}

TEST_F(ConvertCalcolusTest, TrailingCommentMovesToTheFirstColumnOfItsArea) {
    std::string line = Line({.Op = "ADD", .Factor2 = "1", .Result = "N", .Comment = "   moved"});
    std::string statement = Convert(line);
    EXPECT_EQ(statement.find("RPG("), std::string::npos);
    EXPECT_EQ(TrimmedRight(Compiled(statement).substr(59)), "moved");
}

// ---------------------------------------------------------------- compile

TEST_F(ConvertCalcolusTest, CompilePlacesEachSlot) {
    std::string s = Compiled("Chain(KEY,FILE,REC,N,10,20,,)");
    EXPECT_EQ(s.size(), 80u);
    EXPECT_EQ(TrimmedRight(s), Line({.Factor1 = "KEY",
                                     .Op = "CHAIN",
                                     .Factor2 = "FILE",
                                     .Result = "REC",
                                     .Extender = "N",
                                     .High = "10",
                                     .Low = "20"}));
    // Length and decimal positions are right-justified; MOVE takes an extender, ADD does not.
    EXPECT_EQ(TrimmedRight(Compiled("Move(A,B,P,,,,5,0)")), Line({.Op = "MOVE",
                                                                  .Factor2 = "A",
                                                                  .Result = "B",
                                                                  .Length = "  5",
                                                                  .Decimals = "0",
                                                                  .Extender = "P"}));
    EXPECT_EQ(TrimmedRight(Compiled("Add(A,B,C,H)")),
              Line({.Factor1 = "A", .Op = "ADD", .Factor2 = "B", .Result = "C", .High = "H"}));
    EXPECT_EQ(TrimmedRight(Compiled("movel(arr[i],TAB[3])")),
              Line({.Op = "MOVEL", .Factor2 = "ARR,I", .Result = "TAB,3"}));
    EXPECT_EQ(TrimmedRight(Compiled("Movel('a, b',X)")),
              Line({.Op = "MOVEL", .Factor2 = "'a, b'", .Result = "X"}));
    EXPECT_EQ(TrimmedRight(Compiled("z-add(-5,N,,,,+3)")),
              Line({.Op = "Z-ADD", .Factor2 = "-5", .Result = "N", .Length = " +3"}));
    EXPECT_EQ(TrimmedRight(Compiled("Else")), Line({.Op = "ELSE"}));
}

TEST_F(ConvertCalcolusTest, CompileFlagsPartAndComment) {
    std::string s = Compiled("{|LR| 01N02}Add(,1,X) /* a comment longer than fifteen");
    EXPECT_EQ(s.substr(6, 11), "LR 01N02   ");
    EXPECT_EQ(s.substr(59, 15), "a comment longe");
    EXPECT_EQ(Compiled("{ 01N02}Add(,1,X)").substr(6, 11), "   01N02   ");
    EXPECT_EQ(Compiled("{|L1|}Add(,1,X)").substr(6, 11), "L1         ");
    // An indicator-only line.
    s = Compiled("{ 01N02 03} /* or");
    EXPECT_EQ(TrimmedRight(s), Line({.Flags = "   01N02 03", .Comment = "or"}));
}

TEST_F(ConvertCalcolusTest, CompileMessages) {
    EXPECT_EQ(Error("Xyz(A)"), "**ERROR: Invalid operating code!");
    EXPECT_EQ(Error("Cas(A,B,C)"), "**ERROR: Invalid operating code!");
    EXPECT_EQ(Error("Seton(1,2,3,4)"), "**ERROR: Too many params!");
    EXPECT_EQ(Error("Else(A)"), "**ERROR: Too many params!");
    EXPECT_EQ(Error("{ 01 02 03 04}Add(,1,X)"), "**ERROR: Flag part too long!");
    EXPECT_EQ(Error("{|L1| 01N02N03X}Add(,1,X)"), "**ERROR: Flag part too long!");
    EXPECT_EQ(Error("Move(A[1,B)"), "**ERROR: Bad parameter!");
    EXPECT_EQ(Error("Move(A]1[,B)"), "**ERROR: Bad parameter!");
    EXPECT_EQ(Error("Z-add(1,N,,,,5A)"), "**ERROR: Param N.6 must be of integer type!");
    EXPECT_EQ(Error("Z-add(1,N,,,,5,-9999)"), "**ERROR: Param N.7 must be of integer type!");
    EXPECT_EQ(Error("Chain(,FILE)"), "**ERROR: Param N.1 can't be void!");
    EXPECT_EQ(Error("Chain(KEY,FILE,,,,)"), "**ERROR: Param N.5 can't be void!");
    EXPECT_EQ(Error("Chain(KEY)"), "**ERROR: Required Parameter not Found!");
    EXPECT_EQ(Error("Add(ABCDEFGHIJK,B,C)"), "**ERROR: Param N.1 too long!");
    EXPECT_EQ(Error("Add(A,B,C,100)"), "**ERROR: Param N.4 too long!");
    EXPECT_EQ(Error("Z-add(1,N,,,,1000)"), "**ERROR: Param N.6 too long!");
    EXPECT_EQ(Error("{X01}Add(,1,X)"), "**ERROR: Invalid flag was found!");
    EXPECT_EQ(Error("{01}Add(,1,X)"), "**ERROR: Invalid flag was found!");
    EXPECT_EQ(Error("{ 01A02}Add(,1,X)"), "**ERROR: Invalid flag was found!");
    // The first failing parameter decides the message.
    EXPECT_EQ(Error("Z-add(1,N,,,,X,Y)"), "**ERROR: Param N.6 must be of integer type!");
    EXPECT_EQ(Error("Chain(,FILE,ABCDEFGHIJKL)"), "**ERROR: Param N.1 can't be void!");
}

TEST_F(ConvertCalcolusTest, IndicatorOnlyLinesAreCheckedLikeOthers) {
    // Cutting the flags to their columns would silently drop an indicator.
    EXPECT_EQ(Error("{ 01 02 03 04}"), "**ERROR: Flag part too long!");
    EXPECT_EQ(Error("{ 01X02}"), "**ERROR: Invalid flag was found!");
}

TEST_F(ConvertCalcolusTest, CompileSpecialLines) {
    EXPECT_EQ(Compiled("RPG(C                     CAS            SUBR)"),
              "     C                     CAS            SUBR");
    ResultLine r = Compile("RPG()");
    EXPECT_TRUE(r.Warning);
    EXPECT_EQ(r.Text, "      **WARNING: RPG Line is void. Line was ignored");
    EXPECT_EQ(Error("RPG(I   X)"), "**ERROR: Format differ from expected \"C\". Line was skipped!");
    EXPECT_EQ(Compiled("#/copy qrpgsrc,mbr"), "     C/COPY QRPGSRC,MBR");
    EXPECT_EQ(Compiled("+ where A = :b"), "     C+ where A = :b");
    EXPECT_EQ(Compiled("/* Note"), "     C* Note");
}

// ---------------------------------------------------------------- real members

// Every calculation line of the members comes back in the same columns, and most of them as
// readable statements rather than raw lines.
TEST_F(ConvertCalcolusTest, RealMembersRoundTrip) {
    std::filesystem::path dir(ORVALE_CORPUS_DIR);
    if (!std::filesystem::is_directory(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    int lines = 0;
    int raw = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".RP3")
            continue;
        StringList member;
        ASSERT_TRUE(orvale::ReadTextFile(entry.path().string(), member)) << entry.path();
        int level = 0;
        for (const std::string& line : member) {
            if (line.rfind("**", 0) == 0)
                break; // compile-time data follows
            if (Column(line, 6) != 'C' || Column(line, 7) == '*' || Column(line, 7) == '/')
                continue;
            std::string statement = Converter.ConvertLine(line, level, 2);
            ++lines;
            if (statement.find("RPG(") != std::string::npos)
                ++raw;
            ResultLine result = Compile(statement);
            ASSERT_FALSE(result.Error || result.Warning)
                << entry.path().filename() << "\n[" << line << "]\n[" << statement << "]\n"
                << result.Text;
            EXPECT_TRUE(SameLine(line, result.Text))
                << entry.path().filename() << "\n[" << line << "]\n[" << statement << "]\n["
                << result.Text << "]";
        }
    }
    EXPECT_GT(lines, 3000);
    EXPECT_LT(raw * 20, lines) << raw << " of " << lines << " lines raw";
}

} // namespace
