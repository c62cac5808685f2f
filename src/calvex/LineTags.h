#pragma once

// The columns of a member line that no statement speaks of: the sequence number or tag in
// columns 1-5 and whatever stands from column 75 on (change tags, also past column 80).

#include <string>
#include <string_view>

namespace calvex {

// Compiled, a line compiled from an edited statement, with the tags of Origin, the member line
// the statement was converted from: columns 1-5 and 75 on are Origin's. A comment whose
// column 6 was blank stays so.
std::string WithLineTags(std::string compiled, std::string_view origin);

} // namespace calvex
