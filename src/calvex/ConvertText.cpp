#include "ConvertText.h"

namespace calvex {

std::string_view Columns(std::string_view line, int from, int to) {
    if (from < 1)
        from = 1;
    if (to < from || static_cast<size_t>(from) > line.size())
        return {};
    size_t end = std::min(line.size(), static_cast<size_t>(to));
    return line.substr(static_cast<size_t>(from - 1), end - static_cast<size_t>(from - 1));
}

std::string_view TrimmedColumns(std::string_view line, int from, int to) {
    std::string_view s = Columns(line, from, to);
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

bool ColumnsBlank(std::string_view line, int from, int to) {
    for (char c : Columns(line, from, to))
        if (c != ' ')
            return false;
    return true;
}

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

bool SameSpecification(std::string_view source, std::string_view compiled, int commentFirst) {
    int last = commentFirst > 0 ? commentFirst - 1 : 74;
    for (int c = 6; c <= last; ++c)
        if (Column(source, c) != Column(compiled, c))
            return false;
    if (commentFirst <= 0)
        return true;
    bool same = true;
    for (int c = commentFirst; c <= 74 && same; ++c)
        same = Column(source, c) == Column(compiled, c);
    if (same)
        return true;
    std::string_view wanted = TrimmedColumns(source, commentFirst, 74);
    std::string_view got = Columns(compiled, commentFirst, 74);
    while (!got.empty() && got.back() == ' ')
        got.remove_suffix(1);
    return got == wanted;
}

} // namespace calvex
