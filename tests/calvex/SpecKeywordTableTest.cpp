#include "calvex/SpecKeywordTable.h"

#include <gtest/gtest.h>

using namespace calvex;

namespace {

// The table as the statement language defines it, written out independently of the library.
const char* const kExpected[] = {
    "RENAME=F 02 21  23  [16\xA6:K] [17\xA6:RENAME]",
    "IGNORE=F 01 21      [16\xA6:K] [17\xA6:IGNORE]",
    "SFRECNO=F 02 23  22  [16\xA6:K] [17\xA6:SFILE]",
    "INFODS=F 01 23      [16\xA6:K] [17\xA6:INFDS]",
    "PLIST=F 01 23      [16\xA6:K] [17\xA6:PLIST]",
    "FCONT=F 04 17  21  22  23  [16\xA6:K]",
    "FILEPRN=F 15 01  06  19  07I 12  14  10  13I 09I 11  04  05  08  16  17  [15\xA6:PRINTER] "
    "[02\xA6:O]",
    "FILE=F 19 01  15  02  03  06  10  18  19  07I 13I 09I 11  12  04  05  08  14  16  17",
    "FILEARRAY=E 14 01  02  03  04I 05I 06I 07  08  09  10  11I 12  13  14",
    "ARRAY=E 11 03  05I 06I 07  08  09  10  11I 12  13  14",
    "TAB=E 12 03  04I 05I 06I 07  08  09  10  11I 12  13  14",
    "LINECOUNT=L 05 01  02I 03  04I 05",
    "DS=I 06 19  20  04  21  22I 23I [05\xA6:DS]",
    "RECORD=I 02 17  05",
    "ANDREC=I 12 33I 34  35  36  37I 38  39  40  41I 42  43  44  [16\xA6:AND]",
    "ORREC=I 12 33I 34  35  36  37I 38  39  40  41I 42  43  44  [16\xA6:OR]",
    "FILEREC=I 17 01  02  03  04  05  33I 34  35  36  37I 38  39  40  41I 42  43  44",
    "FIELD=I 09 10  26I 27I 25  09  11  12  13  14",
    "CONST=I 03 32  31  30",
    "RENFLD=I 05 18  10  11  12  14",
    "OUTBEGIN=O 11 01  02  04  05  06I 07I 08D 09D 10D 03  11",
    "PRNBEGIN=O 11 01  02  04  05  06I 07I 08D 09D 10D 03  11",
    "DETLINE=O 08 03  04  05  06I 07I 08D 09D 10D [02\xA6:D]",
    "TOTLINE=O 08 03  04  05  06I 07I 08D 09D 10D [02\xA6:T]",
    "ANDL=O 08 03  04  05  06I 07I 08D 09D 10D [12\xA6:AND]",
    "ORL=O 08 03  04  05  06I 07I 08D 09D 10D [12\xA6:OR]",
    "EXCLINE=O 09 11  03  04  05  06I 07I 08D 09D 10D [02\xA6:E]",
    "LFIELD=O 09 15  18I 16  20  19  17  08D 09D 10D",
    "LCONST=O 05 20  18I 08D 09D 10D",
};

} // namespace

TEST(SpecKeywordTable, HoldsEveryEntryInOrder) {
    StringList table;
    LoadSpecKeywordTable(table);
    ASSERT_EQ(table.size(), std::size(kExpected));
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i], kExpected[i]) << "entry " << i;
    // The separator of a fixed entry is the single byte 0xA6, not a multi-byte sequence.
    EXPECT_NE(table[0].find("16\xA6:K"), std::string::npos);
    EXPECT_EQ(table[0].find("\xC2\xA6"), std::string::npos);
}

TEST(SpecKeywordTable, EveryDeclaredCountMatchesItsSlots) {
    StringList table;
    LoadSpecKeywordTable(table);
    for (const std::string& line : table) {
        KeywordEntry entry;
        ASSERT_TRUE(ParseKeywordValue(line.substr(line.find('=') + 1), entry)) << line;
        EXPECT_EQ(entry.Slots.size(), static_cast<size_t>(entry.ParamCount)) << line;
        for (const KeywordSlot& slot : entry.Slots)
            EXPECT_GT(FieldColumns(entry.FormType, slot.Field).Width, 0) << line;
        for (const FixedEntry& fixed : entry.Fixed)
            EXPECT_GE(FieldColumns(entry.FormType, fixed.Field).Width,
                      static_cast<int>(fixed.Text.size()))
                << line;
    }
}

TEST(SpecKeywordTable, LookupIgnoresCaseAndMissesGiveNothing) {
    StringList table;
    LoadSpecKeywordTable(table);
    std::string value = LookupKeyword(table, "FILE");
    EXPECT_EQ(value,
              "F 19 01  15  02  03  06  10  18  19  07I 13I 09I 11  12  04  05  08  14  16  17");
    EXPECT_EQ(LookupKeyword(table, "file"), value);
    EXPECT_EQ(LookupKeyword(table, "File"), value);
    EXPECT_EQ(LookupKeyword(table, "FIL"), "");
    EXPECT_EQ(LookupKeyword(table, "ADD"), "");

    const SpecKeywordTable& parsed = SpecKeywordTable::Instance();
    ASSERT_NE(parsed.Find("outbegin"), nullptr);
    EXPECT_EQ(parsed.Find("outbegin")->Name, "OUTBEGIN");
    EXPECT_EQ(parsed.Find("PrnBegin")->FormType, 'O');
    EXPECT_EQ(parsed.Find("FILEX"), nullptr);
    EXPECT_EQ(parsed.Entries().size(), 29u);
}

TEST(SpecKeywordTable, OnlyTheDeclaredSlotsAreRead) {
    const KeywordEntry* ignore = SpecKeywordTable::Instance().Find("IGNORE");
    ASSERT_NE(ignore, nullptr);
    ASSERT_EQ(ignore->Slots.size(), 1u);
    EXPECT_EQ(ignore->Slots[0].Field, 21);
    EXPECT_EQ(ignore->Slots[0].Type, SlotType::Text);
    ASSERT_EQ(ignore->Fixed.size(), 2u);
    EXPECT_EQ(ignore->Fixed[1].Field, 17);
    EXPECT_EQ(ignore->Fixed[1].Text, "IGNORE");

    const KeywordEntry* lfield = SpecKeywordTable::Instance().Find("LFIELD");
    ASSERT_EQ(lfield->Slots.size(), 9u);
    EXPECT_EQ(lfield->Slots[1].Type, SlotType::Integer);
    EXPECT_EQ(lfield->Slots[6].Type, SlotType::Right);
    EXPECT_TRUE(lfield->Fixed.empty());
}

TEST(SpecKeywordTable, FixedEntriesAreAppendedWithoutBrackets) {
    StringList list{"FILEPRN", "X"};
    AppendFixedEntries(LookupKeyword(StringList{kExpected[6]}, "FILEPRN"), list);
    EXPECT_EQ(list, (StringList{"FILEPRN", "X", "15\xA6:PRINTER", "02\xA6:O"}));
    list.clear();
    AppendFixedEntries("F 01 21  ", list);
    EXPECT_TRUE(list.empty());
}

TEST(SpecKeywordTable, MalformedValuesAreRefused) {
    KeywordEntry entry;
    EXPECT_FALSE(ParseKeywordValue("", entry));
    EXPECT_FALSE(ParseKeywordValue("F XX 01  ", entry));
    EXPECT_FALSE(ParseKeywordValue("F 02 01  ", entry)); // a slot missing
    EXPECT_FALSE(ParseKeywordValue("F 01 01X ", entry)); // unknown slot type
    EXPECT_FALSE(ParseKeywordValue("F 01 01   [1\xA6:K]", entry));
    EXPECT_TRUE(ParseKeywordValue("F 01 01I ", entry));
}

TEST(FieldColumns, MapsOfEachFormType) {
    EXPECT_EQ(FieldColumns('F', 15).First, 40);
    EXPECT_EQ(FieldColumns('F', 15).Width, 7);
    EXPECT_EQ(FieldColumns('F', 23).First, 60);
    EXPECT_EQ(FieldColumns('F', 20).Width, 0);
    EXPECT_EQ(FieldColumns('E', 10).First, 46);
    EXPECT_EQ(FieldColumns('E', 10).Width, 6);
    EXPECT_EQ(FieldColumns('L', 4).First, 20);
    EXPECT_EQ(FieldColumns('I', 30).Width, 22);
    EXPECT_EQ(FieldColumns('I', 19).Width, 6);
    EXPECT_EQ(FieldColumns('O', 20).First, 45);
    EXPECT_EQ(FieldColumns('O', 20).Width, 26);
    EXPECT_EQ(FieldColumns('C', 1).Width, 0);
}
