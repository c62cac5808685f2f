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

// Compares Source with Compiled line by line, in order: every line must come back as it was, in
// every column (trailing blanks aside). The banner lines the compile adds (the prefix in columns
// 75-76 followed by an "x" or "1" code) are dropped from Compiled first; a "**" separator of
// compile-time data is member text and is compared as any line.
std::vector<LineDifference> CompareRoundTrip(const StringList& source, const StringList& compiled,
                                             const std::string& prefix = "&%");

// Whether a compiled line is a banner line the compile added (never a "**" line).
bool IsAddedBanner(const std::string& line, const std::string& prefix);

} // namespace calvex
