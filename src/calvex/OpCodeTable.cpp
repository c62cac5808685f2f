#include "OpCodeTable.h"

#include "document/ParseString.h"

namespace calvex {

namespace {

// One entry per operation code, in the order the table is listed and searched.
constexpr const char* OpCodeEntries[] = {
    "ACQ=1220 0 010 00 000",   "ADD=1122 0 111 11 000",   "ANDEQ=1220 0 000 00 110",
    "ANDNE=1220 0 000 00 110", "ANDLT=1220 0 000 00 110", "ANDLE=1220 0 000 00 110",
    "ANDGT=1220 0 000 00 110", "ANDGE=1220 0 000 00 110", "BEGSR=1200 0 000 00 100",
    "BITOF=1022 0 000 11 000", "BITON=1022 0 000 11 000", "CABEQ=1221 0 111 11 000",
    "CABNE=1221 0 111 11 000", "CABLT=1221 0 111 11 000", "CABLE=1221 0 111 11 000",
    "CABGT=1221 0 111 11 000", "CABGE=1221 0 111 11 000", "CALL=1021 0 011 11 000",
    "CASEQ=1112 0 111 11 000", "CASNE=1112 0 111 11 000", "CASLT=1112 0 111 11 000",
    "CASLE=1112 0 111 11 000", "CASGT=1112 0 111 11 000", "CASGE=1112 0 111 11 000",
    "CAT=1122 1 000 11 000",   "CHAIN=1221 1 210 11 000", "CHECK=1221 0 011 11 000",
    "CHEKR=1221 0 011 11 000", "CLEAR=1120 0 000 00 000", "CLOSE=1020 0 010 00 000",
    "COMIT=1100 0 010 00 000", "COMP=1220 0 111 00 000",  "DEBUG=1111 0 000 11 000",
    "DEFN=1212 0 000 11 000",  "DELET=1120 0 110 00 000", "DIV=1122 0 111 11 000",
    "DO=1111 0 000 11 100",    "DOUEQ=1220 0 000 00 100", "DOUNE=1220 0 000 00 100",
    "DOULT=1220 0 000 00 100", "DOULE=1220 0 000 00 100", "DOUGT=1220 0 000 00 100",
    "DOUGE=1220 0 000 00 100", "DOWEQ=1220 0 000 00 100", "DOWNE=1220 0 000 00 100",
    "DOWLT=1220 0 000 00 100", "DOWLE=1220 0 000 00 100", "DOWGT=1220 0 000 00 100",
    "DOWGE=1220 0 000 00 100", "DSPLY=1111 0 010 11 000", "DUMP=1100 0 000 00 000",
    "ELSE=0000 0 000 00 110",  "END=1010 0 000 00 010",   "ENDCS=0000 0 000 00 000",
    "ENDDO=1010 0 000 00 010", "ENDIF=0000 0 000 00 010", "ENDSL=0000 0 000 00 020",
    "ENDSR=1110 0 000 00 010", "EXCPT=1010 0 000 00 000", "EXFMT=1020 0 010 00 000",
    "EXSR=1020 0 000 00 000",  "FEOD=1020 0 010 00 000",  "FORCE=1020 0 000 00 000",
    "FREE=1020 0 010 00 000",  "GOTO=1020 0 000 00 000",  "IFEQ=1220 0 000 00 100",
    "IFNE=1220 0 000 00 100",  "IFLT=1220 0 000 00 100",  "IFLE=1220 0 000 00 100",
    "IFGT=1220 0 000 00 100",  "IFGE=1220 0 000 00 100",  "IN=1120 0 010 00 000",
    "ITER=0000 0 000 00 100",  "KFLD=1002 0 000 11 001",  "KLIST=1200 0 000 00 000",
    "LEAVE=0000 0 000 00 000", "LOKUP=1221 0 111 11 000", "MHHZO=1022 0 000 11 000",
    "MHLZO=1022 0 000 11 000", "MLHZO=1022 0 000 11 000", "MLLZO=1022 0 000 11 000",
    "MOVE=1022 1 111 11 000",  "MOVEA=1022 1 111 11 000", "MOVEL=1022 1 111 11 000",
    "MULT=1122 0 111 11 000",  "MVR=1002 0 111 11 000",   "NEXT=1220 0 010 00 000",
    "OCUR=1121 0 010 11 000",  "OPEN=1020 0 010 00 000",  "OREQ=1220 0 000 00 110",
    "ORNE=1220 0 000 00 110",  "ORLT=1220 0 000 00 110",  "ORLE=1220 0 000 00 110",
    "ORGT=1220 0 000 00 110",  "ORGE=1220 0 000 00 110",  "OTHER=0000 0 000 00 110",
    "OUT=1120 0 010 00 000",   "PARM=1112 0 000 11 001",  "PLIST=1200 0 000 00 000",
    "POST=1111 0 010 11 000",  "READ=1021 1 012 11 000",  "READC=1020 0 012 00 000",
    "READE=1121 1 012 11 000", "READP=1021 1 012 11 000", "REDPE=1121 1 012 11 000",
    "REL=1220 0 010 00 000",   "RESET=1120 0 000 00 000", "RETRN=0000 0 000 00 000",
    "ROLBK=1000 0 010 00 000", "SCAN=1221 0 011 11 000",  "SELEC=0000 0 000 00 200",
    "SETGT=1220 0 110 00 000", "SETLL=1220 0 111 00 000", "SETOF=1000 0 111 00 000",
    "SETON=1000 0 111 00 000", "SHTDN=1000 0 100 00 000", "SORTA=1020 0 000 00 000",
    "SQRT=1022 0 000 11 000",  "SUB=1122 0 111 11 000",   "SUBST=1122 1 010 11 000",
    "TAG=1200 0 000 00 110",   "TESTB=1022 0 111 11 000", "TESTN=1002 0 111 11 000",
    "TESTZ=1002 0 111 11 000", "TIME=1002 0 000 11 000",  "UNLCK=1020 0 010 00 000",
    "UPDAT=1011 0 010 11 000", "WHEQ=1220 0 000 00 110",  "WHNE=1220 0 000 00 110",
    "WHLT=1220 0 000 00 110",  "WHLE=1220 0 000 00 110",  "WHGT=1220 0 000 00 110",
    "WHGE=1220 0 000 00 110",  "WRITE=1011 0 011 11 000", "XFOOT=1022 0 111 11 000",
    "XLATE=1222 1 010 11 000", "Z-ADD=1022 0 111 11 000", "Z-SUB=1022 0 111 11 000",
};

constexpr CalcField CalcFields[10] = {
    {0, 0},   // unused
    {18, 10}, // factor 1
    {33, 10}, // factor 2
    {43, 6},  // result field
    {53, 1},  // operation extender
    {54, 2},  // resulting indicator high
    {56, 2},  // resulting indicator low
    {58, 2},  // resulting indicator equal
    {49, 3},  // field length
    {52, 1},  // decimal positions
};

// Upper-cased name in the bytes of a 64-bit key; 0 for an empty or over-long name.
std::uint64_t PackName(std::string_view name) {
    name = TrimView(name);
    if (name.empty() || name.size() > 8)
        return 0;
    std::uint64_t key = 0;
    for (char c : name)
        key = (key << 8) | static_cast<unsigned char>(UpperChar(c));
    return key;
}

bool Used(char digit) {
    return digit == '1' || digit == '2';
}

int Digit(std::string_view flags, size_t pos) {
    if (pos >= flags.size())
        return 0;
    char c = flags[pos];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

} // namespace

void LoadOpCodeTable(StringList& list) {
    for (const char* entry : OpCodeEntries)
        list.emplace_back(entry);
}

std::string LookupOpCode(const StringList& table, std::string_view name) {
    for (const std::string& entry : table) {
        size_t eq = entry.find('=');
        if (eq != std::string::npos && SameText(std::string_view(entry).substr(0, eq), name))
            return entry.substr(eq + 1);
    }
    return {};
}

std::string OpCodeSlots(std::string_view flags) {
    if (flags.empty())
        return {};
    std::string slots;
    int counter = 0;
    int appended = 0;
    // Positions 2 to 13 (1-based) hold the items; blanks separate groups and do not count.
    for (size_t pos = 1; pos < 13 && pos < flags.size(); ++pos) {
        char digit = flags[pos];
        if (digit == ' ')
            continue;
        ++counter;
        if (!Used(digit))
            continue;
        char type = digit == '2' ? 'O' : (pos >= 11 ? 'I' : ' ');
        slots += static_cast<char>('0' + counter / 10);
        slots += static_cast<char>('0' + counter % 10);
        slots += type;
        slots += ' ';
        ++appended;
    }
    std::string value = "C 0";
    value += static_cast<char>('0' + appended);
    value += ' ';
    value += slots;
    return value;
}

CalcField CalcItemField(int item) {
    return item >= 1 && item <= 9 ? CalcFields[item] : CalcField{0, 0};
}

OpCodeFlags DecodeOpCodeFlags(std::string_view flags) {
    OpCodeFlags f;
    f.HasParams = !flags.empty() && Used(flags[0]);
    // Item number -> position in the flag string (0-based).
    constexpr size_t ItemPos[10] = {0, 1, 2, 3, 5, 7, 8, 9, 11, 12};
    for (int item = 1; item <= 9; ++item)
        f.Uses[item] = ItemPos[item] < flags.size() && Used(flags[ItemPos[item]]);
    f.K = Digit(flags, 14);
    f.L = Digit(flags, 15);
    f.M = Digit(flags, 16);

    // The compile places parameters by the slot list, so read the slots back from it.
    std::string slots = OpCodeSlots(flags);
    for (size_t p = 5; p + 3 <= slots.size() && f.SlotCount < 9; p += 4) {
        CalcSlot& slot = f.Slots[static_cast<size_t>(f.SlotCount++)];
        slot.Item = static_cast<std::uint8_t>((slots[p] - '0') * 10 + (slots[p + 1] - '0'));
        slot.Required = slots[p + 2] == 'O';
        slot.Integer = slots[p + 2] == 'I';
    }
    return f;
}

const OpCodeTable& OpCodeTable::Instance() {
    static const OpCodeTable table = [] {
        StringList entries;
        LoadOpCodeTable(entries);
        return OpCodeTable(entries);
    }();
    return table;
}

size_t OpCodeTable::Home(std::uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> Shift);
}

OpCodeTable::OpCodeTable(const StringList& entries) {
    size_t size = 16;
    int bits = 4;
    while (size < entries.size() * 4) {
        size *= 2;
        ++bits;
    }
    Shift = 64 - bits;
    Buckets.resize(size);
    Entries.reserve(entries.size());
    for (const std::string& entry : entries) {
        size_t eq = entry.find('=');
        if (eq == std::string::npos)
            continue;
        std::uint64_t key = PackName(std::string_view(entry).substr(0, eq));
        if (key == 0)
            continue;
        size_t b = Home(key);
        while (Buckets[b].Key != 0 && Buckets[b].Key != key)
            b = (b + 1) & (size - 1);
        if (Buckets[b].Key == key)
            continue; // the first entry of a name wins
        Buckets[b].Key = key;
        Buckets[b].Index = static_cast<std::uint32_t>(Entries.size());
        Entries.push_back(DecodeOpCodeFlags(std::string_view(entry).substr(eq + 1)));
    }
}

const OpCodeFlags* OpCodeTable::Find(std::string_view name) const {
    std::uint64_t key = PackName(name);
    if (key == 0)
        return nullptr;
    size_t mask = Buckets.size() - 1;
    for (size_t b = Home(key);; b = (b + 1) & mask) {
        if (Buckets[b].Key == key)
            return &Entries[Buckets[b].Index];
        if (Buckets[b].Key == 0)
            return nullptr;
    }
}

} // namespace calvex
