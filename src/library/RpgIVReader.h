#pragma once

// The reader of RPG IV members, fixed and free form: the programs they call (CALL of a literal,
// a named constant or a field, and CALLP or a bare call of a prototype whose EXTPGM names the
// program), their /COPY and /INCLUDE members and the files they declare.

#include "library/MemberFacts.h"

#include <string_view>

namespace orvale::library {

void ReadRpgIV(std::string_view text, TMemberFacts& facts);

} // namespace orvale::library
