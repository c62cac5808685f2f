#pragma once

// The uses of one name in one member as the index keeps them: one small record per use, lines
// as differences from the use before, so that a member's uses of a name take a few bytes.

#include "library/MemberFacts.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

// One use of a name in a member; the name and the member are the record's key.
struct TStoredUse {
    int Line = 0;
    NameKind Kind = NameKind::Field;
    NameRole Role = NameRole::Uses;
    std::uint8_t Op = 0;
    CallVia Via = CallVia::Name;
    bool operator==(const TStoredUse&) const = default;
};

// Sorts Uses by name and line and calls Emit(name, encoded uses) once per name.
template <class F> void GroupUsesByName(std::vector<TUse>& uses, F&& emit);

std::string EncodeUses(const std::vector<TStoredUse>& uses);
// The uses of an encoded record; a damaged record gives the uses before the damage.
std::vector<TStoredUse> DecodeUses(std::string_view bytes);

// -- implementation

void AppendUse(std::string& bytes, int previousLine, const TUse& use);

template <class F> void GroupUsesByName(std::vector<TUse>& uses, F&& emit) {
    std::sort(uses.begin(), uses.end(), [](const TUse& a, const TUse& b) {
        if (a.Name != b.Name)
            return a.Name < b.Name;
        return a.Line < b.Line;
    });
    std::string bytes;
    for (size_t i = 0; i < uses.size();) {
        size_t j = i;
        bytes.clear();
        int previous = 0;
        for (; j < uses.size() && uses[j].Name == uses[i].Name; ++j) {
            AppendUse(bytes, previous, uses[j]);
            previous = uses[j].Line;
        }
        emit(uses[i].Name, bytes);
        i = j;
    }
}

} // namespace orvale::library
