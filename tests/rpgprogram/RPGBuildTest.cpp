// Compiling the sections of a program document through the conversion library, the error
// list, and writing the assembled source.

#include "ImportFixture.h"

#include "rpgprogram/RoundTripCheck.h"
#include "support/ShownIn.h"

#include <cstring>

using orvale::Prompter;
using orvale::test::ShownIn;
using namespace orvale::test;

namespace {

// Keeps what the statistics window would show; can ask to stop after a number of sections.
class RecordingStatistics : public orvale::CompileStatistics {
public:
    explicit RecordingStatistics(TRPGProgram& doc, int stopAfter = -1)
        : Doc(doc), StopAfter(stopAfter) {}
    void SetSectionLines(const std::string& text) override { SectionLines.push_back(text); }
    void SetTotalLines(const std::string& text) override { TotalLines = text; }
    void SetWarnings(const std::string& text) override { Warnings = text; }
    void SetErrors(const std::string& text) override { Errors = text; }
    void AddErrorLine(const std::string& line) override { ErrorList.push_back(line); }
    void ProcessMessages() override {
        if (static_cast<int>(SectionLines.size()) == StopAfter)
            Doc.CompileStopRequested = true;
    }

    TRPGProgram& Doc;
    int StopAfter;
    std::vector<std::string> SectionLines, ErrorList;
    std::string TotalLines, Warnings, Errors;
};

const std::string kCalc = SpecLine('C', {{18, "A"}, {28, "ADD"}, {33, "B"}, {43, "C"}});

class BuildTest : public ImportFixture {
protected:
    // A program imported from a small member: a main routine and one subroutine.
    void ImportSmallProgram() {
        ASSERT_TRUE(
            Import({SpecLine('H', {{15, "1"}}), kCalc, SpecLine('C', {{18, "SR1"}, {28, "BEGSR"}}),
                    kCalc, SpecLine('C', {{28, "ENDSR"}})}));
    }
};

} // namespace

TEST_F(BuildTest, OnlySectionsOutOfDateAreCompiled) {
    ImportSmallProgram();
    RecordingStatistics first(Doc);
    EXPECT_TRUE(Doc.CompileAllSections(false, &first));
    // The import left the converted sections current; the program-level sections, edited by
    // the import itself, and the empty ones it never touched are compiled.
    EXPECT_FALSE(first.SectionLines.empty());
    EXPECT_EQ(first.Errors, "0");
    for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        if (TEDITSection* s = n->Section()) {
            EXPECT_TRUE(s->CompiledValid) << n->Text;
        }
    }

    // Everything current: nothing is compiled and the labels keep what they showed.
    RecordingStatistics second(Doc);
    second.TotalLines = "untouched";
    EXPECT_TRUE(Doc.CompileAllSections(false, &second));
    EXPECT_TRUE(second.SectionLines.empty());
    EXPECT_EQ(second.TotalLines, "untouched");

    RecordingStatistics all(Doc);
    EXPECT_TRUE(Doc.CompileAllSections(true, &all));
    EXPECT_EQ(all.SectionLines.size(), 15u); // every section node of the tree
}

TEST_F(BuildTest, ProgramPropertiesFollowTheirOption) {
    ImportSmallProgram();
    Doc.PropertySection.AssignCompiled({"OLD LINE"});
    Form.PrgProp = false;
    Doc.CompileAllSections(true);
    EXPECT_EQ(Doc.PropertySection.CompiledTexts(), StringList{"OLD LINE"});
    Doc.AssembleSource();
    EXPECT_TRUE(std::find(Doc.NameList.begin(), Doc.NameList.end(), "OLD LINE") ==
                Doc.NameList.end());
    EXPECT_EQ(Doc.NameList.front().substr(74), "&%xHIS"); // the history log comes first

    Form.PrgProp = true;
    Doc.CompileAllSections(true);
    Doc.AssembleSource();
    EXPECT_EQ(Doc.NameList.front().substr(74), "&%xPRO");
    EXPECT_EQ(Doc.NameList[1].substr(0, 19), "&%   H* * Owner=USE");
}

TEST_F(BuildTest, ErrorListNamesEachSectionWithFindings) {
    EXPECT_EQ(orvale::ErrorListLine("Main Routine", 3, 12),
              "Main Routine     Warnings: 3    Errors: 12");
    EXPECT_EQ(orvale::ErrorListLine("SEVENTEEN_CHARS_X", 10000, 0),
              "SEVENTEEN_CHARS_XWarnings: 10000 Errors: 0");

    ImportSmallProgram();
    TEDITSection* array = Doc.AddArray("NOTAB", "");
    array->AssignLines({"DATA"});
    TEDITSection* sub = Doc.AddSubRoutine("A_VERY_LONG_ROUTINE_NAME", "");
    sub->AssignLines({"NOSUCHOPCODE(A)"});
    RecordingStatistics statistics(Doc);
    EXPECT_FALSE(Doc.CompileAllSections(false, &statistics));
    EXPECT_EQ(array->CompiledTexts(),
              StringList{"**ERROR: Table definition not Found. Array was skipped!"});
    EXPECT_EQ(statistics.ErrorList,
              (std::vector<std::string>{"NOTAB            Warnings: 0    Errors: 1",
                                        "A_VERY_LONG_ROUTINE_NAMEWarnings: 0    Errors: 1"}));
    EXPECT_EQ(statistics.Errors, "2");
}

// Compiled ahead by a second thread, the sections come out as compiled one after the other,
// with the same figures and error list in the order of the sections, and a stop still ends it.
TEST_F(BuildTest, CompilingAheadGivesWhatCompilingInTurnGives) {
    ImportSmallProgram();
    for (const char* name : {"SR2", "SR3", "SR4"})
        Doc.AddSubRoutine(name, "")->AssignLines({"NOSUCHOPCODE(A)", "ADD(A,B,C)"});
    Doc.AddArray("NOTAB", "")->AssignLines({"DATA"});
    auto compiled = [&] {
        std::vector<StringList> all;
        for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n))
            if (TEDITSection* s = n->Section())
                all.push_back(s->CompiledTexts());
        return all;
    };
    RecordingStatistics inTurn(Doc);
    EXPECT_FALSE(Doc.CompileAllSections(true, &inTurn));
    std::vector<StringList> expected = compiled();
    for (int round = 0; round < 20; ++round) {
        for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n))
            if (TEDITSection* s = n->Section())
                s->AssignCompiled({"stale"});
        Doc.CompileAhead = true;
        RecordingStatistics ahead(Doc);
        EXPECT_FALSE(Doc.CompileAllSections(true, &ahead));
        EXPECT_EQ(compiled(), expected);
        EXPECT_EQ(ahead.SectionLines, inTurn.SectionLines);
        EXPECT_EQ(ahead.ErrorList, inTurn.ErrorList);
        EXPECT_EQ(ahead.TotalLines, inTurn.TotalLines);
        EXPECT_EQ(ahead.Errors, inTurn.Errors);
    }
    RecordingStatistics stopped(Doc, 2);
    EXPECT_FALSE(Doc.CompileAllSections(true, &stopped));
    EXPECT_EQ(stopped.SectionLines.size(), 2u);
}

TEST_F(BuildTest, StopRequestEndsTheBuildAfterTheCurrentSection) {
    ImportSmallProgram();
    RecordingStatistics statistics(Doc, 2);
    EXPECT_FALSE(Doc.CompileAllSections(true, &statistics));
    EXPECT_EQ(statistics.SectionLines.size(), 2u);
    // A new build is not stopped by the old request.
    RecordingStatistics again(Doc);
    EXPECT_TRUE(Doc.CompileAllSections(true, &again));
}

TEST_F(BuildTest, SingleSectionCompileReadsTheOptionsAndReports) {
    orvale::ScriptedPrompter library;
    Prompter::SetDefault(&library);
    ImportSmallProgram();
    Doc.MainRoutineSection.AssignLines({"NOSUCHOPCODE(A)"});
    Form.EditPrefix = "@#";
    TCompileResult result;
    Doc.CompileSection(Doc.MainRoutineNode, false, result);
    Prompter::SetDefault(nullptr);
    EXPECT_EQ(Doc.IndicatorPrefix, "@#");
    EXPECT_EQ(std::string(Doc.CompileOptions.Prefix, 2), "@#");
    EXPECT_EQ(result.Errors, 1);
    EXPECT_EQ(std::string(result.Name, result.NameLength), "Main Routine");
    EXPECT_EQ(Doc.MainRoutineSection.CompiledTexts().front().substr(74), "@#xSEC");
    ASSERT_EQ(library.Messages.size(), 1u);
    EXPECT_EQ(library.Messages[0].Text, "1 Error and 0 Warning found in Main Routine!");

    // A folder node compiles nothing and reports an empty record.
    std::memset(&result, 0x55, sizeof result);
    Doc.CompileSection(Doc.SubRoutinesNode, true, result);
    EXPECT_EQ(result.NameLength, 0);
    EXPECT_EQ(result.Lines + result.Warnings + result.Errors, 0);
}

TEST_F(BuildTest, WriteSourceKeepsThePreviousFileAsBackup) {
    ImportSmallProgram();
    std::string member = Dir.File("OUT.RP3");
    ASSERT_TRUE(orvale::WriteTextFile(member, {"FIRST"}));
    ASSERT_TRUE(orvale::WriteTextFile(Dir.File("OUT.~P3"), {"OLDER"}));
    ASSERT_TRUE(Doc.WriteSource(member));
    StringList written, backup;
    ASSERT_TRUE(orvale::ReadTextFile(member, written));
    ASSERT_TRUE(orvale::ReadTextFile(Dir.File("OUT.~P3"), backup));
    EXPECT_EQ(backup, StringList{"FIRST"});
    Doc.AssembleSource();
    EXPECT_EQ(written, Doc.NameList);

    // A write that fails is reported and leaves both files as they were.
    Box.Clear();
    Doc.MainRoutineSection.AssignCompiled(StringList(20000, std::string(80, 'X')));
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(Doc.WriteSource(member));
    }
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Error);
    StringList after;
    ASSERT_TRUE(orvale::ReadTextFile(member, after));
    EXPECT_EQ(after, written);
}

// A program saved with its compiled area and opened again builds the member it was imported
// from, also when two output sections share a name.
TEST_F(BuildTest, ReopenedProgramBuildsItsMemberAgain) {
    StringList member{SpecLine('C', {{28, "EXCPT"}, {33, "HEAD"}}),
                      SpecLine('O', {{7, "QSYSPRT E"}, {32, "HEAD"}}),
                      SpecLine('O', {{42, "10"}, {45, "'FIRST'"}}),
                      SpecLine('O', {{7, "QSYSPRT E"}, {32, "TAIL"}}),
                      SpecLine('O', {{42, "10"}, {45, "'SECOND'"}})};
    ASSERT_TRUE(Import(member));
    ASSERT_TRUE(Doc.SaveToFile(Dir.File("MEMBER.RPG")));
    TRPGProgram reopened(Box);
    reopened.FormGenRPG = &Form;
    ASSERT_TRUE(reopened.LoadFromFile(Dir.File("MEMBER.RPG"), ShownIn(Box)));
    EXPECT_TRUE(reopened.CompileAllSections(false));
    reopened.AssembleSource();
    TRoundTripReport report = CompareMemberRoundTrip(member, reopened.NameList, "&%");
    EXPECT_TRUE(report.Passed()) << report.Differences.size() << " lines differ";
    EXPECT_TRUE(Box.Messages.empty());
}

// Differences name the member's lines, banner lines of an earlier build not counted.
TEST(MemberRoundTripTest, DifferencesNameTheMembersLines) {
    auto calc = [](const char* result) {
        return SpecLine('C', {{18, "A"}, {28, "ADD"}, {33, "B"}, {43, result}});
    };
    const std::string banner = "&%   C* banner" + std::string(60, ' ') + "&%xSEC";
    StringList member{banner, calc("R1"), calc("R2"), calc("R3")};
    StringList built{banner, calc("R1"), calc("XX"), calc("R3") + "   "};
    TRoundTripReport report = CompareMemberRoundTrip(member, built, "&%");
    EXPECT_EQ(report.Lines, 3);
    EXPECT_EQ(report.Unchanged, 2);
    ASSERT_EQ(report.Differences.size(), 1u);
    EXPECT_EQ(report.Differences[0].SourceIndex, 2);

    // A line lost shows, and so does a line too many.
    report = CompareMemberRoundTrip(member, {calc("R1"), calc("R3")}, "&%");
    EXPECT_FALSE(report.Passed());
    report = CompareMemberRoundTrip(member, {calc("R1"), calc("R2"), calc("R3"), calc("R4")}, "&%");
    ASSERT_EQ(report.Differences.size(), 1u);
    EXPECT_EQ(report.Differences[0].SourceIndex, -1);
}
