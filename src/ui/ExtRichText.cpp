#include "ExtRichText.h"

namespace {

bool IsDelimiterAt(std::string_view text, size_t offset) {
    return IsEditorWordDelimiter(static_cast<unsigned char>(text[offset]));
}

} // namespace

TextSpan WordSpanAt(std::string_view text, size_t caret, bool withArgs, bool includeClose) {
    if (text.empty())
        return {};
    if (caret > text.size())
        caret = text.size();
    size_t start = caret;
    while (start > 0 && !IsDelimiterAt(text, start - 1))
        --start;
    size_t end = caret;
    while (end < text.size() && !IsDelimiterAt(text, end))
        ++end;
    if (withArgs && end < text.size() && text[end] == '(') {
        // Tree-language statements hold one line each, so the argument list ends with its line.
        size_t close = end + 1;
        while (close < text.size() && text[close] != ')' && text[close] != '\n' &&
               text[close] != '\r')
            ++close;
        end = close;
        if (includeClose && close < text.size() && text[close] == ')')
            ++end;
    }
    return {start, end - start};
}

int LineIndent(std::string_view line) {
    size_t n = 0;
    while (n < line.size() && static_cast<unsigned char>(line[n]) <= 32)
        ++n;
    return static_cast<int>(n);
}

std::string IndentToCopy(std::string_view line, int limit) {
    size_t n = 0;
    while (static_cast<int>(n) < limit && n < line.size() && (line[n] == ' ' || line[n] == '\t'))
        ++n;
    return std::string(line.substr(0, n));
}

int UnindentWidth(int indent, int step) {
    int rest = indent % step;
    return rest == 0 ? step : rest;
}

int StepLeftColumn(int column, int step) {
    int roundedUp = (column + step - 1) / step * step;
    int target = roundedUp - step;
    return target < 0 ? 0 : target;
}

int StepRightColumn(int column, int indent, int lineLength, int step) {
    if (column <= indent - step)
        return column / step * step + step;
    if (column < indent)
        return indent;
    if (column >= lineLength)
        return column;
    return -1;
}
