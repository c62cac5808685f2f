#include "ondrel/CodePageTables.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace ondrel;
using orvale::test::TempDir;

TEST(CodePageTables, Ibm037MapsEveryPrintableLatin1CharacterBothWays) {
    CodePageMaps maps;
    std::string error;
    ASSERT_TRUE(BuildCodePageMaps("IBM037", maps, error)) << error;
    int mapped = 0;
    for (int pc = 0; pc < 256; ++pc) {
        int host = maps.PcToHost[static_cast<size_t>(pc)];
        bool printable = (pc >= 0x20 && pc < 0x7F) || pc >= 0xA0;
        EXPECT_EQ(host >= 0, printable) << pc;
        if (host < 0)
            continue;
        EXPECT_EQ(maps.HostToPc[static_cast<size_t>(host)], pc) << pc;
        ++mapped;
    }
    EXPECT_EQ(mapped, 191);
    EXPECT_EQ(maps.PcToHost['A'], 0xC1);
    EXPECT_EQ(maps.PcToHost[' '], 0x40);
    EXPECT_EQ(maps.PcToHost[0xA3], 0xB1); // pound sign
    // Control characters would break the lines of the text side.
    EXPECT_EQ(maps.HostToPc[0x25], -1);
    EXPECT_EQ(maps.HostToPc[0x0D], -1);
    EXPECT_EQ(maps.HostToPc[0x00], -1);
}

TEST(CodePageTables, NationalPagesMoveTheirCharacters) {
    CodePageMaps maps;
    std::string error;
    ASSERT_TRUE(BuildCodePageMaps("IBM280", maps, error)) << error;
    EXPECT_EQ(maps.PcToHost[0xA3], 0x7B); // pound sign
    EXPECT_EQ(maps.PcToHost[0xE0], 0xC0); // a grave
    EXPECT_EQ(maps.HostToPc[0x7B], 0xA3);
    ASSERT_TRUE(BuildCodePageMaps("IBM273", maps, error)) << error;
    EXPECT_EQ(maps.PcToHost[0xC4], 0x4A); // A umlaut
}

TEST(CodePageTables, UnknownAndNonEbcdicPagesAreRefused) {
    CodePageMaps maps;
    std::string error;
    EXPECT_FALSE(BuildCodePageMaps("IBM99999", maps, error));
    EXPECT_NE(error.find("IBM99999"), std::string::npos) << error;
    EXPECT_FALSE(BuildCodePageMaps("IBM850", maps, error));
    EXPECT_NE(error.find("not an EBCDIC"), std::string::npos) << error;
    EXPECT_FALSE(BuildCodePageMaps("", maps, error));
    TempDir dir;
    EXPECT_FALSE(WriteCodePageTables("UTF-8", dir.Path(), error));
}
