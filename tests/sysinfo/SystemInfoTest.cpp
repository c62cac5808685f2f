#include "sysinfo/SystemInfo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace sysinfo;

TEST(SystemInfo, OsReleaseNameAndVersion) {
    TOperatingSystem debian = ParseOsRelease("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                             "NAME=\"Debian GNU/Linux\"\n"
                                             "VERSION_ID=\"12\"\n"
                                             "VERSION=\"12 (bookworm)\"\n"
                                             "ID=debian\n");
    EXPECT_EQ(debian.Name, "Debian GNU/Linux");
    EXPECT_EQ(debian.Version, "12");
    debian.Build = "6.1.0-18-amd64";
    EXPECT_EQ(FormatOperatingSystem(debian),
              "Operating System: Debian GNU/Linux - V. 12 build 6.1.0-18-amd64");

    // Single quotes, escapes, comments, CR LF, and no VERSION_ID.
    TOperatingSystem other = ParseOsRelease("# vendor file\r\n"
                                            "NAME='Tiny \"Linux\"'\r\n"
                                            "VERSION=\"3.1 \\\"rolling\\\"\"\r\n");
    EXPECT_EQ(other.Name, "Tiny \"Linux\"");
    EXPECT_EQ(other.Version, "3.1 \"rolling\"");

    EXPECT_EQ(ParseOsRelease("PRETTY_NAME=Arch Linux\nBUILD_ID=rolling\n").Name, "Arch Linux");
    EXPECT_EQ(ParseOsRelease("").Name, "");
}

TEST(SystemInfo, ProcessorModelAndCount) {
    const char* x86 = "processor\t: 0\n"
                      "vendor_id\t: GenuineIntel\n"
                      "model name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\n"
                      "\n"
                      "processor\t: 1\n"
                      "model name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\n";
    EXPECT_EQ(ParseCpuInfo(x86), "Intel(R) Xeon(R) CPU @ 2.20GHz (2 processors)");
    // Older ARM kernels: "Processor" names the model, "Hardware" the board.
    const char* arm = "Processor\t: ARMv7 Processor rev 4 (v7l)\n"
                      "processor\t: 0\n"
                      "Hardware\t: BCM2835\n";
    EXPECT_EQ(ParseCpuInfo(arm), "ARMv7 Processor rev 4 (v7l)");
    EXPECT_EQ(ParseCpuInfo("processor : 0\ncpu : POWER9 (raw)\n"), "POWER9 (raw)");
    EXPECT_EQ(ParseCpuInfo("processor : 0\nflags : fpu\n"), "");
}

TEST(SystemInfo, MemoryFigures) {
    TMemory memory = ParseMemInfo("MemTotal:       16384256 kB\n"
                                  "MemFree:          123456 kB\n"
                                  "MemAvailable:    8000000 kB\n"
                                  "SwapTotal:       2097148 kB\n"
                                  "SwapFree:        2097000 kB\n");
    EXPECT_EQ(memory.Total, 16384256);
    EXPECT_EQ(memory.Free, 8000000);
    EXPECT_EQ(memory.SwapTotal, 2097148);
    EXPECT_EQ(memory.SwapFree, 2097000);
    EXPECT_EQ(FormatKilobytes(memory.Total), "16,384,256 KB");
    EXPECT_EQ(FormatKilobytes(999), "999 KB");
    EXPECT_EQ(FormatKilobytes(0), "0 KB");
    EXPECT_EQ(FormatKilobytes(-1), "unknown");

    // An old kernel without MemAvailable: the free figure is MemFree. No swap lines at all.
    TMemory old = ParseMemInfo("MemTotal: 1000 kB\nMemFree: 250 kB\n");
    EXPECT_EQ(old.Free, 250);
    EXPECT_EQ(old.SwapTotal, -1);
    EXPECT_EQ(ParseMemInfo("MemTotal: lots\n").Total, -1);
}

TEST(SystemInfo, OwnerAndLatin1Text) {
    EXPECT_EQ(FullNameFromGecos("Ann Smith,Room 12,555-1234,"), "Ann Smith");
    EXPECT_EQ(FullNameFromGecos(""), "");
    EXPECT_EQ(Utf8ToLatin1("Jos\xC3\xA9"), "Jos\xE9");
    EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC 5"), "? 5");       // the euro sign is not Latin-1
    EXPECT_EQ(Utf8ToLatin1("bad \xE9 byte"), "bad ? byte"); // a stray Latin-1 byte
    EXPECT_EQ(Utf8ToLatin1("cut \xC3"), "cut ?");
}

TEST(SystemInfo, ReadsTheFilesUnderARoot) {
    orvale::test::TempDir root;
    std::filesystem::create_directories(root.File("etc"));
    std::filesystem::create_directories(root.File("proc"));
    std::ofstream(root.File("etc/os-release")) << "NAME=\"Sample OS\"\nVERSION_ID=7\n";
    std::ofstream(root.File("proc/cpuinfo")) << "processor : 0\nmodel name : Sample CPU\n";
    std::ofstream(root.File("proc/meminfo")) << "MemTotal: 2048 kB\nMemAvailable: 1024 kB\n";
    TSystemInfo info = ReadSystemInfo(root.Path());
    EXPECT_EQ(info.System.Name, "Sample OS");
    EXPECT_EQ(info.System.Version, "7");
    EXPECT_FALSE(info.System.Build.empty()); // the running kernel
    EXPECT_EQ(info.Processor, "Sample CPU");
    EXPECT_EQ(info.Memory.Total, 2048);
    EXPECT_EQ(info.Memory.Free, 1024);
    EXPECT_FALSE(info.Owner.empty());
    EXPECT_FALSE(info.Organisation.empty());

    // Without the files the system name and the machine still say something.
    orvale::test::TempDir empty;
    TSystemInfo bare = ReadSystemInfo(empty.Path());
    EXPECT_FALSE(bare.System.Name.empty());
    EXPECT_FALSE(bare.Processor.empty());
    EXPECT_EQ(bare.Memory.Total, -1);
}
