#pragma once

// Fixed columns of a member line, 1-based as the specifications count them, and the lines of a
// member's text. A line shorter than a column holds blanks there; a carriage return before the
// line end is not part of the line.

#include <cstring>
#include <string_view>

namespace orvale::library {

inline bool IsBlankChar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\0';
}

// Column N (from 1), blank past the line's end.
inline char Col(std::string_view line, size_t n) {
    return n >= 1 && n <= line.size() ? line[n - 1] : ' ';
}

inline char UpperCol(std::string_view line, size_t n) {
    char c = Col(line, n);
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Columns From to To (from 1, both included), blanks trimmed on both sides.
inline std::string_view Cols(std::string_view line, size_t from, size_t to) {
    if (from < 1 || from > line.size() || to < from)
        return {};
    size_t first = from - 1;
    size_t last = to < line.size() ? to : line.size(); // exclusive
    while (first < last && IsBlankChar(line[first]))
        ++first;
    while (last > first && IsBlankChar(line[last - 1]))
        --last;
    return line.substr(first, last - first);
}

inline bool ColsBlank(std::string_view line, size_t from, size_t to) {
    return Cols(line, from, to).empty();
}

inline std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlankChar(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankChar(s.back()))
        s.remove_suffix(1);
    return s;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c != prefix[i])
            return false;
    }
    return true;
}

// The lines of a text: LF ends a line (a CR before it is dropped); a final line end makes no
// extra empty line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : Text(text) {}

    // The next line, false at the end of the text.
    bool Next(std::string_view& line) {
        if (Pos >= Text.size())
            return false;
        const char* start = Text.data() + Pos;
        const void* end = std::memchr(start, '\n', Text.size() - Pos);
        size_t length =
            end ? static_cast<size_t>(static_cast<const char*>(end) - start) : Text.size() - Pos;
        Pos += length + 1;
        line = std::string_view(start, length);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++Number;
        return true;
    }
    // The number of the line Next gave last, from 1.
    int LineNumber() const { return Number; }

private:
    std::string_view Text;
    size_t Pos = 0;
    int Number = 0;
};

} // namespace orvale::library
