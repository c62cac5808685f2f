#include "ParseString.h"

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
