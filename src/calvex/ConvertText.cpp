#include "ConvertText.h"

#include <algorithm>

namespace calvex {

bool ColumnsEqual(std::string_view line, int from, int to, std::string_view text) {
    if (static_cast<int>(text.size()) != to - from + 1)
        return false;
    for (int c = from; c <= to; ++c)
        if (Column(line, c) != text[static_cast<size_t>(c - from)])
            return false;
    return true;
}

LineClass ClassifyLine(std::string_view line, std::string& statement) {
    char c7 = Column(line, 7);
    if (c7 == '/') {
        statement.assign("# ");
        statement.append(Columns(line, 7, 74));
        return LineClass::Directive;
    }
    if (c7 == '*' || Column(line, 6) == ' ') {
        if (Column(line, 8) == ' ') {
            statement.assign("/* ");
            statement.append(Columns(line, 9, 74));
        } else {
            statement.assign("/*");
            statement.append(Columns(line, 8, 74));
        }
        return LineClass::Comment;
    }
    return LineClass::Specification;
}

void TrimTrailingCommas(std::string& statement) {
    if (statement.size() < 2 || statement.back() != ')' || statement[statement.size() - 2] != ',')
        return;
    size_t end = statement.size() - 1;
    size_t start = end;
    while (start > 0 && statement[start - 1] == ',')
        --start;
    statement.erase(start, end - start);
}

void AppendElementNotation(std::string& out, std::string_view field) {
    size_t comma = field.find(',');
    if (comma == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.append(field.substr(0, comma));
    out += '[';
    out.append(field.substr(comma + 1));
    out += ']';
}

std::string ElementNotation(std::string_view field) {
    std::string out;
    AppendElementNotation(out, field);
    return out;
}

std::string RawStatement(std::string_view line) {
    std::string s("RPG(");
    s.append(Columns(line, 6, 74));
    s += ')';
    return s;
}

namespace {

bool AllBlank(std::string_view s) {
    for (char c : s)
        if (c != ' ')
            return false;
    return true;
}

// Columns From..To of both lines equal, reading missing columns as blanks. Every converted line
// is checked this way, so the common part is compared in one go.
bool SameColumns(std::string_view a, std::string_view b, int from, int to) {
    std::string_view x = Columns(a, from, to);
    std::string_view y = Columns(b, from, to);
    size_t n = std::min(x.size(), y.size());
    return x.substr(0, n) == y.substr(0, n) && AllBlank(x.substr(n)) && AllBlank(y.substr(n));
}

} // namespace

bool SameSpecification(std::string_view source, std::string_view compiled, int commentFirst) {
    int last = commentFirst > 0 ? commentFirst - 1 : 74;
    if (!SameColumns(source, compiled, 6, last))
        return false;
    if (commentFirst <= 0 || SameColumns(source, compiled, commentFirst, 74))
        return true;
    std::string_view wanted = TrimmedColumns(source, commentFirst, 74);
    std::string_view got = Columns(compiled, commentFirst, 74);
    while (!got.empty() && got.back() == ' ')
        got.remove_suffix(1);
    return got == wanted;
}

} // namespace calvex
