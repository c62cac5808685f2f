#pragma once

// Names of source members as the host takes them. A member name is 1 to 10 characters: the
// first a letter or one of "$ # @", the others letters, digits or "$ # @ _ .", upper case. In
// a folder a member is the file of its name with ".MBR", so however it is typed a member name
// reaches one file of the members folder (or of the transfer's own work folder) and nothing
// else: no folder separator, no "..", and no name that the program's own files have.

#include <optional>
#include <string>
#include <string_view>

namespace orvale {

inline constexpr size_t MaxMemberNameLength = 10;
inline constexpr std::string_view MemberFileExt = ".MBR";

// What a member name may hold, for the message that refuses one.
inline constexpr const char* MemberNameRuleText =
    "A member name has 1 to 10 characters: the first a letter or $, # or @, the others letters, "
    "digits or $, #, @, _ or . (a final .MBR is taken as the member file's extension).";

// Whether Name (already upper case) is a member name.
bool IsMemberName(std::string_view name);

// The member name of what was typed: upper-cased, with a final ".MBR" in any case (the
// member file's extension) left out; nothing when the rest is not a member name.
std::optional<std::string> MemberNameOf(std::string_view typed);

// The member name proposed for a program file: its name without folder and extensions, in
// upper case, the characters a member name cannot hold turned into "_"; when that is too long,
// its last "_"-separated words that make a member name (the member comes last in names such
// as "REPO__DL0110"), else its first ten characters. "MEMBER" when nothing of it will do.
std::string MemberNameFor(std::string_view programFile);

// The file of a member in a folder: the name with ".MBR".
std::string MemberFileName(std::string_view memberName);

} // namespace orvale
