#pragma once

// The 256-byte table a conversion translates through, and its translation file.

#include <array>
#include <string>

namespace ondrel {

// Index = source byte, entry = target byte.
using TranslationTable = std::array<unsigned char, 256>;

inline constexpr unsigned char AsciiBlank = 0x20;
inline constexpr unsigned char EbcdicBlank = 0x40;

// The section of the translation file that holds the "XX=YY" entries.
inline constexpr const char* XlateSection = "SB Xlate";

// Sets every entry of Table to Blank, then applies each "XX=YY" entry of the file's
// "SB Xlate" section (the first line of a key wins; an empty value is ignored). A missing file
// or section maps every byte to Blank. A file that cannot be read, or an entry whose key or
// value is not exactly two hexadecimal digits, returns false with Error naming the file and
// the entry; Table is then not to be used.
bool LoadTranslationTable(const std::string& path, unsigned char blank, TranslationTable& table,
                          std::string& error);

} // namespace ondrel
