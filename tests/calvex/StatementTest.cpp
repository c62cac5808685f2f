#include "calvex/Statement.h"

#include <gtest/gtest.h>

using namespace calvex;

namespace {

ParsedStatement Parse(std::string_view line, ParseSwitches switches = {},
                      const Definitions& definitions = {}) {
    ParsedStatement s;
    ParseStatementLine(line, switches, definitions, s);
    return s;
}

std::vector<std::string> Texts(const std::vector<ResultLine>& lines) {
    std::vector<std::string> texts;
    for (const ResultLine& r : lines)
        texts.push_back(r.Text);
    return texts;
}

} // namespace

TEST(ParseStatement, SplitsNameParametersFlagsAndComment) {
    ParsedStatement s = Parse("  {|LR| 01N02}  Add( a , 'x,y' ,,c )   /*  total  ");
    EXPECT_TRUE(s.HasFlags);
    EXPECT_EQ(s.Flags, "|LR| 01N02");
    EXPECT_EQ(s.Name, "Add");
    EXPECT_EQ(s.ParamText, " a , 'x,y' ,,c ");
    EXPECT_EQ(s.Comment, "total");
    // A quoted parameter keeps its comma and its case; the others are trimmed and upper-cased.
    EXPECT_EQ(s.Params, (StringList{"ADD", "A", "'x,y'", "", "C"}));
    EXPECT_TRUE(s.Messages.empty());
    EXPECT_FALSE(s.Failed);
}

TEST(ParseStatement, ClosingParenthesisIsTheLastOneBeforeTheComment) {
    ParsedStatement s = Parse("Chain(KEY(1),FILE) /* read (first) */");
    EXPECT_EQ(s.ParamText, "KEY(1),FILE");
    EXPECT_EQ(s.Comment, "read (first) */");
    // A "/*" inside a literal or inside the parameters is text, not a comment.
    s = Parse("Comp('A/*B',X)   /* note");
    EXPECT_EQ(s.Params, (StringList{"COMP", "'A/*B'", "X"}));
    EXPECT_EQ(s.Comment, "note");
    s = Parse("RPG(I                                       'A/*B')");
    EXPECT_EQ(s.Params[1], "I                                       'A/*B'");
    EXPECT_TRUE(s.Messages.empty());
    EXPECT_EQ(CommentStart("Move(')', '/*')  /* x"), 17u);
    // A list never closed is still one.
    s = Parse("File(X /* y");
    ASSERT_EQ(Texts(s.Messages), (std::vector<std::string>{
                                     "**ERROR: \")\" Expected but not Found. Line was skipped!"}));
    EXPECT_TRUE(s.Failed);
    EXPECT_TRUE(s.Messages[0].Error);
}

TEST(ParseStatement, ParseErrors) {
    ParsedStatement s = Parse("{01 Add(A,B,C)");
    EXPECT_EQ(Texts(s.Messages), (std::vector<std::string>{
                                     "**ERROR: \"}\" Expected but not Found. Line was skipped!"}));
    EXPECT_TRUE(s.Failed);
    s = Parse("(A,B)");
    EXPECT_EQ(Texts(s.Messages),
              (std::vector<std::string>{"**ERROR: Operating Code not Found. Line was skipped!"}));
    s = Parse("{} /* only a comment */");
    EXPECT_TRUE(s.Failed);
}

TEST(ParseStatement, ExtraTextAfterTheParametersIsDroppedWithAWarning) {
    ParsedStatement s = Parse("Add(A,B,C) X");
    ASSERT_EQ(s.Messages.size(), 1u);
    EXPECT_EQ(s.Messages[0].Text,
              "      **WARNING: Extra parameter not allowed. Parameter ignored!");
    EXPECT_TRUE(s.Messages[0].Warning);
    EXPECT_FALSE(s.Failed);
    EXPECT_EQ(s.Params, (StringList{"ADD", "A", "B", "C"}));
    // The comment after the extra text is still kept.
    s = Parse("Add(A,B,C) X /* note");
    EXPECT_EQ(s.Messages.size(), 1u);
    EXPECT_EQ(s.Comment, "note");
}

TEST(ParseStatement, StatementsWithoutParameterList) {
    ParsedStatement s = Parse("Else   /* other way");
    EXPECT_EQ(s.Name, "Else");
    EXPECT_EQ(s.Params, (StringList{"ELSE"}));
    EXPECT_EQ(s.Comment, "other way");
    s = Parse("endif");
    EXPECT_EQ(s.Params, (StringList{"ENDIF"}));
    // Only conditioning indicators: the *NIL* statement.
    s = Parse("{ 01 02}   /* x");
    EXPECT_EQ(s.Name, "*NIL*");
    EXPECT_EQ(s.Params, (StringList{"*NIL*"}));
    EXPECT_EQ(s.Flags, " 01 02");
}

TEST(ParseStatement, CommentsAreKeptOnlyWithCodeComments) {
    ParseSwitches off;
    off.CodeComments = false;
    EXPECT_EQ(Parse("Add(A,B,C) /* x", off).Comment, "");
    EXPECT_EQ(Parse("Add(A,B,C) /* x").Comment, "x");
}

TEST(ParseStatement, RawLinesKeepTheirTextUnchanged) {
    ParsedStatement s = Parse("RPG(C   lower case  )");
    EXPECT_EQ(s.Params, (StringList{"RPG", "C   lower case  "}));
    s = Parse("rpg()");
    EXPECT_EQ(s.Params, (StringList{"RPG", ""}));
    s = Parse("Sql(C+ select a, b)");
    EXPECT_EQ(s.Params, (StringList{"SQL", "C+ select a, b"}));
}

TEST(ParseStatement, SpecialLinesTravelWhole) {
    for (std::string_view line : {"# /copy qrpgsrc,mbr", "+ from file", "/* comment  "}) {
        ParsedStatement s = Parse(line);
        std::string trimmed(line.substr(0, line.find_last_not_of(' ') + 1));
        EXPECT_EQ(s.Params, (StringList{trimmed})) << line;
        EXPECT_EQ(s.Name, trimmed);
    }
}

TEST(ParseStatement, BlankAndCommentLineSwitches) {
    ParseSwitches s;
    s.BlankLines = false;
    EXPECT_TRUE(Parse("   ", s).Skipped);
    s.BlankLines = true;
    ParsedStatement blank = Parse("\t ", s);
    EXPECT_FALSE(blank.Skipped);
    EXPECT_EQ(blank.Params, (StringList{"/*"}));
    s.CommentLines = false;
    EXPECT_TRUE(Parse("", s).Skipped);
    EXPECT_TRUE(Parse("/* x", s).Skipped);
    EXPECT_TRUE(Parse("/* x", s).Messages.empty());
}

TEST(ParseStatement, DefinitionsReplaceParameters) {
    Definitions defs(StringList{"MAXLEN=30", "name = CUSTNO"});
    ParsedStatement s = Parse("Add(maxlen,MAXLEN[2],MAXLEN:1,Name,XMAXLEN)", {}, defs);
    EXPECT_EQ(s.Params, (StringList{"ADD", "30", "30[2]", "30:1", "CUSTNO", "XMAXLEN"}));
    ASSERT_NE(defs.Find("MaxLen"), nullptr);
    EXPECT_EQ(*defs.Find("MaxLen"), "30");
    EXPECT_EQ(defs.Find("MAX"), nullptr);
    // Raw lines are never substituted.
    EXPECT_EQ(Parse("RPG(CMAXLEN)", {}, defs).Params[1], "CMAXLEN");
}

TEST(ParseStatement, ReusingTheStatementLeavesNothingBehind) {
    ParsedStatement s;
    ParseStatementLine("{01} Add(A,B,C) /* x", {}, {}, s);
    ParseStatementLine("Else", {}, {}, s);
    EXPECT_EQ(s.Params, (StringList{"ELSE"}));
    EXPECT_FALSE(s.HasFlags);
    EXPECT_EQ(s.Flags, "");
    EXPECT_EQ(s.Comment, "");
    EXPECT_EQ(s.ParamText, "");
    ParseStatementLine("{01 X", {}, {}, s);
    EXPECT_TRUE(s.Params.empty());
    ParseStatementLine("Z-add(A,B)", {}, {}, s);
    EXPECT_TRUE(s.Messages.empty());
    EXPECT_EQ(s.Params, (StringList{"Z-ADD", "A", "B"}));
}

TEST(SpecialLine, RawRpgLines) {
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', "C").Text,
              "**ERROR: No code was found. Line was skipped!");
    ResultLine r = CheckSpecialLine("RPG", 'C', "");
    EXPECT_EQ(r.Text, "      **WARNING: RPG Line is void. Line was ignored");
    EXPECT_TRUE(r.Warning);
    EXPECT_FALSE(r.Error);
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', " X").Text,
              "**ERROR: Format expected but not found. Line was skipped!");
    r = CheckSpecialLine("SQL", 'C', "F X");
    EXPECT_EQ(r.Text, "**ERROR: Format differ from expected \"C\". Line was skipped!");
    EXPECT_TRUE(r.Error);
    std::string longest = "C" + std::string(68, 'x');
    r = CheckSpecialLine("RPG", 'C', longest);
    EXPECT_EQ(r.Text, "     " + longest);
    EXPECT_EQ(r.Text.size(), 74u);
    EXPECT_FALSE(r.Error || r.Warning);
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', longest + "x").Text,
              "**ERROR: RPG Line is too long. Line was skipped!");
    // The form type followed by blanks is a line, not a missing code.
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', "C ").Text, "     C ");
}

TEST(SpecialLine, RawCommentLinesKeepTheirColumnSix) {
    EXPECT_EQ(CheckSpecialLine("RPG", 'H', "M* Maintenance").Text, "     M* Maintenance");
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', " * note").Text, "      * note");
    EXPECT_EQ(CheckSpecialLine("RPG", 'C', "**").Text, "     **");
    EXPECT_EQ(CheckSpecialLine("RPG", 'O', "C/EJECT").Text, "     C/EJECT");
    EXPECT_EQ(CheckSpecialLine("RPG", 'O', " /EJECT").Text,
              "**ERROR: Format expected but not found. Line was skipped!");
}

TEST(SpecialLine, Directives) {
    EXPECT_EQ(CheckSpecialLine("#/copy qrpgsrc,mbr", 'C', "").Text, "     C/COPY QRPGSRC,MBR");
    EXPECT_EQ(CheckSpecialLine("#   /Eject", 'I', "").Text, "     I/EJECT");
    EXPECT_EQ(CheckSpecialLine("# ", 'C', "").Text,
              "      **WARNING: RPG Line is void. Line was ignored");
    EXPECT_EQ(CheckSpecialLine("# /", 'C', "").Text,
              "**ERROR: No code was found. Line was skipped!");
    EXPECT_EQ(CheckSpecialLine("# COPY X", 'C', "").Text,
              "**ERROR: \"/\" expected but not found. Line was skipped!");
    EXPECT_EQ(CheckSpecialLine("# /COPY", 'C', "").Text,
              "**ERROR: Bad or incomplete code was found. Line was skipped!");
    EXPECT_EQ(CheckSpecialLine("# /FREE", 'C', "").Text,
              "**ERROR: Bad or incomplete code was found. Line was skipped!");
    EXPECT_EQ(CheckSpecialLine("# /SPACE" + std::string(64, 'x'), 'C', "").Text,
              "**ERROR: Special Line is too long. Line was skipped!");
    for (const char* code : {"/TITLE X", "/EJECT", "/SPACE 3", "/EXEC SQL", "/END-EXEC"})
        EXPECT_EQ(CheckSpecialLine(std::string("#") + code, 'C', "").Text,
                  std::string("     C") + code)
            << code;
}

TEST(SpecialLine, CommentsAndContinuations) {
    EXPECT_EQ(CheckSpecialLine("/* X", 'C', "").Text, "     C* X");
    EXPECT_EQ(CheckSpecialLine("/*", 'F', "").Text, "     F*");
    EXPECT_EQ(CheckSpecialLine("/*" + std::string(70, 'y'), 'C', "").Text,
              "     C*" + std::string(67, 'y'));
    EXPECT_EQ(CheckSpecialLine("/*  x   ", 'C', "").Text, "     C*  x");
    EXPECT_EQ(CheckSpecialLine("+ from FILE", 'C', "").Text, "     C+ from FILE");
}

TEST(PlaceField, JustificationAndTruncation) {
    std::string buffer(80, ' ');
    EXPECT_EQ(PlaceField(buffer, 7, 8, "CUST", false), 4);
    EXPECT_EQ(buffer.substr(6, 8), "CUST    ");
    EXPECT_EQ(PlaceField(buffer, 24, 4, "12", true), 2);
    EXPECT_EQ(buffer.substr(23, 4), "  12");
    // Too long: the first characters left-justified, the last ones right-justified.
    EXPECT_EQ(PlaceField(buffer, 33, 2, "ABC", false), 2);
    EXPECT_EQ(buffer.substr(32, 2), "AB");
    EXPECT_EQ(PlaceField(buffer, 36, 2, "123", true), 2);
    EXPECT_EQ(buffer.substr(35, 2), "23");
    EXPECT_EQ(buffer.size(), 80u);
    // Columns that are not written keep what they held.
    EXPECT_EQ(buffer.substr(14, 9), std::string(9, ' '));
}

TEST(IsInteger, WholeDecimalNumbersOnly) {
    for (const char* yes : {"0", "12", "+5", "-3", "0099", "-9998", "2147483647", "-2147483648"})
        EXPECT_TRUE(IsInteger(yes)) << yes;
    for (const char* no : {"", "+", "-", "12A", " 1", "1 ", "1.5", "-9999", "-09999", "2147483648",
                           "99999999999999999999"})
        EXPECT_FALSE(IsInteger(no)) << no;
}
