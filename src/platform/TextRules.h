#pragma once

#include <string>
#include <string_view>

// The text rules of the whole program: trimming drops every character whose code is 32 or
// less; case changes and comparisons ignoring case touch only the letters a-z and A-Z, so that
// they mean the same for every code page and every locale.
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
