#include "calvex/OpCodeTable.h"

#include <gtest/gtest.h>

#include <map>

using namespace calvex;

namespace {

// The operation codes grouped by their flag string.
const std::vector<std::pair<std::string, std::vector<std::string>>> FlagGroups = {
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

// The order the table lists (and so searches) its entries.
const std::vector<std::string> TableOrder = {
    "ACQ",   "ADD",   "ANDEQ", "ANDNE", "ANDLT", "ANDLE", "ANDGT", "ANDGE", "BEGSR", "BITOF",
    "BITON", "CABEQ", "CABNE", "CABLT", "CABLE", "CABGT", "CABGE", "CALL",  "CASEQ", "CASNE",
    "CASLT", "CASLE", "CASGT", "CASGE", "CAT",   "CHAIN", "CHECK", "CHEKR", "CLEAR", "CLOSE",
    "COMIT", "COMP",  "DEBUG", "DEFN",  "DELET", "DIV",   "DO",    "DOUEQ", "DOUNE", "DOULT",
    "DOULE", "DOUGT", "DOUGE", "DOWEQ", "DOWNE", "DOWLT", "DOWLE", "DOWGT", "DOWGE", "DSPLY",
    "DUMP",  "ELSE",  "END",   "ENDCS", "ENDDO", "ENDIF", "ENDSL", "ENDSR", "EXCPT", "EXFMT",
    "EXSR",  "FEOD",  "FORCE", "FREE",  "GOTO",  "IFEQ",  "IFNE",  "IFLT",  "IFLE",  "IFGT",
    "IFGE",  "IN",    "ITER",  "KFLD",  "KLIST", "LEAVE", "LOKUP", "MHHZO", "MHLZO", "MLHZO",
    "MLLZO", "MOVE",  "MOVEA", "MOVEL", "MULT",  "MVR",   "NEXT",  "OCUR",  "OPEN",  "OREQ",
    "ORNE",  "ORLT",  "ORLE",  "ORGT",  "ORGE",  "OTHER", "OUT",   "PARM",  "PLIST", "POST",
    "READ",  "READC", "READE", "READP", "REDPE", "REL",   "RESET", "RETRN", "ROLBK", "SCAN",
    "SELEC", "SETGT", "SETLL", "SETOF", "SETON", "SHTDN", "SORTA", "SQRT",  "SUB",   "SUBST",
    "TAG",   "TESTB", "TESTN", "TESTZ", "TIME",  "UNLCK", "UPDAT", "WHEQ",  "WHNE",  "WHLT",
    "WHLE",  "WHGT",  "WHGE",  "WRITE", "XFOOT", "XLATE", "Z-ADD", "Z-SUB",
};

} // namespace

TEST(OpCodeTable, HoldsEveryOperationCodeInOrderWithItsFlags) {
    std::map<std::string, std::string> expected;
    for (const auto& [flags, names] : FlagGroups)
        for (const std::string& name : names)
            ASSERT_TRUE(expected.emplace(name, flags).second) << name << " listed twice";
    ASSERT_EQ(expected.size(), 138u);
    ASSERT_EQ(TableOrder.size(), 138u);

    StringList table;
    LoadOpCodeTable(table);
    ASSERT_EQ(table.size(), 138u);
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i]);
        size_t eq = table[i].find('=');
        ASSERT_NE(eq, std::string::npos);
        std::string name = table[i].substr(0, eq);
        std::string value = table[i].substr(eq + 1);
        EXPECT_EQ(name, TableOrder[i]);
        EXPECT_EQ(value, expected[name]);
        ASSERT_EQ(value.size(), 17u);
        for (size_t blank : {4u, 6u, 10u, 13u})
            EXPECT_EQ(value[blank], ' ');
    }
}

TEST(OpCodeTable, LookupIgnoresCaseAndTakesTheFirstEntry) {
    StringList table;
    LoadOpCodeTable(table);
    EXPECT_EQ(LookupOpCode(table, "z-add"), "1022 0 111 11 000");
    EXPECT_EQ(LookupOpCode(table, "Z-Add"), LookupOpCode(table, "Z-ADD"));
    EXPECT_EQ(LookupOpCode(table, "XYZ"), "");
    EXPECT_EQ(LookupOpCode(table, ""), "");
    EXPECT_EQ(LookupOpCode(table, "AD"), "");

    table.insert(table.begin() + 1, "add=0000 0 000 00 000");
    EXPECT_EQ(LookupOpCode(table, "ADD"), "0000 0 000 00 000");
    EXPECT_EQ(OpCodeTable(table).Find("Add")->SlotCount, 0);
}

TEST(OpCodeTable, FastLookupAgreesWithTheListForEveryEntry) {
    StringList table;
    LoadOpCodeTable(table);
    const OpCodeTable& fast = OpCodeTable::Instance();
    for (const std::string& entry : table) {
        std::string name = entry.substr(0, entry.find('='));
        SCOPED_TRACE(name);
        const OpCodeFlags* found = fast.Find(name);
        ASSERT_NE(found, nullptr);
        OpCodeFlags decoded = DecodeOpCodeFlags(LookupOpCode(table, name));
        EXPECT_EQ(found->SlotCount, decoded.SlotCount);
        EXPECT_EQ(found->Uses, decoded.Uses);
        EXPECT_EQ(found->K, decoded.K);
        EXPECT_EQ(found->L, decoded.L);
        EXPECT_EQ(found->M, decoded.M);
        std::string lower;
        for (char c : name)
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        EXPECT_EQ(fast.Find(lower), found);
        EXPECT_EQ(fast.Find(" " + name + " "), found);
    }
    EXPECT_EQ(fast.Find("XYZ"), nullptr);
    EXPECT_EQ(fast.Find(""), nullptr);
    EXPECT_EQ(fast.Find("*NIL*"), nullptr);
    EXPECT_EQ(fast.Find("ADDADDADD"), nullptr);
    EXPECT_EQ(fast.Find("CAS"), nullptr);
}

TEST(OpCodeTable, SlotsOfFlagStrings) {
    EXPECT_EQ(OpCodeSlots(""), "");
    EXPECT_EQ(OpCodeSlots("0000 0 000 00 000"), "C 00 ");
    // ADD: factor 1 optional, factor 2 and result required, no extender, indicators, length
    // and decimal positions (the last two checked as integers).
    EXPECT_EQ(OpCodeSlots("1122 0 111 11 000"), "C 08 01  02O 03O 05  06  07  08I 09I ");
    EXPECT_EQ(OpCodeSlots("1000 0 111 00 000"), "C 03 05  06  07  ");
    EXPECT_EQ(OpCodeSlots("1021 1 012 11 000"), "C 07 02O 03  04  06  07O 08I 09I ");
    // A required length is required, not an integer slot.
    EXPECT_EQ(OpCodeSlots("1000 0 000 21 000"), "C 02 08O 09I ");
    // Indentation digits never become slots.
    EXPECT_EQ(OpCodeSlots("0000 0 000 00 222"), "C 00 ");
}

TEST(OpCodeTable, DecodedFlagsFollowTheSlotList) {
    OpCodeFlags chain = DecodeOpCodeFlags("1221 1 210 11 000");
    EXPECT_TRUE(chain.HasParams);
    EXPECT_EQ(chain.SlotCount, 8);
    const uint8_t items[] = {ItemFactor1, ItemFactor2, ItemResult, ItemExtender,
                             ItemHigh,    ItemLow,     ItemLength, ItemDecimals};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(chain.Slots[i].Item, items[i]) << i;
    EXPECT_TRUE(chain.Slots[0].Required);
    EXPECT_TRUE(chain.Slots[1].Required);
    EXPECT_FALSE(chain.Slots[2].Required);
    EXPECT_TRUE(chain.Slots[4].Required); // the not-found indicator
    EXPECT_TRUE(chain.Slots[6].Integer);
    EXPECT_FALSE(chain.Uses[ItemEqual]);

    OpCodeFlags selec = DecodeOpCodeFlags("0000 0 000 00 200");
    EXPECT_FALSE(selec.HasParams);
    EXPECT_EQ(selec.K, 2);
    EXPECT_EQ(selec.L, 0);
    OpCodeFlags kfld = DecodeOpCodeFlags("1002 0 000 11 001");
    EXPECT_EQ(kfld.M, 1);
    EXPECT_EQ(kfld.K + kfld.L, 0);
}
