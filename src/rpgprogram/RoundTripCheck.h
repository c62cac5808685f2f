#pragma once

// The round trip of a source member through a program document: imported, compiled back with
// every compile option on and assembled, and the result judged line by line by the round-trip
// rule of the conversion library.

#include "calvex/MemberRoundTrip.h"
#include "platform/StringList.h"

#include <string>
#include <vector>

namespace orvale {
class Prompter;
}

struct TRoundTripReport {
    // False when the member could not be read or is not an RPG III member; Error says why.
    bool Checked = false;
    std::string Error;
    // Member lines judged (banner lines of an earlier build are left out), and how many of
    // them came back.
    int Lines = 0;
    int Unchanged = 0;
    // The lines that did not come back, in the order of the built member; SourceIndex is the
    // 0-based index of the line in the member file.
    std::vector<calvex::LineDifference> Differences;
    // Errors and warnings the compile reported.
    int CompileErrors = 0;
    int CompileWarnings = 0;

    bool Passed() const { return Checked && Differences.empty(); }
};

// Imports the member at Path into a fresh document, builds it back and compares.
TRoundTripReport CheckMemberRoundTrip(const std::string& path, const std::string& prefix,
                                      int tabSpaces, orvale::Prompter& prompter);

// The comparison alone: Member as read, Built the assembled build.
TRoundTripReport CompareMemberRoundTrip(const StringList& member, const StringList& built,
                                        const std::string& prefix);
