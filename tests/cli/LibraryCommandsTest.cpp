// orvale-cli library index | members | find | where-used, run as a script runs them: their
// output, their JSON lines and their exit statuses.

#include "platform/TextFile.h"

#include "calvex/support/SpecLine.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using calvex::test::SpecLine;
using orvale::test::TempDir;
using ::testing::HasSubstr;

namespace {

struct CliRun {
    int Status = -1;
    std::string Out, Err;
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(Out);
        for (std::string l; std::getline(in, l);)
            lines.push_back(l);
        return lines;
    }
};

class LibraryCommands : public ::testing::Test {
protected:
    void SetUp() override {
        Write("QRPGSRC/CUS001.RPG",
              SpecLine('F', {{7, "CUSTF"}, {15, "IF"}, {19, "E"}, {40, "DISK"}}) + "\r\n" +
                  SpecLine('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUSTF"}}) + "\r\n" +
                  SpecLine('C', {{28, "CALL"}, {33, "'CUS002'"}}) + "\r\n");
        Write("QCLSRC/NIGHT.CLP", "PGM\nCALL PGM(CUS002)\nENDPGM\n");
        Write("QTXT/caf\xe9.txt", "a line that names CHAIN\n\"quoted\" \\ back\tslash\n");
    }

    void Write(const std::string& relative, const std::string& text) {
        std::filesystem::path p = Dir.File("lib/" + relative);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }

    CliRun Cli(const std::string& arguments) {
        std::string out = Dir.File("stdout.txt"), err = Dir.File("stderr.txt");
        std::string command = "XDG_CACHE_HOME='" + Dir.File("cache") + "' " + ORVALE_BIN_DIR +
                              "/orvale-cli library " + arguments + " >'" + out + "' 2>'" + err +
                              "'";
        int raw = std::system(command.c_str());
        CliRun run;
        run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        orvale::ReadFileBytes(out, run.Out);
        orvale::ReadFileBytes(err, run.Err);
        return run;
    }

    std::string Lib() const { return "'" + Dir.File("lib") + "'"; }

    TempDir Dir;
};

TEST_F(LibraryCommands, IndexReportsTheMembersAndKeepsItsIndexOutsideTheLibrary) {
    CliRun run = Cli("index " + Lib());
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Out, HasSubstr("3 members"));
    EXPECT_THAT(run.Out, HasSubstr("1 RPG III"));
    EXPECT_THAT(run.Out, HasSubstr("built: 3 read"));
    EXPECT_THAT(run.Out, HasSubstr(Dir.File("cache")));
    CliRun again = Cli("index --json " + Lib());
    ASSERT_EQ(again.Status, 0) << again.Err;
    EXPECT_THAT(again.Out, HasSubstr("\"read\":0"));
    EXPECT_THAT(again.Out, HasSubstr("\"built\":false"));
    for (const auto& e : std::filesystem::recursive_directory_iterator(Dir.File("lib")))
        EXPECT_THAT(e.path().string(), ::testing::Not(HasSubstr("sqlite")));
}

TEST_F(LibraryCommands, JsonLinesAreOneObjectAHitWithMemberLineRoleAndText) {
    CliRun find = Cli("find " + Lib() + " CHAIN --json");
    ASSERT_EQ(find.Status, 0) << find.Err;
    std::vector<std::string> lines = find.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "{\"member\":\"QRPGSRC/CUS001.RPG\",\"line\":2,\"column\":28,"
                        "\"role\":\"contains\",\"text\":\"" +
                            SpecLine('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUSTF"}}) + "\"}");
    // A file name in ISO-8859-1 comes out as UTF-8.
    EXPECT_THAT(lines[1], HasSubstr("\"member\":\"QTXT/caf\xc3\xa9.txt\""));

    CliRun quoted = Cli("find " + Lib() + " quoted --json");
    ASSERT_EQ(quoted.Status, 0);
    EXPECT_THAT(quoted.Out, HasSubstr("\"text\":\"\\\"quoted\\\" \\\\ back\\tslash\""));

    CliRun where = Cli("where-used " + Lib() + " CUS002 --json");
    ASSERT_EQ(where.Status, 0) << where.Err;
    lines = where.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "{\"member\":\"QCLSRC/NIGHT.CLP\",\"line\":2,\"role\":\"calls\","
                        "\"kind\":\"program\",\"name\":\"CUS002\",\"op\":\"CALL\","
                        "\"text\":\"CALL PGM(CUS002)\"}");
    EXPECT_THAT(lines[1], HasSubstr("\"member\":\"QRPGSRC/CUS001.RPG\",\"line\":3,"));

    CliRun members = Cli("members " + Lib() + " --json");
    ASSERT_EQ(members.Status, 0);
    ASSERT_EQ(members.Lines().size(), 3u);
    EXPECT_THAT(members.Lines()[1],
                HasSubstr("\"member\":\"QRPGSRC/CUS001.RPG\",\"source_file\":\"QRPGSRC\","
                          "\"library\":\"\",\"name\":\"CUS001\",\"type\":\"RPG\","
                          "\"kind\":\"RPG III\",\"lines\":3"));
}

TEST_F(LibraryCommands, TextOutputNamesMemberLineAndRole) {
    CliRun where = Cli("where-used " + Lib() + " custf --kind file");
    ASSERT_EQ(where.Status, 0) << where.Err;
    EXPECT_THAT(where.Out, HasSubstr("QRPGSRC/CUS001.RPG:1: declares file CUSTF: "));
    EXPECT_THAT(where.Out, HasSubstr("QRPGSRC/CUS001.RPG:2: reads file CUSTF (CHAIN): "));
    CliRun find = Cli("find " + Lib() + " -i chain --columns 28-32");
    ASSERT_EQ(find.Status, 0);
    EXPECT_EQ(find.Lines().size(), 1u);
    EXPECT_THAT(find.Out, HasSubstr("QRPGSRC/CUS001.RPG:2:"));
}

TEST_F(LibraryCommands, ExitStatusIsZeroWithHitsOneWithNoneTwoOnBadInput) {
    EXPECT_EQ(Cli("find " + Lib() + " NOWHERE").Status, 1);
    EXPECT_EQ(Cli("where-used " + Lib() + " NOWHERE").Status, 1);
    EXPECT_EQ(Cli("where-used " + Lib() + " CUS002 --kind file").Status, 1);
    struct Bad {
        std::string Arguments, Message;
    } bad[] = {
        {"find " + Lib() + " ''", "empty"},
        {"find " + Lib() + " X --columns 9-2", "--columns 9-2"},
        {"find " + Lib() + " X --columns abc", "--columns abc"},
        {"find '" + Dir.File("nowhere") + "' X", "No such file"},
        {"index '" + Dir.File("lib/QCLSRC/NIGHT.CLP") + "'", "not a folder"},
        {"where-used " + Lib() + " X --kind table", "--kind table"},
        {"where-used " + Lib() + " 'TWO WORDS'", "not a name"},
    };
    for (const Bad& b : bad) {
        CliRun run = Cli(b.Arguments);
        EXPECT_EQ(run.Status, 2) << b.Arguments;
        EXPECT_THAT(run.Err, HasSubstr(b.Message)) << b.Arguments;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    }
}

// Find reports every line a plain search of the files finds: ripgrep's count on a real
// library, when both are at hand.
TEST_F(LibraryCommands, FindAgreesWithRipgrepOnARealLibrary) {
    std::filesystem::path library = std::filesystem::path(ORVALE_CORPUS_DIR) / "../library";
    if (!std::filesystem::is_directory(library) || std::system("rg --version >/dev/null 2>&1"))
        GTEST_SKIP() << "no real library or no ripgrep";
    std::string lib = "'" + std::filesystem::canonical(library).string() + "'";
    for (std::string options : {"CHAIN", "-i exsr", "\"'\""}) {
        std::string rgOptions = options.rfind("-i", 0) == 0 ? "-i " + options.substr(3) : options;
        std::string count = Dir.File("rg.txt");
        std::system(("rg -uu -F -c " + rgOptions + " " + lib +
                     " | awk -F: '{s+=$NF} END {print s}' >'" + count + "'")
                        .c_str());
        std::string expected;
        orvale::ReadFileBytes(count, expected);
        CliRun run = Cli("find " + lib + " " + options);
        EXPECT_EQ(std::to_string(run.Lines().size()) + "\n", expected) << options;
    }
}

} // namespace
