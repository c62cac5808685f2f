#include "platform/CodePage.h"

#include <gtest/gtest.h>

using orvale::CodePage;

TEST(CodePage, Latin1IsEveryByteAsTheCharacterOfItsNumber) {
    const CodePage& page = CodePage::Latin1();
    EXPECT_EQ(page.Name(), "ISO-8859-1");
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    std::u16string units(page.MaxUnits(bytes.size()), u'\0');
    ASSERT_EQ(page.ToUnicode(bytes, units.data()), 256u);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(units[static_cast<size_t>(c)], static_cast<char16_t>(c));
    std::string back = "kept:";
    page.FromUnicode(units, back);
    EXPECT_EQ(back, "kept:" + bytes);
}

TEST(CodePage, WhatLatin1CannotHoldIsFoundAndNeverTakenSilentlyAsAnotherByte) {
    const CodePage& page = CodePage::Latin1();
    std::u16string text = u"caf\u00E9 \u20AC \u0100";
    EXPECT_EQ(page.FirstUnmappable(text), 5u);
    EXPECT_EQ(page.FirstUnmappable(u"caf\u00E9"), std::u16string_view::npos);
    std::string bytes;
    page.FromUnicode(text, bytes);
    EXPECT_EQ(bytes, "caf\xE9 ? ?");
}

TEST(CodePage, KnownByItsNames) {
    for (const char* name : {"ISO-8859-1", "iso-8859-1", "latin1"}) {
        std::unique_ptr<CodePage> page = CodePage::Named(name);
        ASSERT_TRUE(page) << name;
        EXPECT_EQ(page->Name(), "ISO-8859-1");
    }
    EXPECT_FALSE(CodePage::Named("BIG5-NOT-YET"));
    EXPECT_FALSE(CodePage::Named(""));
}
