#pragma once

// What an import learns of a member before it walks it: whether the member is written in
// RPG IV, which the walks would turn into a program of raw lines in the wrong order, and which
// of its lines no walk converts as a specification of its own (they stay where they stand).

#include "platform/StringList.h"

#include <optional>
#include <string>
#include <vector>

namespace calvex {

// The first line of a member that only RPG IV has, and what it shows ("a definition
// specification (D)", ...).
struct RpgIvSign {
    int Line = -1; // 0-based
    std::string What;
};

// The first RPG IV line of Member, or none for a member that can be RPG III. A sign must be
// unmistakable: a text line or a comment whose columns moved in an RPG III member never counts.
std::optional<RpgIvSign> FindRpgIvSign(const StringList& member);

// The lines before the compile-time data that the walks keep as written (see IsStrayLine).
struct StrayLines {
    // Lines that are no RPG III specification at all (no form type in column 6, no comment).
    std::vector<int> Foreign;
    // Specifications of a form that comes before one already seen (an F line after I lines).
    std::vector<int> OutOfOrder;
    // The form of the first out-of-order line, and the latest form seen before it.
    char FirstForm = ' ';
    char FirstFollows = ' ';
};

StrayLines FindStrayLines(const StringList& member);

} // namespace calvex
