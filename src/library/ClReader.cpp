#include "library/ClReader.h"

#include "library/Columns.h"

#include <deque>
#include <string>
#include <vector>

namespace orvale::library {

namespace {

// One parameter of a command: KEYWORD(value) or a positional value.
struct Param {
    std::string Keyword;    // upper case, empty for a positional value
    std::string_view Value; // as written, without the keyword's parentheses
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
            command.Params.push_back({{}, text.substr(i + 1, end > i ? end - i - 1 : 0)});
            i = end + 1;
            continue;
        }
        if (text[i] == '\'') {
            size_t close = text.find('\'', i + 1);
            size_t end = close == std::string_view::npos ? text.size() : close + 1;
            command.Params.push_back({{}, text.substr(start, end - start)});
            i = end;
            continue;
        }
        while (i < text.size() && !IsBlankChar(text[i]) && text[i] != '(')
            ++i;
        std::string_view word = text.substr(start, i - start);
        if (i < text.size() && text[i] == '(') {
            size_t end = GroupEnd(text, i);
            command.Params.push_back(
                {UpperName(word), text.substr(i + 1, end > i ? end - i - 1 : 0)});
            i = end + 1;
        } else {
            command.Params.push_back({{}, word});
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
        bool inComment = false;
        while (lines.Next(line)) {
            std::string code = StripComments(line, inComment);
            std::string_view trimmed = TrimBlanks(code);
            if (Statement.empty() && trimmed.empty())
                continue;
            std::string_view body = code;
            while (!body.empty() && IsBlankChar(body.back()))
                body.remove_suffix(1);
            bool more = !body.empty() && (body.back() == '+' || body.back() == '-');
            bool plus = more && body.back() == '+';
            if (more)
                body.remove_suffix(1); // the blanks before the mark are part of the text
            // After + the next line's leading blanks are dropped; after - they are kept.
            std::string_view part = body;
            if (Statement.empty() || !Minus)
                while (!part.empty() && IsBlankChar(part.front()))
                    part.remove_prefix(1);
            Segments.emplace_back(Statement.size(), lines.LineNumber());
            Statement.append(part);
            Minus = more && !plus;
            if (more && Statement.size() < 65536)
                continue;
            Process(Statement, 0);
            Statement.clear();
            Segments.clear();
            Minus = false;
        }
        if (!Statement.empty())
            Process(Statement, 0);
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

    // The line of the member that holds the character at P of the statement (the first line
    // of the statement for text that is no part of it, as a literal unquoted).
    int LineAt(const char* p) const {
        int line = Segments.empty() ? 0 : Segments.front().second;
        if (p < Statement.data() || p > Statement.data() + Statement.size())
            return line;
        auto offset = static_cast<size_t>(p - Statement.data());
        for (const auto& [start, number] : Segments)
            if (start <= offset)
                line = number;
        return line;
    }

    void Object(std::string_view value, NameKind kind, NameRole role, const char* op) {
        bool variable = false;
        std::string name = ObjectName(value, variable);
        if (variable && kind != NameKind::Program)
            return;
        Use(std::move(name), LineAt(value.data()), kind, role, op,
            variable ? CallVia::Variable : CallVia::Name);
    }

    // A command in a quoted literal, to be run later (SBMJOB RQSDTA, QCMDEXC, a CHGVAR of a
    // command string): its calls are calls too.
    void QuotedCommand(std::string_view literal, int depth) {
        if (literal.size() < 2 || literal.front() != '\'' || depth >= 4)
            return;
        std::string_view inner = TrimBlanks(literal.substr(1, literal.size() - 2));
        if (!StartsWithNoCase(inner, "CALL ") && !StartsWithNoCase(inner, "TFRCTL "))
            return;
        std::string unquoted;
        for (size_t i = 0; i < inner.size(); ++i) {
            unquoted += inner[i];
            if (inner[i] == '\'' && i + 1 < inner.size() && inner[i + 1] == '\'')
                ++i;
        }
        int line = LineAt(literal.data());
        Literals.push_back(std::move(unquoted));
        size_t before = Facts.Uses.size();
        Process(Literals.back(), depth + 1);
        for (size_t i = before; i < Facts.Uses.size(); ++i)
            Facts.Uses[i].Line = line;
    }

    void Process(std::string_view text, int depth) {
        Command c = ParseCommand(text);
        const std::string& n = c.Name;
        int line = LineAt(text.data());
        if (n == "CALL" || n == "TFRCTL") {
            std::string_view program = c.Value("PGM", 0);
            if (!program.empty())
                Object(program, NameKind::Program, NameRole::Calls, n.c_str());
        } else if (n == "SBMJOB" || n == "IF" || n == "ELSE" || n == "MONMSG" || n == "WHEN" ||
                   n == "OTHERWISE") {
            // The commands these run: SBMJOB CMD(...), IF ... THEN(...), ELSE CMD(...),
            // MONMSG ... EXEC(...).
            for (const Param& p : c.Params)
                if ((p.Keyword == "CMD" || p.Keyword == "THEN" || p.Keyword == "EXEC" ||
                     (p.Keyword.empty() && n == "ELSE")) &&
                    !p.Value.empty() && depth < 4)
                    Process(p.Value, depth + 1);
        } else if (n == "DCLF") {
            bool variable = false;
            DeclaredFile = ObjectName(c.Value("FILE", 0), variable);
            Use(DeclaredFile, line, NameKind::File, NameRole::Declares, "DCLF");
        } else if (n == "RCVF" || n == "SNDF" || n == "SNDRCVF") {
            NameRole role = n == "RCVF" ? NameRole::Reads : NameRole::Writes;
            Use(DeclaredFile, line, NameKind::File, role, n.c_str());
            std::string_view format = c.Value("RCDFMT", 99);
            if (!format.empty())
                Object(format, NameKind::Format, role, n.c_str());
        } else if (n == "OVRDBF" || n == "OVRPRTF" || n == "OVRDSPF") {
            for (std::string_view f : {c.Value("FILE", 0), c.Value("TOFILE", 1)})
                if (!f.empty())
                    Object(f, NameKind::File, NameRole::Uses, "OVRDBF");
        } else if (n == "CPYF") {
            if (std::string_view from = c.Value("FROMFILE", 0); !from.empty())
                Object(from, NameKind::File, NameRole::Reads, "CPYF");
            if (std::string_view to = c.Value("TOFILE", 1); !to.empty())
                Object(to, NameKind::File, NameRole::Writes, "CPYF");
        } else if (n == "RTVDTAARA" || n == "CHGDTAARA" || n == "CRTDTAARA" || n == "DLTDTAARA") {
            NameRole role = n == "RTVDTAARA"   ? NameRole::Reads
                            : n == "CHGDTAARA" ? NameRole::Writes
                            : n == "CRTDTAARA" ? NameRole::Defines
                                               : NameRole::Deletes;
            if (std::string_view area = c.Value("DTAARA", 0); !area.empty())
                Object(area, NameKind::DataArea, role, n.c_str());
        }
        for (const Param& p : c.Params)
            if (!p.Value.empty() && p.Value.front() == '\'')
                QuotedCommand(p.Value, depth);
            else if (p.Keyword == "RQSDTA" || p.Keyword == "VALUE" || p.Keyword == "CMD")
                QuotedCommand(TrimBlanks(p.Value), depth);
    }

    TMemberFacts& Facts;
    std::string DeclaredFile;
    std::string Statement;
    // Where each line's text starts in Statement, and the line.
    std::vector<std::pair<size_t, int>> Segments;
    bool Minus = false;
    // Commands unquoted from literals, kept while they are read.
    std::deque<std::string> Literals;
};

} // namespace

void ReadCl(std::string_view text, TMemberFacts& facts) {
    Reader reader(facts);
    reader.Read(text);
}

} // namespace orvale::library
