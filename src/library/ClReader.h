#pragma once

// The reader of control language members: the programs they call (CALL, TFRCTL, and the
// commands SBMJOB submits), the files they declare, override, read and write, and the data
// areas they retrieve, change, create and delete. Comments, continuation lines (+ and -) and
// labels are taken as the command processor takes them.

#include "library/MemberFacts.h"

#include <string_view>

namespace orvale::library {

void ReadCl(std::string_view text, TMemberFacts& facts);

} // namespace orvale::library
