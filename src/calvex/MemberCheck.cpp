#include "MemberCheck.h"

#include "ConvertText.h"
#include "MemberLines.h"
#include "OpCodeTable.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace calvex {

namespace {

bool IsAsciiText(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool OnlyOf(std::string_view s, std::string_view allowed) {
    return std::all_of(s.begin(), s.end(),
                       [allowed](char c) { return allowed.find(c) != std::string_view::npos; });
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool IsNameCharacter(char c, bool first) {
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '@' || c == '#' || c == '$' || c == '_')
        return true;
    return !first && std::isdigit(static_cast<unsigned char>(c));
}

// A name as a definition or procedure line writes it, possibly continued ("NAME...").
bool IsName(std::string_view s) {
    if (s.ends_with("..."))
        s.remove_suffix(3);
    if (s.empty() || !IsNameCharacter(s.front(), true))
        return false;
    return std::all_of(s.begin() + 1, s.end(), [](char c) { return IsNameCharacter(c, false); });
}

// The word that begins at Pos of Text (letters, digits and hyphens), upper-cased.
std::string WordAt(std::string_view text, size_t pos) {
    size_t end = pos;
    while (end < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '-'))
        ++end;
    return Upper(text.substr(pos, end - pos));
}

// Whether Text holds one of Keywords as a whole word directly followed by "(".
template <size_t N>
bool HoldsKeywordCall(std::string_view text, const std::array<std::string_view, N>& keywords) {
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (!std::isalpha(static_cast<unsigned char>(text[pos])) ||
            (pos > 0 && std::isalnum(static_cast<unsigned char>(text[pos - 1]))))
            continue;
        std::string word = WordAt(text, pos);
        size_t after = pos + word.size();
        if (after < text.size() && text[after] == '(' &&
            std::find(keywords.begin(), keywords.end(), word) != keywords.end())
            return true;
        pos = after;
    }
    return false;
}

constexpr std::array<std::string_view, 44> kControlKeywords{
    "ACTGRP",    "ALLOC",     "ALTSEQ",    "ALWNULL",   "AUT",     "BNDDIR",     "CCSID",
    "CCSIDCVT",  "CHARCOUNT", "COPYNEST",  "COPYRIGHT", "CURSYM",  "CVTOPT",     "DATEDIT",
    "DATFMT",    "DCLOPT",    "DEBUG",     "DECEDIT",   "DECPREC", "DFTACTGRP",  "DFTNAME",
    "ENBPFRCOL", "EXPROPTS",  "EXTBININT", "FIXNBR",    "FLTDIV",  "FORMSALIGN", "FTRANS",
    "GENLVL",    "INDENT",    "INTPREC",   "LANGID",    "MAIN",    "OPENOPT",    "OPTIMIZE",
    "OPTION",    "PGMINFO",   "PRFDTA",    "SRTSEQ",    "STGMDL",  "TEXT",       "THREAD",
    "TIMFMT",    "TRUNCNBR"};

constexpr std::array<std::string_view, 28> kFileKeywords{
    "BLOCK",  "COMMIT",  "DATFMT",  "DEVID",    "EXTDESC", "EXTFILE", "EXTIND",
    "EXTMBR", "FORMLEN", "FORMOFL", "HANDLER",  "IGNORE",  "INCLUDE", "INDDS",
    "INFDS",  "INFSR",   "KEYLOC",  "LIKEFILE", "MAXDEV",  "OFLIND",  "PGMNAME",
    "PLIST",  "PREFIX",  "PRTCTL",  "RENAME",   "SAVEDS",  "SFILE",   "TIMFMT"};

// Operations of the RPG IV calculation layout that RPG III does not have; those it has are in
// the operation-code table.
constexpr std::array<std::string_view, 33> kNewOperations{
    "ADDDUR",    "ALLOC",   "CALLB",     "CALLP",   "CHECKR",  "COMMIT", "DATA-GEN",
    "DATA-INTO", "DEALLOC", "DELETE",    "DOU",     "DOW",     "ELSEIF", "ENDFOR",
    "ENDMON",    "EVAL",    "EVAL-CORR", "EVALR",   "EXTRCT",  "FOR",    "IF",
    "LEAVESR",   "MONITOR", "ON-ERROR",  "ON-EXIT", "REALLOC", "RETURN", "SELECT",
    "SUBDUR",    "TEST",    "UNLOCK",    "UPDATE",  "WHEN"};

constexpr std::array<std::string_view, 5> kDevices{"DISK", "WORKSTN", "PRINTER", "SEQ", "SPECIAL"};

constexpr std::array<std::string_view, 14> kDeclarations{
    "DCL-S",    "DCL-DS",   "DCL-PR", "DCL-PI", "DCL-C",  "DCL-F",    "DCL-PROC",
    "DCL-SUBF", "DCL-PARM", "END-DS", "END-PR", "END-PI", "END-PROC", "CTL-OPT"};

template <size_t N>
bool IsOneOf(std::string_view word, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

// A definition line: name, external and type columns, positions, length, data type and
// decimals where they stand, and something defined.
bool IsDefinitionLayout(std::string_view line) {
    if (!IsAsciiText(Columns(line, 7, 43)))
        return false;
    std::string_view name = TrimmedColumns(line, 7, 21);
    std::string type = Upper(TrimmedColumns(line, 24, 25));
    if (!name.empty() && !IsName(name))
        return false;
    if (!OnlyOf(Columns(line, 22, 22), " Ee") || !OnlyOf(Columns(line, 23, 23), " SUsu"))
        return false;
    if (type != "" && type != "DS" && type != "S" && type != "C" && type != "PR" && type != "PI")
        return false;
    if (!OnlyOf(Columns(line, 26, 32), " 0123456789") ||
        !OnlyOf(Columns(line, 33, 39), " 0123456789+-") ||
        !OnlyOf(Columns(line, 41, 42), " 0123456789") || Column(line, 43) != ' ')
        return false;
    char dataType = Column(line, 40);
    if (dataType != ' ' && dataType != '*' && !std::isalpha(static_cast<unsigned char>(dataType)))
        return false;
    return !type.empty() || !ColumnsBlank(line, 33, 40) || !ColumnsBlank(line, 44, 80) ||
           name.ends_with("...");
}

// A procedure line: its name, and "B" or "E" in column 24 for its beginning or end.
bool IsProcedureLayout(std::string_view line) {
    if (!IsAsciiText(Columns(line, 7, 43)))
        return false;
    std::string_view name = TrimmedColumns(line, 7, 21);
    return (name.empty() || IsName(name)) && OnlyOf(Columns(line, 24, 24), "BbEe") &&
           Column(line, 24) != ' ' && ColumnsBlank(line, 22, 23) && ColumnsBlank(line, 25, 43);
}

// A file line with its device in columns 36-42, or with keywords from column 44.
bool IsNewFileLayout(std::string_view line) {
    if (!IsAsciiText(Columns(line, 1, 35)))
        return false;
    if (Column(line, 36) != ' ' && IsOneOf(Upper(TrimmedColumns(line, 36, 42)), kDevices))
        return true;
    return HoldsKeywordCall(Columns(line, 44, 80), kFileKeywords);
}

// A calculation line with its operation in columns 26-35 where RPG III has none in 28-32. The
// columns before it must be plain text: in an RPG III line a double-byte literal that lost its
// shift characters moves the operation two columns to the left.
bool IsNewCalculationLayout(std::string_view line) {
    if (Column(line, 7) == '+' || Column(line, 25) != ' ' ||
        !std::isalpha(static_cast<unsigned char>(Column(line, 26))) ||
        !IsAsciiText(Columns(line, 1, 25)))
        return false;
    std::string_view field = Columns(line, 26, 35);
    std::string word = WordAt(field, 0);
    if (word.size() < field.size() && field[word.size()] != ' ' && field[word.size()] != '(')
        return false;
    const OpCodeTable& table = OpCodeTable::Instance();
    if (!IsOneOf(word, kNewOperations) && !table.Find(word))
        return false;
    return !table.Find(TrimmedColumns(line, 28, 32));
}

// A free-form declaration or control statement: columns 6 and 7 blank, the statement after.
std::optional<std::string> FreeDeclaration(std::string_view line) {
    if (!ColumnsBlank(line, 6, 7))
        return std::nullopt;
    std::string_view rest = TrimmedColumns(line, 8, static_cast<int>(line.size()));
    std::string word = WordAt(rest, 0);
    if (!IsOneOf(word, kDeclarations))
        return std::nullopt;
    if (word.size() < rest.size() && rest[word.size()] != ' ' && rest[word.size()] != ';')
        return std::nullopt;
    return word;
}

std::optional<std::string> SignOf(std::string_view line) {
    char c6 = static_cast<char>(std::toupper(static_cast<unsigned char>(Column(line, 6))));
    char c7 = Column(line, 7);
    if (c7 == '/') {
        std::string word = WordAt(Columns(line, 8, 80), 0);
        if (word == "FREE" || word == "END-FREE")
            return "free-form code (/" + word + ")";
        return std::nullopt;
    }
    if (c7 == '*')
        return std::nullopt;
    if (c6 == 'D' && IsDefinitionLayout(line))
        return "a definition specification (D)";
    if (c6 == 'P' && IsProcedureLayout(line))
        return "a procedure specification (P)";
    if (c6 == 'H' && HoldsKeywordCall(Columns(line, 7, 74), kControlKeywords))
        return "a control specification with keywords";
    if (c6 == 'F' && IsNewFileLayout(line))
        return "a file specification in the RPG IV layout";
    if (c6 == 'C' && IsNewCalculationLayout(line))
        return "a calculation specification in the RPG IV layout";
    if (auto word = FreeDeclaration(line))
        return "a free-form statement (" + *word + ")";
    return std::nullopt;
}

} // namespace

std::optional<RpgIvSign> FindRpgIvSign(const StringList& member) {
    // A member of free-form code from its first column on says so in its first line, which
    // an RPG III member would read as the start of its compile-time data.
    if (!member.empty() && Upper(Columns(member.front(), 1, 6)) == "**FREE" &&
        ColumnsBlank(member.front(), 7, 7))
        return RpgIvSign{0, "fully free-form code (**FREE)"};
    for (size_t k = 0; k < member.size() && !StartsCompileTimeData(member[k]); ++k)
        if (auto what = SignOf(member[k]))
            return RpgIvSign{static_cast<int>(k), std::move(*what)};
    return std::nullopt;
}

StrayLines FindStrayLines(const StringList& member) {
    StrayLines found;
    int highest = -1;
    char latest = ' ';
    for (size_t k = 0; k < member.size(); ++k) {
        const std::string& line = member[k];
        if (StartsCompileTimeData(line))
            break;
        char c6 = Column(line, 6);
        char c7 = Column(line, 7);
        if (c6 == ' ' || c7 == '*' || c7 == '/')
            continue;
        int rank = FormRank(c6);
        if (rank < 0) {
            found.Foreign.push_back(static_cast<int>(k));
        } else if (rank < highest) {
            if (found.OutOfOrder.empty()) {
                found.FirstForm = c6;
                found.FirstFollows = latest;
            }
            found.OutOfOrder.push_back(static_cast<int>(k));
        } else {
            highest = rank;
            latest = c6;
        }
    }
    return found;
}

} // namespace calvex
