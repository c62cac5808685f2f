#pragma once

// The uses of one name in one member as the index keeps them: one small record per use, lines
// as differences from the use before, so that a member's uses of a name take a few bytes.

#include "library/MemberFacts.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

// One use of a name in a member; the name and the member are the record's key.
struct TStoredUse {
    int Line = 0;
    std::uint64_t Offset = 0; // of the line's first byte in the member
    NameKind Kind = NameKind::Field;
    NameRole Role = NameRole::Uses;
    std::uint8_t Op = 0;
    CallVia Via = CallVia::Name;
    bool operator==(const TStoredUse&) const = default;
};

std::string EncodeUses(const std::vector<TStoredUse>& uses);

// A member's uses grouped by name and encoded, in name order, ready for the index: Packed
// holds each name and its encoded uses one after another; Names the names, one a line.
struct TPackedUses {
    std::string Packed;
    std::string Names;
};
// Text is the member's content, whose line starts the index keeps with the uses.
TPackedUses PackUses(std::vector<TUse>& uses, std::string_view text);
// Calls F(name, encoded uses) for each name of Packed, in order.
template <class F> void ForEachPacked(std::string_view packed, F&& f);

// The index keeps one record a name: each member's encoded uses of it, members in ascending
// order (as differences from the one before).
void AppendMemberUses(std::string& record, std::int64_t& previousMember, std::int64_t member,
                      std::string_view uses);
// Calls F(member, encoded uses) for each member of a name's record; a damaged record gives
// the members before the damage.
template <class F> void ForEachMemberUses(std::string_view record, F&& f);
bool GetVarint(std::string_view bytes, size_t& pos, std::uint64_t& value);
// The uses of an encoded record; a damaged record gives the uses before the damage.
std::vector<TStoredUse> DecodeUses(std::string_view bytes);

// -- implementation

template <class F> void ForEachMemberUses(std::string_view record, F&& f) {
    size_t pos = 0;
    std::int64_t member = 0;
    while (pos < record.size()) {
        std::uint64_t delta = 0, length = 0;
        if (!GetVarint(record, pos, delta) || !GetVarint(record, pos, length) ||
            length > record.size() - pos)
            return;
        member += static_cast<std::int64_t>(delta);
        f(member, record.substr(pos, length));
        pos += length;
    }
}

template <class F> void ForEachPacked(std::string_view packed, F&& f) {
    size_t pos = 0;
    auto length = [&](size_t bytes) {
        size_t value = 0;
        for (size_t i = 0; i < bytes; ++i)
            value |= static_cast<size_t>(static_cast<unsigned char>(packed[pos + i])) << (8 * i);
        pos += bytes;
        return value;
    };
    while (pos + 6 <= packed.size()) {
        size_t nameLength = length(2);
        std::string_view name = packed.substr(pos, nameLength);
        pos += nameLength;
        size_t usesLength = length(4);
        std::string_view uses = packed.substr(pos, usesLength);
        pos += usesLength;
        f(name, uses);
    }
}

} // namespace orvale::library
