#pragma once

// The round-trip rule: what a member compiled back from its imported sections must give back,
// line by line, once the banner lines the compile adds are dropped. The library's tests, the
// program's tests and the command-line check all judge a build by it.

#include "platform/StringList.h"

#include <string>
#include <vector>

namespace calvex {

struct LineDifference {
    int SourceIndex = -1; // -1 when the compiled side has a line too many
    std::string Source;
    std::string Compiled;
};

// Compares Source with Compiled. Specification lines (a form type in column 6, column 7 neither
// "*" nor "/") must be equal in columns 6-74, except that the text of a calculation or
// extension trailing comment may move to the first column of its area; comment lines keep
// their asterisk and columns 8-74 (column 6 may take the form type where it was blank);
// directives keep columns 7-74 ignoring case; blank lines come back blank or as empty comment
// lines. From the first line beginning "**" on, the compile-time data: separators come back as
// separators and records equal in columns 1-74. Banner lines of Compiled (the prefix in
// columns 75-76, other than an array separator) are dropped first.
std::vector<LineDifference> CompareRoundTrip(const StringList& source, const StringList& compiled,
                                             const std::string& prefix = "&%");

// Whether a compiled line is a banner line the compile added.
bool IsAddedBanner(const std::string& line, const std::string& prefix);

} // namespace calvex
