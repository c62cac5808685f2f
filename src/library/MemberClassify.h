#pragma once

// What a member is: its source file, library, name and type as the folder layout of a host
// export tells them, its kind by its type or (when the name carries no type) by its content,
// and its text: the description a programmer gave it.

#include "library/MemberFacts.h"

#include <string>
#include <string_view>

namespace orvale::library {

struct TMemberName {
    std::string SourceFile; // the folder: FILE of FILE_LIB, upper case
    std::string Library;    // LIB of FILE_LIB, else the folder above the source file's
    std::string Name;       // the file name up to its type, upper case
    std::string Type;       // the type the name carries, upper case; empty when none
};

// Splits a path relative to the library ("CBRPGSRCZ/CB0600.RPG", "QRPGSRC_ARLIB/ARP035R.txt",
// "LIB/QRPGSRC/X"). Extensions that are no member type (.txt, .rp3, .mbr, .src) leave the
// type empty.
TMemberName SplitMemberPath(std::string_view relativePath);

// The kind a member type stands for; false when the type does not tell it (copy members,
// unknown or empty types), and the content must.
bool KindOfType(std::string_view type, MemberKind& kind);

// The kind of a member by its first lines, with the type that content would carry on the
// host: "RPG", "RPGLE", "PF", "LF", "DSPF", "PRTF", "CLP" or "" for other text.
MemberKind ClassifyContent(std::string_view text, std::string& contentType);

// The type of a data description by its keywords: "PF", "LF", "DSPF" or "PRTF".
std::string DdsType(std::string_view text);

// The member's description: a TEXT('...') given in its first lines (a build directive or a
// file-level keyword), else the first comment line that says something (after "NAME -" when
// the member names itself). At most 80 characters.
std::string MemberDescription(std::string_view text, std::string_view memberName, MemberKind kind);

} // namespace orvale::library
