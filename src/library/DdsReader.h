#pragma once

// The reader of data descriptions (physical and logical files, display and printer files): the
// file the member describes, its record formats and their fields with length, decimals and
// type, the keys and selections, and the files it is built on or takes definitions from (PFILE,
// JFILE, FORMAT, REF, REFFLD), which the index follows to give each field its attributes.

#include "library/MemberFacts.h"

#include <string_view>

namespace orvale::library {

// FileName is the member's name (the file it describes), Type "PF", "LF", "DSPF" or "PRTF".
void ReadDds(std::string_view text, std::string_view fileName, std::string_view type,
             TMemberFacts& facts);

// The data type a field has when its type column is blank: packed for a number of a database
// file, zoned for a number of a display or printer file, character otherwise.
char DefaultDdsType(std::string_view fileType, int decimals);

} // namespace orvale::library
