#pragma once

// The operation-code table: every RPG III calculation operation code with the flag string that
// says which calculation fields it uses, which of them are required, and how it moves the
// indentation of converted calculation text.
//
// A flag string has 17 characters, "ABCD E FGH IJ KLM": A says the statement has a parameter
// list; B to J stand for factor 1, factor 2, result field, operation extender, the high, low and
// equal resulting indicators, field length and decimal positions ("0" not used, "1" optional,
// "2" required); K, L and M are the indentation levels added after the line, removed before it,
// and added before it and removed again after it.

#include "platform/StringList.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calvex {

// Flags of an operation code that is not in the table, by whether its columns hold text.
inline constexpr std::string_view UnknownOpCodeFlags = "1111 1 111 11 111";
inline constexpr std::string_view BlankOpCodeFlags = "0000 0 000 00 000";

// Appends the 138 NAME=VALUE entries to List, in table order.
void LoadOpCodeTable(StringList& list);

// The value of the first entry of Table whose name equals Name ignoring case; empty when none.
std::string LookupOpCode(const StringList& table, std::string_view name);

// Turns a flag string into the slot list the calculation compile places parameters by:
// "C 0" + slot count + " " + one 4-character slot per used item ("0k" + type + blank, type "O"
// for a required item, "I" for an optional length or decimal-positions item). Empty flags give
// an empty result.
std::string OpCodeSlots(std::string_view flags);

// The calculation items, numbered as the compile's slots.
enum CalcItem : std::uint8_t {
    ItemFactor1 = 1,
    ItemFactor2,
    ItemResult,
    ItemExtender,
    ItemHigh,
    ItemLow,
    ItemEqual,
    ItemLength,
    ItemDecimals,
};

// Columns of a calculation item in the 80-column line.
struct CalcField {
    int First;
    int Width;
};
CalcField CalcItemField(int item);

// One parameter position of a statement: the item it fills and how it is checked.
struct CalcSlot {
    std::uint8_t Item = 0;
    bool Required = false; // type "O": must be given and not empty
    bool Integer = false;  // type "I": must be an integer, placed right-justified
};

// A flag string decoded once, for the per-line paths.
struct OpCodeFlags {
    bool HasParams = false; // A
    // B .. J by item number (index 0 unused).
    std::array<bool, 10> Uses{};
    int K = 0;
    int L = 0;
    int M = 0;
    int SlotCount = 0;
    std::array<CalcSlot, 9> Slots{};
};

// Decodes a 17-character flag string; the slots are those OpCodeSlots gives.
OpCodeFlags DecodeOpCodeFlags(std::string_view flags);

// The table parsed once into a structure that is looked up without allocating.
class OpCodeTable {
public:
    // The shared table, built from LoadOpCodeTable on first use.
    static const OpCodeTable& Instance();

    explicit OpCodeTable(const StringList& entries);

    // The decoded flags of Name (ignoring case and surrounding blanks), or nullptr.
    const OpCodeFlags* Find(std::string_view name) const;

private:
    // Open addressing over names packed into 64 bits (upper-cased, at most 8 characters).
    struct Bucket {
        std::uint64_t Key = 0; // 0 marks an empty bucket
        std::uint32_t Index = 0;
    };
    std::vector<Bucket> Buckets;
    std::vector<OpCodeFlags> Entries;
    int Shift = 0;

    size_t Home(std::uint64_t key) const;
};

} // namespace calvex
