#pragma once

// A realistic RPG III member of a given length for the speed suite: header, disk, workstation
// and printer files with continuation lines, arrays and a table, data structures with their
// fields, a main routine and subroutines of calculations with nested IF and DO groups, output
// records with fields and constants, and compile-time data.

#include "platform/StringList.h"

namespace orvale::bench {

StringList GenerateMember(int lines);

} // namespace orvale::bench
