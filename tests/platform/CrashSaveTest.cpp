// Saves that die: a child process saves a large program, a built member or the key file through
// the program's own code and is killed with SIGKILL at many moments of the save. After each
// kill the target must be the old file or the new one, whole, and the backup the file that was
// there before the last save that completed. The same when the disk fills half way.

#include "access/KeyFile.h"
#include "access/Login.h"
#include "platform/Prompter.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using orvale::test::ShownIn;
using orvale::test::TempDir;

namespace {

constexpr size_t kLines = 60000; // some 1.5 MB of program file

std::string Read(const std::string& path) {
    std::string bytes;
    if (!orvale::ReadFileBytes(path, bytes))
        return "<missing>";
    return bytes;
}

// Runs Save in a child and kills it after Delay (or lets it finish when Delay is negative).
// True when the child was killed before it ended by itself.
bool SaveAndKill(const std::function<bool()>& save, std::chrono::microseconds delay) {
    pid_t child = ::fork();
    if (child == 0) {
        bool ok = save();
        ::_exit(ok ? 0 : 1);
    }
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

// The program of version V: a main routine of kLines statements that all carry V.
void FillProgram(TRPGProgram& doc, int version) {
    doc.MainRoutineSection.AssignLines(
        StringList(kLines, "Z-add(" + std::to_string(version) + ",X)"));
    doc.MainRoutineSection.AssignCompiled(StringList(
        kLines, "     C                     Z-ADD" + std::to_string(version) + "         X"));
}

// Which version a program file holds whole, or -1 when it is not one whole version.
int ProgramVersion(const std::string& path) {
    orvale::ScriptedPrompter quiet;
    TRPGProgram doc(quiet);
    if (!doc.LoadFromFile(path, ShownIn(quiet)) || !quiet.Messages.empty())
        return -1;
    const StringList& lines = doc.MainRoutineSection.LineTexts();
    if (lines.size() != kLines || lines.front() != lines.back())
        return -1;
    for (const std::string& line : lines)
        if (line != lines.front())
            return -1;
    return std::stoi(lines.front().substr(6));
}

// Which version a built member holds whole, or -1.
int MemberVersion(const std::string& path) {
    StringList lines;
    if (!orvale::ReadTextFile(path, lines) || lines.size() < kLines)
        return -1;
    std::string text = Read(path);
    if (!text.ends_with("\r\n"))
        return -1;
    int version = -1, count = 0;
    for (const std::string& line : lines) {
        size_t at = line.find("Z-ADD");
        if (at == std::string::npos)
            continue;
        int v = std::stoi(line.substr(at + 5));
        if (version >= 0 && v != version)
            return -1;
        version = v;
        ++count;
    }
    return count == static_cast<int>(kLines) ? version : -1;
}

struct Target {
    std::string Path;
    std::string BackupPath; // empty: no backup rule
    std::function<bool(int)> Save;
    std::function<int(const std::string&)> Version;
};

// Kills the save of each next version at spread moments; checks the rule after each kill.
void KillAtManyMoments(const Target& target, int kills) {
    ASSERT_TRUE(target.Save(0));
    ASSERT_TRUE(target.Save(1)); // now there is a backup (version 0)
    int current = 1, backup = 0;
    // Time a whole save to spread the kills over it.
    auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(SaveAndKill([&] { return target.Save(2); }, std::chrono::microseconds(-1)));
    auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    ASSERT_EQ(target.Version(target.Path), 2);
    current = 2, backup = 1;
    std::mt19937 random(7);
    int sawOld = 0, sawNew = 0;
    for (int i = 0; i < kills; ++i) {
        const int next = current + 1;
        // Up to twice the time a whole save took, so that on a busy machine, where a save
        // may take longer than the one timed, kills still land after the replacement too.
        auto delay = std::chrono::microseconds(whole.count() * (i % 10) * 2 / 9 +
                                               static_cast<long>(random() % 200));
        SaveAndKill([&] { return target.Save(next); }, delay);
        int now = target.Version(target.Path);
        ASSERT_TRUE(now == current || now == next)
            << "after a kill at " << delay.count() << " us the file holds " << now;
        if (!target.BackupPath.empty()) {
            int kept = target.Version(target.BackupPath);
            if (now == next)
                ASSERT_EQ(kept, current) << "the backup must hold the file the save replaced";
            else
                ASSERT_TRUE(kept == backup || kept == current) << kept;
            backup = kept;
        }
        (now == next ? sawNew : sawOld)++;
        current = now;
    }
    // The kills landed both before and after the replacement.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    // Whatever the kills left, one save that completes leaves no temporary file behind.
    ASSERT_TRUE(target.Save(current + 1));
    const std::string folder = orvale::ExtractFilePath(target.Path);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(
            name == orvale::ExtractFileName(target.Path) ||
            (!target.BackupPath.empty() && name == orvale::ExtractFileName(target.BackupPath)))
            << name;
    }
}

class CrashSave : public ::testing::Test {
protected:
    TempDir Dir;
    orvale::ScriptedPrompter Quiet;
};

TEST_F(CrashSave, AProgramFileIsOldOrNewWholeAndItsBackupHoldsThePreviousOne) {
    TRPGProgram doc(Quiet);
    doc.NewProgram();
    std::string path = Dir.File("BIG.RPG");
    Target target{path, orvale::ProgramBackupPath(path),
                  [&](int version) {
                      FillProgram(doc, version);
                      doc.Modified = true;
                      return doc.SaveToFile(path);
                  },
                  ProgramVersion};
    KillAtManyMoments(target, 20);
}

TEST_F(CrashSave, ABuiltMemberIsOldOrNewWholeAndItsBackupHoldsThePreviousOne) {
    TRPGProgram doc(Quiet);
    doc.NewProgram();
    std::string path = Dir.File("BIG.RP3");
    Target target{path, orvale::SourceBackupPath(path),
                  [&](int version) {
                      FillProgram(doc, version);
                      return doc.WriteSource(path);
                  },
                  MemberVersion};
    KillAtManyMoments(target, 20);
}

// The key file: each save adds one user; a kill leaves the users before it or after it.
TEST_F(CrashSave, TheKeyFileIsOldOrNewWhole) {
    std::string path = TKeyFile::PathIn(Dir.Path());
    auto save = [&](int version) {
        TKeyFile keys(path);
        return keys.Load() && keys.AddEntry("USER" + std::to_string(version), "PASSWORD") &&
               keys.Save();
    };
    auto version = [&](const std::string& file) {
        TKeyFile keys(file);
        if (!keys.Load())
            return -1;
        int last = -1;
        for (int v = 0; v < 64; ++v) {
            bool has = keys.HasEntryFor("USER" + std::to_string(v));
            if (has && last != v - 1)
                return -1;
            if (has)
                last = v;
        }
        return last;
    };
    KillAtManyMoments({path, {}, save, version}, 12);
}

// A disk that fills half way: the save fails, says so, and leaves both files as they were.
TEST_F(CrashSave, AFullDiskHalfWayLeavesTheOldFileAndBackup) {
    TRPGProgram doc(Quiet);
    doc.NewProgram();
    std::string path = Dir.File("BIG.RPG");
    FillProgram(doc, 1);
    ASSERT_TRUE(doc.SaveToFile(path));
    FillProgram(doc, 2);
    ASSERT_TRUE(doc.SaveToFile(path));
    std::string before = Read(path), backup = Read(orvale::ProgramBackupPath(path));
    FillProgram(doc, 3);
    doc.Modified = true;
    {
        orvale::test::FileSizeLimit limit(before.size() / 2);
        EXPECT_FALSE(doc.SaveToFile(path));
    }
    EXPECT_FALSE(Quiet.Messages.empty());
    EXPECT_EQ(Read(path), before);
    EXPECT_EQ(Read(orvale::ProgramBackupPath(path)), backup);
    EXPECT_EQ(ProgramVersion(path), 2);
}

} // namespace
