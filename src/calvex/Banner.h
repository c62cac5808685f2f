#pragma once

// Banner lines: the comment lines a compile writes at the head of each section, whose columns
// 75-80 carry the indicator prefix and a code, and which an import reads back to restore the
// section's description and moments. Codes: "xSEC" and "xMNR" (frame lines), "1SDS"
// (description), "1CRT" (creation), "1UPD" (last update), "1"/"x" + the first three letters of a
// program-level section (its body and frame lines), "1ARY" (separator of compile-time data).

#include "document/EditSection.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

#include <optional>
#include <string>
#include <string_view>

namespace calvex {

// The prefix as the banners use it: at most its first two characters.
std::string_view BannerPrefix(std::string_view prefix);

// Whether columns 75 on of Line hold Prefix followed by Code. An empty prefix marks nothing.
bool HasBannerCode(std::string_view line, std::string_view prefix, std::string_view code);

// Columns 75 on hold the prefix: a banner line of some kind.
inline bool IsBannerLine(std::string_view line, std::string_view prefix) {
    return HasBannerCode(line, prefix, {});
}

// Section description of a "1SDS" line or body text of a program-level section: columns
// 11-72 trimmed.
std::string BannerText(std::string_view line);

// The text of the moment of a "1CRT" or "1UPD" line: columns 24-71, trimmed.
std::string_view BannerMomentText(std::string_view line);
// That moment, when it reads as one: with the current regional settings, or else one of the
// common forms of dates (the member may have been built on another machine).
std::optional<orvale::DateTime> BannerMoment(std::string_view line);

// The section name that a top frame line carries, upper-cased as written; empty when the
// line holds none.
std::string_view FrameName(std::string_view line);

// Appends the banner of a compiled section: frame lines when Frames is set, and the
// description, creation and last-update lines as their switches say.
struct BannerSwitches {
    bool Frames = true;
    bool Description = true;
    bool Created = true;
    bool Updated = true;
};
void WriteSectionBanner(const TEDITSection& section, char formType, std::string_view prefix,
                        const BannerSwitches& switches, StringList& out);

// The block of header comment lines that carries a program-level section (properties,
// history, description, pre-compiler directives) inside the member.
void WriteSpecBlock(const TEDITSection& section, std::string_view prefix, StringList& out);

} // namespace calvex
