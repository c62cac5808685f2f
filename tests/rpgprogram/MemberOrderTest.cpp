// Lines that are no RPG III specification, and specifications out of the order of the forms,
// stay where they stand through an import and a build, whatever lines they stand among; an
// RPG IV member is refused; an empty member makes an empty program.

#include "ImportFixture.h"

#include "calvex/MemberRoundTrip.h"

#include <algorithm>
#include <filesystem>
#include <optional>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using namespace orvale::test;

namespace {

const std::string kSeton = SpecLine('C', {{28, "SETON"}, {54, "  LR"}});
const std::string kEndsr = SpecLine('C', {{28, "ENDSR"}});

// A member with a line of every kind of place around it.
StringList Member() {
    return {SpecLine('H', {{15, "1"}}),
            SpecLine('F', {{7, "CUSTMAST"}, {15, "IF  E"}, {31, "K"}, {40, "DISK"}}),
            SpecLine('F', {{7, "QSYSPRT O   F"}, {24, "132"}, {33, "OF"}, {40, "PRINTER"}}),
            SpecLine('E', {{27, "TABMTH  6  12  3"}}),
            SpecLine('E', {{27, "TABDAY  7   7  3"}}),
            SpecLine('I', {{7, "DS1"}, {19, "DS"}}),
            SpecLine('I', {{44, "1"}, {48, "5"}, {53, "FLD1"}}),
            SpecLine('I', {{44, "6"}, {48, "9"}, {53, "FLD2"}}),
            SpecLine('C', {{28, "EXSR"}, {33, "SR1"}}),
            kSeton,
            SpecLine('C', {{18, "SR1"}, {28, "BEGSR"}}),
            SpecLine('C', {{28, "MOVE"}, {33, "'A'"}, {43, "FLD1"}}),
            SpecLine('C', {{28, "MOVE"}, {33, "'B'"}, {43, "FLD2"}}),
            kEndsr,
            SpecLine('C', {{18, "SR2"}, {28, "BEGSR"}}),
            SpecLine('C', {{28, "MOVE"}, {33, "'C'"}, {43, "FLD1"}}),
            kEndsr,
            SpecLine('O', {{7, "QSYSPRT H  1 03"}}),
            SpecLine('O', {{42, "10"}, {45, "'FIRST'"}}),
            SpecLine('O', {{42, "20"}, {45, "'MORE'"}}),
            SpecLine('O', {{7, "QSYSPRT E"}, {32, "TAIL"}}),
            SpecLine('O', {{42, "10"}, {45, "'SECOND'"}}),
            "**",
            "JANFEBMARAPRMAYJUN",
            "JULAUGSEPOCTNOVDEC",
            "**",
            "MONTUEWEDTHUFRISATSUN"};
}

// A place in Member(): the line put there comes after line After (0-based), with a line of
// a form that comes before those around it.
struct Place {
    const char* Name;
    int After;
    std::string OutOfOrder;
};

std::vector<Place> Places() {
    const std::string header = SpecLine('H', {{15, "2"}});
    const std::string file = SpecLine('F', {{7, "OTHER"}, {15, "IF  E"}, {40, "DISK"}});
    const std::string table = SpecLine('E', {{27, "ARR     1   5  3"}});
    const std::string field = SpecLine('I', {{44, "1"}, {48, "5"}, {53, "FLD3"}});
    return {
        {"among the header lines", 0, ""},         {"between the files", 1, header},
        {"among the extension lines", 3, file},    {"in an input record", 6, table},
        {"in the main routine", 8, field},         {"in a subroutine", 11, file},
        {"after a subroutine's ENDSR", 13, field}, {"in an output group", 18, kSeton},
        {"between two output groups", 19, field},  {"before the compile-time data", 21, kSeton}};
}

StringList With(StringList member, int after, const std::string& line) {
    member.insert(member.begin() + after + 1, line);
    return member;
}

class MemberOrder : public ImportFixture {
protected:
    // Imports Member into a fresh program, builds it into a file and gives back the file's lines
    // without the banner lines the build adds, and the messages shown.
    StringList RoundTrip(const StringList& member) {
        Box.Clear();
        Program.emplace(Box);
        Program->FormGenRPG = &Form;
        EXPECT_TRUE(Program->ImportFromFile(Write("MEMBER.RP3", member), ShownIn(Box)));
        Program->CompileAllSections(true);
        std::string built = Dir.File("BUILT.RP3");
        EXPECT_TRUE(Program->WriteSource(built));
        StringList lines;
        EXPECT_TRUE(orvale::ReadTextFile(built, lines));
        StringList kept;
        for (const std::string& line : lines)
            if (!calvex::IsAddedBanner(line, "&%"))
                kept.push_back(line);
        return kept;
    }
    std::vector<std::string> Warnings() const {
        std::vector<std::string> texts;
        for (const ScriptedPrompter::Shown& shown : Box.Messages) {
            EXPECT_EQ(shown.BoxKind, Prompter::Kind::Warning) << shown.Text;
            texts.push_back(shown.Text);
        }
        return texts;
    }
    // The section that holds the statement of member line Ordinal, and that statement.
    std::pair<const TEDITSection*, std::string> StatementOf(int ordinal) const {
        for (TreeNode* n = Program->Tree.First(); n; n = TProgramTree::Next(n))
            if (const TEDITSection* s = n->Section())
                for (int k = 0; k < s->LinesCount(); ++k)
                    if (const LineOrigin* origin = s->OriginAt(k);
                        origin && origin->Ordinal == ordinal)
                        return {s, s->GetLine(k)};
        return {nullptr, ""};
    }
    // Line After + 1 is kept as written, in the section of one of the lines around it.
    void ExpectKeptAmongItsNeighbours(int after, const std::string& line) {
        auto [section, statement] = StatementOf(after + 1);
        ASSERT_NE(section, nullptr);
        EXPECT_EQ(statement, "RPG(" + line.substr(5) + ")");
        EXPECT_TRUE(section == StatementOf(after).first || section == StatementOf(after + 2).first)
            << section->Properties.Name;
    }
    std::optional<TRPGProgram> Program;
};

} // namespace

TEST_F(MemberOrder, ALineThatIsNoSpecificationStaysAmongTheLinesAroundIt) {
    const std::string text = "     X  not an RPG III line";
    // A comment whose columns moved two places left when a double-byte run before it lost its
    // shift characters: columns 6 and 7 hold a double-byte character.
    const std::string moved = "   \xa4\xa4\xa4\xe5"
                              "C* comment moved";
    for (const Place& place : Places())
        for (const std::string& line : {text, moved}) {
            SCOPED_TRACE(std::string(place.Name) + ": " + line);
            StringList member = With(Member(), place.After, line);
            EXPECT_EQ(RoundTrip(member), member);
            EXPECT_EQ(Warnings(), std::vector<std::string>{
                                      "WARNING: 1 line is not an RPG III specification and is "
                                      "kept as written (the first is line " +
                                      std::to_string(place.After + 2) + ")!"});
            // The program has the sections of the member without it, no more.
            EXPECT_EQ(Children(Program->SubRoutinesNode), (std::vector<std::string>{"SR1", "SR2"}));
            EXPECT_EQ(Children(Program->OutputNode),
                      (std::vector<std::string>{"QSYSPRT", "QSYSPRT"}));
            EXPECT_EQ(Children(Program->ArraysNode),
                      (std::vector<std::string>{"TABMTH", "TABDAY"}));
            ExpectKeptAmongItsNeighbours(place.After, line);
        }
}

TEST_F(MemberOrder, ASpecificationOutOfTheFormOrderStaysWhereItStood) {
    for (const Place& place : Places()) {
        if (place.OutOfOrder.empty())
            continue;
        SCOPED_TRACE(place.Name);
        StringList member = With(Member(), place.After, place.OutOfOrder);
        EXPECT_EQ(RoundTrip(member), member);
        char form = place.OutOfOrder[5];
        char follows = member[static_cast<size_t>(place.After)][5];
        EXPECT_EQ(Warnings(),
                  std::vector<std::string>{
                      "WARNING: A specification line is out of the order of the forms and is kept "
                      "as written where it stands (line " +
                      std::to_string(place.After + 2) + ", form " + std::string(1, form) +
                      " after form " + std::string(1, follows) + ")!"});
        // Kept as written, in the section of the lines around it, not in one of its form.
        ExpectKeptAmongItsNeighbours(place.After, place.OutOfOrder);
        EXPECT_EQ(Children(Program->SubRoutinesNode), (std::vector<std::string>{"SR1", "SR2"}));
        EXPECT_EQ(Children(Program->ArraysNode), (std::vector<std::string>{"TABMTH", "TABDAY"}));
    }
}

// Several lines of both kinds: one warning for each kind, with the count and the first line.
TEST_F(MemberOrder, EachKindIsReportedOnceWithItsFirstLine) {
    StringList member = Member();
    const std::string file = SpecLine('F', {{7, "LATE"}, {15, "IF  E"}, {40, "DISK"}});
    member.insert(member.begin() + 17, file);           // after the last ENDSR
    member.insert(member.begin() + 12, "     X  text"); // in SR1
    member.insert(member.begin() + 7, file);            // in the input record
    member.insert(member.begin() + 2, "    \xa4\xa4"
                                      "text"); // between the files
    ASSERT_EQ(RoundTrip(member), member);
    EXPECT_EQ(Warnings(),
              (std::vector<std::string>{
                  "WARNING: 2 lines are not an RPG III specification and are kept as written (the "
                  "first is line 3)!",
                  "WARNING: 2 specification lines are out of the order of the forms and are kept "
                  "as written where they stand (the first is line 9, form F after form I)!"}));
}

TEST_F(MemberOrder, AnRpgIvMemberIsRefusedNamingItsFirstLine) {
    StringList member{SpecLine('H', {{7, "DFTACTGRP(*NO)"}}),
                      SpecLine('D', {{7, "COUNT"}, {24, "S"}, {39, "5P 0"}}), kSeton};
    EXPECT_FALSE(Import(member, "NEWSTYLE.RP3"));
    EXPECT_EQ(Box.Messages,
              (std::vector<ScriptedPrompter::Shown>{
                  {Prompter::Kind::Error,
                   "ERROR: NEWSTYLE.RP3 is an RPG IV member: line 1 holds a control specification "
                   "with keywords, which RPG III does not have. Only RPG III members can be "
                   "imported!",
                   Prompter::Buttons::Ok,
                   {}}}));
    // Nothing is opened: the window has no program to show.
    EXPECT_FALSE(Doc.Opened);
    EXPECT_EQ(Doc.Tree.Root(), nullptr);
    EXPECT_EQ(Doc.MainRoutineSection.LinesCount(), 0);

    // The first line that shows it is named, after any number of RPG III-like lines.
    StringList later = Member();
    later.insert(later.begin() + 9, "      /FREE");
    TRPGProgram other(Box);
    Box.Clear();
    EXPECT_FALSE(other.ImportFromFile(Write("LATER.RP3", later), ShownIn(Box)));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_NE(Box.Messages[0].Text.find("line 10 holds free-form code (/FREE)"), std::string::npos)
        << Box.Messages[0].Text;
}

TEST_F(MemberOrder, AnEmptyMemberMakesAnEmptyProgramThatBuildsToAnEmptyMember) {
    ASSERT_TRUE(Import({}, "EMPTY.RP3"));
    EXPECT_EQ(Box.Messages,
              (std::vector<ScriptedPrompter::Shown>{
                  {Prompter::Kind::Warning,
                   "WARNING: EMPTY.RP3 holds no lines: the program made of it is empty!",
                   Prompter::Buttons::Ok,
                   {}}}));
    EXPECT_TRUE(Doc.Opened);
    Doc.CompileAllSections(true);
    std::string built = Dir.File("EMPTY.OUT.RP3");
    ASSERT_TRUE(Doc.WriteSource(built));
    EXPECT_EQ(std::filesystem::file_size(built), 0u);
    // A line of code is enough for the program-level blocks to be written with it.
    Doc.MainRoutineSection.SetLines({"Seton(,LR)"});
    Doc.CompileAllSections(false);
    ASSERT_TRUE(Doc.WriteSource(built));
    StringList lines;
    ASSERT_TRUE(orvale::ReadTextFile(built, lines));
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(lines.back().rfind(kSeton, 0), 0u) << lines.back();
}
