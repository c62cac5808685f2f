#include "RecordLength.h"

#include <algorithm>
#include <string_view>

namespace ondrel {

namespace {

// The form types of RPG III specification lines, in either case.
bool IsFormType(unsigned char c) {
    return c != 0 &&
           std::string_view("HFELICOhfelico").find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// A record of the member, translated where it is looked at: only a few of its columns are.
struct Record {
    const unsigned char* Bytes;
    size_t Length;
    const TranslationTable& Table;
    unsigned char operator[](size_t i) const { return i < Length ? Table[Bytes[i]] : ' '; }
};

// Whether the record holds a line of source from its column Base + 1 on.
bool SourceFrom(const Record& record, size_t base) {
    const unsigned char comment = record[base + 6];
    return comment == '*' || comment == '/' || IsFormType(record[base + 5]);
}

// Twelve digits of sequence number and change date before the 80 columns.
bool Dated(const Record& record) {
    if (record.Length < 12 + 7)
        return false;
    for (size_t i = 0; i < 12; ++i)
        if (!IsDigit(record[i]))
            return false;
    return true;
}

// A "**" in columns 1 and 2 ends the source; a run of asterisks is a comment's frame seen
// through records of the wrong length.
bool Separator(const Record& record, size_t base) {
    return record[base] == '*' && record[base + 1] == '*' && record[base + 2] != '*';
}

bool Blank(const Record& record) {
    for (size_t i = 0; i < record.Length; ++i)
        if (record[i] != ' ')
            return false;
    return true;
}

// Nearly all records that are not blank read as source (in percent).
constexpr size_t kSourceShare = 95;
// Nearly the most source lines (in percent of the most).
constexpr size_t kNearlyMost = 70;
// Members of this many records of the length asked, or fewer, are too short to outvote chance.
constexpr size_t kFewRecords = 3;

} // namespace

RecordVerdict JudgeRecords(std::string_view member, int length, const TranslationTable& table) {
    RecordVerdict verdict;
    if (length < LeastRecordLength)
        return verdict;
    const size_t size = static_cast<size_t>(length);
    const size_t span = std::min(member.size(), JudgedBytes);
    const auto* in = reinterpret_cast<const unsigned char*>(member.data());
    for (size_t at = 0; at + size <= span; at += size) {
        const Record record{in + at, size, table};
        const size_t base = Dated(record) ? 12 : 0;
        if (Separator(record, base))
            break;
        if (SourceFrom(record, base))
            ++verdict.Source;
        else if (Blank(record))
            ++verdict.Blank;
        else
            ++verdict.Other;
    }
    return verdict;
}

int FindRecordLength(std::string_view head, size_t memberSize, int asked,
                     const TranslationTable& table) {
    // Source lines found by each length that reads as source, 0 for the others; the most
    // found by any length, and by one that divides the member's size.
    size_t found[256] = {};
    size_t most = 0;
    size_t mostDividing = 0;
    for (int length = LeastRecordLength; length <= 255; ++length) {
        RecordVerdict verdict = JudgeRecords(head, length, table);
        if (verdict.Source == 0 ||
            verdict.Source * 100 < (verdict.Source + verdict.Other) * kSourceShare)
            continue;
        found[length] = verdict.Source;
        most = std::max(most, verdict.Source);
        if (memberSize % static_cast<size_t>(length) == 0)
            mostDividing = std::max(mostDividing, verdict.Source);
    }
    if (most == 0)
        return 0;
    // In a member of a few records, text in a record's own columns can read as source in records
    // of a part of its length (a comment's words putting a form letter in column 6): the length
    // asked stands when it reads as source.
    if (asked >= LeastRecordLength && asked <= 255 && found[asked] != 0 &&
        memberSize % static_cast<size_t>(asked) == 0 &&
        memberSize / static_cast<size_t>(asked) <= kFewRecords)
        return asked;
    // A length that divides the size is taken before one that does not, unless the member has
    // a partial last record: then its own length finds far more source lines than any length
    // that divides the size by chance.
    const bool dividing = mostDividing * 2 >= most;
    if (dividing)
        most = mostDividing;
    auto candidate = [&](int length) {
        return length >= LeastRecordLength && length <= 255 && found[length] != 0 &&
               found[length] * 100 >= most * kNearlyMost &&
               (!dividing || memberSize % static_cast<size_t>(length) == 0);
    };
    if (candidate(asked))
        return asked;
    for (int length = 255; length >= LeastRecordLength; --length)
        if (candidate(length))
            return length;
    return 0;
}

} // namespace ondrel
