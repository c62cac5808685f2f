// import, build, check and xref run as a script runs them.

#include "rpgprogram/RPGProgram.h"
#include "rpgprogram/RoundTripCheck.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"

#include "calvex/support/SpecLine.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

using calvex::test::SpecLine;
using orvale::test::ShownIn;
using orvale::test::TempDir;

namespace {

struct CliRun {
    int Status = -1;
    std::string Out, Err;
};

// Runs the tool; Locale, when given, is the regional settings it runs under.
CliRun Cli(const TempDir& dir, const std::string& arguments, const std::string& locale = {}) {
    std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
    std::string command = (locale.empty() ? std::string() : "LC_ALL=" + locale + " ") +
                          std::string(ORVALE_BIN_DIR) + "/orvale-cli " + arguments + " >'" + out +
                          "' 2>'" + err + "'";
    int raw = std::system(command.c_str());
    CliRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    orvale::ReadFileBytes(out, run.Out);
    orvale::ReadFileBytes(err, run.Err);
    return run;
}

std::string Q(const std::string& path) {
    return "'" + path + "'";
}

StringList Lines(const std::string& path) {
    StringList lines;
    EXPECT_TRUE(orvale::ReadTextFile(path, lines)) << path;
    return lines;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Statements as the parser reads them: trailing blanks do not count, directives in any case.
StringList Comparable(StringList lines) {
    for (std::string& line : lines) {
        line.assign(TrimRightView(line));
        if (line.starts_with("#"))
            UpperCaseInPlace(line);
    }
    return lines;
}

std::vector<std::string> CorpusMembers() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ORVALE_CORPUS_DIR, ec))
        if (entry.path().extension() == ".RP3")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Sections of a program file, in tree order.
std::vector<const TEDITSection*> Sections(const TRPGProgram& doc) {
    std::vector<const TEDITSection*> sections;
    for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n))
        if (const TEDITSection* s = n->Section())
            sections.push_back(s);
    return sections;
}

} // namespace

// Every member comes back from import and build; the built member imported again gives the
// same sections, with their descriptions and moments.
TEST(ProgramCommands, CorpusComesBackThroughImportAndBuild) {
    std::vector<std::string> members = CorpusMembers();
    if (members.empty())
        GTEST_SKIP() << "no members in " << ORVALE_CORPUS_DIR;
    TempDir dir;
    orvale::ScriptedPrompter box;
    for (const std::string& member : members) {
        SCOPED_TRACE(member);
        std::string program = dir.File("P.RPG"), built = dir.File("B.RP3");
        CliRun run = Cli(dir, "import " + Q(member) + " -o " + Q(program));
        ASSERT_EQ(run.Status, 0) << run.Err;
        run = Cli(dir, "build " + Q(program) + " --all -o " + Q(built));
        ASSERT_EQ(run.Status, 0) << run.Out << run.Err;

        TRoundTripReport report = CompareMemberRoundTrip(Lines(member), Lines(built), "&%");
        EXPECT_TRUE(report.Passed()) << report.Differences.size() << " lines differ, first "
                                     << report.Differences.front().Source;

        run = Cli(dir, "import " + Q(built) + " -o " + Q(dir.File("Q.RPG")));
        ASSERT_EQ(run.Status, 0) << run.Err;
        TRPGProgram first(box), second(box);
        ASSERT_TRUE(first.LoadFromFile(program, ShownIn(box)) &&
                    second.LoadFromFile(dir.File("Q.RPG"), ShownIn(box)));
        std::vector<const TEDITSection*> a = Sections(first), b = Sections(second);
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {
            const TEDITSectionProperty &p = a[k]->Properties, &q = b[k]->Properties;
            SCOPED_TRACE(p.Name);
            EXPECT_EQ(q.Name, p.Name);
            // The history log gains the second import's entry.
            if (a[k] != &first.HistorySection) {
                EXPECT_EQ(Comparable(b[k]->LineTexts()), Comparable(a[k]->LineTexts()));
            }
            // Program-level sections and empty ones carry no banner. An array's separator
            // line holds its description, padded, and no moments.
            if (k < 4 || a[k]->LinesCount() == 0)
                continue;
            bool array = first.FindNodeByData(a[k])->Parent() == first.ArraysNode;
            EXPECT_EQ(TrimRightView(q.Description), TrimRightView(p.Description));
            if (array)
                continue;
            EXPECT_EQ(q.CreatedOn, p.CreatedOn);
            EXPECT_EQ(q.LastUpdate, p.LastUpdate);
        }
    }
    EXPECT_TRUE(box.Messages.empty());

    std::string all;
    for (const std::string& member : members)
        all += " " + Q(member);
    CliRun check = Cli(dir, "check" + all);
    EXPECT_EQ(check.Status, 0) << check.Out;
    EXPECT_TRUE(Contains(check.Out, std::to_string(members.size()) + " passed, 0 failed"))
        << check.Out;
}

TEST(ProgramCommands, FailuresNameTheFileAndTheReason) {
    TempDir dir;
    CliRun run = Cli(dir, "import " + Q(dir.File("NONE.RP3")));
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "NONE.RP3: No such file")) << run.Err;

    ASSERT_TRUE(orvale::WriteTextFile(dir.File("TEXT.TXT"), {SpecLine('H', {})}));
    run = Cli(dir, "import " + Q(dir.File("TEXT.TXT")));
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "TEXT.TXT: not an RPG III member")) << run.Err;

    StringList member{SpecLine('C', {{28, "SETON"}, {54, "  LR"}}), "     X  no specification",
                      SpecLine('C', {{28, "RETRN"}})};
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("LOSSY.RP3"), member));
    run = Cli(dir, "import " + Q(dir.File("LOSSY.RP3")) + " -o " + Q(dir.File("no/P.RPG")));
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "no/P.RPG: No such file")) << run.Err;

    run = Cli(dir, "build " + Q(dir.File("TEXT.TXT")));
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "TEXT.TXT: not a program file")) << run.Err;

    // A member with a line no walk takes is imported with it kept as written, and the status
    // says there is something to look at.
    run = Cli(dir, "import " + Q(dir.File("LOSSY.RP3")));
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Err, "kept as written")) << run.Err;
    ASSERT_TRUE(orvale::FileExists(dir.File("LOSSY.RPG")));

    // A program file damaged in its tree is not built: neither the member nor the program
    // is written, so the sections after the damage are still in the file.
    StringList program = Lines(dir.File("LOSSY.RPG"));
    auto header = std::find(program.begin(), program.end(), "[Header]");
    ASSERT_NE(header, program.end());
    *header = "[Headers]";
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("LOSSY.RPG"), program));
    run = Cli(dir, "build " + Q(dir.File("LOSSY.RPG")) + " --all");
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "LOSSY.RPG: ")) << run.Err;
    // Without the compiled area the damage shows only as warnings.
    run = Cli(dir, "build " + Q(dir.File("LOSSY.RPG")) + " --all --no-load-comp");
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "LOSSY.RPG: a damaged program file")) << run.Err;
    EXPECT_EQ(Lines(dir.File("LOSSY.RPG")), program);
    EXPECT_EQ(Lines(dir.File("LOSSY.RP3")), member);
    EXPECT_FALSE(orvale::FileExists(dir.File("LOSSY.~P3")));

    // Such a member comes back whole; a line changed in a built member fails the check with
    // the line concerned.
    run = Cli(dir, "check " + Q(dir.File("LOSSY.RP3")));
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_TRUE(run.Out.ends_with("1 passed, 0 failed (3 of 3 lines unchanged)\n")) << run.Out;
    run = Cli(dir, "check " + Q(dir.File("NONE.RP3")));
    EXPECT_EQ(run.Status, 2);

    EXPECT_EQ(Cli(dir, "").Status, 2);
    EXPECT_EQ(Cli(dir, "build").Status, 2);
    run = Cli(dir, "--version");
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(Contains(run.Out, "orvale-cli")) << run.Out;
}

// An RPG IV member is not imported at all; an empty one makes an empty program, with a
// warning, that builds back to an empty member.
TEST(ProgramCommands, ImportRefusesRpgIvAndWarnsOfAnEmptyMember) {
    TempDir dir;
    ASSERT_TRUE(orvale::WriteTextFile(
        dir.File("NEW.RP3"),
        {SpecLine('H', {{15, "1"}}), SpecLine('D', {{7, "COUNT"}, {24, "S"}, {39, "5P 0"}})}));
    CliRun run = Cli(dir, "import " + Q(dir.File("NEW.RP3")));
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "NEW.RP3 is an RPG IV member: line 2 holds a definition "
                                  "specification (D)"))
        << run.Err;
    EXPECT_FALSE(orvale::FileExists(dir.File("NEW.RPG")));
    EXPECT_EQ(Cli(dir, "check " + Q(dir.File("NEW.RP3"))).Status, 2);

    ASSERT_TRUE(orvale::WriteTextFile(dir.File("EMPTY.RP3"), StringList{}));
    run = Cli(dir, "import " + Q(dir.File("EMPTY.RP3")));
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Err, "EMPTY.RP3 holds no lines")) << run.Err;
    run = Cli(dir, "build " + Q(dir.File("EMPTY.RPG")) + " --all -o " + Q(dir.File("OUT.RP3")));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(std::filesystem::file_size(dir.File("OUT.RP3")), 0u);
}

TEST(ProgramCommands, BuildReportsFindingsAndFollowsTheOptions) {
    TempDir dir;
    {
        orvale::ScriptedPrompter box;
        TRPGProgram doc(box);
        doc.NewProgram();
        doc.MainRoutineSection.AssignLines({"NOSUCHOPCODE(A)"});
        ASSERT_TRUE(doc.SaveToFile(dir.File("BAD.RPG")));
    }
    // An error line never becomes a line of a member: none is written, and the tool says why.
    CliRun run = Cli(dir, "build " + Q(dir.File("BAD.RPG")));
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Out, "Main Routine     Warnings: 0    Errors: 1\n")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "Errors: 1\n")) << run.Out;
    EXPECT_TRUE(Contains(run.Err, "not written: Main Routine holds error lines")) << run.Err;
    EXPECT_FALSE(orvale::FileExists(dir.File("BAD.RP3")));

    {
        orvale::ScriptedPrompter box;
        TRPGProgram doc(box);
        doc.NewProgram();
        ASSERT_TRUE(doc.SaveToFile(dir.File("GOOD.RPG")));
    }
    StringList built;
    auto has = [&](const std::string& part) {
        return std::any_of(built.begin(), built.end(),
                           [&](const std::string& line) { return Contains(line, part); });
    };
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("Orvale.DEF"), {"[Compiler Options]", "PrgProp=0"}));
    run = Cli(dir,
              "build " + Q(dir.File("GOOD.RPG")) + " --all --options " + Q(dir.File("Orvale.DEF")));
    EXPECT_EQ(run.Status, 0) << run.Err;
    built = Lines(dir.File("GOOD.RP3"));
    EXPECT_FALSE(has("&%xPRO"));
    run = Cli(dir, "build " + Q(dir.File("GOOD.RPG")) + " --all --prg-prop --options " +
                       Q(dir.File("Orvale.DEF")));
    built = Lines(dir.File("GOOD.RP3"));
    EXPECT_TRUE(has("&%xPRO"));

    // A damaged compiled area is reported with its kind and the build goes on.
    StringList program = Lines(dir.File("BAD.RPG"));
    auto area = std::find(program.begin(), program.end(), kBeginOfCompiled);
    auto count = std::find(area, program.end(), "[Property]");
    ASSERT_NE(count, program.end());
    *(count + 1) = "[999]";
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("BAD.RPG"), program));
    run = Cli(dir, "build " + Q(dir.File("BAD.RPG")));
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Err, "warning: WARNING: The File may be corrupted!\n")) << run.Err;
}

// A program imported on a British machine is built on American, German and Japanese ones: none
// of them finds its file damaged, and each writes the same member but for the banners' dates.
TEST(ProgramCommands, AProgramImportedUnderOneLocaleBuildsUnderAnother) {
    TempDir dir;
    StringList member{SpecLine('H', {}), SpecLine('C', {{28, "SETON"}, {54, "  LR"}})};
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("M.RP3"), member));
    CliRun run = Cli(dir, "import " + Q(dir.File("M.RP3")), "en_GB.UTF-8");
    ASSERT_EQ(run.Status, 0) << run.Err;
    StringList imported = Lines(dir.File("M.RPG"));
    for (const char* locale : {"en_US.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8", "en_GB.UTF-8"}) {
        SCOPED_TRACE(locale);
        ASSERT_TRUE(orvale::WriteTextFile(dir.File("M.RPG"), imported));
        run = Cli(dir, "build " + Q(dir.File("M.RPG")) + " -o " + Q(dir.File("B.RP3")), locale);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        StringList built = Lines(dir.File("B.RP3"));
        std::erase_if(built, [](const std::string& line) {
            return line.ends_with("1CRT") || line.ends_with("1UPD");
        });
        EXPECT_EQ(std::count(built.begin(), built.end(), member[1]), 1);
    }
}

TEST(ProgramCommands, XrefListsFirstUses) {
    TempDir dir;
    StringList member{SpecLine('C', {{10, "05"}, {18, "A"}, {28, "ADD"}, {33, "B"}, {43, "C"}}),
                      SpecLine('C', {{28, "MOVE"}, {33, "*ON"}, {43, "*IN07"}}),
                      SpecLine('C', {{7, "L1"}, {10, "05"}, {28, "SETON"}, {54, "  LR"}})};
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("X.RP3"), member));
    ASSERT_EQ(Cli(dir, "import " + Q(dir.File("X.RP3"))).Status, 0);
    CliRun run = Cli(dir, "xref " + Q(dir.File("X.RPG")) + " --group Indicators");
    ASSERT_EQ(run.Status, 0) << run.Err;
    StringList rows = orvale::SplitTextLines(run.Out);
    ASSERT_EQ(rows.size(), 3u) << run.Out;
    EXPECT_TRUE(rows[0].starts_with("Group        Flag  Section")) << rows[0];
    EXPECT_TRUE(rows[1].starts_with("Indicators   05    Main Routine      1")) << rows[1];
    EXPECT_TRUE(rows[2].starts_with("Indicators   07    Main Routine      2")) << rows[2];
    EXPECT_EQ(Cli(dir, "xref " + Q(dir.File("X.RPG")) + " --group Nothing").Status, 2);
    run = Cli(dir, "xref " + Q(dir.File("X.RPG")));
    rows = orvale::SplitTextLines(run.Out);
    ASSERT_EQ(rows.size(), 4u) << run.Out;
    EXPECT_TRUE(rows[3].starts_with("Break Level  L1    Main Routine      3")) << rows[3];
}

// The code page given at import is the program's: recorded in its file in the one spelling,
// none written for ISO-8859-1; a name the system cannot convert is refused before anything is
// written. The member's bytes are the program's, whatever code page they are read in.
TEST(ProgramCommands, ImportTakesTheCodePageOfTheMembersText) {
    TempDir dir;
    std::string member = dir.File("BIG5MBR.RP3");
    // A comment of Chinese in Big5, one with a lead byte alone, and a DOS end-of-file byte.
    std::string text = "     H\n"
                       "     C* \xB8\xEA\xAE\xC6 \xA4\xAD\n"
                       "     C* \xA4\n"
                       "     C                     SETON                     LR\n\x1A";
    std::ofstream(member, std::ios::binary) << text;
    auto recorded = [&](const std::string& program) {
        StringList lines = Lines(program);
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.starts_with("Code Page=");
        });
    };

    CliRun run = Cli(dir, "import " + Q(member) + " --codepage big5 -o " + Q(dir.File("B.RPG")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    ASSERT_TRUE(doc.LoadFromFile(dir.File("B.RPG"), ShownIn(box)));
    EXPECT_EQ(doc.TextCodePage, "BIG5");
    run = Cli(dir, "build " + Q(dir.File("B.RPG")) + " --all -o " + Q(dir.File("B.RP3")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    TRoundTripReport report = CompareMemberRoundTrip(Lines(member), Lines(dir.File("B.RP3")), "&%");
    EXPECT_TRUE(report.Passed());

    run = Cli(dir, "import " + Q(member) + " --codepage ISO-8859-1 -o " + Q(dir.File("L.RPG")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(recorded(dir.File("L.RPG")), 0);
    EXPECT_EQ(recorded(dir.File("B.RPG")), 1);

    run = Cli(dir, "import " + Q(member) + " --codepage KLINGON -o " + Q(dir.File("K.RPG")));
    EXPECT_NE(run.Status, 0);
    EXPECT_TRUE(Contains(run.Err, "KLINGON")) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("K.RPG")));
}

// A dated member through the tool: read as dated or not as the options say, and built with the
// day --today gives the lines changed, or not written when new lines find no room.
TEST(ProgramCommands, DatedMembersFollowTheirOptions) {
    TempDir dir;
    StringList member{"000100900309" + SpecLine('H', {}),
                      "000200900309" + SpecLine('C', {{28, "SETON"}, {54, "  LR"}}),
                      "000201900309" + SpecLine('C', {{28, "RETRN"}})};
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("DATED.RP3"), member));
    std::string program = Q(dir.File("DATED.RPG"));

    // Read as written (the digits make every line a raw one), then as dated.
    CliRun run = Cli(dir, "import --undated " + Q(dir.File("DATED.RP3")));
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Err, "3 lines are not an RPG III specification")) << run.Err;
    run = Cli(dir, "import " + Q(dir.File("DATED.RP3")));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Cli(dir, "import --dated --undated " + Q(dir.File("DATED.RP3"))).Status, 2);

    run = Cli(dir, "build " + program + " --today 991340");
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "YYMMDD")) << run.Err;

    // A statement between 2.00 and 2.01 has no room: nothing is written unless renumbered.
    TRPGProgram doc(orvale::Prompter::Default());
    TFormGenRPG form;
    doc.FormGenRPG = &form;
    ASSERT_TRUE(doc.LoadFromFile(dir.File("DATED.RPG"), ShownIn(orvale::Prompter::Default())));
    StringList text = doc.MainRoutineSection.LineTexts();
    ASSERT_EQ(text.size(), 2u);
    text.insert(text.begin() + 1, "Seton(,,99)");
    doc.MainRoutineSection.SetLines(text);
    ASSERT_TRUE(doc.SaveToFile(dir.File("DATED.RPG")));
    std::string built = dir.File("OUT.RP3");
    run = Cli(dir, "build " + program + " --all --today 250612 -o " + Q(built) +
                       " --no-prg-prop --no-prg-hist --no-prg-desc --no-pre-comp --no-line-comm"
                       " --no-sec-desc --no-crt-date --no-upd-date");
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(Contains(run.Err, "Main Routine line 2 between 0002.00 and 0002.01")) << run.Err;
    EXPECT_FALSE(orvale::FileExists(built));
    run = Cli(dir, "build " + program + " --all --today 250612 --renumber -o " + Q(built) +
                       " --no-prg-prop --no-prg-hist --no-prg-desc --no-pre-comp --no-line-comm"
                       " --no-sec-desc --no-crt-date --no-upd-date");
    EXPECT_EQ(run.Status, 0) << run.Err;
    StringList out = Lines(built);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], "000100900309" + SpecLine('H', {}));
    EXPECT_EQ(out[1].substr(0, 12), "000200900309");
    EXPECT_EQ(out[2].substr(0, 12), "000300250612");
    EXPECT_EQ(out[3].substr(0, 12), "000400900309");
}
