// Every use of an indicator or field, with the role the statement gives it.

#include "rpgprogram/CrossReference.h"

#include "ImportFixture.h"
#include "support/ShownIn.h"

#include <filesystem>
#include <set>

using orvale::test::ShownIn;
using namespace orvale::test;

namespace {

using Uses = std::vector<LineUse>;

// The column of the first occurrence of Text in Line, for readable expectations.
int At(const std::string& line, const std::string& text, size_t from = 0) {
    return static_cast<int>(line.find(text, from));
}

} // namespace

TEST(CrossReferenceLine, CalculationsNameTheirIndicatorsByPosition) {
    const std::string flags = "{|L1| 01N02}  Add(A,B,C)";
    EXPECT_EQ(IndicatorUsesInLine(flags, "01", 'C'),
              (Uses{{At(flags, "01"), UseRole::Conditions}}));
    EXPECT_EQ(IndicatorUsesInLine(flags, "02", 'C'),
              (Uses{{At(flags, "02"), UseRole::Conditions}}));
    EXPECT_EQ(IndicatorUsesInLine(flags, "L1", 'C'), (Uses{{2, UseRole::ControlLevel}}));

    // COMP sets its three resulting indicators; SETON and SETOF set theirs on and off.
    const std::string comp = "    Comp(A,B,10,20,30)";
    EXPECT_EQ(IndicatorUsesInLine(comp, "10", 'C'), (Uses{{At(comp, "10"), UseRole::ResultHigh}}));
    EXPECT_EQ(IndicatorUsesInLine(comp, "20", 'C'), (Uses{{At(comp, "20"), UseRole::ResultLow}}));
    EXPECT_EQ(IndicatorUsesInLine(comp, "30", 'C'), (Uses{{At(comp, "30"), UseRole::ResultEqual}}));
    const std::string seton = "{10}Seton(LR,,11)";
    EXPECT_EQ(IndicatorUsesInLine(seton, "LR", 'C'), (Uses{{At(seton, "LR"), UseRole::SetOn}}));
    EXPECT_EQ(IndicatorUsesInLine(seton, "10", 'C'), (Uses{{1, UseRole::Conditions}}));
    EXPECT_EQ(IndicatorUsesInLine("Setof(11)", "11", 'C'), (Uses{{6, UseRole::SetOff}}));

    // *INxx as the result is set by the operation; in a factor it is read.
    EXPECT_EQ(IndicatorUsesInLine("  Move(*ON,*IN05)", "05", 'C'), (Uses{{11, UseRole::InResult}}));
    EXPECT_EQ(IndicatorUsesInLine("  Ifeq(*IN[05],*ON)", "05", 'C'),
              (Uses{{7, UseRole::InFactor}}));
    // A longer name is not the indicator, nor is 1 part of 10.
    EXPECT_TRUE(IndicatorUsesInLine("  Move(*ON,*IN051)", "05", 'C').empty());
    EXPECT_TRUE(IndicatorUsesInLine("    Comp(A,B,10)", "1", 'C').empty());
}

TEST(CrossReferenceLine, CommentsAndLiteralsHoldNoUses) {
    EXPECT_TRUE(IndicatorUsesInLine("  /* sets *IN05 and 05 */", "05", 'C').empty());
    EXPECT_TRUE(IndicatorUsesInLine("  Move(*ON,X)  /* not *IN05 */", "05", 'C').empty());
    EXPECT_TRUE(IndicatorUsesInLine("  Move('*IN05',X)", "05", 'C').empty());
    EXPECT_TRUE(FieldUsesInLine("  Move('TOTAL',X)  /* TOTAL */", "TOTAL", 'C').empty());
    EXPECT_EQ(CodeLength("Add(A,'/*',B) /* c */"), 14u);
}

TEST(CrossReferenceLine, RawCalculationLinesAreReadByTheirColumns) {
    std::string columns(74, ' ');
    columns.replace(5, 1, "C");
    columns.replace(9, 2, "01");
    columns.replace(27, 5, "SETON");
    columns.replace(53, 2, "10");
    const std::string raw = "        RPG(" + columns.substr(5) + ")";
    const int start = 12 - 5; // the raw text's column 6 stands at offset 12
    EXPECT_EQ(IndicatorUsesInLine(raw, "01", 'C'), (Uses{{start + 9, UseRole::Conditions}}));
    EXPECT_EQ(IndicatorUsesInLine(raw, "10", 'C'), (Uses{{start + 53, UseRole::SetOn}}));
    // The same line commented out in the member ("*" in column 7) uses nothing.
    std::string commented = raw;
    commented[12 + 1] = '*';
    EXPECT_TRUE(IndicatorUsesInLine(commented, "01", 'C').empty());
    EXPECT_TRUE(IndicatorUsesInLine(commented, "10", 'C').empty());
    EXPECT_TRUE(FieldUsesInLine("RPG(C*                   SETON   X)", "X", 'C').empty());
}

TEST(CrossReferenceLine, OtherSpecificationsNameTheirIndicatorsByParameter) {
    EXPECT_EQ(IndicatorUsesInLine("    Record(CUSREC,01)", "01", 'I'),
              (Uses{{18, UseRole::RecordIdentifying}}));
    const std::string field = "        Field(AMT,1,7,P,2,L1,,,101112)";
    EXPECT_EQ(IndicatorUsesInLine(field, "L1", 'I'),
              (Uses{{At(field, "L1"), UseRole::ControlLevel}}));
    EXPECT_EQ(IndicatorUsesInLine(field, "11", 'I'),
              (Uses{{At(field, "101112") + 2, UseRole::FieldIndicator}}));
    const std::string printer = "    FilePrn(QPRINT,F,,132,OF)";
    EXPECT_EQ(IndicatorUsesInLine(printer, "OF", 'F'),
              (Uses{{At(printer, "OF"), UseRole::Overflow}}));
    const std::string line = "      DETLine(,,1,,,N01,02)";
    EXPECT_EQ(IndicatorUsesInLine(line, "01", 'O'),
              (Uses{{At(line, "01"), UseRole::OutputCondition}}));
    EXPECT_EQ(IndicatorUsesInLine("        LField(AMT,60,1,,,,L1)", "L1", 'O'),
              (Uses{{27, UseRole::OutputCondition}}));
    // The number of a position is no indicator.
    EXPECT_TRUE(IndicatorUsesInLine("        Field(AMT,1,10)", "10", 'I').empty());
}

TEST(CrossReferenceLine, FieldsAreDefinedSetReadAndWritten) {
    EXPECT_EQ(FieldUsesInLine("  Add(A,B,TOTAL,,,,9,2)", "TOTAL", 'C'),
              (Uses{{10, UseRole::Defined}}));
    EXPECT_EQ(FieldUsesInLine("  Add(total,1,TOTAL)", "TOTAL", 'C'),
              (Uses{{6, UseRole::Read}, {14, UseRole::Set}}));
    EXPECT_EQ(FieldUsesInLine("        Field(TOTAL,1,9,P,2)", "TOTAL", 'I'),
              (Uses{{14, UseRole::Defined}}));
    EXPECT_EQ(FieldUsesInLine("        LField(TOTAL,60,1)", "TOTAL", 'O'),
              (Uses{{15, UseRole::Written}}));
    // An index in element notation is read, whatever slot the element stands in.
    EXPECT_EQ(FieldUsesInLine("  Move(X,ARR[I])", "I", 'C'), (Uses{{13, UseRole::Read}}));
    EXPECT_EQ(FieldUsesInLine("  Move(X,ARR[I])", "ARR", 'C'), (Uses{{9, UseRole::Set}}));
    EXPECT_TRUE(FieldUsesInLine("  Move(X,TOTALS)", "TOTAL", 'C').empty());
}

class CrossReferenceTest : public ImportFixture {};

TEST_F(CrossReferenceTest, ProgramUsesComeInTreeOrderFromStatementSectionsOnly) {
    Doc.NewProgram();
    Doc.DescriptionSection.AssignLines({"Indicator 05 ends the run"});
    Doc.MainRoutineSection.AssignLines({"  Move(*ON,*IN05)", "  /* *IN05 */", "{05}  Exsr(SR1)"});
    Doc.AddSubRoutine("SR1", "")->AssignLines({"  Begsr(SR1)", "  Setof(05)", "  Endsr()"});
    std::vector<std::string> found;
    for (const TXrefUse& use : IndicatorUses(Doc, "05"))
        found.push_back(use.Node->Text + " " + std::to_string(use.Line + 1) + ":" +
                        std::to_string(use.Column + 1) + " " + RoleText(use.Role));
    EXPECT_EQ(found, (std::vector<std::string>{"Main Routine 1:12 set as *IN result",
                                               "Main Routine 3:2 conditions the line",
                                               "SR1 2:9 set off"}));
    EXPECT_EQ(SectionFormType(Doc, Doc.FindNodeByText("SR1")), 'C');
    EXPECT_EQ(SectionFormType(Doc, Doc.FindNodeByText("Description")), 0);
}

TEST_F(CrossReferenceTest, RealMembersListEveryUseAndNoneInComments) {
    std::vector<std::string> members;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ORVALE_CORPUS_DIR, ec))
        if (entry.path().extension() == ".RP3")
            members.push_back(entry.path().string());
    if (members.empty())
        GTEST_SKIP() << "no members in " << ORVALE_CORPUS_DIR;
    size_t many = 0;
    std::set<UseRole> roles;
    for (const std::string& member : members) {
        TRPGProgram doc(Box);
        ASSERT_TRUE(doc.ImportFromFile(member, ShownIn(Box)));
        for (int k = 1; k <= 99; ++k) {
            std::string flag = (k < 10 ? "0" : "") + std::to_string(k);
            std::vector<TXrefUse> uses = IndicatorUses(doc, flag);
            many += uses.size() > 1 ? 1 : 0;
            for (const TXrefUse& use : uses) {
                const std::string& line = use.Node->Section()->GetLine(use.Line);
                roles.insert(use.Role);
                // Each use stands in the code part of its line and names the indicator there.
                ASSERT_LT(static_cast<size_t>(use.Column), CodeLength(line))
                    << member << ": " << line;
                std::string at = line.substr(static_cast<size_t>(use.Column));
                EXPECT_TRUE(at.starts_with(flag) || at.starts_with("*IN")) << line;
            }
        }
    }
    EXPECT_GT(many, 10u);
    for (UseRole role :
         {UseRole::Conditions, UseRole::SetOn, UseRole::SetOff, UseRole::ResultEqual})
        EXPECT_TRUE(roles.contains(role)) << RoleText(role);
}
