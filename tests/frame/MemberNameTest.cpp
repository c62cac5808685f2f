#include "frame/MemberName.h"

#include <gtest/gtest.h>

#include <string>

using orvale::IsMemberName;
using orvale::MemberFileName;
using orvale::MemberNameFor;
using orvale::MemberNameOf;

namespace {

TEST(MemberName, TypedNamesAreUpperCasedAndLoseTheirMemberExtension) {
    EXPECT_EQ(MemberNameOf("payroll"), "PAYROLL");
    EXPECT_EQ(MemberNameOf("PAYROLL.MBR"), "PAYROLL");
    EXPECT_EQ(MemberNameOf("Payroll.mbr"), "PAYROLL");
    EXPECT_EQ(MemberNameOf("$A#B@C_D.E"), "$A#B@C_D.E");
    EXPECT_EQ(MemberNameOf("ABCDEFGHIJ.MBR"), "ABCDEFGHIJ");
    // Only one extension is taken off; what is left must itself be a name.
    EXPECT_EQ(MemberNameOf("A.MBR.MBR"), "A.MBR");
    EXPECT_EQ(MemberNameOf(".MBR"), std::nullopt);
    EXPECT_EQ(MemberFileName("PAYROLL"), "PAYROLL.MBR");
}

// The names that once reached the program's own files, and names a folder path could hide in.
TEST(MemberName, NoNameReachesAFileOtherThanItsMember) {
    for (const char* name : {"libcalvex.so", "TOOLONGNAME1", "A/B", "..", "../X", "/tmp/X", "A\\B",
                             "", " ", "A B", "PAY\tROLL", "1ABC", "_ABC", ".ABC", "orvale-cli",
                             "ABCDEFGHIJK", "libondrel.so.MBR", "PromptH.PRM"})
        EXPECT_EQ(MemberNameOf(name), std::nullopt) << name;
    // Names that are valid member names still become ".MBR" files in upper case, which no file
    // of the program has.
    for (const char* name : {"orvale", "Orvale.KEY", "Orvale.DEF", "PCtoAS.xlt", "AStoPC.XLT"}) {
        std::optional<std::string> member = MemberNameOf(name);
        ASSERT_TRUE(member) << name;
        EXPECT_EQ(MemberFileName(*member).substr(member->size()), ".MBR");
        EXPECT_NE(MemberFileName(*member), name);
    }
}

// Every byte in every position: the first position takes letters and $ # @, the others also
// digits, "_" and "."; nothing else anywhere, and lower-case letters only through MemberNameOf.
TEST(MemberName, EachCharacterClassIsTakenOnlyWhereTheRuleAllowsIt) {
    auto allowedFirst = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || c == '$' || c == '#' || c == '@';
    };
    auto allowedLater = [&](unsigned char c) {
        return allowedFirst(c) || (c >= '0' && c <= '9') || c == '_' || c == '.';
    };
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const unsigned char u = static_cast<unsigned char>(b);
        EXPECT_EQ(IsMemberName(std::string(1, c) + "AB"), allowedFirst(u)) << b;
        EXPECT_EQ(IsMemberName("AB" + std::string(1, c)), allowedLater(u)) << b;
        EXPECT_EQ(IsMemberName("A" + std::string(1, c) + "B"), allowedLater(u)) << b;
        const bool lower = u >= 'a' && u <= 'z';
        const unsigned char upper = lower ? static_cast<unsigned char>(u - 32) : u;
        EXPECT_EQ(MemberNameOf("x" + std::string(1, c)).has_value(), allowedLater(upper)) << b;
    }
    EXPECT_TRUE(IsMemberName("A"));
    EXPECT_TRUE(IsMemberName("ABCDEFGHIJ"));
    EXPECT_FALSE(IsMemberName("ABCDEFGHIJK"));
    EXPECT_FALSE(IsMemberName("abc"));
}

} // namespace

// The name a program's export proposes is always one the dialog takes.
TEST(MemberName, AProgramsNameGivesAMemberNameTheHostTakes) {
    EXPECT_EQ(MemberNameFor("/home/u/PAYROLL.RPG"), "PAYROLL");
    EXPECT_EQ(MemberNameFor("payroll.rpg"), "PAYROLL");
    EXPECT_EQ(MemberNameFor("/p/LucyJGitHub__DL0110.RPG.RPG"), "DL0110");
    EXPECT_EQ(MemberNameFor("MIDAS__SDRPGSRCZ__SD0580M.RPG"), "SD0580M");
    EXPECT_EQ(MemberNameFor("Rosetta__99-bottles-of-beer.rpg"), "OF_BEER");
    EXPECT_EQ(MemberNameFor("MONTHLYREPORTS.RPG"), "MONTHLYREP");
    EXPECT_EQ(MemberNameFor("2024 sales.RPG"), "SALES");
    EXPECT_EQ(MemberNameFor("caf\xE9.RPG"), "CAF");
    EXPECT_EQ(MemberNameFor("/p/1234.RPG"), "MEMBER");
    EXPECT_EQ(MemberNameFor(""), "MEMBER");
    for (const char* file : {"a.b.c", "__x__", "-.RPG", "Q$#@_1.RPG", "very long name here.RPG",
                             "/dir.with.dots/NAME"})
        EXPECT_TRUE(MemberNameOf(MemberNameFor(file) + ".MBR")) << file;
}
