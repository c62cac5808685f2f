#include "ExtRichText.h"

#include <algorithm>
#include <cctype>
#include <vector>

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

namespace {

bool IsBlankByte(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

size_t QuoteEnd(std::string_view text, size_t open) {
    const char quote = text[open];
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (quote == '"' && text[i] == '\\' && i + 1 < text.size())
            ++i;
        else if (text[i] == quote)
            return i + 1;
    }
    return text.size();
}

// Offsets of the commas between the arguments of a call (outside literals and brackets).
std::vector<size_t> ArgumentCommas(std::string_view call, size_t open) {
    std::vector<size_t> commas;
    int depth = 0;
    for (size_t i = open + 1; i < call.size(); ++i) {
        char c = call[i];
        if (c == '\'' || c == '"')
            i = QuoteEnd(call, i) - 1;
        else if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else if (c == ')')
            break;
        else if (c == ',' && depth == 0)
            commas.push_back(i);
    }
    return commas;
}

} // namespace

TextSpan StatementCallSpan(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && IsBlankByte(line[i]))
        ++i;
    if (line.substr(i).starts_with("/*"))
        return {};
    if (i < line.size() && line[i] == '{') {
        size_t close = line.find('}', i);
        if (close == std::string_view::npos)
            return {};
        i = close + 1;
        while (i < line.size() && IsBlankByte(line[i]))
            ++i;
    }
    const size_t start = i;
    while (i < line.size() && line[i] != '(' && !IsBlankByte(line[i]) &&
           !line.substr(i).starts_with("/*"))
        ++i;
    if (i == start)
        return {};
    if (i >= line.size() || line[i] != '(')
        return {start, i - start};
    // The call ends with its closing parenthesis, looked for outside literals.
    int depth = 0;
    for (size_t k = i + 1; k < line.size(); ++k) {
        char c = line[k];
        if (c == '\'' || c == '"') {
            k = QuoteEnd(line, k) - 1;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth == 0)
                return {start, k + 1 - start};
            --depth;
        }
    }
    return {start, line.size() - start};
}

std::string_view StatementName(std::string_view line) {
    TextSpan call = StatementCallSpan(line);
    std::string_view name = line.substr(call.Start, call.Length);
    return name.substr(0, name.find('('));
}

std::string InStyleOf(std::string_view original, std::string_view result) {
    size_t open = result.find('(');
    if (open == std::string_view::npos)
        return std::string(result);
    std::string_view code = result.substr(0, open);
    size_t originalOpen = original.find('(');
    std::string_view originalName =
        original.substr(0, originalOpen == std::string_view::npos ? original.size() : originalOpen);
    while (!originalName.empty() && IsBlankByte(originalName.back()))
        originalName.remove_suffix(1);
    bool sameName = originalName.size() == code.size() &&
                    std::equal(code.begin(), code.end(), originalName.begin(), [](char a, char b) {
                        return std::toupper(static_cast<unsigned char>(a)) ==
                               std::toupper(static_cast<unsigned char>(b));
                    });
    bool blank = false;
    if (originalOpen != std::string_view::npos)
        for (size_t comma : ArgumentCommas(original, originalOpen))
            if (comma + 1 < original.size() && original[comma + 1] == ' ')
                blank = true;

    std::string styled(sameName ? originalName : code);
    styled += '(';
    size_t from = open + 1;
    for (size_t comma : ArgumentCommas(result, open)) {
        std::string_view value = result.substr(from, comma - from);
        while (!value.empty() && IsBlankByte(value.front()))
            value.remove_prefix(1);
        styled.append(value);
        styled += blank ? ", " : ",";
        from = comma + 1;
    }
    std::string_view rest = result.substr(from);
    while (!rest.empty() && IsBlankByte(rest.front()))
        rest.remove_prefix(1);
    styled.append(rest);
    return styled;
}
