#pragma once

// The reader of RPG III members: every definition and reference of files, record formats,
// fields, subroutines, programs, data areas, copy members and key and parameter lists, with
// the line that makes it and its role, read from the fixed columns of the F, E, L, I, C and O
// specifications and the /COPY directives. A line beginning "**" ends the specifications (the
// compile-time data follows); comment lines, embedded SQL and indicators hold no names.

#include "library/MemberFacts.h"

#include <string_view>

namespace orvale::library {

void ReadRpgIII(std::string_view text, TMemberFacts& facts);

// A /COPY directive's operand ("FILE,MEMBER", "LIB/FILE,MEMBER" or "MEMBER") taken apart;
// false when it names no member.
bool ParseCopyOperand(std::string_view operand, TCopyDirective& copy);

// The /COPY (or /INCLUDE) a line holds, as a member has it (from column 7, or anywhere in free
// form) or as a program's statement ("#/COPY FILE,MEMBER"); false when it holds none.
bool ParseCopyLine(std::string_view line, TCopyDirective& copy);

} // namespace orvale::library
