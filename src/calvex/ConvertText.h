#pragma once

#include <string>
#include <string_view>

// Column access and text conventions shared by the converters (RPG III line in, statement
// out). Columns are 1-based; a line shorter than 80 columns reads as blanks past its end.
namespace calvex {

// Character at Column, or a blank past the end of the line.
inline char Column(std::string_view line, int column) {
    return column >= 1 && static_cast<size_t>(column) <= line.size() ? line[column - 1] : ' ';
}

// The characters of columns From..To that the line holds (fewer, or none, when it is short).
// These helpers run for every column group of every converted line, so they are inline.
inline std::string_view Columns(std::string_view line, int from, int to) {
    if (from < 1)
        from = 1;
    if (to < from || static_cast<size_t>(from) > line.size())
        return {};
    size_t first = static_cast<size_t>(from - 1);
    size_t end = static_cast<size_t>(to) < line.size() ? static_cast<size_t>(to) : line.size();
    return line.substr(first, end - first);
}

// Columns From..To with leading and trailing blanks (codes <= 32) removed.
inline std::string_view TrimmedColumns(std::string_view line, int from, int to) {
    std::string_view s = Columns(line, from, to);
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// True when columns From..To hold nothing but blanks (or lie past the end of the line).
inline bool ColumnsBlank(std::string_view line, int from, int to) {
    for (char c : Columns(line, from, to))
        if (c != ' ')
            return false;
    return true;
}

// True when columns From..To equal Text exactly, reading missing columns as blanks.
bool ColumnsEqual(std::string_view line, int from, int to, std::string_view text);

enum class LineClass { Directive, Comment, Specification };

// The line classes every converter recognises first. For a directive or a comment the
// statement is returned in Statement: "# " + columns 7-74 for a directive; for a comment
// (column 7 "*", or column 6 blank) "/* " + columns 9-74 when column 8 is blank and "/*" +
// columns 8-74 when it holds text, so that the comment compiles back to the same columns.
LineClass ClassifyLine(std::string_view line, std::string& statement);

// Removes every comma that stands directly before a final ")" (File(X,,,) -> File(X)).
void TrimTrailingCommas(std::string& statement);

// Array element notation: a field text NAME,IDX is written NAME[IDX]; other text unchanged.
std::string ElementNotation(std::string_view trimmedField);
void AppendElementNotation(std::string& out, std::string_view trimmedField);

// "RPG(" + columns 6-74 as they stand + ")": the raw form any specification line can take.
std::string RawStatement(std::string_view line);

// Whether a compiled line gives back the source line: columns 6-74 equal, reading missing
// columns and trailing blanks as blanks. When CommentFirst is not 0, columns CommentFirst-74
// hold a trailing comment that may come back where it stood or with its text moved to the
// first column of its area (the statement keeps comments trimmed).
bool SameSpecification(std::string_view source, std::string_view compiled, int commentFirst = 0);

} // namespace calvex
