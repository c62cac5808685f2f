#include "SourceColouring.h"

#include "rpgprogram/CrossReference.h"

#include <cctype>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '#' || c == '$' || c == '@' ||
           c == '_' || c == '*';
}

void Add(std::vector<ColourSpan>& spans, size_t start, size_t end, SpanKind kind) {
    if (end > start)
        spans.push_back({static_cast<int>(start), static_cast<int>(end - start), kind});
}

std::string_view LeftTrimmed(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && IsBlank(s[n]))
        ++n;
    return s.substr(n);
}

// Literals and numbers of a parameter list, from Start up to the closing parenthesis; returns
// the offset just past the list.
size_t ParameterSpans(std::string_view line, size_t start, std::vector<ColourSpan>& spans) {
    size_t i = start;
    int depth = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == '\'' || c == '"') {
            size_t end = LiteralEnd(line, i);
            Add(spans, i, end, SpanKind::Literal);
            i = end;
            continue;
        }
        if (c == '(' || c == '[') {
            ++depth;
        } else if (c == ']' || (c == ')' && depth > 0)) {
            --depth;
        } else if (c == ')') {
            return i + 1;
        } else if ((IsDigit(c) || ((c == '-' || c == '+' || c == '.') && i + 1 < line.size() &&
                                   IsDigit(line[i + 1]))) &&
                   (i == start || !IsNameChar(line[i - 1]))) {
            size_t end = i + 1;
            while (end < line.size() && (IsDigit(line[end]) || line[end] == '.'))
                ++end;
            // A name that begins with digits (an indicator such as 1P) is no number.
            if (end == line.size() || !IsNameChar(line[end]))
                Add(spans, i, end, SpanKind::Number);
            i = end;
            continue;
        }
        ++i;
    }
    return line.size();
}

void Place(std::string& s, int column, std::string_view text) {
    size_t at = static_cast<size_t>(column - 1);
    if (s.size() < at + text.size())
        s.resize(at + text.size(), ' ');
    s.replace(at, text.size(), text);
}

char ColumnOf(std::string_view line, int column) {
    size_t at = static_cast<size_t>(column - 1);
    return at < line.size() ? line[at] : ' ';
}

bool ColumnsBlank(std::string_view line, int first, int last) {
    for (int c = first; c <= last; ++c)
        if (!IsBlank(ColumnOf(line, c)))
            return false;
    return true;
}

struct Field {
    int First;
    int Last;
    SpanKind Kind;
};

void AddColumns(std::vector<ColourSpan>& spans, std::string_view line,
                std::initializer_list<Field> fields) {
    for (const Field& f : fields) {
        size_t from = static_cast<size_t>(f.First - 1);
        size_t to = std::min(line.size(), static_cast<size_t>(f.Last));
        if (from < to && !ColumnsBlank(line, f.First, f.Last))
            Add(spans, from, to, f.Kind);
    }
}

char FormTypeOf(std::string_view line) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ColumnOf(line, 6))));
}

bool IsOutputRecordLine(std::string_view line) {
    char type = static_cast<char>(std::toupper(static_cast<unsigned char>(ColumnOf(line, 15))));
    return type == 'H' || type == 'D' || type == 'T' || type == 'E' || !ColumnsBlank(line, 7, 14) ||
           !ColumnsBlank(line, 14, 16);
}

bool IsInputRecordLine(std::string_view line) {
    return ColumnsBlank(line, 42, 74);
}

} // namespace

std::vector<ColourSpan> StatementSpans(std::string_view line) {
    std::vector<ColourSpan> spans;
    std::string_view text = LeftTrimmed(line);
    const size_t first = line.size() - text.size();
    if (text.empty())
        return spans;
    if (text.starts_with("**ERROR")) {
        Add(spans, first, line.size(), SpanKind::Error);
        return spans;
    }
    if (text.starts_with("**WARNING")) {
        Add(spans, first, line.size(), SpanKind::Warning);
        return spans;
    }
    if (text.starts_with("/*")) {
        Add(spans, first, line.size(), SpanKind::Comment);
        return spans;
    }
    if (text.front() == '#') {
        Add(spans, first, line.size(), SpanKind::Directive);
        return spans;
    }
    size_t i = first;
    if (line[i] == '{') {
        size_t close = line.find('}', i);
        size_t end = close == std::string_view::npos ? line.size() : close + 1;
        Add(spans, i, end, SpanKind::Flags);
        i = end;
    }
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    size_t nameStart = i;
    while (i < line.size() && line[i] != '(' && !IsBlank(line[i]) &&
           !(line[i] == '/' && i + 1 < line.size() && line[i + 1] == '*'))
        ++i;
    size_t nameEnd = i;
    std::string_view name = line.substr(nameStart, nameEnd - nameStart);
    bool raw = name.size() == 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'R' &&
               std::toupper(static_cast<unsigned char>(name[1])) == 'P' &&
               std::toupper(static_cast<unsigned char>(name[2])) == 'G';
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (raw && i < line.size() && line[i] == '(') {
        // The columns of a raw line run to its last closing parenthesis.
        size_t close = line.rfind(')');
        size_t end = close == std::string_view::npos || close < i ? line.size() : close + 1;
        Add(spans, nameStart, end, SpanKind::Raw);
        i = end;
    } else {
        Add(spans, nameStart, nameEnd, SpanKind::Name);
        if (i < line.size() && line[i] == '(')
            i = ParameterSpans(line, i + 1, spans);
    }
    size_t comment = line.find("/*", i);
    if (comment != std::string_view::npos)
        Add(spans, comment, line.size(), SpanKind::Comment);
    return spans;
}

std::vector<ColourSpan> RpgLineSpans(std::string_view line) {
    std::vector<ColourSpan> spans;
    std::string_view text = LeftTrimmed(line);
    const size_t first = line.size() - text.size();
    if (text.starts_with("**ERROR")) {
        Add(spans, first, line.size(), SpanKind::Error);
        return spans;
    }
    if (text.starts_with("**WARNING")) {
        Add(spans, first, line.size(), SpanKind::Warning);
        return spans;
    }
    if (line.starts_with("**")) {
        // The separator in front of compile-time array data.
        Add(spans, 0, line.size(), SpanKind::Directive);
        return spans;
    }
    if (line.size() < 6)
        return spans;
    AddColumns(spans, line, {{6, 6, SpanKind::FormType}});
    const char form = FormTypeOf(line);
    if (ColumnOf(line, 7) == '*') {
        AddColumns(spans, line, {{7, 74, SpanKind::Comment}});
    } else if (form == 'C') {
        AddColumns(spans, line,
                   {{7, 8, SpanKind::ControlLevel},
                    {9, 17, SpanKind::Indicator},
                    {18, 27, SpanKind::Factor1},
                    {28, 32, SpanKind::OpCode},
                    {33, 42, SpanKind::Factor2},
                    {43, 48, SpanKind::Result},
                    {49, 53, SpanKind::Length},
                    {54, 59, SpanKind::Resulting},
                    {60, 74, SpanKind::Comment}});
    } else if (form == 'I') {
        if (IsInputRecordLine(line))
            AddColumns(spans, line, {{7, 14, SpanKind::Name}, {19, 20, SpanKind::Indicator}});
        else
            AddColumns(spans, line,
                       {{44, 51, SpanKind::Number},
                        {53, 58, SpanKind::Result},
                        {59, 60, SpanKind::ControlLevel},
                        {61, 70, SpanKind::Indicator}});
    } else if (form == 'O') {
        if (IsOutputRecordLine(line))
            AddColumns(spans, line,
                       {{7, 14, SpanKind::Name},
                        {15, 22, SpanKind::OpCode},
                        {23, 31, SpanKind::Indicator},
                        {32, 37, SpanKind::Result}});
        else
            AddColumns(spans, line,
                       {{23, 31, SpanKind::Indicator},
                        {32, 37, SpanKind::Result},
                        {38, 39, SpanKind::OpCode},
                        {40, 43, SpanKind::Number},
                        {45, 70, SpanKind::Literal}});
    } else if (form == 'F') {
        AddColumns(spans, line,
                   {{7, 14, SpanKind::Name},
                    {15, 19, SpanKind::OpCode},
                    {33, 34, SpanKind::Indicator},
                    {40, 46, SpanKind::Result},
                    {53, 65, SpanKind::Factor2},
                    {71, 72, SpanKind::Indicator}});
    } else if (form == 'E') {
        AddColumns(
            spans, line,
            {{11, 26, SpanKind::Name}, {27, 32, SpanKind::Result}, {33, 42, SpanKind::Number}});
    }
    if (line.size() > 74)
        Add(spans, 74, line.size(), SpanKind::Banner);
    return spans;
}

std::string FormatLine(std::string_view line) {
    // Compile messages and array separators have no columns of a form type.
    if (line.starts_with("**") || LeftTrimmed(line).starts_with("**WARNING"))
        return {};
    std::string f(5, ' ');
    const char form = FormTypeOf(line);
    if (ColumnOf(line, 7) == '*' && form != ' ') {
        Place(f, 6, std::string(1, form) + "*Comment");
        return f;
    }
    switch (form) {
    case 'H':
        Place(f, 6, "H");
        Place(f, 15, "Debug");
        Place(f, 18, "Cur");
        Place(f, 21, "DFmt");
        Place(f, 26, "Ig");
        Place(f, 41, "F");
        Place(f, 75, "Ident");
        return f;
    case 'F':
        Place(f, 6, "FFilenameIPEAF....RlenLK1AIOvKlocEDevice+......KExit++Entry+A....U1");
        return f;
    case 'E':
        Place(f, 6, "E....FromfileTofile++Name++N/rN/tbLenPDSArrnamLenPDSComments++++++");
        return f;
    case 'L':
        Place(f, 6, "LFilenameLenFLOvlOL");
        return f;
    case 'I':
        if (IsInputRecordLine(line))
            Place(f, 6, "IFilenameSqNORiPos1NCCPos2NCCPos3NCC");
        else
            Place(f, 6, "I" + std::string(36, '.') + "PFromTo++DField+L1M1FrPlMnZr");
        return f;
    case 'C':
        Place(f, 6, "CL0N01N02N03Factor1+++OpcdeFactor2+++ResultLenDHHiLoEqComments+++++++");
        return f;
    case 'O':
        if (IsOutputRecordLine(line))
            Place(f, 6, "OFilenameEFBASbSaN01N02N03Excnam");
        else
            Place(f, 6,
                  "O" + std::string(16, '.') + "N01N02N03Field+EBEnd+PConstant/editword+++++++++");
        return f;
    default:
        return {};
    }
}

std::string ColumnScale(int width) {
    std::string s;
    for (int c = 1; c <= width; ++c) {
        if (c % 10 == 0)
            s += static_cast<char>('0' + (c / 10) % 10);
        else if (c % 5 == 0)
            s += '+';
        else
            s += '.';
    }
    return s;
}
