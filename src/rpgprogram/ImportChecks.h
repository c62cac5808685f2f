#pragma once

// What an import says of a member beside converting it: the refusal of a member written in
// RPG IV, and the warnings for an empty member and for lines kept as written where they stand.

#include "calvex/MemberCheck.h"
#include "platform/StringList.h"

#include <optional>
#include <string>
#include <vector>

namespace orvale {

// The error for a member that shows RPG IV, naming the first line that does; none for a member
// that can be RPG III.
std::optional<std::string> RpgIvRefusal(const std::string& fileName, const StringList& lines);

std::string EmptyMemberWarning(const std::string& fileName);

// One warning for the lines that are no RPG III specification (with LeftOut, lines no walk
// took, 0-based like the others), one for the specifications out of the order of the forms;
// none when there are none.
std::vector<std::string> StrayLineWarnings(const calvex::StrayLines& strays,
                                           const std::vector<int>& leftOut);

} // namespace orvale
