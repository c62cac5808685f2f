#include "ParseString.h"

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

size_t TParseString::FindSeparator(std::string_view sep, std::string_view rest) {
    if (sep.empty())
        return 0;
    size_t p = rest.find(sep);
    size_t q = rest.find('\'');
    if (p == std::string_view::npos)
        return 0;
    if (q == std::string_view::npos || p < q)
        return p + 1;
    // The separator comes after an opening quote: separators before the closing quote do
    // not count. The opening quote and each skipped separator are overwritten in a private
    // copy, exactly as the search rule describes, so that separators containing a quote or
    // overlapping occurrences behave the same way.
    std::string copy(rest);
    copy[q] = 'X';
    size_t closing = copy.find('\'');
    while (p != std::string::npos && closing != std::string::npos && p < closing) {
        copy[p] = 'X';
        p = copy.find(sep);
    }
    return p == std::string::npos ? 0 : p + 1;
}

void TParseString::Parse(std::string_view s, std::string_view sep, bool doTrim, bool doUpper) {
    Tokens.clear();
    if (s.empty())
        return;
    std::string_view rest = s;
    for (;;) {
        size_t k = FindSeparator(sep, rest);
        std::string_view token = k == 0 ? rest : rest.substr(0, k - 1);
        if (doTrim && !token.empty())
            token = TrimView(token);
        std::string& added = Tokens.emplace_back(token);
        if (doUpper && !added.empty() && added.front() != '\'')
            UpperCaseInPlace(added);
        if (k == 0)
            break;
        rest = rest.substr(k - 1 + sep.size());
    }
}
