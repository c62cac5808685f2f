#pragma once

// Find in Library: every line of the library's members that holds a text, as a plain search of
// the files finds it, with the host tool's options: case, whole words, a column range, and a
// scope of source files and member types. The files are searched on every core; the results
// come back member by member in path order. Binary files are passed over.

#include "library/LibraryScan.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

struct TFindOptions {
    std::string Text;
    bool IgnoreCase = false;
    bool Word = false;  // the text stands between characters that are no part of a name
    int FromColumn = 0; // 1-based, both included; 0: no limit
    int ToColumn = 0;
    // Member types, * and ? as wildcards; empty: every member.
    std::vector<std::string> Types;
    // Source files (folder names); empty: every source file.
    std::vector<std::string> SourceFiles;
    // Members (paths relative to the library); empty: every member.
    std::vector<std::string> Members;
};

struct TFindHit {
    int Line = 0;   // from 1
    int Column = 0; // of the first match on the line, from 1
    std::string Text;
};

struct TFindSummary {
    size_t Searched = 0; // members searched
    size_t WithHits = 0; // members with a hit
    size_t Hits = 0;     // lines
    std::vector<TSkippedPath> Skipped;
};

// Whether the options can be searched for; false with a one-line reason.
bool CheckFindOptions(const TFindOptions& options, std::string& error);

// The lines of Text that hold what Options ask for (Text is one member's content).
std::vector<TFindHit> FindInText(std::string_view text, const TFindOptions& options);

// Searches the library folder Root; Found gets the hits of each member that has any, in path
// order, on the calling thread, and may return false to stop. False with Error when Root
// cannot be walked or the options are bad.
bool FindInLibrary(const std::string& root, const TFindOptions& options,
                   const std::function<bool(const std::string&, std::vector<TFindHit>&)>& found,
                   TFindSummary& summary, std::string& error);

// Whether a member type matches a pattern with * and ?, ignoring case.
bool TypeMatches(std::string_view pattern, std::string_view type);

} // namespace orvale::library
