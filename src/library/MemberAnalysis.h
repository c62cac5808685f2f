#pragma once

// One member read for the index: what its path and content say it is, and what its reader
// found in it.

#include "library/MemberFacts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvale::library {

struct TMemberRecord {
    std::string Path; // relative to the library, "/" between folders
    std::string SourceFile;
    std::string Library;
    std::string Name;
    std::string Type; // the name's type, else the type its content shows
    MemberKind Kind = MemberKind::Other;
    std::string Text;
    int Lines = 0;
    std::uint64_t Size = 0;
    std::int64_t Time = 0;
};

// The number of lines of a text: line ends, and one more for a last line without one.
int CountLines(std::string_view text);

// Whether the bytes are no text: a zero byte stands in them.
bool IsBinary(std::string_view bytes);

// Classifies the member at Path (relative) with content Bytes and runs its kind's reader.
// Binary content gives kind Other and no facts.
void AnalyseMember(std::string_view path, std::string_view bytes, TMemberRecord& record,
                   TMemberFacts& facts);

} // namespace orvale::library
