#include "outside/PrintLayout.h"

#include "calvex/Calvex.h"
#include "document/EditSection.h"
#include "document/ParseString.h"

#include <algorithm>
#include <charconv>

namespace lumbro {

namespace {

constexpr int PrinterWidth = 132;
constexpr int LineWidth = 80;

// Columns From to To (1-based, inclusive) of an 80-column line.
std::string Columns(const std::string& line, int from, int to) {
    return line.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

bool Blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// A quoted constant or edit word: the text between the quotes, '' standing for one quote.
std::string Unquote(const std::string& text) {
    std::string t = Trim(text);
    if (t.size() < 2 || t.front() != '\'')
        return t;
    size_t last = t.rfind('\'');
    std::string inner = t.substr(1, last > 0 ? last - 1 : 0);
    std::string out;
    for (size_t i = 0; i < inner.size(); ++i) {
        out += inner[i];
        if (inner[i] == '\'' && i + 1 < inner.size() && inner[i + 1] == '\'')
            ++i;
    }
    return out;
}

// An edit word as printed digits: every blank and zero-suppression position shows a 9, and
// "&" a blank.
std::string EditWordSample(const std::string& word) {
    std::string sample = word;
    for (char& c : sample) {
        if (c == ' ' || c == '0')
            c = '9';
        else if (c == '&')
            c = ' ';
    }
    return sample;
}

bool ParseInt(const std::string& text, int& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end && begin != end;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(TPrintLayout& layout) : Layout(layout) {}

    void Record(const std::string& line, int number) {
        Flush();
        Open = true;
        LastEnd = 0;
        Text.clear();
        char type = line[14];
        SpaceBefore = Digit(line[16]);
        SpaceAfter = Digit(line[17]);
        // A printer record with no spacing or skipping at all is single spaced after.
        if (Blank(Columns(line, 17, 22)))
            SpaceAfter = 1;
        SkipBefore = Trim(Columns(line, 19, 20));
        SkipAfter = Trim(Columns(line, 21, 22));
        Note = std::string(1, type == ' ' ? '?' : type);
        std::string conditions = Conditions(line);
        if (!conditions.empty())
            Note += " " + conditions;
        if (type != 'H' && type != 'D' && type != 'T' && type != 'E')
            Layout.Messages.push_back("Line " + std::to_string(number) +
                                      ": record type is not H, D, T or E.");
    }

    void Conditions(const std::string& line, int) {
        std::string conditions = Conditions(line);
        if (Open && !conditions.empty())
            Note += " " + Trim(Columns(line, 14, 16)) + " " + conditions;
    }

    void Field(const std::string& line, int number) {
        if (!Open) {
            Layout.Messages.push_back("Line " + std::to_string(number) +
                                      ": field or constant before any record line.");
            return;
        }
        std::string name = Trim(Columns(line, 32, 37));
        std::string constant = TrimRight(Columns(line, 45, 70));
        std::string shown = name.empty()       ? Unquote(constant)
                            : constant.empty() ? name
                                               : EditWordSample(Unquote(constant));
        int width = static_cast<int>(shown.size());
        std::string endText = Trim(Columns(line, 40, 43));
        int end = LastEnd + width;
        if (!endText.empty()) {
            int value = 0;
            bool relative = endText[0] == '+' || endText[0] == '-';
            std::string digits = relative ? Trim(endText.substr(1)) : endText;
            if (!ParseInt(digits, value)) {
                Layout.Messages.push_back("Line " + std::to_string(number) + ": end position \"" +
                                          endText + "\" is not a number.");
                return;
            }
            // A signed entry counts the blanks between the field before and this one.
            if (relative)
                end = LastEnd + (endText[0] == '+' ? value : -value) + width;
            else
                end = value;
        }
        int start = end - width + 1;
        if (start < 1) {
            Layout.Messages.push_back(
                "Line " + std::to_string(number) + ": " + (name.empty() ? "constant" : name) +
                " does not fit before its end position " + std::to_string(end) + ".");
            shown.erase(0, static_cast<size_t>(1 - start));
            start = 1;
        }
        if (end > static_cast<int>(Text.size()))
            Text.resize(static_cast<size_t>(std::max(end, 0)), ' ');
        if (!shown.empty())
            Text.replace(static_cast<size_t>(start - 1), shown.size(), shown);
        LastEnd = end;
        Layout.Width = std::max(Layout.Width, end);
    }

    void Flush() {
        if (!Open)
            return;
        if (!SkipBefore.empty())
            Add(TPrintedLine::Kind::Skip, "", "skip to line " + SkipBefore);
        for (int i = 0; i < SpaceBefore; ++i)
            Add(TPrintedLine::Kind::Space, "", "");
        std::string note = Note;
        if (SpaceAfter == 0 && SkipAfter.empty())
            note += " (prints over the next line)";
        Add(TPrintedLine::Kind::Record, Text, note);
        for (int i = 1; i < SpaceAfter; ++i)
            Add(TPrintedLine::Kind::Space, "", "");
        if (!SkipAfter.empty())
            Add(TPrintedLine::Kind::Skip, "", "skip to line " + SkipAfter);
        Open = false;
    }

private:
    static int Digit(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

    static std::string Conditions(const std::string& line) {
        std::string text;
        for (int from : {23, 26, 29}) {
            std::string indicator = Trim(Columns(line, from, from + 2));
            if (!indicator.empty())
                text += (text.empty() ? "" : " ") + indicator;
        }
        return text;
    }

    void Add(TPrintedLine::Kind kind, std::string text, std::string note) {
        Layout.Lines.push_back({kind, std::move(text), std::move(note)});
    }

    TPrintLayout& Layout;
    bool Open = false;
    int LastEnd = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    std::string SkipBefore, SkipAfter, Note, Text;
};

} // namespace

TCompiledOutput CompileOutputStatements(const StringList& statements, const std::string& prefix) {
    TEDITSection section("Layout", "");
    section.AssignLines(statements);
    TCompileOptions options{};
    options.PrefixLength = static_cast<std::uint8_t>(std::min<size_t>(prefix.size(), 2));
    std::copy_n(prefix.begin(), options.PrefixLength, options.Prefix);
    TCompileResult result{};
    CompileRPG3Source(&result, nullptr, section, StringList(), 'O', options, true);
    return {section.CompiledTexts(), result.Errors, result.Warnings};
}

TPrintLayout BuildPrintLayout(const StringList& compiled) {
    TPrintLayout layout;
    LayoutBuilder builder(layout);
    int number = 0;
    for (const std::string& raw : compiled) {
        ++number;
        // The compile's messages stand among the lines; "**ERROR" has an O in column 6.
        if (raw.starts_with("**") || raw.starts_with("      **"))
            continue;
        std::string line = raw.substr(0, LineWidth);
        line.resize(LineWidth, ' ');
        if (line[5] != 'O' || line[6] == '*' || line[6] == '/')
            continue;
        std::string andOr = Columns(line, 14, 16);
        if (andOr == "AND" || andOr == "OR ")
            builder.Conditions(line, number);
        else if (!Blank(Columns(line, 7, 22)) || line[14] == 'E')
            builder.Record(line, number);
        else
            builder.Field(line, number);
    }
    builder.Flush();
    layout.Width = std::max(layout.Width, PrinterWidth);
    return layout;
}

StringList ColumnRuler(int width) {
    std::string tens(static_cast<size_t>(std::max(width, 0)), ' ');
    std::string units = tens;
    for (int column = 1; column <= width; ++column) {
        units[static_cast<size_t>(column - 1)] = static_cast<char>('0' + column % 10);
        if (column % 10 == 0)
            tens[static_cast<size_t>(column - 1)] = static_cast<char>('0' + column / 10 % 10);
    }
    return {tens, units};
}

} // namespace lumbro
