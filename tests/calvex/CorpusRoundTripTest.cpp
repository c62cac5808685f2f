// Real members written outside the project, walked through the Convert functions in the
// import's order, compiled back with every option on and compared line by line; then the
// compiled member imported again, which must give back the same sections.

#include "support/MemberWalk.h"
#include "support/RoundTripCheck.h"

#include "calvex/MemberLines.h"
#include "document/ParseString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>

using namespace calvex;
using namespace calvex::test;

namespace {

std::vector<std::string> CorpusMembers() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ORVALE_CORPUS_DIR, ec))
        if (entry.path().extension() == ".RP3")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Describe(const std::vector<LineDifference>& differences, size_t limit = 5) {
    std::string text;
    for (size_t k = 0; k < differences.size() && k < limit; ++k) {
        const LineDifference& d = differences[k];
        text += "\n  line " + std::to_string(d.SourceIndex + 1) + "\n    source:   [" + d.Source +
                "]\n    compiled: [" + d.Compiled + "]";
    }
    return text;
}

// The source lines a section took on import, without the banner lines of an earlier build.
StringList TakenLines(const TEDITSection& section) {
    return section.CompiledTexts();
}

// Statements compared without their trailing blanks, which the parser drops anyway, and
// directives in upper case, as the compile writes them.
StringList Comparable(StringList lines) {
    for (std::string& line : lines) {
        line.assign(TrimRightView(line));
        if (line.starts_with("#"))
            UpperCaseInPlace(line);
    }
    return lines;
}

// Raw RPG(...) statements written for specification lines, counted by form type.
void CountRawFallbacks(MemberSections& s, std::map<char, int>& raw, std::map<char, int>& lines) {
    for (TEDITSection* section : s.BuildOrder()) {
        char type = s.FormTypeOf(section);
        if (type == 'S' || type == '\0')
            continue;
        const StringList texts = section->LineTexts();
        for (const std::string& text : texts) {
            std::string_view statement = TrimView(text);
            char form = type;
            if (statement.starts_with("/*") || statement.starts_with("#"))
                continue;
            ++lines[form];
            if (statement.starts_with("RPG("))
                ++raw[form];
        }
    }
}

class CorpusRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        Members = CorpusMembers();
        // A folder that is not there would leave nothing tested: that is a failure, not a skip.
        ASSERT_FALSE(Members.empty()) << "no members in " << ORVALE_CORPUS_DIR;
    }
    std::vector<std::string> Members;
};

} // namespace

TEST_F(CorpusRoundTrip, EverySectionCompilesBackToTheLinesItTook) {
    for (const std::string& path : Members) {
        SCOPED_TRACE(path);
        StringList member = ReadMember(path);
        ASSERT_FALSE(member.empty());
        MemberSections s;
        ImportMember(member, s);
        std::vector<std::pair<TEDITSection*, StringList>> taken;
        for (TEDITSection* section : s.BuildOrder())
            if (s.FormTypeOf(section) != 'S')
                taken.emplace_back(section, TakenLines(*section));
        BuildTotals totals = CompileAll(s, AllOptions());
        EXPECT_EQ(totals.Errors, 0);
        EXPECT_EQ(totals.Warnings, 0);
        for (auto& [section, lines] : taken) {
            auto differences = CompareRoundTrip(lines, section->CompiledTexts());
            EXPECT_TRUE(differences.empty())
                << section->Properties.Name << ": " << differences.size() << " lines differ"
                << Describe(differences);
        }
    }
}

TEST_F(CorpusRoundTrip, TheBuiltMemberGivesBackEveryLineInItsPlace) {
    std::map<char, int> raw;
    std::map<char, int> lines;
    for (const std::string& path : Members) {
        SCOPED_TRACE(path);
        StringList member = ReadMember(path);
        MemberSections s;
        ImportMember(member, s);
        CountRawFallbacks(s, raw, lines);
        CompileAll(s, AllOptions());

        // Every line comes back as it was, in its place: the initialisation subroutine and the
        // files too, whatever the layout of the program's sections.
        auto differences = CompareRoundTrip(member, AssembleByPlace(s.BuildOrder()));
        EXPECT_TRUE(differences.empty())
            << differences.size() << " lines differ" << Describe(differences);
    }
    std::cout << "[ corpus   ] raw RPG() fallbacks by form type:";
    for (auto& [form, count] : lines)
        std::cout << ' ' << form << ' ' << raw[form] << '/' << count;
    std::cout << '\n';
}

TEST_F(CorpusRoundTrip, ReimportingTheBuiltMemberGivesBackTheSections) {
    for (const std::string& path : Members) {
        SCOPED_TRACE(path);
        StringList member = ReadMember(path);
        MemberSections first;
        ImportMember(member, first);
        // Descriptions and moments of their own, so that the banners have something to carry.
        int n = 0;
        for (TEDITSection* section : first.BuildOrder()) {
            ++n;
            section->Properties.Description = "Section " + std::to_string(n) + " of the member";
            section->Properties.CreatedOn = {2001, 2, 3, 4, 5, n % 60};
            section->Properties.LastUpdate = {2011, 12, 13, 14, n % 60, 16};
        }
        CompileAll(first, AllOptions());
        StringList built = Assemble(first.BuildOrder());

        MemberSections second;
        ImportMember(built, second);
        std::vector<TEDITSection*> a = first.BuildOrder();
        std::vector<TEDITSection*> b = second.BuildOrder();
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {
            SCOPED_TRACE(a[k]->Properties.Name);
            EXPECT_EQ(b[k]->Properties.Name, a[k]->Properties.Name);
            EXPECT_EQ(Comparable(b[k]->LineTexts()), Comparable(a[k]->LineTexts()));
            // Sections without lines get no banner; program-level sections have none.
            char type = first.FormTypeOf(a[k]);
            if (a[k]->LinesCount() == 0 || type == 'S')
                continue;
            EXPECT_EQ(b[k]->Properties.Description, a[k]->Properties.Description);
            if (type == '\0')
                continue;
            EXPECT_EQ(b[k]->Properties.CreatedOn, a[k]->Properties.CreatedOn);
            EXPECT_EQ(b[k]->Properties.LastUpdate, a[k]->Properties.LastUpdate);
        }
    }
}
