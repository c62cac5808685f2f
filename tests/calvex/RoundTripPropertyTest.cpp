// The round-trip property over thousands of random programs with a fixed seed: a program
// built into a member and imported again gives back every statement, description and moment;
// and that member, imported and built again, gives back the very same member.

#include "support/MemberWalk.h"
#include "support/RandomProgram.h"

#include "calvex/OpCodeTable.h"
#include "calvex/SpecKeywordTable.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace calvex::test;

namespace {

constexpr int kPrograms = 2000;
constexpr unsigned kSeed = 20240611;

// What the import of a built member must restore of a section.
void ExpectSameSection(const TEDITSection& built, const TEDITSection& imported, bool dated,
                       int program) {
    SCOPED_TRACE("program " + std::to_string(program) + ", section " + built.Properties.Name);
    EXPECT_EQ(imported.LineTexts(), built.LineTexts());
    if (!dated || built.LineTexts().empty())
        return;
    EXPECT_EQ(imported.Properties.Description, built.Properties.Description);
    EXPECT_EQ(imported.Properties.CreatedOn, built.Properties.CreatedOn);
    EXPECT_EQ(imported.Properties.LastUpdate, built.Properties.LastUpdate);
}

void ExpectSameFolder(const std::vector<std::unique_ptr<TEDITSection>>& built,
                      const std::vector<std::unique_ptr<TEDITSection>>& imported, bool dated,
                      int program) {
    ASSERT_EQ(imported.size(), built.size()) << "program " << program;
    for (size_t k = 0; k < built.size(); ++k) {
        EXPECT_EQ(imported[k]->Properties.Name, built[k]->Properties.Name);
        ExpectSameSection(*built[k], *imported[k], dated, program);
    }
}

class RoundTripPropertyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = orvale::RegionalSettings::Current();
        orvale::RegionalSettings::SetCurrent(orvale::RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
    }
    void TearDown() override { orvale::RegionalSettings::SetCurrent(Saved); }

    orvale::RegionalSettings Saved{"%d/%m/%Y", "%H:%M:%S"};
};

TEST_F(RoundTripPropertyTest, BuildThenImportGivesBackTheProgramAndImportThenBuildTheMember) {
    std::mt19937 random(kSeed);
    std::set<std::string> kinds;
    const std::string prefixes[] = {"&%", "#@", "Q"};
    for (int program = 0; program < kPrograms; ++program) {
        // Indentation widths and indicator prefixes a user may choose.
        const int tabSpaces = 1 + program % 4;
        const std::string& prefix = prefixes[program % 3];
        const TCompileOptions options = AllOptions(prefix);
        MemberSections built;
        GenerateProgram(random, built, tabSpaces, &kinds);
        BuildTotals totals = CompileAll(built, options);
        ASSERT_EQ(totals.Errors, 0) << "program " << program;
        ASSERT_EQ(totals.Warnings, 0) << "program " << program;
        StringList member = Assemble(built.BuildOrder());

        MemberSections imported;
        ImportMember(member, imported, prefix, tabSpaces);
        for (auto [b, i] : {std::pair{&built.Property, &imported.Property},
                            {&built.Description, &imported.Description},
                            {&built.History, &imported.History},
                            {&built.PreCompiler, &imported.PreCompiler}})
            ExpectSameSection(*b, *i, false, program);
        for (auto [b, i] : {std::pair{&built.Header, &imported.Header},
                            {&built.Logical, &imported.Logical},
                            {&built.Display, &imported.Display},
                            {&built.Printer, &imported.Printer},
                            {&built.Special, &imported.Special},
                            {&built.Extension, &imported.Extension},
                            {&built.LineCount, &imported.LineCount},
                            {&built.Input, &imported.Input},
                            {&built.MainRoutine, &imported.MainRoutine},
                            {&built.InitSubRoutine, &imported.InitSubRoutine}})
            ExpectSameSection(*b, *i, true, program);
        ExpectSameFolder(built.SubRoutines, imported.SubRoutines, true, program);
        ExpectSameFolder(built.Outputs, imported.Outputs, true, program);
        ExpectSameFolder(built.Arrays, imported.Arrays, false, program);
        for (size_t k = 0; k < built.Arrays.size() && k < imported.Arrays.size(); ++k)
            EXPECT_EQ(imported.Arrays[k]->Properties.Description,
                      built.Arrays[k]->Properties.Description);

        totals = CompileAll(imported, options);
        EXPECT_EQ(totals.Errors + totals.Warnings, 0) << "program " << program;
        EXPECT_EQ(Assemble(imported.BuildOrder()), member) << "program " << program;
        if (HasFailure())
            return; // one program's report is enough to work from
    }

    // The programs held every statement of both tables (the second name of the first output
    // record aside, which the import never writes).
    StringList table;
    calvex::LoadSpecKeywordTable(table);
    calvex::LoadOpCodeTable(table);
    for (const std::string& entry : table) {
        std::string name = entry.substr(0, entry.find('='));
        EXPECT_TRUE(name == "PRNBEGIN" || kinds.count(name)) << name << " was never generated";
    }
}

} // namespace
