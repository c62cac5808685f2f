#pragma once

#include "platform/StringList.h"
#include "platform/TextRules.h"

#include <string_view>

// Splits one line into fields at a separator, keeping a quoted ('...') field whole, with
// optional trimming and upper-casing. Used by the history log and by the conversion library.
class TParseString {
public:
    // Fields of the last line parsed; callers read them directly by index.
    StringList Tokens;

    void Parse(std::string_view s, std::string_view sep, bool doTrim, bool doUpper);

    // 1-based position of the next separator in Rest that stands outside the first quoted
    // string of Rest, or 0 when there is none.
    static size_t FindSeparator(std::string_view sep, std::string_view rest);
};
