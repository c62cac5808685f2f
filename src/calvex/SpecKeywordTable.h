#pragma once

// The specification keyword table: every statement of the file, extension, line-counter, input
// and output sections with its form type, its parameter slots (which field each parameter fills
// and how it is checked) and the fields that always receive a fixed text. The field maps give
// the columns of each field number per form type.
//
// An entry reads NAME=VALUE. VALUE is the form type, a blank, the two-digit parameter count, a
// blank, one 4-character slot per parameter (two-digit field number, type letter or blank, a
// blank) and then the fixed entries, each "[" + two-digit field number + the byte 0xA6 + ":" +
// text + "]".

#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calvex {

// Separator of a fixed entry between its field number and its text (the byte 0xA6 followed
// by a colon).
inline constexpr std::string_view FixedEntryMark = "\xA6:";

// Appends the 29 NAME=VALUE entries to List, in table order.
void LoadSpecKeywordTable(StringList& list);

// The value of the first entry of Table whose name equals Name ignoring case; empty when none.
std::string LookupKeyword(const StringList& table, std::string_view name);

// Appends each fixed entry of a keyword-table value to List, without its brackets
// ("16\xA6:K").
void AppendFixedEntries(std::string_view value, StringList& list);

// Columns of one field of an 80-column line; Width 0 for a field number the form type lacks.
struct FieldSpan {
    int First = 0;
    int Width = 0;
};
FieldSpan FieldColumns(char formType, int field);

// How a parameter is checked and placed.
enum class SlotType : char {
    Text = ' ',    // left-justified, no check
    Integer = 'I', // must be an integer; right-justified
    Right = 'D',   // right-justified, no check
};

struct KeywordSlot {
    std::uint8_t Field = 0;
    SlotType Type = SlotType::Text;
};

struct FixedEntry {
    std::uint8_t Field = 0;
    std::string Text;
};

// One keyword-table entry parsed once.
struct KeywordEntry {
    std::string Name; // upper case, as in the table
    char FormType = ' ';
    int ParamCount = 0;
    std::vector<KeywordSlot> Slots;
    std::vector<FixedEntry> Fixed;
};

// Parses a keyword-table value; false when it does not have the layout above.
bool ParseKeywordValue(std::string_view value, KeywordEntry& entry);

// The table parsed once, shared read-only by every converter.
class SpecKeywordTable {
public:
    static const SpecKeywordTable& Instance();

    explicit SpecKeywordTable(const StringList& entries);

    // The entry named Name ignoring case (the first one when a name repeats), or nullptr.
    const KeywordEntry* Find(std::string_view name) const;

    const std::vector<KeywordEntry>& Entries() const { return Entries_; }

private:
    std::vector<KeywordEntry> Entries_;
};

} // namespace calvex
