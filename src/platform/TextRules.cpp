#include "TextRules.h"

std::string_view TrimLeftView(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    return s.substr(b);
}

std::string_view TrimRightView(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(0, e);
}

std::string_view TrimView(std::string_view s) {
    return TrimRightView(TrimLeftView(s));
}

std::string Trim(std::string_view s) {
    return std::string(TrimView(s));
}

void UpperCaseInPlace(std::string& s) {
    for (char& c : s)
        c = UpperChar(c);
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    UpperCaseInPlace(r);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = LowerChar(c);
    return r;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i]))
            return false;
    return true;
}
