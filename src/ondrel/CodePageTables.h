#pragma once

// The pair of translation files for an EBCDIC code page, derived from the system's iconv
// conversions between that code page and ISO-8859-1.

#include "platform/StringList.h"

#include <array>
#include <string>

namespace ondrel {

// File names of the pair in the program directory.
inline constexpr const char* HostToPcFile = "AStoPC.xlt";
inline constexpr const char* PcToHostFile = "PCtoAS.xlt";

// Source byte -> target byte, or -1 where the byte has no printable counterpart.
using ByteMap = std::array<int, 256>;

struct CodePageMaps {
    ByteMap HostToPc; // EBCDIC -> ISO-8859-1
    ByteMap PcToHost; // ISO-8859-1 -> EBCDIC
};

// Builds both maps for CodePage (an iconv name such as "IBM037" or "IBM280"). Only printable
// characters are mapped (0x20-0x7E and 0xA0-0xFF on the PC side): a control character in a
// text line would break the line structure of the converted file. A code page iconv does not
// know, or one that is not EBCDIC (blank, digits and capital A where every EBCDIC page has
// them), returns false with Error set.
bool BuildCodePageMaps(const std::string& codePage, CodePageMaps& maps, std::string& error);

// The lines of a translation file holding Map, headed by a comment line.
StringList TranslationFileLines(const ByteMap& map, const std::string& comment);

// Writes AStoPC.xlt and PCtoAS.xlt for CodePage into Dir (which must exist). Each file is
// replaced whole or left as it was. False with Error naming the code page or the file.
bool WriteCodePageTables(const std::string& codePage, const std::string& dir, std::string& error);

} // namespace ondrel
