// Errors and warnings of a compile, tied to the statements they came from.

#include "rpgprogram/CompileFindings.h"

#include "ImportFixture.h"

using namespace orvale::test;

namespace {

class CompileFindingsTest : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        Doc.NewProgram();
        Doc.MainRoutineSection.SetLines({"  Z-add(0,X)", "  Exsr(SR1)"});
        Sub = Doc.AddSubRoutine("SR1", "");
        // Empty and comment lines compile to lines of their own; a statement with text after
        // its parameters gets a warning before its line; an unknown operation an error.
        Sub->SetLines(
            {"  Begsr(SR1)", "", "  /* note */", "  NOSUCH(X)", "  Z-add(1,X) junk", "  Endsr()"});
    }
    // Statement of each finding of a section, marked E or W.
    std::vector<std::string> Marks(const std::string& section) {
        std::vector<std::string> marks;
        for (const TCompileFinding& f : SectionFindings(Doc, Doc.FindNodeByText(section)))
            marks.push_back((f.Error ? "E" : "W") + std::to_string(f.Statement));
        return marks;
    }
    TEDITSection* Sub = nullptr;
};

} // namespace

TEST_F(CompileFindingsTest, FindingsNameTheirStatementWhateverTheCompileOptions) {
    for (bool on : {true, false}) {
        Form.LComm = Form.BLines = Form.SDesc = Form.CDate = on;
        Doc.CompileAllSections(true);
        EXPECT_EQ(Marks("SR1"), (std::vector<std::string>{"E3", "W4"})) << on;
        EXPECT_TRUE(Marks("Main Routine").empty());
        // Every compiled line that a statement wrote names that statement.
        std::vector<int> from = CompiledStatements(Doc, Doc.FindNodeByText("SR1"));
        ASSERT_EQ(from.size(), Sub->CompiledCount());
        EXPECT_EQ(from.back(), 5);
        EXPECT_NE(Sub->CompiledTexts().back().find("ENDSR"), std::string::npos);
    }
    // Counted without the compile's record, the lines name the same statements.
    std::vector<int> recorded = CompiledStatements(Doc, Doc.FindNodeByText("SR1"));
    Sub->AssignCompiled(Sub->CompiledTexts());
    EXPECT_EQ(CompiledStatements(Doc, Doc.FindNodeByText("SR1")), recorded);
    // Compiled lines that are not current have no findings to show.
    Sub->AddLine("  Add(1,X,X)");
    EXPECT_TRUE(Marks("SR1").empty());
}

TEST_F(CompileFindingsTest, StepsGoAcrossSectionsAndWrapAround) {
    Doc.MainRoutineSection.SetLines({"  NOSUCH(A)", "  Exsr(SR1)"});
    Doc.CompileAllSections(true);
    std::vector<TCompileFinding> all = ProgramFindings(Doc);
    ASSERT_EQ(all.size(), 3u);
    TreeNode* main = Doc.FindNodeByText("Main Routine");
    TreeNode* sub = Doc.FindNodeByText("SR1");
    EXPECT_EQ(StepFinding(Doc, all, Doc.Tree.Root(), -1, 1), 0);
    EXPECT_EQ(StepFinding(Doc, all, main, 0, 1), 1);
    EXPECT_EQ(StepFinding(Doc, all, sub, 3, 1), 2);
    EXPECT_EQ(StepFinding(Doc, all, sub, 4, 1), 0);
    EXPECT_EQ(StepFinding(Doc, all, sub, 3, -1), 0);
    EXPECT_EQ(StepFinding(Doc, all, main, 0, -1), 2);
    // Standing on the finding gone to last, the step goes on from it.
    EXPECT_EQ(StepFinding(Doc, all, sub, 3, 1, 1), 2);
    EXPECT_EQ(StepFinding(Doc, {}, sub, 3, 1), -1);
}
