#pragma once

// How the window writes a dated member's change dates and what Changed Since found.

#include <cstdint>
#include <string>

// YYMMDD as the user reads dates (the short date format of the regional settings), or as
// YY/MM/DD with HostFormat; empty for 000000. A date that is no day of the calendar is shown as
// YY/MM/DD whatever the format.
std::string ShowChangeDate(std::int32_t yymmdd, bool hostFormat);

// "12 lines changed since 01/03/1999: 3 in this section, 9 in 4 other sections".
std::string ChangedSinceSummary(int total, int here, int otherSections, const std::string& since);
