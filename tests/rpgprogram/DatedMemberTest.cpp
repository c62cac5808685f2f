// Members kept with the host's sequence numbers and change dates: read as their undated form is,
// built back dated, line for line, by the host editor's rules for what changed.

#include "ImportFixture.h"

#include "calvex/MemberRoundTrip.h"
#include "document/HostRecord.h"

#include <filesystem>

using namespace orvale::test;
namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(ORVALE_CORPUS_DIR).parent_path();
const fs::path kDated = kCorpus / "corpus-dated";

StringList ReadLines(const fs::path& path) {
    StringList lines;
    EXPECT_TRUE(orvale::ReadTextFile(path.string(), lines)) << path;
    return lines;
}

// The lines of a dated member the build wrote, without the banner lines it adds.
StringList WithoutBanners(const StringList& built) {
    StringList kept;
    for (const std::string& line : built) {
        HostRecord r;
        std::string_view columns = line;
        if (ReadHostRecord(line, r))
            columns.remove_prefix(kRecordWidth);
        if (!calvex::IsAddedBanner(std::string(columns), "&%"))
            kept.push_back(line);
    }
    return kept;
}

HostRecord RecordOf(const std::string& line) {
    HostRecord r;
    EXPECT_TRUE(ReadHostRecord(line, r)) << line;
    return r;
}

// Every section of a program, by node, as its text lines.
std::vector<std::pair<std::string, StringList>> Texts(const TRPGProgram& doc) {
    std::vector<std::pair<std::string, StringList>> texts;
    doc.ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        if (s && s != &doc.HistorySection && s != &doc.PropertySection)
            texts.emplace_back(n->Text, s->LineTexts());
        return true;
    });
    return texts;
}

class DatedMember : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        if (!fs::exists(kDated))
            GTEST_SKIP() << "no dated members beside the project";
        Form.ChangeDate = "250612";
    }

    // Imports a dated member of the corpus.
    void ImportDated(const std::string& name) {
        Member = ReadLines(kDated / name);
        ASSERT_TRUE(Import(Member, name));
        ASSERT_TRUE(Doc.Dated);
    }
    // Builds every section and writes the member; its lines without banners, or nothing.
    StringList Build() {
        Doc.CompileAllSections(true);
        std::string target = Dir.File("BUILT.RP3");
        std::filesystem::remove(target);
        if (!Doc.WriteSource(target))
            return {};
        return WithoutBanners(ReadLines(target));
    }
    // The section and line of the statement whose member line holds Text.
    std::pair<TEDITSection*, int> StatementOf(const std::string& text) {
        std::pair<TEDITSection*, int> found{nullptr, -1};
        Doc.ForEachNode([&](TreeNode* n) {
            TEDITSection* s = n->Section();
            for (int k = 0; s && k < s->LinesCount(); ++k)
                if (const LineOrigin* o = s->OriginAt(k);
                    o && o->Text.find(text) != std::string::npos) {
                    found = {s, k};
                    return false;
                }
            return true;
        });
        EXPECT_TRUE(found.first) << text;
        return found;
    }
    // Indexes of the lines of Built that differ from the member's.
    std::vector<size_t> Differing(const StringList& built) const {
        std::vector<size_t> differ;
        for (size_t k = 0; k < std::max(built.size(), Member.size()); ++k)
            if (k >= built.size() || k >= Member.size() || built[k] != Member[k])
                differ.push_back(k);
        return differ;
    }

    StringList Member;
};

TEST_F(DatedMember, EveryMemberReadsAsItsUndatedFormAndComesBackWhole) {
    int members = 0;
    for (const auto& entry : fs::directory_iterator(kDated)) {
        std::string name = entry.path().filename().string();
        if (!name.ends_with(".RP3"))
            continue;
        ++members;
        orvale::ScriptedPrompter datedBox, plainBox;
        orvale::Diagnostics datedFound, plainFound;
        TRPGProgram dated(datedBox), plain(plainBox);
        dated.FormGenRPG = plain.FormGenRPG = &Form;
        fs::path copy = Dir.File(name);
        fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
        ASSERT_TRUE(dated.ImportFromFile(copy.string(), datedFound)) << name;
        fs::copy_file(kCorpus / "corpus-wide" / name, copy, fs::copy_options::overwrite_existing);
        ASSERT_TRUE(plain.ImportFromFile(copy.string(), plainFound)) << name;
        EXPECT_TRUE(dated.Dated) << name;
        EXPECT_FALSE(plain.Dated) << name;
        EXPECT_EQ(datedFound.All(), plainFound.All()) << name;
        EXPECT_EQ(Texts(dated), Texts(plain)) << name;

        // Each line carries the record of its member line.
        StringList member = ReadLines(entry.path());
        dated.ForEachNode([&](TreeNode* n) {
            const TEDITSection* s = n->Section();
            for (int k = 0; s && k < s->LinesCount(); ++k)
                if (const LineOrigin* o = s->OriginAt(k)) {
                    EXPECT_EQ(s->Lines()[static_cast<size_t>(k)].Record(),
                              RecordOf(member[static_cast<size_t>(o->Ordinal)]))
                        << name << " " << o->Text;
                }
            return true;
        });
        dated.CompileAllSections(true);
        std::string target = Dir.File("BUILT.RP3");
        ASSERT_TRUE(dated.WriteSource(target)) << name;
        EXPECT_EQ(WithoutBanners(ReadLines(target)), member) << name;
    }
    EXPECT_EQ(members, 104);
}

TEST_F(DatedMember, AnEditedStatementKeepsItsNumberAndTags) {
    ImportDated("AS888__SRCCMZ__CMZ014R.RP3");
    auto [s, k] = StatementOf("WRITEZ014D1");
    StringList text = s->LineTexts();
    std::string& line = text[static_cast<size_t>(k)];
    line.replace(line.find("Z014D1"), 6, "Z014D9");
    s->SetLines(text);
    StringList built = Build();
    ASSERT_EQ(Differing(built), std::vector<size_t>{77});
    EXPECT_EQ(built[77].substr(0, 12), "007800250612");
    std::string columns = Member[77].substr(12);
    columns.replace(columns.find("Z014D1"), 6, "Z014D9");
    EXPECT_EQ(built[77].substr(12), columns);
}

// TRVRDPR: 1.00 H, 5.00 F*, 6.00 F, then C lines 6.01 6.02 6.03 24.00 24.01 37.00 of 99/12/06.
TEST_F(DatedMember, LinesInsertedTakeNumbersBetweenTheirNeighbours) {
    ImportDated("AS888__SRCTRVR__TRVRDPR.RP3");
    TEDITSection& main = Doc.MainRoutineSection;
    StringList text = main.LineTexts();
    ASSERT_EQ(text.size(), 6u);
    // Two after 24.01, before 37.00: by 1.00. One after the last: 38.00.
    text.insert(text.begin() + 5, {"Add(,1,UGO)", "Add(,2,UGO)"});
    text.push_back("Seton(,,LR)");
    main.SetLines(text);
    StringList built = Build();
    ASSERT_EQ(built.size(), 12u);
    EXPECT_EQ(built[8].substr(0, 12), "002501250612");
    EXPECT_EQ(built[9].substr(0, 12), "002601250612");
    EXPECT_EQ(built[10], Member[8]);
    EXPECT_EQ(built[11].substr(0, 12), "003800250612");
    EXPECT_EQ(built[11].substr(12), "     C                     SETON                         LR");
    // Every member line stands as it was.
    StringList rest = built;
    rest.erase(rest.begin() + 11);
    rest.erase(rest.begin() + 8, rest.begin() + 10);
    EXPECT_EQ(rest, Member);
}

TEST_F(DatedMember, WithoutRoomTheBuildSaysWhereOrRenumbers) {
    ImportDated("AS888__SRCTRVR__TRVRDPR.RP3");
    TEDITSection& main = Doc.MainRoutineSection;
    StringList text = main.LineTexts();
    text.insert(text.begin() + 1, "Add(,1,UGO)"); // between 6.01 and 6.02
    main.SetLines(text);
    Box.Clear();
    EXPECT_TRUE(Build().empty());
    EXPECT_FALSE(fs::exists(Dir.File("BUILT.RP3")));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_NE(Box.Messages[0].Text.find("Main Routine line 2 between 0006.01 and 0006.02"),
              std::string::npos)
        << Box.Messages[0].Text;

    Form.RenumberDated = true;
    StringList built = Build();
    ASSERT_EQ(built.size(), 10u);
    // Every line of it, the banners included, from 1.00 by 1.00.
    StringList whole = ReadLines(Dir.File("BUILT.RP3"));
    for (size_t k = 0; k < whole.size(); ++k)
        EXPECT_EQ(RecordOf(whole[k]).Sequence, static_cast<std::int32_t>(100 * (k + 1)));
    // The dates stay; the new line takes the day.
    EXPECT_EQ(RecordOf(built[0]).ChangeDate, 890921);
    EXPECT_EQ(RecordOf(built[3]).ChangeDate, 991206);
    EXPECT_EQ(RecordOf(built[4]).ChangeDate, 250612);
    EXPECT_EQ(built[9].substr(12), Member[8].substr(12));
}

TEST_F(DatedMember, AMovedLineKeepsItsDateAndTakesANumberAtItsPlace) {
    ImportDated("AS888__SRCCMZ__CMZ014R.RP3");
    // 15.60, of 90/05/02, moved to the end of its section.
    auto [s, k] = StatementOf("3399*");
    ASSERT_EQ(k + 1 < s->LinesCount(), true);
    StringList text = s->LineTexts();
    std::string moved = text[static_cast<size_t>(k)];
    text.erase(text.begin() + k);
    text.push_back(moved);
    s->SetLines(text);
    StringList built = Build();
    ASSERT_EQ(built.size(), Member.size());
    auto at = std::find_if(built.begin(), built.end(), [](const std::string& line) {
        return line.find("3399*") != std::string::npos;
    });
    ASSERT_NE(at, built.end());
    HostRecord before = RecordOf(*(at - 1)), now = RecordOf(*at);
    EXPECT_EQ(now.ChangeDate, 900502);
    EXPECT_GT(now.Sequence, before.Sequence);
    if (at + 1 != built.end()) {
        EXPECT_LT(now.Sequence, RecordOf(*(at + 1)).Sequence);
    }
    EXPECT_EQ(at->substr(12), Member[155].substr(12));
    // Every other line stands as it was.
    StringList others = built;
    others.erase(others.begin() + (at - built.begin()));
    StringList member = Member;
    member.erase(member.begin() + 155);
    EXPECT_EQ(others, member);
}

TEST_F(DatedMember, TheProgramFileKeepsNumbersAndDatesAndWhatWasWritten) {
    ImportDated("AS888__SRCTRVR__TRVRDPR.RP3");
    TEDITSection& main = Doc.MainRoutineSection;
    StringList text = main.LineTexts();
    text.push_back("Seton(,,LR)");
    main.SetLines(text);
    StringList first = Build();
    ASSERT_EQ(first.size(), 10u);
    std::string program = Dir.File("TRVRDPR.RPG");
    ASSERT_TRUE(Doc.SaveToFile(program));
    EXPECT_NE(std::find(ReadLines(program).begin(), ReadLines(program).end(),
                        "[Begin Of Line Origins, Version 3]"),
              ReadLines(program).end());

    // Reopened a week later: the line added then keeps its number and the day it was written.
    TRPGProgram reopened(Box);
    reopened.FormGenRPG = &Form;
    ASSERT_TRUE(reopened.LoadFromFile(program, orvale::test::ShownIn(Box)));
    EXPECT_TRUE(reopened.Dated);
    Form.ChangeDate = "250619";
    reopened.CompileAllSections(true);
    std::string target = Dir.File("AGAIN.RP3");
    ASSERT_TRUE(reopened.WriteSource(target));
    EXPECT_EQ(WithoutBanners(ReadLines(target)), first);
}

TEST_F(DatedMember, WhatIsNotAsTheHostKeepsItIsSaidAndKept) {
    StringList member = ReadLines(kDated / "AS888__SRCTRVR__TRVRDPR.RP3");
    StringList bad = member;
    bad[2].replace(3, 2, "X ");           // 6.00's digits damaged
    bad[4] = "000500" + bad[4].substr(6); // 5.00 after 6.01: the numbers go back
    bad[5] = "000602" + std::string("000000") + bad[5].substr(12);
    bad[6] = "000603" + std::string("391231") + bad[6].substr(12); // in the future (2039)
    ASSERT_TRUE(Import(bad, "BAD.RP3"));
    EXPECT_TRUE(Doc.Dated);
    StringList said;
    for (const auto& m : Box.Messages)
        said.push_back(m.Text);
    auto says = [&](const std::string& text) {
        return std::any_of(said.begin(), said.end(),
                           [&](const std::string& s) { return s.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(says("Line 3 of the dated member does not begin with 12 digits")) << said.size();
    EXPECT_TRUE(says("do not ascend at line 5"));
    EXPECT_TRUE(says("The change date of line 7 is later than today"));
    EXPECT_FALSE(says("line 6"));
    // Every line comes back as it was read, the damaged one included.
    Member = bad;
    EXPECT_EQ(Build(), bad);

    // Dated lines among undated ones: the member is read as undated, and says why.
    StringList mixed = ReadLines(kCorpus / "corpus-wide" / "AS888__SRCTRVR__TRVRDPR.RP3");
    mixed[3] = member[3];
    Box.Clear();
    ASSERT_TRUE(Import(mixed, "MIXED.RP3"));
    EXPECT_FALSE(Doc.Dated);
    ASSERT_FALSE(Box.Messages.empty());
    EXPECT_EQ(Box.Messages[0].Text.rfind("WARNING: Line 4 begins with 12 digits", 0), 0u)
        << Box.Messages[0].Text;
}

// The refusal of an RPG IV member reads the columns after the digits, as the rest does.
TEST_F(DatedMember, AnRpgIvMemberIsRefusedAsItsUndatedFormIs) {
    const StringList plain = {
        "     H DFTACTGRP(*NO)", "     D COUNT           S              5P 0",
        "     C                   SETON                                        LR"};
    StringList dated;
    for (size_t k = 0; k < plain.size(); ++k)
        dated.push_back("000" + std::to_string(k + 1) + "00990301" + plain[k]);
    EXPECT_FALSE(Import(plain, "NEWSTYLE.RP3"));
    const auto refused = Box.Messages;
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].BoxKind, orvale::Prompter::Kind::Error);
    Box.Clear();
    EXPECT_FALSE(Import(dated, "NEWSTYLE.RP3"));
    EXPECT_EQ(Box.Messages, refused);
    EXPECT_FALSE(Doc.Opened);
}

} // namespace
