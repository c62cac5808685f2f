#pragma once

// The machinery every specification type shares on the compile side: one statement-language
// line split into its parts, definition substitution, the special lines (raw RPG lines,
// directives, comments, continuation lines) and field placement into an 80-column buffer.

#include "platform/StringList.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace calvex {

// The compile of one statement yields exactly one line: a fixed-column line, an error line
// beginning "**ERROR: " or a warning line beginning "      **WARNING: ".
struct ResultLine {
    std::string Text;
    bool Error = false;
    bool Warning = false;
};

ResultLine ErrorLine(std::string_view message);   // "**ERROR: " is part of Message
ResultLine WarningLine(std::string_view message); // "      **WARNING: " is part of Message

// The options that change how a line is parsed.
struct ParseSwitches {
    bool CodeComments = true; // keep trailing comments
    bool CommentLines = true; // compile "/*" lines
    bool BlankLines = true;   // turn empty lines into comment lines
};

// NAME=VALUE pairs from the "#DEFINE" lines, looked up ignoring case.
class Definitions {
public:
    Definitions() = default;
    explicit Definitions(const StringList& pairs);
    // The value for Name, or nullptr.
    const std::string* Find(std::string_view name) const;
    bool Empty() const;

private:
    std::vector<std::pair<std::string, std::string>> Entries; // upper-cased name, value
};

struct ParsedStatement {
    // True when the line produces no output at all (empty line, or a comment line while
    // comment lines are off).
    bool Skipped = false;
    // Parse errors and the extra-parameter warning, written before anything else; a parse
    // error means the statement itself produces nothing further.
    std::vector<ResultLine> Messages;
    bool Failed = false;
    std::string Flags; // text between the braces
    bool HasFlags = false;
    std::string Name;      // as written
    std::string ParamText; // between the parentheses, not trimmed
    std::string Comment;   // trailing comment (only with CodeComments)
    // Entry 0 is the upper-cased name, entries 1..n the parameters.
    StringList Params;
};

// Where the trailing comment of a statement's text begins: the first "/*" outside literals and
// parentheses; npos for none.
size_t CommentStart(std::string_view text);

void ParseStatementLine(std::string_view line, const ParseSwitches& switches,
                        const Definitions& definitions, ParsedStatement& out);

// Raw RPG/SQL lines (Name "RPG"/"SQL" with RawText the parameter text), directives (Name
// beginning "#"), comments ("/*") and continuation lines ("+"; Name is the whole line).
ResultLine CheckSpecialLine(std::string_view name, char formType, std::string_view rawText);

// Copies Text into Buffer's columns First..First+Width-1 (1-based), left- or right-justified,
// and returns the number of characters copied (less than Text's length means truncation).
// Every parameter of every compiled line comes through here, hence inline.
inline int PlaceField(std::string& buffer, int firstColumn, int width, std::string_view text,
                      bool rightJustified) {
    if (width <= 0 || firstColumn < 1)
        return 0;
    size_t count =
        static_cast<size_t>(width) < text.size() ? static_cast<size_t>(width) : text.size();
    size_t end = static_cast<size_t>(firstColumn - 1 + width);
    if (buffer.size() < end)
        buffer.resize(end, ' ');
    char* into =
        buffer.data() + (rightJustified ? end - count : static_cast<size_t>(firstColumn - 1));
    const char* from = rightJustified ? text.data() + (text.size() - count) : text.data();
    std::memcpy(into, from, count);
    return static_cast<int>(count);
}

// A whole decimal number with an optional sign; "-9999" counts as not a number.
bool IsInteger(std::string_view text);

} // namespace calvex
