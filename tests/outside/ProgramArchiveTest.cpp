#include "outside/ProgramArchive.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace caddis;
using orvale::test::TempDir;

namespace {

std::string Content(const std::string& path) {
    StringList lines;
    if (!orvale::ReadTextFile(path, lines) || lines.empty())
        return "<none>";
    return lines[0];
}

} // namespace

TEST(ProgramArchive, ProgramsWithTheirBackups) {
    TempDir dir;
    for (const char* name : {"PAY.RPG", "PAY.~RP", "LIST.rpg", "GONE.~RP", "SRC.RP3", "SRC.~P3"})
        ASSERT_TRUE(orvale::WriteTextFile(dir.File(name), {name}));
    std::vector<TArchiveEntry> entries = ScanArchive(dir.Path());
    ASSERT_EQ(entries.size(), 3u);

    EXPECT_EQ(entries[0].Program.Name, "GONE.RPG"); // deleted program, backup still there
    EXPECT_FALSE(entries[0].HasProgram);
    ASSERT_TRUE(entries[0].HasBackup);
    EXPECT_EQ(entries[0].Backup.Name, "GONE.~RP");

    EXPECT_EQ(entries[1].Program.Name, "LIST.rpg");
    EXPECT_TRUE(entries[1].HasProgram);
    EXPECT_FALSE(entries[1].HasBackup);

    EXPECT_EQ(entries[2].Program.Name, "PAY.RPG");
    EXPECT_EQ(entries[2].Backup.Path, dir.File("PAY.~RP"));
    EXPECT_EQ(entries[2].Program.Size, 9); // "PAY.RPG" and CR LF
    EXPECT_GT(entries[2].Program.Modified.Year, 2000);

    EXPECT_TRUE(ScanArchive(dir.File("missing")).empty());
}

TEST(ProgramArchive, ExchangeLosesNothing) {
    TempDir dir;
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("PAY.RPG"), {"new"}));
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("PAY.~RP"), {"old"}));
    ASSERT_TRUE(orvale::WriteTextFile(dir.File("GONE.~RP"), {"kept"}));
    std::vector<TArchiveEntry> entries = ScanArchive(dir.Path());
    ASSERT_EQ(entries.size(), 2u);

    ASSERT_TRUE(ExchangeWithBackup(entries[1]));
    EXPECT_EQ(Content(dir.File("PAY.RPG")), "old");
    EXPECT_EQ(Content(dir.File("PAY.~RP")), "new");

    // A deleted program comes back; its backup stays.
    ASSERT_TRUE(ExchangeWithBackup(entries[0]));
    EXPECT_EQ(Content(dir.File("GONE.RPG")), "kept");
    EXPECT_EQ(Content(dir.File("GONE.~RP")), "kept");

    // Files gone since the scan: an error, and nothing else moved.
    TArchiveEntry stale = entries[1];
    stale.Backup.Path = dir.File("OTHER.~RP");
    std::string error;
    EXPECT_FALSE(ExchangeWithBackup(stale, &error));
    EXPECT_NE(error.find("OTHER.~RP"), std::string::npos) << error;
    EXPECT_EQ(Content(dir.File("PAY.RPG")), "old");
    EXPECT_EQ(Content(dir.File("PAY.~RP")), "new");

    TArchiveEntry noBackup = entries[1];
    noBackup.HasBackup = false;
    EXPECT_FALSE(ExchangeWithBackup(noBackup, &error));
}
