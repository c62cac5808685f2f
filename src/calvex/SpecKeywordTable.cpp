#include "SpecKeywordTable.h"

#include "document/ParseString.h"

namespace calvex {

namespace {

constexpr const char* kEntries[] = {
    "RENAME=F 02 21  23  [16\xA6:K] [17\xA6:RENAME]",
    "IGNORE=F 01 21      [16\xA6:K] [17\xA6:IGNORE]",
    "SFRECNO=F 02 23  22  [16\xA6:K] [17\xA6:SFILE]",
    "INFODS=F 01 23      [16\xA6:K] [17\xA6:INFDS]",
    "PLIST=F 01 23      [16\xA6:K] [17\xA6:PLIST]",
    "FCONT=F 04 17  21  22  23  [16\xA6:K]",
    ("FILEPRN=F 15 01  06  19  07I 12  14  10  13I 09I 11  04  05  08  16  17  [15\xA6:PRINTER] "
     "[02\xA6:O]"),
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

struct MappedField {
    std::uint8_t Number;
    std::uint8_t First;
    std::uint8_t Last;
};

constexpr MappedField kFileFields[] = {
    {1, 7, 14},   {2, 15, 15},  {3, 16, 16},  {4, 17, 17},  {5, 18, 18},  {6, 19, 19},
    {7, 24, 27},  {8, 28, 28},  {9, 29, 30},  {10, 31, 31}, {11, 32, 32}, {12, 33, 34},
    {13, 35, 38}, {14, 39, 39}, {15, 40, 46}, {16, 53, 53}, {17, 54, 59}, {18, 66, 66},
    {19, 71, 72}, {21, 19, 28}, {22, 47, 52}, {23, 60, 67},
};

constexpr MappedField kExtensionFields[] = {
    {1, 11, 18}, {2, 19, 26}, {3, 27, 32},  {4, 33, 35},  {5, 36, 39},  {6, 40, 42},  {7, 43, 43},
    {8, 44, 44}, {9, 45, 45}, {10, 46, 51}, {11, 52, 54}, {12, 55, 55}, {13, 56, 56}, {14, 57, 57},
};

constexpr MappedField kLineCounterFields[] = {
    {1, 7, 14}, {2, 15, 17}, {3, 18, 19}, {4, 20, 22}, {5, 23, 24},
};

constexpr MappedField kInputFields[] = {
    {1, 7, 14},   {2, 15, 16},  {3, 17, 17},  {4, 18, 18},  {5, 19, 20},  {9, 52, 52},
    {10, 53, 58}, {11, 59, 60}, {12, 61, 62}, {13, 63, 64}, {14, 65, 70}, {16, 14, 16},
    {17, 7, 14},  {18, 21, 30}, {19, 7, 12},  {20, 17, 17}, {21, 21, 30}, {22, 44, 47},
    {23, 48, 51}, {25, 43, 43}, {26, 44, 47}, {27, 48, 51}, {30, 21, 42}, {31, 43, 43},
    {32, 53, 58}, {33, 21, 24}, {34, 25, 25}, {35, 26, 26}, {36, 27, 27}, {37, 28, 31},
    {38, 32, 32}, {39, 33, 33}, {40, 34, 34}, {41, 35, 38}, {42, 39, 39}, {43, 40, 40},
    {44, 41, 41},
};

constexpr MappedField kOutputFields[] = {
    {1, 7, 14},   {2, 15, 15},  {3, 16, 16},  {4, 17, 17},  {5, 18, 18},  {6, 19, 20},
    {7, 21, 22},  {8, 23, 25},  {9, 26, 28},  {10, 29, 31}, {11, 32, 37}, {12, 14, 16},
    {15, 32, 37}, {16, 38, 38}, {17, 39, 39}, {18, 40, 43}, {19, 44, 44}, {20, 45, 70},
};

template <size_t N> FieldSpan FindField(const MappedField (&map)[N], int field) {
    for (const MappedField& f : map)
        if (f.Number == field)
            return {f.First, f.Last - f.First + 1};
    return {};
}

bool TwoDigits(std::string_view s, size_t at, int& value) {
    if (at + 2 > s.size() || s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9')
        return false;
    value = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return true;
}

} // namespace

void LoadSpecKeywordTable(StringList& list) {
    for (const char* entry : kEntries)
        list.emplace_back(entry);
}

std::string LookupKeyword(const StringList& table, std::string_view name) {
    for (const std::string& entry : table) {
        size_t eq = entry.find('=');
        if (eq != std::string::npos && SameText(std::string_view(entry).substr(0, eq), name))
            return entry.substr(eq + 1);
    }
    return {};
}

void AppendFixedEntries(std::string_view value, StringList& list) {
    size_t open = value.find('[');
    while (open != std::string_view::npos) {
        size_t close = value.find(']', open + 1);
        if (close == std::string_view::npos)
            return;
        list.emplace_back(value.substr(open + 1, close - open - 1));
        open = value.find('[', close + 1);
    }
}

FieldSpan FieldColumns(char formType, int field) {
    switch (formType) {
    case 'F':
        return FindField(kFileFields, field);
    case 'E':
        return FindField(kExtensionFields, field);
    case 'L':
        return FindField(kLineCounterFields, field);
    case 'I':
        return FindField(kInputFields, field);
    case 'O':
        return FindField(kOutputFields, field);
    default:
        return {};
    }
}

bool ParseKeywordValue(std::string_view value, KeywordEntry& entry) {
    entry.Slots.clear();
    entry.Fixed.clear();
    if (value.size() < 4 || value[1] != ' ' || !TwoDigits(value, 2, entry.ParamCount))
        return false;
    entry.FormType = value[0];
    // The slots are counted by the declared count; what follows them is only read for the
    // fixed entries, so a short slot string with blanks after it is not misread.
    for (int i = 0; i < entry.ParamCount; ++i) {
        size_t at = 5 + static_cast<size_t>(i) * 4;
        int field = 0;
        if (!TwoDigits(value, at, field))
            return false;
        KeywordSlot slot;
        slot.Field = static_cast<std::uint8_t>(field);
        char type = at + 2 < value.size() ? value[at + 2] : ' ';
        if (type != ' ' && type != 'I' && type != 'D')
            return false;
        slot.Type = static_cast<SlotType>(type);
        entry.Slots.push_back(slot);
    }
    StringList fixed;
    AppendFixedEntries(value, fixed);
    for (const std::string& f : fixed) {
        int field = 0;
        if (!TwoDigits(f, 0, field) || f.compare(2, FixedEntryMark.size(), FixedEntryMark) != 0)
            return false;
        entry.Fixed.push_back(
            {static_cast<std::uint8_t>(field), f.substr(2 + FixedEntryMark.size())});
    }
    return true;
}

const SpecKeywordTable& SpecKeywordTable::Instance() {
    static const SpecKeywordTable table = [] {
        StringList entries;
        LoadSpecKeywordTable(entries);
        return SpecKeywordTable(entries);
    }();
    return table;
}

SpecKeywordTable::SpecKeywordTable(const StringList& entries) {
    for (const std::string& line : entries) {
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        KeywordEntry entry;
        entry.Name = UpperCase(std::string_view(line).substr(0, eq));
        if (ParseKeywordValue(std::string_view(line).substr(eq + 1), entry))
            Entries_.push_back(std::move(entry));
    }
}

const KeywordEntry* SpecKeywordTable::Find(std::string_view name) const {
    // 29 short names: comparing the length first makes a scan as fast as hashing would be.
    for (const KeywordEntry& e : Entries_)
        if (e.Name.size() == name.size() && SameText(e.Name, name))
            return &e;
    return nullptr;
}

} // namespace calvex
