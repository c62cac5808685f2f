#include "calvex/OpCodeTable.h"
#include "tessary/PromptHelp.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

// The shipped parameter file against the operation-code table of the conversion library: every
// code must find its own entry (or its "xx" group) with one name, length and note per
// calculation field its flags use, in field order.

using namespace tessary;

namespace {

const std::string DataDir = ORVALE_SOURCE_DIR "/data";

// Flag positions (0-based) of the calculation fields in field order, with the longest value
// each field takes: factor 1 and 2, result, extender, three indicators, length, decimals.
constexpr std::array<std::pair<int, const char*>, 9> Fields = {
    {{1, "10"}, {2, "10"}, {3, "6"}, {5, "1"}, {7, "2"}, {8, "2"}, {9, "2"}, {11, "3"}, {12, "1"}}};

StringList ExpectedLengths(std::string_view flags) {
    StringList lengths;
    for (auto [position, length] : Fields)
        if (flags[static_cast<size_t>(position)] != '0')
            lengths.push_back(length);
    return lengths;
}

} // namespace

TEST(PromptFile, EveryOperationCodeHasAnEntryMatchingItsFields) {
    TPromptFile file(DataDir);
    StringList table;
    calvex::LoadOpCodeTable(table);
    ASSERT_EQ(table.size(), 138u);
    for (const std::string& line : table) {
        size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        const std::string code = line.substr(0, equals);
        const std::string flags = line.substr(equals + 1);
        ASSERT_EQ(flags.size(), 17u) << line;
        StringList lengths = ExpectedLengths(flags);
        TEntry entry = ResolveEntry(file, code, TFallbackName::DefOpCode);
        ASSERT_NE(entry.Code, DefaultOpCode) << code;
        StringList entryNames = SplitItems(entry.Names);
        EXPECT_EQ(entryNames.size(), lengths.size()) << code << ": " << entry.Names;
        EXPECT_EQ(SplitItems(file.Read("ParamLeng", entry.Code, "")), lengths) << code;
        StringList notes = SplitItems(file.Read("ParamNote", entry.Code, ""));
        EXPECT_EQ(notes.size(), lengths.size()) << code;
        for (size_t i = 0; i < entryNames.size() && i < notes.size(); ++i) {
            EXPECT_FALSE(entryNames[i].empty()) << code << " parameter " << i + 1;
            EXPECT_FALSE(notes[i].empty()) << code << " parameter " << i + 1;
        }
        EXPECT_FALSE(file.Read("OpCodeDesc", entry.Code, "").empty()) << code;
        // Operations written without a parameter list have no rows to prompt.
        if (flags[0] == '0') {
            EXPECT_TRUE(entryNames.empty()) << code;
        }
    }
}

TEST(PromptFile, DefaultEntryCoversEveryCalculationField) {
    TPromptFile file(DataDir);
    StringList lengths = SplitItems(file.Read("ParamLeng", DefaultOpCode, ""));
    EXPECT_EQ(lengths, ExpectedLengths("1111 1 111 11 111"));
    EXPECT_EQ(SplitItems(file.Read("ParamName", DefaultOpCode, "")).size(), 9u);
    EXPECT_EQ(SplitItems(file.Read("ParamNote", DefaultOpCode, "")).size(), 9u);
    EXPECT_FALSE(file.Read("OpCodeDesc", DefaultOpCode, "").empty());
}
