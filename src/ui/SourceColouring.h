#pragma once

// What each stretch of a source line is, for the colouring of the two editors: the
// statement language of the sections, and the fixed columns of the compiled RPG/400 lines.
// Offsets are 0-based bytes of the line; one byte is one column. No Qt here: the highlighters
// map the kinds onto formats.

#include <string>
#include <string_view>
#include <vector>

enum class SpanKind {
    // Statement language
    Name,      // statement or operation name
    Flags,     // the flags part in braces: conditioning indicators and control level
    Literal,   // quoted literal
    Number,    // numeric parameter
    Comment,   // comment line or trailing comment
    Raw,       // RPG(...) line: columns kept as written
    Directive, // #DEFINE and the like
    // Fixed columns
    FormType,
    ControlLevel,
    Indicator,
    Factor1,
    OpCode,
    Factor2,
    Result,
    Length,
    Resulting,
    Banner, // columns 75-80
    // Compile messages, in both editors
    Error,
    Warning,
};

struct ColourSpan {
    int Start = 0;
    int Length = 0;
    SpanKind Kind = SpanKind::Name;
    bool operator==(const ColourSpan&) const = default;
};

// The stretches of a statement line worth colouring, in line order, not overlapping.
std::vector<ColourSpan> StatementSpans(std::string_view line);

// The stretches of a compiled 80-column line by its form type (column 6).
std::vector<ColourSpan> RpgLineSpans(std::string_view line);

// The format line host editors show above a fixed-column line: the name of each field of the
// line's form type written into that field's columns (column 1 first). Input and output lines
// have a record and a field layout; the line tells which it is. Empty for a line without a
// known form type.
std::string FormatLine(std::string_view line);

// "....+....1....+....2" up to Width columns: the column numbers above the format line.
std::string ColumnScale(int width);
