#include "library/ClReader.h"

#include "library/Columns.h"

#include <string>
#include <vector>

namespace orvale::library {

namespace {

// One parameter of a command: KEYWORD(value) or a positional value.
struct Param {
    std::string Keyword; // upper case, empty for a positional value
    std::string Value;   // as written, without the keyword's parentheses
};

struct Command {
    std::string Name; // upper case, library taken away
    std::vector<Param> Params;

    // The value of Keyword, else the positional value at Position (0-based); empty when none.
    std::string_view Value(std::string_view keyword, size_t position) const {
        for (const Param& p : Params)
            if (p.Keyword == keyword)
                return p.Value;
        size_t n = 0;
        for (const Param& p : Params)
            if (p.Keyword.empty() && n++ == position)
                return p.Value;
        return {};
    }
};

// The end of the parenthesised group that opens at Open, or the text's end.
size_t GroupEnd(std::string_view text, size_t open) {
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\'') {
            size_t close = text.find('\'', i + 1);
            if (close == std::string_view::npos)
                return text.size();
            i = close;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return i;
        }
    }
    return text.size();
}

Command ParseCommand(std::string_view text) {
    Command command;
    text = TrimBlanks(text);
    // A label ends with a colon before the command.
    size_t colon = text.find(':');
    if (colon != std::string_view::npos &&
        text.substr(0, colon).find_first_of(" ('") == std::string_view::npos)
        text = TrimBlanks(text.substr(colon + 1));
    size_t i = 0;
    while (i < text.size() && !IsBlankChar(text[i]) && text[i] != '(')
        ++i;
    std::string_view name = text.substr(0, i);
    size_t slash = name.rfind('/');
    if (slash != std::string_view::npos)
        name = name.substr(slash + 1);
    command.Name = UpperName(name);
    while (i < text.size()) {
        while (i < text.size() && IsBlankChar(text[i]))
            ++i;
        if (i >= text.size())
            break;
        size_t start = i;
        if (text[i] == '(') {
            // A positional list: (&A &B)
            size_t end = GroupEnd(text, i);
            command.Params.push_back({{}, std::string(text.substr(i + 1, end - i - 1))});
            i = end + 1;
            continue;
        }
        if (text[i] == '\'') {
            size_t close = text.find('\'', i + 1);
            size_t end = close == std::string_view::npos ? text.size() : close + 1;
            command.Params.push_back({{}, std::string(text.substr(start, end - start))});
            i = end;
            continue;
        }
        while (i < text.size() && !IsBlankChar(text[i]) && text[i] != '(')
            ++i;
        std::string_view word = text.substr(start, i - start);
        if (i < text.size() && text[i] == '(') {
            size_t end = GroupEnd(text, i);
            command.Params.push_back(
                {UpperName(word), std::string(text.substr(i + 1, end > i ? end - i - 1 : 0))});
            i = end + 1;
        } else {
            command.Params.push_back({{}, std::string(word)});
        }
    }
    return command;
}

// The object a value names: 'X' or LIB/X or X; Variable is set for &VAR.
std::string ObjectName(std::string_view value, bool& variable) {
    value = TrimBlanks(value);
    // DTAARA(*LDA (1 10)): the object is the first word.
    size_t blank = value.find_first_of(" (");
    if (blank != std::string_view::npos && value.front() != '\'')
        value = value.substr(0, blank);
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        value = value.substr(1, value.size() - 2);
    size_t slash = value.rfind('/');
    if (slash != std::string_view::npos)
        value = value.substr(slash + 1);
    variable = !value.empty() && value.front() == '&';
    return UpperName(TrimBlanks(value));
}

class Reader {
public:
    explicit Reader(TMemberFacts& facts) : Facts(facts) {}

    void Read(std::string_view text) {
        LineReader lines(text);
        std::string_view line;
        std::string statement;
        int start = 0;
        bool inComment = false;
        while (lines.Next(line)) {
            std::string code = StripComments(line, inComment);
            std::string_view trimmed = TrimBlanks(code);
            if (statement.empty() && trimmed.empty())
                continue;
            if (statement.empty())
                start = lines.LineNumber();
            bool more = false;
            if (!trimmed.empty() && (trimmed.back() == '+' || trimmed.back() == '-')) {
                more = true;
                bool plus = trimmed.back() == '+';
                trimmed.remove_suffix(1);
                // With + the next line's leading blanks are dropped; with - they are kept.
                statement.append(plus ? TrimBlanks(trimmed) : trimmed);
                if (!plus)
                    statement += ' ';
            } else {
                statement.append(statement.empty() ? trimmed : TrimBlanks(code));
            }
            if (more && statement.size() < 65536)
                continue;
            Process(statement, start);
            statement.clear();
        }
        if (!statement.empty())
            Process(statement, start);
    }

private:
    static std::string StripComments(std::string_view line, bool& inComment) {
        std::string code;
        for (size_t i = 0; i < line.size(); ++i) {
            if (inComment) {
                if (line[i] == '*' && i + 1 < line.size() && line[i + 1] == '/') {
                    inComment = false;
                    ++i;
                }
                continue;
            }
            if (line[i] == '/' && i + 1 < line.size() && line[i + 1] == '*') {
                inComment = true;
                ++i;
                continue;
            }
            if (line[i] == '\'') {
                size_t close = line.find('\'', i + 1);
                size_t end = close == std::string_view::npos ? line.size() : close + 1;
                code.append(line.substr(i, end - i));
                i = end - 1;
                continue;
            }
            code += line[i];
        }
        return code;
    }

    void Use(std::string name, int line, NameKind kind, NameRole role, const char* op,
             CallVia via = CallVia::Name) {
        if (name.empty() || name.front() == '*')
            return;
        Facts.Uses.push_back({std::move(name), line, kind, role, OperationCode(op), via});
    }

    void Object(std::string_view value, int line, NameKind kind, NameRole role, const char* op) {
        bool variable = false;
        std::string name = ObjectName(value, variable);
        if (variable && kind != NameKind::Program)
            return;
        Use(std::move(name), line, kind, role, op, variable ? CallVia::Variable : CallVia::Name);
    }

    void Process(std::string_view text, int line, int depth = 0) {
        Command c = ParseCommand(text);
        const std::string& n = c.Name;
        if (n == "CALL" || n == "TFRCTL") {
            Object(c.Value("PGM", 0), line, NameKind::Program, NameRole::Calls, n.c_str());
        } else if (n == "SBMJOB") {
            std::string_view inner = c.Value("CMD", 0);
            if (!inner.empty() && depth < 4)
                Process(inner, line, depth + 1);
        } else if (n == "DCLF") {
            bool variable = false;
            DeclaredFile = ObjectName(c.Value("FILE", 0), variable);
            Use(DeclaredFile, line, NameKind::File, NameRole::Declares, "DCLF");
        } else if (n == "RCVF" || n == "SNDF" || n == "SNDRCVF") {
            NameRole role = n == "RCVF" ? NameRole::Reads : NameRole::Writes;
            Use(DeclaredFile, line, NameKind::File, role, n.c_str());
            Object(c.Value("RCDFMT", 99), line, NameKind::Format, role, n.c_str());
        } else if (n == "OVRDBF" || n == "OVRPRTF" || n == "OVRDSPF") {
            Object(c.Value("FILE", 0), line, NameKind::File, NameRole::Uses, "OVRDBF");
            Object(c.Value("TOFILE", 1), line, NameKind::File, NameRole::Uses, "OVRDBF");
        } else if (n == "CPYF") {
            Object(c.Value("FROMFILE", 0), line, NameKind::File, NameRole::Reads, "CPYF");
            Object(c.Value("TOFILE", 1), line, NameKind::File, NameRole::Writes, "CPYF");
        } else if (n == "RTVDTAARA" || n == "CHGDTAARA" || n == "CRTDTAARA" || n == "DLTDTAARA") {
            NameRole role = n == "RTVDTAARA"   ? NameRole::Reads
                            : n == "CHGDTAARA" ? NameRole::Writes
                            : n == "CRTDTAARA" ? NameRole::Defines
                                               : NameRole::Deletes;
            Object(c.Value("DTAARA", 0), line, NameKind::DataArea, role, n.c_str());
        }
    }

    TMemberFacts& Facts;
    std::string DeclaredFile;
};

} // namespace

void ReadCl(std::string_view text, TMemberFacts& facts) {
    Reader reader(facts);
    reader.Read(text);
}

} // namespace orvale::library
