#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

// The member commands of the command-line tool, run as a script would run them.

using orvale::test::Slurp;
using orvale::test::TempDir;

namespace {

struct CliRun {
    int Status = -1;
    std::string Errors;
};

CliRun Cli(const TempDir& dir, const std::string& arguments) {
    std::string errors = dir.File("stderr.txt");
    std::string command =
        std::string(ORVALE_BIN_DIR) + "/orvale-cli " + arguments + " 2>'" + errors + "' >/dev/null";
    int raw = std::system(command.c_str());
    CliRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    orvale::ReadFileBytes(errors, run.Errors);
    return run;
}

std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

} // namespace

TEST(MemberCommands, CodePageTablesAndRoundTrip) {
    TempDir dir;
    CliRun run = Cli(dir, "xlt --codepage IBM280 --dir " + Quote(dir.Path()));
    ASSERT_EQ(run.Status, 0) << run.Errors;
    std::string line = "     C           PREZZO    IFGT 100     \xA3\xE0";
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.RP3"), line + "\n\n"));

    run = Cli(dir, "text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " +
                       Quote(dir.File("OUT.MBR")) + " --dir " + Quote(dir.Path()));
    ASSERT_EQ(run.Status, 0) << run.Errors;
    std::string member = Slurp(dir.File("OUT.MBR"));
    ASSERT_EQ(member.size(), 160u);
    EXPECT_EQ(member.substr(line.size() - 2, 3), "\x7B\xC0\x40");

    run = Cli(dir, "ebcdic-to-text " + Quote(dir.File("OUT.MBR")) + " " +
                       Quote(dir.File("BACK.RP3")) + " --dir " + Quote(dir.Path()) +
                       " --record-length 40");
    ASSERT_EQ(run.Status, 0) << run.Errors;
    StringList back;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("BACK.RP3"), back));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0] + back[1], line + std::string(80 - line.size(), ' '));
    EXPECT_EQ(back[2], std::string(40, ' '));
}

// Without --record-length a member goes to the host form with records as long as its longest
// line, and comes back from it with the length its records tell; a length given that its
// records contradict is warned about.
TEST(MemberCommands, DefaultLengthsAgreeBothWays) {
    TempDir dir;
    ASSERT_EQ(Cli(dir, "xlt --codepage IBM037 --dir " + Quote(dir.Path())).Status, 0);
    const StringList lines = {
        "     H", "     C           *ENTRY    PLIST",
        "     C                     PARM           CODE    5",
        "     C                     SETON                     LR         CHANGED 2024-03-01 BY ME",
        "      * end"};
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("IN.RP3"), lines));
    const std::string tables = " --dir " + Quote(dir.Path());
    CliRun run = Cli(dir, "text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " +
                              Quote(dir.File("OUT.MBR")) + tables);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    const size_t length = lines[3].size();
    EXPECT_NE(run.Errors.find("records of " + std::to_string(length) + " bytes"), std::string::npos)
        << run.Errors;
    EXPECT_EQ(Slurp(dir.File("OUT.MBR")).size(), lines.size() * length);

    run = Cli(dir, "ebcdic-to-text " + Quote(dir.File("OUT.MBR")) + " " +
                       Quote(dir.File("BACK.RP3")) + tables);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    StringList back;
    ASSERT_TRUE(orvale::ReadTextFile(dir.File("BACK.RP3"), back));
    ASSERT_EQ(back.size(), lines.size());
    for (size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(back[k].substr(0, back[k].find_last_not_of(' ') + 1), lines[k]);

    // The host's usual 80 given for it: written, with a warning that names the right length.
    run = Cli(dir, "ebcdic-to-text " + Quote(dir.File("OUT.MBR")) + " " +
                       Quote(dir.File("BACK.RP3")) + tables + " --record-length 80");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Errors.find("in records of " + std::to_string(length) + " bytes"),
              std::string::npos)
        << run.Errors;
}

TEST(MemberCommands, FailuresExitTwoWithOneLineNamingTheFile) {
    TempDir dir;
    ASSERT_EQ(Cli(dir, "xlt --codepage IBM037 --dir " + Quote(dir.Path())).Status, 0);
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.RP3"), "A\r\n"));
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.MBR"), std::string(80, '\xC1')));
    const std::string tables = " --dir " + Quote(dir.Path());

    struct Case {
        std::string Arguments;
        std::string Named;
    };
    const Case cases[] = {
        {"ebcdic-to-text " + Quote(dir.File("NONE.MBR")) + " " + Quote(dir.File("X.RP3")) + tables,
         "NONE.MBR"},
        {"ebcdic-to-text " + Quote(dir.File("IN.MBR")) + " " + Quote(dir.File("X.RP3")) + tables +
             " --record-length 256",
         "IN.MBR"},
        {"text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " + Quote(dir.File("no/X.MBR")) + tables,
         "no/X.MBR"},
        // Without its table the member would turn into blanks.
        {"ebcdic-to-text " + Quote(dir.File("IN.MBR")) + " " + Quote(dir.File("X.RP3")) +
             " --dir " + Quote(dir.File("empty")),
         "AStoPC.xlt"},
        {"xlt --codepage IBM850 --dir " + Quote(dir.Path()), "IBM850"},
        {"xlt --codepage NOSUCHPAGE --dir " + Quote(dir.Path()), "NOSUCHPAGE"},
    };
    for (const Case& c : cases) {
        CliRun run = Cli(dir, c.Arguments);
        EXPECT_EQ(run.Status, 2) << c.Arguments;
        EXPECT_NE(run.Errors.find(c.Named), std::string::npos) << run.Errors;
        EXPECT_EQ(run.Errors.find('\n'), run.Errors.size() - 1) << run.Errors;
    }
    EXPECT_FALSE(orvale::FileExists(dir.File("X.RP3")));
    // The failed code pages left the good tables alone.
    ASSERT_EQ(Cli(dir, "ebcdic-to-text " + Quote(dir.File("IN.MBR")) + " " +
                           Quote(dir.File("X.RP3")) + tables)
                  .Status,
              0);
    EXPECT_EQ(Slurp(dir.File("X.RP3")), std::string(80, 'A') + "\r\n");
}

TEST(MemberCommands, BuildPlacesTheDefaultTablesInTheProgramDirectory) {
    std::string hostToPc = std::string(ORVALE_BIN_DIR) + "/AStoPC.xlt";
    if (!orvale::FileExists(hostToPc))
        GTEST_SKIP() << "data files not built";
    TempDir dir;
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.RP3"), "HELLO\r\n"));
    CliRun run =
        Cli(dir, "text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " + Quote(dir.File("OUT.MBR")));
    ASSERT_EQ(run.Status, 0) << run.Errors;
    EXPECT_EQ(Slurp(dir.File("OUT.MBR")).substr(0, 6), "\xC8\xC5\xD3\xD3\xD6\x40");
}

// Without translation files: the code pages named, double-byte text, numbers and dates.
TEST(MemberCommands, CodePagesAndDatedRecordsRoundTripWithoutTables) {
    TempDir dir;
    // Big5 for "customer" between blanks, after the 12 digits of number and date.
    const std::string line = "000100991231     C* \xAB\xC8\xA4\xE1 X";
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.RP3"), line + "\r\n"));
    const std::string both = " --codepage 937 --pc-codepage BIG5 --dated";
    CliRun run = Cli(dir, "text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " +
                              Quote(dir.File("OUT.MBR")) + both);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    const std::string member = Slurp(dir.File("OUT.MBR"));
    ASSERT_EQ(member.size(), 92u);
    EXPECT_EQ(member.substr(10, 18), "\xF3\xF1\x40\x40\x40\x40\x40\xC3\x5C\x0E\x52\x8B\x4C\xC1"
                                     "\x0F\xE7\x40\x40");
    run = Cli(dir, "ebcdic-to-text " + Quote(dir.File("OUT.MBR")) + " " +
                       Quote(dir.File("BACK.RP3")) + both);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    EXPECT_EQ(Slurp(dir.File("BACK.RP3")), line + std::string(92 - line.size(), ' ') + "\r\n");

    // Warnings, one line each, and exit status 1: a run without blanks around it, a line
    // without its digits.
    ASSERT_TRUE(
        orvale::WriteFileSafely(dir.File("IN.RP3"), line + "\r\n000200991231X\xAB\xC8\r\nX\r\n"));
    run = Cli(dir, "text-to-ebcdic " + Quote(dir.File("IN.RP3")) + " " +
                       Quote(dir.File("OUT.MBR")) + both);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Errors.find("orvale-cli: warning: " + dir.File("IN.RP3") + ": line 2: a double"),
              std::string::npos)
        << run.Errors;
    EXPECT_NE(run.Errors.find("\norvale-cli: warning: " + dir.File("IN.RP3") + ": line 3 does not"),
              std::string::npos)
        << run.Errors;
}

TEST(MemberCommands, CodePageAndDatedFailuresExitTwoWithOneLine) {
    TempDir dir;
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("IN.MBR"), std::string(91, '\xF0') + "\x0E"));
    ASSERT_TRUE(orvale::WriteFileSafely(dir.File("OLD.RP3"), "old text"));
    const std::string convert =
        "ebcdic-to-text " + Quote(dir.File("IN.MBR")) + " " + Quote(dir.File("OLD.RP3"));
    struct Case {
        std::string Options;
        std::string Named;
    };
    const Case cases[] = {
        {" --codepage IBM4711", "code page IBM4711: not known"},
        {" --codepage IBM937 --pc-codepage NOPE", "PC code page NOPE"},
        {" --pc-codepage BIG5", "host's code page is not given"},
        {" --codepage IBM937", "IN.MBR: record 2, column 12: a shift-out without a shift-in"},
        {" --codepage IBM937 --dated", "IN.MBR: record 1, column 92: a shift-out"},
        {" --codepage IBM937 --dated --record-length 81",
         "IN.MBR: 92 bytes are not a whole number of dated records of 93"},
    };
    for (const Case& c : cases) {
        CliRun run = Cli(dir, convert + c.Options);
        EXPECT_EQ(run.Status, 2) << c.Options;
        EXPECT_NE(run.Errors.find(c.Named), std::string::npos) << run.Errors;
        EXPECT_EQ(run.Errors.find('\n'), run.Errors.size() - 1) << run.Errors;
    }
    EXPECT_EQ(Slurp(dir.File("OLD.RP3")), "old text");
}
