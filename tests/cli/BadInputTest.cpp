// orvale-cli fed what a script may hand it by mistake: garbage, NUL bytes, a 10 MB line, an
// empty member, a program file cut at every block boundary, an EBCDIC member cut inside its
// last record. Each gets a message and, where it failed, a non-zero exit; no input file is
// changed.

#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/wait.h>

using orvale::test::Put;
using orvale::test::Slurp;
using orvale::test::TempDir;

namespace {

struct CliRun {
    int Status = -1;
    std::string Out, Err;
};

CliRun Cli(const TempDir& dir, const std::string& arguments) {
    std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
    std::string command = std::string(ORVALE_BIN_DIR) + "/orvale-cli " + arguments + " >'" + out +
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

const std::string kMember = "     C                     SETON                     LR\r\n"
                            "     C                     RETRN\r\n";

TEST(BadInput, GarbageNulBytesAndAHugeLineAreReportedAndTheMemberKept) {
    TempDir dir;
    std::mt19937 random(16);
    std::string garbage(20000, '\0');
    // Bytes of every value but zero, which ends a text and is tried on its own below.
    for (char& c : garbage)
        c = static_cast<char>(1 + random() % 255);
    Put(dir.File("G.RP3"), garbage);
    CliRun run = Cli(dir, "import " + Q(dir.File("G.RP3")));
    EXPECT_NE(run.Status, 0);
    EXPECT_NE(run.Err.find("WARNING: "), std::string::npos) << run.Err;
    EXPECT_EQ(Slurp(dir.File("G.RP3")), garbage);

    std::string nul = kMember + std::string("     C\0\0\0SETON\r\n", 16) + std::string(200, '\0');
    Put(dir.File("N.RP3"), nul);
    run = Cli(dir, "import " + Q(dir.File("N.RP3")));
    EXPECT_EQ(run.Status, 2) << run.Err;
    EXPECT_NE(run.Err.find("N.RP3 holds a zero byte in line 3"), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("N.RPG")));
    EXPECT_EQ(Slurp(dir.File("N.RP3")), nul);
    run = Cli(dir, "check " + Q(dir.File("N.RP3")));
    EXPECT_EQ(run.Status, 2) << run.Out << run.Err;

    std::string huge = "     C" + std::string(10 << 20, 'X') + "\r\n" + kMember;
    Put(dir.File("L.RP3"), huge);
    run = Cli(dir, "import " + Q(dir.File("L.RP3")));
    EXPECT_GE(run.Status, 0);
    EXPECT_LE(run.Status, 2);
    EXPECT_EQ(Slurp(dir.File("L.RP3")), huge);

    Put(dir.File("Z.RP3"), "");
    run = Cli(dir, "import " + Q(dir.File("Z.RP3")));
    EXPECT_GE(run.Status, 0);
    EXPECT_LE(run.Status, 2);
    EXPECT_EQ(Slurp(dir.File("Z.RP3")), "");
}

// Cut after any "[End Of Sec]" line, a program file is refused with a message and left as it
// is, or (cut only in its compiled area) built from its whole tree with a warning and a
// status that says so.
TEST(BadInput, AProgramFileCutAtEveryBlockBoundaryIsNeverWrittenOver) {
    TempDir dir;
    StringList member;
    for (int i = 0; i < 3; ++i)
        member.push_back("     C                     SETON                     LR");
    member.push_back("     C           SUB1      BEGSR");
    member.push_back("     C                     ENDSR");
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("P.RP3"), member));
    ASSERT_EQ(Cli(dir, "import " + Q(dir.File("P.RP3"))).Status, 0);
    ASSERT_EQ(Cli(dir, "build " + Q(dir.File("P.RPG")) + " --all").Status, 0);
    const std::string built = Slurp(dir.File("P.RP3"));
    StringList whole;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("P.RPG"), whole));
    int cuts = 0, refused = 0, rebuilt = 0;
    for (size_t end = 1; end < whole.size(); ++end) {
        if (whole[end - 1] != "[End Of Sec]")
            continue;
        StringList cut(whole.begin(), whole.begin() + static_cast<long>(end));
        ASSERT_TRUE(orvale::WriteTextFile(dir.File("C.RPG"), cut));
        std::string before = Slurp(dir.File("C.RPG"));
        std::filesystem::remove(dir.File("C.RP3"));
        CliRun run = Cli(dir, "build " + Q(dir.File("C.RPG")) + " --all");
        ++cuts;
        if (run.Status == 2) {
            EXPECT_FALSE(run.Err.empty()) << "cut after line " << end;
            ++refused;
            EXPECT_EQ(Slurp(dir.File("C.RPG")), before) << "cut after line " << end;
            EXPECT_FALSE(std::filesystem::exists(dir.File("C.RP3"))) << end;
        } else {
            // A cut in the area of the lines' original texts still builds every statement;
            // only the kept trailing blanks can be lost there.
            ++rebuilt;
            EXPECT_LE(run.Status, 1) << "cut after line " << end << ": " << run.Err;
            StringList got, want;
            orvale::SplitTextLines(Slurp(dir.File("C.RP3")), got);
            orvale::SplitTextLines(built, want);
            for (StringList* lines : {&got, &want})
                for (std::string& line : *lines)
                    line.erase(line.find_last_not_of(' ') + 1);
            EXPECT_EQ(got, want) << "cut after line " << end;
        }
    }
    EXPECT_GT(cuts, 10);
    EXPECT_GT(refused, 5);
}

// The record read short is kept, padded, and said; the member file is not touched.
TEST(BadInput, AnEbcdicMemberCutInsideItsLastRecordKeepsThatRecord) {
    TempDir dir;
    ASSERT_EQ(Cli(dir, "xlt --codepage IBM037 --dir " + Q(dir.Path())).Status, 0);
    Put(dir.File("T.RP3"), kMember);
    ASSERT_EQ(Cli(dir, "text-to-ebcdic " + Q(dir.File("T.RP3")) + " " + Q(dir.File("T.MBR")) +
                           " --dir " + Q(dir.Path()))
                  .Status,
              0);
    // One record and a part: as long as that, the member might as well be one longer record,
    // so its record length is given.
    std::string cut = Slurp(dir.File("T.MBR")).substr(0, 80 + 30);
    Put(dir.File("T.MBR"), cut);
    CliRun run = Cli(dir, "ebcdic-to-text " + Q(dir.File("T.MBR")) + " " + Q(dir.File("B.RP3")) +
                              " --dir " + Q(dir.Path()) + " --record-length 80");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("holds 30 of 80 bytes"), std::string::npos) << run.Err;
    StringList back;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("B.RP3"), back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1], std::string("     C                     RET").append(50, ' '));
    EXPECT_EQ(Slurp(dir.File("T.MBR")), cut);

    // Garbage as a member converts record by record; a line too long for the record length
    // given is cut with a warning, never silently. Without a length, records hold it whole.
    Put(dir.File("W.RP3"), std::string(120, 'A') + "\r\n");
    run = Cli(dir, "text-to-ebcdic " + Q(dir.File("W.RP3")) + " " + Q(dir.File("W.MBR")) +
                       " --dir " + Q(dir.Path()) + " --record-length 80");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("lost the text past it"), std::string::npos) << run.Err;
    run = Cli(dir, "text-to-ebcdic " + Q(dir.File("W.RP3")) + " " + Q(dir.File("W.MBR")) +
                       " --dir " + Q(dir.Path()));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Slurp(dir.File("W.MBR")).size(), 120u);
}

} // namespace
