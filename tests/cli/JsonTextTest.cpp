// JSON text of the command-line tool: every line it writes must be valid JSON in UTF-8,
// whatever bytes the members and their names hold.

#include "cli/JsonText.h"

#include <gtest/gtest.h>

using orvale::cli::JsonArray;
using orvale::cli::JsonObject;
using orvale::cli::JsonString;

namespace {

TEST(JsonText, ValidUtf8StaysAndOtherBytesAreReadAsLatin1) {
    EXPECT_EQ(JsonString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\xc3\xa9\"");
    // A sequence cut short, an overlong form, a surrogate, a byte that never starts one.
    EXPECT_EQ(JsonString("\xc3"), "\"\xc3\x83\"");
    EXPECT_EQ(JsonString("\xc0\xaf"), "\"\xc3\x80\xc2\xaf\"");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\xc3\xad\xc2\xa0\xc2\x80\"");
    EXPECT_EQ(JsonString("\xff"), "\"\xc3\xbf\"");
    EXPECT_EQ(JsonString("\xf0\x9f\x98\x80"), "\"\xf0\x9f\x98\x80\"");
}

TEST(JsonText, QuotesBackslashesAndControlCharactersAreEscaped) {
    EXPECT_EQ(JsonString("a\"b\\c\td\r\n"), "\"a\\\"b\\\\c\\td\\r\\n\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1a\x7f", 3)), "\"\\u0001\\u001a\\u007f\"");
    JsonObject o;
    o.Add("member", "A/B.RPG");
    o.Add("line", size_t{12});
    o.Add("built", true);
    o.AddRaw("list", JsonArray({"1", "\"x\""}));
    EXPECT_EQ(o.Text(), "{\"member\":\"A/B.RPG\",\"line\":12,\"built\":true,\"list\":[1,\"x\"]}");
    EXPECT_EQ(JsonObject().Text(), "{}");
}

} // namespace
