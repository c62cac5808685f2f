#pragma once

// The text rules of the source editor that do not depend on the widget: which characters make
// up a word for the prompt-help commands, and where the caret goes when it steps through
// indentation. Offsets and columns are 0-based; one byte is one column.

#include <cstddef>
#include <string>
#include <string_view>

// Word characters are everything but blanks, control characters and the punctuation that
// separates tree-language names and operands; the number sign, dollar and at sign stay word
// characters because RPG names use them.
constexpr bool IsEditorWordDelimiter(unsigned char c) {
    return c < 35 || (c >= 39 && c <= 47) || (c >= 58 && c <= 63) || (c >= 91 && c <= 94) ||
           (c >= 123 && c <= 127);
}

// A stretch of text: the first offset and the number of bytes.
struct TextSpan {
    size_t Start = 0;
    size_t Length = 0;
    bool operator==(const TextSpan&) const = default;
};

// The word around the caret offset Caret: it starts after the nearest delimiter left of the
// caret and ends before the first delimiter right of it. With WithArgs, a word followed by
// "(" takes its argument list up to the next ")" of the same line, without that ")" unless
// IncludeClose is set (the replace command swaps the whole call). An argument list that is
// never closed runs to the end of its line, so that a replacement cannot eat the lines below.
TextSpan WordSpanAt(std::string_view text, size_t caret, bool withArgs, bool includeClose);

// Number of leading blanks of a line: the bytes a left trim removes (codes 0 to 32).
int LineIndent(std::string_view line);

// The leading spaces and tab characters of Line, at most Limit of them: what Enter copies
// onto the new line when automatic indentation is on.
std::string IndentToCopy(std::string_view line, int limit);

// How many blanks Backspace at the end of an indent of Indent columns removes when one
// indentation step is Step columns (Step at least 1): back to the previous multiple of Step.
int UnindentWidth(int indent, int step);

// Caret column after Left inside the indentation: the previous multiple of Step strictly left
// of Column, never below 0.
int StepLeftColumn(int column, int step);

// Caret column after Right when the caret steps through an indent of Indent columns on a line
// of LineLength columns: the next multiple of Step while a whole step is left, else the end of
// the indent; at the end of the line the caret stays. -1 when the caret moves as usual.
int StepRightColumn(int column, int indent, int lineLength, int step);

// The statement call of a line, "Name(...)" after the indentation and the flags part and
// before any trailing comment: what the prompt of the line works on wherever the caret is on
// it. A name without an argument list is taken alone; Length 0 when the line holds no name.
TextSpan StatementCallSpan(std::string_view line);
// The name of that statement (Z-ADD of "  {N01} Z-ADD(0:X)"), empty when the line holds none:
// what the help and the template of the line are looked up by.
std::string_view StatementName(std::string_view line);

// A prompted statement, "CODE(v1, v2)" as the prompt writes it, in the spacing style of the
// statement it replaces: a blank after the commas only when Original had one, and the name
// spelt as Original spelt it when it is the same name. An original without commas takes the
// style the converter writes, with no blank.
std::string InStyleOf(std::string_view original, std::string_view result);
