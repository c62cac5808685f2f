#include "calvex/Calvex.h"
#include "calvex/TableRecordCount.h"

#include "document/TreeNode.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "support/MemberWalk.h"

#include <gtest/gtest.h>

using namespace calvex;
using orvale::DateTime;
using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;

namespace {

class CompileDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Prompter::SetDefault(&Boxes);
    }
    void TearDown() override {
        Prompter::SetDefault(nullptr);
        RegionalSettings::SetCurrent(Saved);
    }

    TCompileResult Compile(TEDITSection& section, char formType, bool batch = true,
                           const StringList& definitions = {}) {
        TCompileResult result{};
        CompileRPG3Source(&result, &ArraysNode, section, definitions, formType, Options, batch);
        return result;
    }

    RegionalSettings Saved{"", ""};
    ScriptedPrompter Boxes;
    TCompileOptions Options = calvex::test::AllOptions();
    TreeNode ArraysNode{"Arrays"};
};

TEDITSection Section(const std::string& name, StringList lines) {
    TEDITSection s(name, name + " description");
    s.Properties.CreatedOn = {2024, 3, 9, 14, 5, 6};
    s.Properties.LastUpdate = {2024, 3, 10, 0, 0, 0};
    for (std::string& line : lines)
        s.AddLine(std::move(line));
    return s;
}

} // namespace

TEST_F(CompileDriverTest, AnEmptySectionGetsNothing) {
    TEDITSection s = Section("Input", {});
    s.AddCompiledText("old");
    TCompileResult r = Compile(s, 'I');
    EXPECT_TRUE(s.CompiledTexts().empty());
    EXPECT_TRUE(s.CompiledValid);
    EXPECT_EQ(r.Lines, 0);
    EXPECT_EQ(r.Warnings, 0);
    EXPECT_EQ(r.Errors, 0);
    EXPECT_EQ(std::string(r.Name, r.NameLength), "Input");
}

TEST_F(CompileDriverTest, SectionBannerLayout) {
    TEDITSection s = Section("Header", {"RPG(H            Y)"});
    Compile(s, 'H');
    ASSERT_EQ(s.CompiledCount(), 6u);
    EXPECT_EQ(s.CompiledTexts()[0],
              "&%   H* " + std::string(26, '*') + " HEADER " + std::string(31, '*') + " &%xSEC");
    EXPECT_EQ(s.CompiledTexts()[1],
              "&%   H* * Header description" + std::string(43, ' ') + " * &%1SDS");
    EXPECT_EQ(s.CompiledTexts()[2],
              "&%   H* *  Created On: 09/03/2024 14:05:06" + std::string(29, ' ') + " * &%1CRT");
    // The time is left out at midnight.
    EXPECT_EQ(s.CompiledTexts()[3],
              "&%   H* * Last Update: 10/03/2024" + std::string(38, ' ') + " * &%1UPD");
    EXPECT_EQ(s.CompiledTexts()[4], "&%   H* " + std::string(65, '*') + " &%xSEC");
    for (size_t k = 0; k < 5; ++k)
        EXPECT_EQ(s.CompiledTexts()[k].size(), 80u) << k;
    EXPECT_EQ(s.CompiledTexts()[5], "     H            Y");

    TEDITSection main = Section("Main Routine", {"Z-add(0,X)"});
    Compile(main, 'C');
    EXPECT_EQ(main.CompiledTexts()[4].substr(74), "&%xMNR");
    EXPECT_EQ(main.CompiledTexts()[0].substr(0, 8), "&%   C* ");
}

TEST_F(CompileDriverTest, BannerCodesStayInColumns75To80) {
    TEDITSection s = Section("A section name too long", {"/* x"});
    s.Properties.Description = std::string(70, 'd');
    Compile(s, 'C');
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(s.CompiledTexts()[k].size(), 80u) << s.CompiledTexts()[k];
        EXPECT_EQ(s.CompiledTexts()[k].substr(74, 2), "&%") << s.CompiledTexts()[k];
    }
    // A one-character prefix still starts the code in column 75.
    Options.PrefixLength = 1;
    Compile(s, 'C');
    EXPECT_EQ(s.CompiledTexts()[1].substr(0, 8), "&    C* ");
    EXPECT_EQ(s.CompiledTexts()[1].substr(74), "&1SDS");
}

TEST_F(CompileDriverTest, BannerOptions) {
    TEDITSection s = Section("Input", {"/* note", "", "DS(MYDS)"});
    Options.SDesc = Options.CDate = 0;
    Compile(s, 'I');
    ASSERT_EQ(s.CompiledCount(), 6u);
    EXPECT_EQ(s.CompiledTexts()[1].substr(74), "&%1UPD");
    EXPECT_EQ(s.CompiledTexts()[3], "     I* note");
    EXPECT_EQ(s.CompiledTexts()[4], "     I*");
    // Without comment lines: no frames, comments skipped, blank lines skipped too.
    Options.LComm = 0;
    Options.UDate = 0;
    TCompileResult r = Compile(s, 'I');
    ASSERT_EQ(s.CompiledCount(), 1u);
    EXPECT_EQ(s.CompiledTexts()[0].substr(0, 20), "     IMYDS        DS");
    EXPECT_EQ(r.Lines, 3);
}

TEST_F(CompileDriverTest, ErrorsAreCountedAndSummarised) {
    TEDITSection s =
        Section("CALCS", {"Z-add(0,X)", "Add(A,B,C)", "Chain(,FILE)", "Else", "Add(A,B,C) X"});
    TCompileResult r = Compile(s, 'C', false);
    ASSERT_EQ(s.CompiledCount(), 5u + 6u);
    EXPECT_EQ(s.CompiledTexts()[5 + 2], "**ERROR: Param N.1 can't be void!");
    EXPECT_EQ(s.CompiledTexts()[5 + 4],
              "      **WARNING: Extra parameter not allowed. Parameter ignored!");
    EXPECT_EQ(s.CompiledTexts()[5 + 5].substr(27, 5), "ADD  ");
    EXPECT_EQ(r.Errors, 1);
    EXPECT_EQ(r.Warnings, 1);
    EXPECT_EQ(r.Lines, 5);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].BoxKind, Prompter::Kind::Warning);
    EXPECT_EQ(Boxes.Messages[0].BoxButtons, Prompter::Buttons::Ok);
    EXPECT_EQ(Boxes.Messages[0].Text, "1 Error and 1 Warning found in CALCS!");

    Boxes.Clear();
    Compile(s, 'C', true);
    EXPECT_TRUE(Boxes.Messages.empty());
    TEDITSection clean = Section("OK", {"Z-add(0,X)"});
    Compile(clean, 'C', false);
    EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(CompileDriverTest, DefinitionsAndTableStatements) {
    TEDITSection pre = Section("Pre Compiler", {"#define MAXLEN=30 /* longest name",
                                                "  #DEFINE  FILE = CUSTMAST", "#UNDEF X"});
    StringList definitions{"stale"};
    CompileRPG3GetPreComp(pre, definitions, "");
    EXPECT_EQ(definitions, (StringList{"MAXLEN=30", "FILE = CUSTMAST"}));

    TEDITSection files = Section("Logical", {"File(file,DISK,I,F,E)"});
    Options.LComm = Options.SDesc = Options.CDate = Options.UDate = 0;
    Compile(files, 'F', true, definitions);
    EXPECT_EQ(files.CompiledTexts()[0].substr(0, 19), "     FCUSTMASTIF  E");

    TEDITSection ext = Section("Extension", {"Tab(TABA,3,10,5)", "Tab(TABB,1,2,3)"});
    ArraysNode.AddChild("taba");
    TCompileResult r = Compile(ext, 'E');
    EXPECT_EQ(ext.CompiledTexts()[0].substr(26, 13), "TABA    3  10");
    EXPECT_EQ(ext.CompiledTexts()[1], "**ERROR: Table Section not Found. Line was skipped!");
    EXPECT_EQ(r.Errors, 1);
    TCompileResult none{};
    CompileRPG3Source(&none, nullptr, ext, {}, 'E', Options, true);
    EXPECT_EQ(none.Errors, 2);
}

TEST_F(CompileDriverTest, ArraysFollowTheirTableDefinition) {
    TEDITSection ext =
        Section("Extension", {"Array(X,5,2)", "  tab( TABA, 3, 10 ,5)", "Tab(TABA,1,99,5)"});
    EXPECT_EQ(TableRecordCount(ext, "taba"), 4);
    TEDITSection array = Section("TABA", {"AAA", std::string(80, 'b')});
    array.Properties.Description = "Month names";
    TCompileResult r{};
    CompileRPG3Array(&r, ext, array, "&%", false);
    // A block shorter than its declaration is a warning of the compile, never a line of the
    // member: the host compiler would read a padding line as a table entry.
    ASSERT_EQ(array.CompiledCount(), 3u);
    EXPECT_EQ(array.CompiledTexts()[0], "** TABA Month names" + std::string(55, ' ') + "&%1ARY");
    EXPECT_EQ(array.CompiledTexts()[1], "AAA");
    EXPECT_EQ(array.CompiledTexts()[2], std::string(74, 'b'));
    ASSERT_TRUE(array.CompiledLinked());
    EXPECT_EQ(array.Compiled()[0].From, -1);
    EXPECT_EQ(array.Compiled()[1].From, 0);
    EXPECT_EQ(array.Compiled()[2].From, 1);
    EXPECT_EQ(array.CompileNotes,
              (StringList{"WARNING: 2 data records where its declaration asks for 4!"}));
    EXPECT_EQ(r.Warnings, 1);
    EXPECT_EQ(r.Errors, 0);
    EXPECT_EQ(r.Lines, 2);
    EXPECT_TRUE(array.CompiledValid);
    EXPECT_TRUE(Boxes.Messages.empty());

    // Records beyond the declared count are written all the same, with a warning.
    TEDITSection other = Section("Extension", {"Tab(TABS,1,2,5)"});
    TEDITSection tabs = Section("TABS", {"1", "2", "3"});
    CompileRPG3Array(&r, other, tabs, "&%", false);
    EXPECT_EQ(tabs.CompiledCount(), 4u);
    EXPECT_EQ(tabs.CompiledTexts().back(), "3");
    EXPECT_EQ(r.Lines, 3);
    EXPECT_EQ(r.Warnings, 1);

    TEDITSection lost = Section("NOTAB", {"x"});
    CompileRPG3Array(&r, ext, lost, "&%", false);
    EXPECT_EQ(lost.CompiledTexts(),
              (StringList{"**ERROR: Table definition not Found. Array was skipped!"}));
    EXPECT_EQ(r.Errors, 1);
}

TEST_F(CompileDriverTest, RecordCounts) {
    TEDITSection ext =
        Section("Extension", {"Tab(A,X,7,1)", "Tab(B,1,-2,1)", "Tab(C,4,Y,1)", "Tab(D,2,2)",
                              "RPG(E                    RAWT  "
                              "  3  10  2)"});
    EXPECT_EQ(TableRecordCount(ext, "A"), 7);  // entries per record not a number: 1
    EXPECT_EQ(TableRecordCount(ext, "B"), -2); // a negative count stays
    EXPECT_EQ(TableRecordCount(ext, "C"), -1); // entries not a number
    EXPECT_EQ(TableRecordCount(ext, "D"), -1); // only three parameters
    EXPECT_EQ(TableRecordCount(ext, "RAWT"), 4);
    EXPECT_EQ(TableRecordCount(ext, "E"), -1);
}

TEST_F(CompileDriverTest, ProgramLevelSectionsBecomeHeaderComments) {
    TEDITSection props = Section("Property", {"SourceLib=QGPL", std::string(70, 'v')});
    TCompileResult r{};
    CompileRPG3Spec(&r, props, "&%", false);
    ASSERT_EQ(props.CompiledCount(), 4u);
    EXPECT_EQ(props.CompiledTexts()[0], "&%   H* ********************** Orvale PROPERTY    "
                                        "  ********************* &%xPRO");
    EXPECT_EQ(props.CompiledTexts()[1],
              "&%   H* * SourceLib=QGPL" + std::string(47, ' ') + " * &%1PRO");
    EXPECT_EQ(props.CompiledTexts()[2], "&%   H* * " + std::string(60, 'v') + "  * &%1PRO");
    EXPECT_EQ(props.CompiledTexts()[3], "&%   H* " + std::string(65, '*') + " &%xPRO");
    for (const std::string& line : props.CompiledTexts())
        EXPECT_EQ(line.size(), 80u);
    EXPECT_EQ(r.Lines, 2);
    TEDITSection empty = Section("History", {});
    CompileRPG3Spec(&r, empty, "&%", false);
    EXPECT_TRUE(empty.CompiledTexts().empty());
    EXPECT_TRUE(empty.CompiledValid);
}

TEST_F(CompileDriverTest, ResultCarriesAtMostFiftyCharactersOfTheName) {
    TEDITSection s = Section(std::string(60, 'n'), {"RPG(H)"});
    TCompileResult r{};
    CompileRPG3Spec(&r, s, "&%", false);
    EXPECT_EQ(r.NameLength, 50);
    EXPECT_EQ(std::string(r.Name, 50), std::string(50, 'n'));
}
