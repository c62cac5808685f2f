#include "frame/ProgramDir.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using orvale::test::TempDir;
namespace fs = std::filesystem;

namespace {

void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(orvale::WriteTextFile(path, {text}));
}

std::string Read(const std::string& path) {
    StringList lines;
    EXPECT_TRUE(orvale::ReadTextFile(path, lines)) << path;
    return lines.empty() ? std::string() : lines[0];
}

} // namespace

TEST(ProgramDir, UserDataDirFollowsTheBaseDirectoryRules) {
    EXPECT_EQ(UserDataDir("/data", "/home/ann"), "/data/orvale/");
    EXPECT_EQ(UserDataDir("/data/", "/home/ann"), "/data/orvale/");
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(UserDataDir("data", "/home/ann"), "/home/ann/.local/share/orvale/");
    EXPECT_EQ(UserDataDir("", "/home/ann/"), "/home/ann/.local/share/orvale/");
    EXPECT_EQ(UserDataDir("", ""), "");
}

TEST(ProgramDir, WritabilityIsTriedNotGuessed) {
    TempDir dir;
    EXPECT_TRUE(IsWritableDir(dir.Path()));
    EXPECT_TRUE(fs::is_empty(dir.Path())); // the probe file is gone again
    EXPECT_FALSE(IsWritableDir("/proc"));
    EXPECT_FALSE(IsWritableDir(dir.File("missing")));
    EXPECT_FALSE(IsWritableDir(""));
}

TEST(ProgramDir, WritableExecutableDirIsTheProgramDir) {
    TempDir exe, user;
    EXPECT_EQ(ResolveProgramDir(exe.Path(), user.File("orvale")), exe.Path() + "/");
    EXPECT_FALSE(fs::exists(user.File("orvale")));
}

TEST(ProgramDir, InstalledProgramUsesTheUserDirectory) {
    TempDir user;
    std::string warning;
    // /proc stands for an installed, read-only program directory without defaults.
    std::string dir = ResolveProgramDir("/proc", user.File("share/orvale/"), &warning);
    EXPECT_EQ(dir, user.File("share/orvale/"));
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(warning.empty()) << warning;

    // A user directory that cannot be made still gives the directory, with the reason.
    Write(user.File("file"), "x");
    dir = ResolveProgramDir("/proc", user.File("file/orvale"), &warning);
    EXPECT_EQ(dir, user.File("file/orvale/"));
    EXPECT_NE(warning.find(user.File("file/orvale")), std::string::npos) << warning;
}

TEST(ProgramDir, InstalledProgramIsSeededFromItsDataDirEvenWhenItsFolderIsWritable) {
    // A writable program folder (a program installed by root and run by root) with its
    // defaults in the installed data folder.
    TempDir exe, data, user;
    Write(data.File("PromptH.PRM"), "installed prompt");
    fs::create_directories(data.File("Help"));
    Write(data.File("Help/Orvale.hlp"), "[Contents]");
    ASSERT_TRUE(IsInstalledProgram(data.Path()));
    std::string warning;
    std::string dir =
        ResolveProgramDir(exe.Path(), data.Path() + "/", user.File("orvale"), &warning);
    EXPECT_EQ(dir, user.File("orvale/"));
    EXPECT_TRUE(warning.empty()) << warning;
    std::string text;
    ASSERT_TRUE(orvale::ReadFileBytes(user.File("orvale/PromptH.PRM"), text));
    EXPECT_EQ(text.rfind("installed prompt", 0), 0u) << text;
    EXPECT_TRUE(fs::exists(user.File("orvale/Help/Orvale.hlp")));
    // Nothing is written beside the program.
    EXPECT_TRUE(fs::is_empty(exe.Path()));
    // A program run where it was built has no installed data folder.
    EXPECT_FALSE(IsInstalledProgram(InstalledDataDir(ExecutableDir())));
}

TEST(ProgramDir, SeedingCopiesDefaultsAndKeepsTheUsersOwnFiles) {
    TempDir installed, user;
    Write(installed.File("PromptH.PRM"), "installed prompt");
    Write(installed.File("AStoPC.xlt"), "installed table");
    Write(installed.File("Orvale.DEF"), "not a default"); // options are the user's own
    Write(installed.File("Help/Orvale.hlp"), "index v2");
    Write(installed.File("Help/opcodes/ADD.html"), "add v2");
    std::string target = user.File("orvale");
    Write(target + "/PromptH.PRM", "edited by the user");
    Write(target + "/Help/Orvale.hlp", "index v1");

    std::string error;
    ASSERT_TRUE(SeedProgramDir(installed.Path(), target, &error)) << error;
    EXPECT_EQ(Read(target + "/PromptH.PRM"), "edited by the user");
    EXPECT_EQ(Read(target + "/AStoPC.xlt"), "installed table");
    EXPECT_FALSE(fs::exists(target + "/PCtoAS.xlt")); // missing default: nothing to copy
    EXPECT_FALSE(fs::exists(target + "/Orvale.DEF"));
    EXPECT_EQ(Read(target + "/Help/Orvale.hlp"), "index v2"); // help follows the install
    EXPECT_EQ(Read(target + "/Help/opcodes/ADD.html"), "add v2");
}

TEST(ProgramDir, SeedingAFreshDirectoryBringsTheHelpPages) {
    TempDir installed, user;
    Write(installed.File("Help/Orvale.hlp"), "index");
    Write(installed.File("Help/rpg-opcodes.html"), "overview");
    Write(installed.File("Help/opcodes/ADD.html"), "add");
    std::string target = user.File("orvale");
    std::string error;
    ASSERT_TRUE(SeedProgramDir(installed.Path(), target, &error)) << error;
    EXPECT_EQ(Read(target + "/Help/Orvale.hlp"), "index");
    EXPECT_EQ(Read(target + "/Help/rpg-opcodes.html"), "overview");
    EXPECT_EQ(Read(target + "/Help/opcodes/ADD.html"), "add");
}

TEST(ProgramDir, SeedingReportsAFullDisk) {
    TempDir installed, user;
    Write(installed.File("PromptH.PRM"), std::string(4096, 'x'));
    std::string error;
    {
        orvale::test::FileSizeLimit limit(1024);
        EXPECT_FALSE(SeedProgramDir(installed.Path(), user.File("orvale"), &error));
    }
    EXPECT_NE(error.find("PromptH.PRM"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(user.File("orvale/PromptH.PRM")));
}

TEST(ProgramDir, ExecutableDirIsThisTestsFolder) {
    std::string dir = ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(fs::exists(dir + "frame_tests"));
}
