#include "platform/ProfileFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using orvale::ProfileFile;
using orvale::test::TempDir;

namespace {

ProfileFile FromText(const char* text) {
    ProfileFile profile;
    profile.SetText(text);
    return profile;
}

} // namespace

TEST(ProfileFile, SectionsAndKeysMatchIgnoringCaseAndTheFirstMatchWins) {
    auto p = FromText("[General Options]\r\nTabSpaces=4\r\ntabspaces=8\r\n"
                      "[general options]\r\nTabSpaces=9\r\n");
    EXPECT_EQ(p.ReadInteger("GENERAL OPTIONS", "TABSPACES", 2), 4);
    EXPECT_EQ(p.ReadString("General Options", "Missing", "dflt"), "dflt");
    EXPECT_EQ(p.ReadString("Nowhere", "TabSpaces", "x"), "x");
}

TEST(ProfileFile, BlanksAroundNamesAndValuesAreIgnoredButInnerTextIsKept) {
    auto p = FromText("  [ S ]  \n  key one =  a = b  \n;key two=hidden\n");
    EXPECT_EQ(p.ReadString("S", "key one"), "a = b");
    EXPECT_FALSE(p.HasKey("S", "key two"));
    EXPECT_FALSE(p.HasKey("S", ";key two"));
}

TEST(ProfileFile, IntegersInDecimalOrHexAndBooleansAsIntegers) {
    auto p = FromText("[G]\nBackColor=0x000080\nNeg=-12\nBad=abc\nB2=2\nB0=0\nFFF=0xFFFFFFFF\n");
    EXPECT_EQ(p.ReadInteger("G", "BackColor", 0), 128);
    EXPECT_EQ(p.ReadInteger("G", "Neg", 0), -12);
    EXPECT_EQ(p.ReadInteger("G", "Bad", 7), 0);
    EXPECT_EQ(p.ReadInteger("G", "None", 7), 7);
    EXPECT_EQ(p.ReadInteger("G", "FFF", 0), -1);
    EXPECT_TRUE(p.ReadBool("G", "B2", false));
    EXPECT_FALSE(p.ReadBool("G", "B0", true));
    EXPECT_TRUE(p.ReadBool("G", "None", true));
    ASSERT_TRUE(p.WriteBool("G", "B2", p.ReadBool("G", "B2", false)));
    EXPECT_EQ(p.ReadString("G", "B2"), "1");
}

TEST(ProfileFile, KeysAndRawLinesInFileOrder) {
    auto p = FromText("[Reopen Item]\n1=/b.RPG\n\n0=/a.RPG\n; note\n[Other]\nx=1\n");
    EXPECT_EQ(p.ReadSectionKeys("reopen item"), (StringList{"1", "0"}));
    EXPECT_EQ(p.ReadSectionLines("Reopen Item"), (StringList{"1=/b.RPG", "0=/a.RPG"}));
    EXPECT_TRUE(p.ReadSectionKeys("Absent").empty());
}

TEST(ProfileFile, WriteReplacesInPlaceAppendsToItsSectionOrCreatesTheSectionAtTheEnd) {
    auto p = FromText("[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(p.WriteString("a", "X", "10"));
    ASSERT_TRUE(p.WriteString("A", "w", "4"));
    ASSERT_TRUE(p.WriteString("C", "v", "5"));
    EXPECT_EQ(p.Text(), "[A]\r\nX=10\r\ny=2\r\nw=4\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nv=5\r\n");
}

TEST(ProfileFile, ByteStringsRoundTripAndLineBreaksAreRefused) {
    ProfileFile p;
    std::string key = "\x01\xA6\xFF#k";
    std::string value = "\x7F\xE0 x;y[z]";
    ASSERT_TRUE(p.WriteString("EnabledUsers", key, value));
    EXPECT_EQ(p.ReadString("EnabledUsers", key), value);
    EXPECT_EQ(p.ReadSectionLines("EnabledUsers"), (StringList{key + "=" + value}));

    std::string before = p.Text();
    EXPECT_FALSE(p.WriteString("EnabledUsers", "a\rb", "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", "ab", "v\nw"));
    EXPECT_FALSE(p.WriteString("Enabled\nUsers", "ab", "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", std::string("a\0b", 3), "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", "a=b", "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", "[a", "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", ";a", "v"));
    EXPECT_FALSE(p.WriteString("EnabledUsers", "", "v"));
    EXPECT_EQ(p.Text(), before);
}

TEST(ProfileFile, MissingFileIsEmptyAndSaveLoadRoundTrips) {
    TempDir dir;
    ProfileFile p(dir.File("Orvale.DEF"));
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.HasSection("General Options"));
    ASSERT_TRUE(p.WriteInteger("General Options", "TabSpaces", 3));
    ASSERT_TRUE(p.Save());
    ProfileFile q(dir.File("Orvale.DEF"));
    ASSERT_TRUE(q.Load());
    EXPECT_EQ(q.ReadInteger("General Options", "TabSpaces", 2), 3);
}

TEST(ProfileFile, ADirectoryInPlaceOfTheFileIsAnError) {
    TempDir dir;
    ProfileFile p(dir.Path());
    std::string error;
    EXPECT_FALSE(p.Load(&error));
    EXPECT_FALSE(error.empty());
}
