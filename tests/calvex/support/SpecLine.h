#pragma once

// Builds a fixed-column line for the tests: the form type in column 6 and each text from its
// first column on; trailing blanks are dropped, as real members often do.

#include <string>
#include <string_view>
#include <utility>

namespace calvex::test {

inline std::string SpecLine(char formType,
                            std::initializer_list<std::pair<int, std::string_view>> fields) {
    std::string s(80, ' ');
    s[5] = formType;
    for (const auto& [column, text] : fields)
        s.replace(static_cast<size_t>(column - 1), text.size(), text);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// Columns From..To of Line, reading missing columns as blanks.
inline std::string ColumnsOf(const std::string& line, int from, int to) {
    std::string s = line;
    if (s.size() < static_cast<size_t>(to))
        s.resize(static_cast<size_t>(to), ' ');
    return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

} // namespace calvex::test
