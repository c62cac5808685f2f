#pragma once

// A member of many small subroutines, the shape that once made the import grow with the square
// of its length: a main routine of a fifth of the lines with nested IF and DO groups, one EXSR
// in about fourteen of its lines, each naming a subroutine of its own (some 14,000 in a
// 1,000,000-line member), the subroutines sharing what is left, and a printer file of detail
// records. Files with continuations, arrays and a table, an input record, a data structure and
// a named constant come first, compile-time data last. The same lines for the same length.

#include "platform/StringList.h"

namespace orvale::bench {

StringList GenerateRoutineMember(int lines);

} // namespace orvale::bench
