#include "tessary/PromptHelp.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

// The shipped parameter file against the operation codes of the calculation specification:
// every code must find its own entry (or its "xx" group) with one name, length and note per
// calculation field its flags use, in field order.

using namespace tessary;

namespace {

const std::string DataDir = ORVALE_SOURCE_DIR "/data";

// The operation codes and their flag strings "ABCD E FGH IJ KLM", grouped by flags.
const std::vector<std::pair<const char*, std::vector<const char*>>> OpCodeGroups = {
    {"1220 0 010 00 000", {"ACQ", "NEXT", "REL"}},
    {"1122 0 111 11 000", {"ADD", "DIV", "MULT", "SUB"}},
    {"1220 0 000 00 110",
     {"ANDEQ", "ANDNE", "ANDLT", "ANDLE", "ANDGT", "ANDGE", "OREQ", "ORNE", "ORLT", "ORLE", "ORGT",
      "ORGE", "WHEQ", "WHNE", "WHLT", "WHLE", "WHGT", "WHGE"}},
    {"1200 0 000 00 100", {"BEGSR"}},
    {"1022 0 000 11 000", {"BITOF", "BITON", "MHHZO", "MHLZO", "MLHZO", "MLLZO", "SQRT"}},
    {"1221 0 111 11 000", {"CABEQ", "CABNE", "CABLT", "CABLE", "CABGT", "CABGE", "LOKUP"}},
    {"1021 0 011 11 000", {"CALL"}},
    {"1112 0 111 11 000", {"CASEQ", "CASNE", "CASLT", "CASLE", "CASGT", "CASGE"}},
    {"1122 1 000 11 000", {"CAT"}},
    {"1221 1 210 11 000", {"CHAIN"}},
    {"1221 0 011 11 000", {"CHECK", "CHEKR", "SCAN"}},
    {"1120 0 000 00 000", {"CLEAR", "RESET"}},
    {"1020 0 010 00 000", {"CLOSE", "EXFMT", "FEOD", "FREE", "OPEN", "UNLCK"}},
    {"1100 0 010 00 000", {"COMIT"}},
    {"1220 0 111 00 000", {"COMP", "SETLL"}},
    {"1111 0 000 11 000", {"DEBUG"}},
    {"1212 0 000 11 000", {"DEFN"}},
    {"1120 0 110 00 000", {"DELET"}},
    {"1111 0 000 11 100", {"DO"}},
    {"1220 0 000 00 100",
     {"DOUEQ", "DOUNE", "DOULT", "DOULE", "DOUGT", "DOUGE", "DOWEQ", "DOWNE", "DOWLT", "DOWLE",
      "DOWGT", "DOWGE", "IFEQ", "IFNE", "IFLT", "IFLE", "IFGT", "IFGE"}},
    {"1111 0 010 11 000", {"DSPLY", "POST"}},
    {"1100 0 000 00 000", {"DUMP"}},
    {"0000 0 000 00 110", {"ELSE", "OTHER"}},
    {"1010 0 000 00 010", {"END", "ENDDO"}},
    {"0000 0 000 00 000", {"ENDCS", "LEAVE", "RETRN"}},
    {"0000 0 000 00 010", {"ENDIF"}},
    {"0000 0 000 00 020", {"ENDSL"}},
    {"1110 0 000 00 010", {"ENDSR"}},
    {"1010 0 000 00 000", {"EXCPT"}},
    {"1020 0 000 00 000", {"EXSR", "FORCE", "GOTO", "SORTA"}},
    {"1120 0 010 00 000", {"IN", "OUT"}},
    {"0000 0 000 00 100", {"ITER"}},
    {"1002 0 000 11 001", {"KFLD"}},
    {"1200 0 000 00 000", {"KLIST", "PLIST"}},
    {"1022 1 111 11 000", {"MOVE", "MOVEA", "MOVEL"}},
    {"1002 0 111 11 000", {"MVR", "TESTN", "TESTZ"}},
    {"1121 0 010 11 000", {"OCUR"}},
    {"1112 0 000 11 001", {"PARM"}},
    {"1021 1 012 11 000", {"READ", "READP"}},
    {"1020 0 012 00 000", {"READC"}},
    {"1121 1 012 11 000", {"READE", "REDPE"}},
    {"1000 0 010 00 000", {"ROLBK"}},
    {"0000 0 000 00 200", {"SELEC"}},
    {"1220 0 110 00 000", {"SETGT"}},
    {"1000 0 111 00 000", {"SETOF", "SETON"}},
    {"1000 0 100 00 000", {"SHTDN"}},
    {"1122 1 010 11 000", {"SUBST"}},
    {"1200 0 000 00 110", {"TAG"}},
    {"1022 0 111 11 000", {"TESTB", "XFOOT", "Z-ADD", "Z-SUB"}},
    {"1002 0 000 11 000", {"TIME"}},
    {"1011 0 010 11 000", {"UPDAT"}},
    {"1011 0 011 11 000", {"WRITE"}},
    {"1222 1 010 11 000", {"XLATE"}},
};

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
    size_t codes = 0;
    for (const auto& [flags, names] : OpCodeGroups) {
        StringList lengths = ExpectedLengths(flags);
        for (const char* code : names) {
            ++codes;
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
    EXPECT_EQ(codes, 138u);
}

TEST(PromptFile, DefaultEntryCoversEveryCalculationField) {
    TPromptFile file(DataDir);
    StringList lengths = SplitItems(file.Read("ParamLeng", DefaultOpCode, ""));
    EXPECT_EQ(lengths, ExpectedLengths("1111 1 111 11 111"));
    EXPECT_EQ(SplitItems(file.Read("ParamName", DefaultOpCode, "")).size(), 9u);
    EXPECT_EQ(SplitItems(file.Read("ParamNote", DefaultOpCode, "")).size(), 9u);
    EXPECT_FALSE(file.Read("OpCodeDesc", DefaultOpCode, "").empty());
}
