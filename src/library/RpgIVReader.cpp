#include "library/RpgIVReader.h"

#include "library/Columns.h"
#include "library/RpgReader.h"

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvale::library {

namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#' || c == '$' ||
           c == '@' || static_cast<unsigned char>(c) >= 0x80;
}

// The quoted value of KEYWORD('VALUE') in Text, or nothing; Found tells whether the keyword
// is there at all (EXTPGM alone names the prototype's own program).
std::string KeywordValue(std::string_view text, std::string_view keyword, bool& found) {
    std::string upper = UpperName(text);
    size_t at = 0;
    while ((at = upper.find(keyword, at)) != std::string::npos) {
        bool before = at > 0 && IsNameChar(upper[at - 1]);
        size_t after = at + keyword.size();
        if (before || (after < upper.size() && IsNameChar(upper[after]))) {
            at = after;
            continue;
        }
        found = true;
        size_t open = upper.find_first_not_of(' ', after);
        if (open == std::string::npos || upper[open] != '(')
            return {};
        size_t close = upper.find(')', open);
        std::string_view value = TrimBlanks(std::string_view(text).substr(
            open + 1, (close == std::string::npos ? upper.size() : close) - open - 1));
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        size_t slash = value.rfind('/');
        if (slash != std::string_view::npos)
            value = value.substr(slash + 1);
        return UpperName(value);
    }
    return {};
}

std::string FirstName(std::string_view text, size_t& end) {
    size_t i = 0;
    while (i < text.size() && IsBlankChar(text[i]))
        ++i;
    size_t start = i;
    while (i < text.size() && IsNameChar(text[i]))
        ++i;
    end = i;
    return UpperName(text.substr(start, i - start));
}

class Reader {
public:
    explicit Reader(TMemberFacts& facts) : Facts(facts) {}

    void Read(std::string_view text) {
        LineReader lines(text);
        std::string_view line;
        bool allFree = false;
        bool inFree = false;
        while (lines.Next(line)) {
            int number = lines.LineNumber();
            if (number == 1 && StartsWithNoCase(TrimBlanks(line), "**FREE")) {
                allFree = true;
                continue;
            }
            if (!allFree && line.size() >= 2 && line[0] == '*' && line[1] == '*')
                break; // compile-time data
            std::string_view code = allFree ? line : (line.size() > 80 ? line.substr(0, 80) : line);
            std::string_view body = allFree ? code : (code.size() > 7 ? code.substr(7) : "");
            std::string_view trimmed =
                TrimBlanks(allFree ? code : code.substr(std::min<size_t>(6, code.size())));
            // Directives stand from column 7 (anywhere in a fully free member).
            if (!trimmed.empty() && trimmed.front() == '/') {
                Directive(trimmed, number, inFree);
                continue;
            }
            if (!allFree && Col(line, 7) == '*')
                continue;
            char form = allFree ? ' ' : UpperCol(line, 6);
            if (!allFree && form != ' ' && !inFree) {
                FixedLine(line, form, number);
                continue;
            }
            if (!allFree && form != ' ')
                continue;
            FreeText(allFree ? code : body, number);
        }
        if (!Statement.empty())
            FreeStatement(Statement, StatementLine);
        // Calls of prototypes read before their prototype was seen.
        for (const auto& pending : Pending) {
            auto it = Prototypes.find(pending.Name);
            if (it != Prototypes.end())
                Call(it->second, pending.Line, "CALLP");
        }
    }

private:
    void Use(std::string name, int line, NameKind kind, NameRole role, const char* op,
             CallVia via = CallVia::Name) {
        if (name.empty())
            return;
        Facts.Uses.push_back(
            {std::move(name), line, kind, role, op ? OperationCode(op) : std::uint8_t(0), via});
    }

    void Call(const std::string& program, int line, const char* op) {
        Use(program, line, NameKind::Program, NameRole::Calls, op);
    }

    void Directive(std::string_view text, int number, bool& inFree) {
        std::string_view rest = text.substr(1);
        if (StartsWithNoCase(rest, "FREE")) {
            inFree = true;
        } else if (StartsWithNoCase(rest, "END-FREE")) {
            inFree = false;
        } else if (StartsWithNoCase(rest, "COPY") || StartsWithNoCase(rest, "INCLUDE")) {
            size_t skip = StartsWithNoCase(rest, "COPY") ? 4 : 7;
            std::string_view operand = TrimBlanks(rest.substr(skip));
            // An IFS path in quotes names no member of the library.
            if (!operand.empty() && (operand.front() == '\'' || operand.front() == '"'))
                return;
            TCopyDirective copy;
            if (ParseCopyOperand(operand, copy)) {
                copy.Line = number;
                Use(copy.Member, number, NameKind::Copy, NameRole::Copies, nullptr);
                Facts.Copies.push_back(std::move(copy));
            }
        }
    }

    void FixedLine(std::string_view line, char form, int number) {
        switch (form) {
        case 'F': {
            std::string name = UpperName(Cols(line, 7, 16));
            if (!name.empty() && !ColsBlank(line, 17, 17))
                Use(std::move(name), number, NameKind::File, NameRole::Declares, nullptr);
            return;
        }
        case 'D': {
            std::string name = UpperName(Cols(line, 7, 21));
            std::string_view type = Cols(line, 24, 25);
            if (!name.empty() && !(name.size() >= 3 && name.substr(name.size() - 3) == "...")) {
                Definition = name;
                DefinitionIsPrototype = StartsWithNoCase(type, "PR");
                if (StartsWithNoCase(type, "C"))
                    Constants[name] = ConstantValue(Cols(line, 44, 80));
            } else if (!name.empty()) {
                name.resize(name.size() - 3);
                Definition = name;
                DefinitionIsPrototype = false;
                return;
            } else if (!type.empty()) {
                DefinitionIsPrototype = StartsWithNoCase(type, "PR");
            }
            if (DefinitionIsPrototype)
                Prototype(Definition, Cols(line, 44, 80));
            ExternalName(Cols(line, 44, 80), number);
            return;
        }
        case 'C': {
            std::string op = UpperName(Cols(line, 26, 35));
            size_t paren = op.find('(');
            if (paren != std::string::npos)
                op.resize(paren);
            if (op == "CALL") {
                std::string_view target = Cols(line, 36, 49);
                if (!target.empty() && target.front() == '\'') {
                    bool found = false;
                    std::string program =
                        KeywordValue(std::string("X(") + std::string(target) + ")", "X", found);
                    Call(program, number, "CALL");
                } else if (!target.empty()) {
                    std::string name = UpperName(target);
                    auto constant = Constants.find(name);
                    if (constant != Constants.end() && !constant->second.empty())
                        Use(constant->second, number, NameKind::Program, NameRole::Calls, "CALL",
                            CallVia::Constant);
                    else
                        Use(name, number, NameKind::Program, NameRole::Calls, "CALL",
                            CallVia::Variable);
                }
            } else if (op == "CALLP") {
                size_t end = 0;
                std::string name = FirstName(Cols(line, 36, 80), end);
                PrototypeCall(name, number);
            }
            return;
        }
        default:
            return;
        }
    }

    static std::string ConstantValue(std::string_view keywords) {
        keywords = TrimBlanks(keywords);
        if (StartsWithNoCase(keywords, "CONST(")) {
            bool found = false;
            return KeywordValue(keywords, "CONST", found);
        }
        if (keywords.size() >= 2 && keywords.front() == '\'') {
            size_t close = keywords.find('\'', 1);
            if (close != std::string_view::npos)
                return UpperName(TrimBlanks(keywords.substr(1, close - 1)));
        }
        return {};
    }

    // EXTNAME(FILE[:FORMAT]) of a data structure: its subfields are the file's record's.
    void ExternalName(std::string_view keywords, int line) {
        bool found = false;
        std::string file = KeywordValue(keywords, "EXTNAME", found);
        if (size_t colon = file.find(':'); colon != std::string::npos)
            file.resize(colon);
        if (!file.empty())
            Use(TrimBlanksString(file), line, NameKind::File, NameRole::Uses, "DS");
    }

    static std::string TrimBlanksString(const std::string& s) { return std::string(TrimBlanks(s)); }

    void Prototype(const std::string& name, std::string_view keywords) {
        bool found = false;
        std::string program = KeywordValue(keywords, "EXTPGM", found);
        if (!found || name.empty())
            return;
        if (program.empty())
            program = name;
        // EXTPGM(CONSTANT) names the program through a named constant.
        auto constant = Constants.find(program);
        if (constant != Constants.end() && !constant->second.empty())
            program = constant->second;
        Prototypes[name] = program;
    }

    void PrototypeCall(const std::string& name, int line) {
        if (name.empty())
            return;
        auto it = Prototypes.find(name);
        if (it != Prototypes.end())
            Call(it->second, line, "CALLP");
        else
            Pending.push_back({name, line});
    }

    // Free-form text: statements end with a semicolon; // starts a comment.
    void FreeText(std::string_view text, int number) {
        bool quoted = false;
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '\'') {
                quoted = !quoted;
            } else if (!quoted && c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
                break;
            } else if (!quoted && c == ';') {
                if (!Statement.empty())
                    FreeStatement(Statement, StatementLine);
                Statement.clear();
                continue;
            }
            if (Statement.empty()) {
                if (IsBlankChar(c))
                    continue;
                StatementLine = number;
            }
            if (Statement.size() < 65536)
                Statement += c;
        }
        if (!Statement.empty())
            Statement += ' ';
    }

    void FreeStatement(std::string_view statement, int line) {
        size_t end = 0;
        std::string first = FirstName(statement, end);
        std::string_view rest = statement.substr(end);
        std::string upperStatement = UpperName(TrimBlanks(statement));
        if (StartsWithNoCase(upperStatement, "DCL-F ")) {
            size_t e = 0;
            Use(FirstName(std::string_view(upperStatement).substr(6), e), line, NameKind::File,
                NameRole::Declares, nullptr);
            return;
        }
        if (StartsWithNoCase(upperStatement, "DCL-PR ")) {
            size_t e = 0;
            std::string_view after = std::string_view(statement).substr(
                statement.size() - TrimBlanks(statement).size() + 7);
            std::string name = FirstName(after, e);
            Prototype(name, after.substr(e));
            return;
        }
        if (StartsWithNoCase(upperStatement, "DCL-DS ")) {
            ExternalName(statement, line);
            return;
        }
        if (StartsWithNoCase(upperStatement, "DCL-C ")) {
            size_t e = 0;
            std::string_view after = std::string_view(upperStatement).substr(6);
            std::string name = FirstName(after, e);
            std::string_view value = TrimBlanks(std::string_view(statement).substr(
                statement.size() - TrimBlanks(statement).size() + 6 + e));
            Constants[name] = ConstantValue(value);
            return;
        }
        if (first == "CALLP") {
            // CALLP(E) NAME(...)
            std::string_view after = TrimBlanks(rest);
            if (!after.empty() && after.front() == '(') {
                size_t close = after.find(')');
                after =
                    close == std::string_view::npos ? std::string_view() : after.substr(close + 1);
            }
            size_t e = 0;
            PrototypeCall(FirstName(after, e), line);
            return;
        }
        // A bare call of a prototype: NAME(...) or NAME alone.
        std::string_view after = TrimBlanks(rest);
        if (!first.empty() && (after.empty() || after.front() == '(') && Prototypes.count(first))
            Call(Prototypes[first], line, "CALLP");
    }

    TMemberFacts& Facts;
    std::unordered_map<std::string, std::string> Prototypes; // prototype -> program
    std::unordered_map<std::string, std::string> Constants;
    std::string Definition;
    bool DefinitionIsPrototype = false;
    std::string Statement;
    int StatementLine = 0;
    struct PendingCall {
        std::string Name;
        int Line;
    };
    std::vector<PendingCall> Pending;
};

} // namespace

void ReadRpgIV(std::string_view text, TMemberFacts& facts) {
    Reader reader(facts);
    reader.Read(text);
}

} // namespace orvale::library
