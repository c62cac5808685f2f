#pragma once

// What a statement line carries from the member line it was converted from. The statement
// language says what a line does, not how it was written: the text in columns 1-5 and from
// column 75 on (change tags, sequence numbers, directives of the shop's build procedure), the
// column a comment starts in, the blanks inside a raw line. A line keeps its member line as it
// was read, so that a build gives back an unedited line exactly, and an edited one with its tags.

#include "document/HostRecord.h"
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

// One line of a section's text and what it carries. A section keeps one of these per line, so
// that nothing of a line can fall out of step with its text.
struct SectionLine {
    std::string Text;
    // The member line it was converted from; none for a line the user added.
    LineOrigin Origin;
    // The host's record of the member line, for a line of a dated member: its sequence number
    // in hundredths (000100 is 1.00; -1 for a line without a record) and the date of its last
    // change as YYMMDD (0 where the host recorded none).
    std::int32_t Sequence = -1;
    std::int32_t ChangeDate = 0;

    HostRecord Record() const { return {Sequence, ChangeDate}; }
};

// A stable hash of a statement's text (the same on every run, as it is stored in files).
std::uint64_t StatementHash(std::string_view statement);

// For each line of New, a new version of the lines Old, the index of the line of Old it
// continues, or -1. A line of New that stands unchanged in Old, in the same order, continues
// it; a line that replaces another between two such lines continues the line it replaces, so an
// edited statement keeps its origin and its tags (its hash then differs: the build compiles it
// anew); a line moved continues the line it was when that line had an origin; a line added
// continues none. Linear in the number of lines.
std::vector<int> CarryLines(const std::vector<SectionLine>& oldLines, const StringList& newLines);
