#pragma once

// What a statement line carries from the member line it was converted from. The statement
// language says what a line does, not how it was written: the text in columns 1-5 and from
// column 75 on (change tags, sequence numbers, directives of the shop's build procedure), the
// column a comment starts in, the blanks inside a raw line. A line keeps its member line as it
// was read, so that a build gives back an unedited line exactly, and an edited one with its tags.

#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct LineOrigin {
    // The member line as read, every column of it; empty with no origin.
    std::string Text;
    // Its index in the member it was imported from (member order for the build); -1 for none.
    int Ordinal = -1;
    // StatementHash of the statement the line was converted to: the statement is unedited while
    // its hash is the same.
    std::uint64_t Statement = 0;

    bool Has() const { return Ordinal >= 0; }
};

// A stable hash of a statement's text (the same on every run, as it is stored in files).
std::uint64_t StatementHash(std::string_view statement);

// The origins of New, a new version of the lines Old whose origins are OldOrigins (empty, or
// one per line). A line of New that stands unchanged in Old, in the same order, keeps its
// origin; a line that replaces another between two such lines keeps the origin of the line it
// replaces, so an edited statement keeps its tags (its hash then differs: the build compiles it
// anew); a line added keeps none. Linear in the number of lines.
std::vector<LineOrigin> CarryOrigins(const StringList& oldLines,
                                     const std::vector<LineOrigin>& oldOrigins,
                                     const StringList& newLines);
