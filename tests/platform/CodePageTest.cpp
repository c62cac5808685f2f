#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using orvale::CodePage;

namespace {

std::u16string Shown(const CodePage& page, std::string_view bytes) {
    std::u16string units(page.MaxUnits(bytes.size()), u'\0');
    units.resize(page.ToUnicode(bytes, units.data()));
    return units;
}

std::string Back(const CodePage& page, std::u16string_view text) {
    std::string bytes;
    page.FromUnicode(text, bytes);
    return bytes;
}

int ColumnsOf(const CodePage& page, std::u16string_view text) {
    int columns = 0;
    for (char16_t c : text)
        columns += page.Columns(c);
    return columns;
}

std::string AllBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

} // namespace

TEST(CodePage, Latin1ShowsEveryByteInItsPlaceAndGivesItBack) {
    const CodePage& page = CodePage::Latin1();
    EXPECT_EQ(page.Name(), "ISO-8859-1");
    EXPECT_FALSE(page.DoubleByte());
    std::string bytes = AllBytes();
    std::u16string units = Shown(page, bytes);
    ASSERT_EQ(units.size(), 256u);
    for (int c = 0; c < 256; ++c) {
        bool blank = c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD;
        char16_t expected = blank && c != '\n' ? CodePage::StandIn(static_cast<unsigned char>(c))
                                               : static_cast<char16_t>(c);
        EXPECT_EQ(units[static_cast<size_t>(c)], expected) << c;
    }
    EXPECT_EQ("kept:" + Back(page, units), "kept:" + bytes);
    // What is typed or pasted keeps its own byte, a tab or a soft hyphen as much as a letter.
    EXPECT_EQ(Back(page, u"\t\u00AD\u00E9"), "\t\xAD\xE9");
}

TEST(CodePage, WhatLatin1CannotHoldIsFoundAndNeverTakenSilentlyAsAnotherByte) {
    const CodePage& page = CodePage::Latin1();
    std::u16string text = u"caf\u00E9 \u20AC \u0100";
    EXPECT_EQ(page.FirstUnmappable(text), 5u);
    EXPECT_EQ(page.FirstUnmappable(u"caf\u00E9"), std::u16string_view::npos);
    EXPECT_EQ(Back(page, text), "caf\xE9 ? ?");
}

TEST(CodePage, KnownByItsNamesAndAliases) {
    for (const char* name : {"ISO-8859-1", "iso-8859-1", "latin1", "ISO8859_1"}) {
        std::unique_ptr<CodePage> page = CodePage::Named(name);
        ASSERT_TRUE(page) << name;
        EXPECT_EQ(page->Name(), "ISO-8859-1");
    }
    EXPECT_EQ(CodePage::Canonical("big5"), "BIG5");
    EXPECT_EQ(CodePage::Canonical("cp1252"), "WINDOWS-1252");
    EXPECT_EQ(CodePage::Canonical("sjis"), "SHIFT_JIS");
    EXPECT_EQ(CodePage::Canonical("windows-31j"), "CP932");
    EXPECT_FALSE(CodePage::Named("BIG5-NOT-YET"));
    EXPECT_FALSE(CodePage::Named(""));
    EXPECT_FALSE(CodePage::Shared("NO-SUCH-PAGE"));
    EXPECT_EQ(CodePage::Shared("big5"), CodePage::Shared("BIG5"));
    EXPECT_EQ(CodePage::Shared("latin1"), &CodePage::Latin1());
}

// Every code page a program can be given keeps every byte, alone or in pairs, in as many
// columns as it has bytes: what is read is shown and saved back unchanged.
TEST(CodePage, EveryOfferedCodePageGivesBackEveryByteAndPairInItsColumns) {
    std::vector<std::string> offered = CodePage::Offered();
    for (const char* needed :
         {"ISO-8859-2", "ISO-8859-15", "ISO-8859-16", "WINDOWS-1250", "WINDOWS-1258", "BIG5",
          "SHIFT_JIS", "CP932", "GBK", "GB18030", "EUC-KR", "CP949"})
        EXPECT_NE(std::find(offered.begin(), offered.end(), needed), offered.end()) << needed;
    for (const std::string& name : offered) {
        std::unique_ptr<CodePage> page = CodePage::Named(name);
        ASSERT_TRUE(page) << name;
        std::string bytes = AllBytes();
        std::u16string shown = Shown(*page, bytes);
        EXPECT_EQ(Back(*page, shown), bytes) << name;
        EXPECT_EQ(ColumnsOf(*page, shown), 256) << name;
        if (!page->DoubleByte()) {
            EXPECT_EQ(shown.size(), 256u) << name;
            continue;
        }
        int failed = 0;
        for (int pair = 0x8000; pair < 0x10000; ++pair) {
            std::string two{static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
            std::u16string text = Shown(*page, two);
            if (Back(*page, text) != two || ColumnsOf(*page, text) != 2)
                ++failed;
        }
        EXPECT_EQ(failed, 0) << name;
    }
}

TEST(CodePage, DoubleByteTextIsReadableAndKeepsItsColumns) {
    std::unique_ptr<CodePage> big5 = CodePage::Named("BIG5");
    ASSERT_TRUE(big5);
    EXPECT_TRUE(big5->DoubleByte());
    // "資料" ends in the byte 0xC6; "五" (A4 AD) has 0xAD, the soft hyphen alone, second.
    std::string line = "C* \xB8\xEA\xAE\xC6 \xA4\xAD!";
    std::u16string shown = Shown(*big5, line);
    EXPECT_EQ(shown, u"C* \u8CC7\u6599 \u4E94!");
    EXPECT_EQ(ColumnsOf(*big5, shown), static_cast<int>(line.size()));
    // A lead byte with no second byte that makes a character, one at the end of the line, a
    // byte Big5 leaves undefined and a control byte are each shown by a stand-in of their own.
    std::string broken = "A\xA4 B\x80\xFF\x1A\xA4";
    shown = Shown(*big5, broken);
    ASSERT_EQ(shown.size(), broken.size());
    EXPECT_EQ(shown[1], CodePage::StandIn(0xA4));
    EXPECT_EQ(shown[4], CodePage::StandIn(0x80));
    EXPECT_EQ(shown[6], CodePage::StandIn(0x1A));
    EXPECT_EQ(shown.back(), CodePage::StandIn(0xA4));
    EXPECT_EQ(Back(*big5, shown), broken);
    // What Big5 cannot hold is found; the stand-ins are taken.
    EXPECT_EQ(big5->FirstUnmappable(u"\u8CC7\uD55C"), 1u);
    EXPECT_EQ(big5->FirstUnmappable(shown), std::u16string_view::npos);
    EXPECT_EQ(Back(*big5, u"\u8CC7\uD55C"), "\xB8\xEA?");
}

// Two pairs of bytes for the same character (CP932 has the IBM extensions twice): only the pair
// the character turns back into is shown as it, the other keeps its bytes by their stand-ins.
TEST(CodePage, APairThatWouldComeBackAsOtherBytesIsShownByItsBytes) {
    std::unique_ptr<CodePage> cp932 = CodePage::Named("CP932");
    ASSERT_TRUE(cp932);
    std::string both = "\xED\x40\xFA\x5C";
    std::u16string shown = Shown(*cp932, both);
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), u'\u7E8A'), 1);
    EXPECT_EQ(Back(*cp932, shown), both);
}

// The members of a Taiwanese shop come back byte for byte, Chinese shown as Chinese.
TEST(CodePage, RealBig5MembersComeBackByteForByte) {
    std::filesystem::path folder = std::filesystem::path(ORVALE_CORPUS_DIR) / ".." / "corpus-dbcs";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no members of double-byte text here";
    const CodePage* big5 = CodePage::Shared("BIG5");
    ASSERT_TRUE(big5);
    int members = 0;
    size_t chinese = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".RP3")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        std::istringstream lines(all.str());
        for (std::string line; std::getline(lines, line);) {
            std::u16string shown = Shown(*big5, line);
            ASSERT_EQ(Back(*big5, shown), line) << entry.path() << ": " << line;
            ASSERT_EQ(ColumnsOf(*big5, shown), static_cast<int>(line.size())) << line;
            chinese += static_cast<size_t>(std::count_if(
                shown.begin(), shown.end(), [](char16_t c) { return c >= 0x4E00 && c < 0xA000; }));
        }
        ++members;
    }
    EXPECT_EQ(members, 60);
    EXPECT_GT(chinese, 1000u);
}
