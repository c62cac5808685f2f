#pragma once

#include "platform/StringList.h"

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

// Text rules shared by the document and the conversion library: trimming drops every
// character whose code is 32 or less; case changes touch only the letters a-z and A-Z.
std::string_view TrimView(std::string_view s);
std::string_view TrimLeftView(std::string_view s);
std::string_view TrimRightView(std::string_view s);
std::string Trim(std::string_view s);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
void UpperCaseInPlace(std::string& s);
bool SameText(std::string_view a, std::string_view b);
inline char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
inline char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
