#pragma once

#include <cstdint>
#include <string>

// What the find dialog's walk over the program's sections looks for: the text (no whole-word
// test at this level) and which parts of the program may hold the match. Global also opens
// the description and pre-compiler sections; the three folders count only when included.
struct TSectionSearch {
    std::string Text;
    bool MatchCase = false;
    bool Global = false;
    bool IncludeArrays = false;
    bool IncludeSubRoutines = false;
    bool IncludeOutput = false;
    // Only lines of a dated member changed on or after this date (YYMMDD); 0: every line.
    std::int32_t ChangedSince = 0;
};
