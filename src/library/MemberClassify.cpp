#include "library/MemberClassify.h"

#include "calvex/OpCodeTable.h"
#include "library/Columns.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_set>

namespace orvale::library {

namespace {

constexpr size_t kSampleLines = 400;

bool IsUntypedExtension(std::string_view ext) {
    static constexpr std::string_view untyped[] = {"TXT", "RP3", "MBR", "SRC", "SOURCE", "TEXT"};
    return std::find(std::begin(untyped), std::end(untyped), ext) != std::end(untyped);
}

// A type as the host writes one: up to ten letters, digits and national characters.
bool LooksLikeType(std::string_view ext) {
    if (ext.empty() || ext.size() > 10)
        return false;
    return std::all_of(ext.begin(), ext.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '#' || c == '$' || c == '@' ||
               c == '_';
    });
}

std::string_view Word(std::string_view text) {
    text = TrimBlanks(text);
    size_t end = 0;
    while (end < text.size() && !IsBlankChar(text[end]) && text[end] != '(')
        ++end;
    return text.substr(0, end);
}

bool IsClCommand(std::string_view word) {
    static const std::unordered_set<std::string_view> commands = {
        "PGM",       "ENDPGM",    "DCL",       "DCLF",      "CHGVAR",    "MONMSG",    "CALL",
        "SNDPGMMSG", "RCVMSG",    "RTVJOBA",   "OVRDBF",    "DLTOVR",    "GOTO",      "RETURN",
        "IF",        "ELSE",      "DO",        "ENDDO",     "ADDLIBLE",  "RMVLIBLE",  "CHKOBJ",
        "RTVDTAARA", "CHGDTAARA", "SBMJOB",    "SNDRCVF",   "RCVF",      "SNDF",      "OVRPRTF",
        "CPYF",      "CLRPFM",    "ALCOBJ",    "DLCOBJ",    "TFRCTL",    "CRTDTAARA", "DLTF",
        "OPNQRYF",   "CLOF",      "RTVSYSVAL", "CHGJOB",    "SNDMSG",    "DCLPRCOPT", "SELECT",
        "WHEN",      "OTHERWISE", "ENDSELECT", "DOWHILE",   "DOUNTIL",   "ENDDO",     "CALLPRC",
        "RMVMSG",    "RTVMBRD",   "CRTDUPOBJ", "DLTOBJ",    "STRCMTCTL", "ENDCMTCTL", "RCLRSC",
        "CHGCURLIB", "OVRDSPF",   "RTVOBJD",   "SNDUSRMSG",
    };
    return commands.count(word) > 0;
}

bool IsRpgIVOpCode(std::string_view op) {
    static const std::unordered_set<std::string_view> ops = {
        "EVAL",    "EVALR",    "IF",      "ELSEIF", "ENDIF",  "DOW",    "DOU",   "ENDDO",
        "FOR",     "ENDFOR",   "CALLP",   "CALLB",  "SELECT", "WHEN",   "OTHER", "ENDSL",
        "MONITOR", "ON-ERROR", "ENDMON",  "RETURN", "CHAIN",  "READ",   "READE", "READP",
        "READPE",  "SETLL",    "SETGT",   "UPDATE", "DELETE", "WRITE",  "EXFMT", "EXSR",
        "BEGSR",   "ENDSR",    "CALL",    "PARM",   "PLIST",  "KLIST",  "KFLD",  "LEAVE",
        "ITER",    "CLEAR",    "RESET",   "DSPLY",  "SORTA",  "EXCEPT", "OPEN",  "CLOSE",
        "MOVE",    "MOVEL",    "Z-ADD",   "ADD",    "SUB",    "ELSE",   "END",   "DO",
        "TEST",    "DEALLOC",  "SCAN",    "CHECK",  "CAT",    "SUBST",  "XLATE", "LOOKUP",
        "UNLOCK",  "COMMIT",   "ROLBK",   "IN",     "OUT",    "DEFINE", "TIME",  "SETON",
        "SETOFF",  "LEAVESR",  "FEOD",    "ADDDUR", "SUBDUR", "EXTRCT", "MULT",  "DIV",
        "OCCUR",   "ALLOC",    "REALLOC", "SQRT",   "XFOOT",  "POST",   "FORCE", "NEXT",
    };
    return ops.count(op) > 0;
}

std::string UpperWord(std::string_view word) {
    return UpperName(word);
}

// The operation of an RPG IV calculation (columns 26-35), without its extender.
std::string RpgIVOp(std::string_view line) {
    std::string op = UpperWord(Cols(line, 26, 35));
    size_t paren = op.find('(');
    if (paren != std::string::npos)
        op.resize(paren);
    return op;
}

struct Votes {
    int RpgIII = 0, RpgIV = 0, Dds = 0, Cl = 0;
};

// Columns 7-17 of a calculation: a control level and conditioning indicators, or blanks.
bool LooksLikeIndicators(std::string_view line) {
    for (size_t c = 7; c <= 17; ++c) {
        char ch = Col(line, c);
        if (ch != ' ' && ch != 'N' && !(ch >= '0' && ch <= '9') &&
            !(c <= 8 && (ch == 'L' || ch == 'R' || ch == 'S' || ch == 'A' || ch == 'O')))
            return false;
    }
    return true;
}

bool AllDigitsOrBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || (c >= '0' && c <= '9'); });
}

// Prose has small letters in column 6 and no operation in the columns of one: the form type
// is taken as written, in capitals.
void VoteFixedLine(std::string_view line, Votes& v) {
    char form = Col(line, 6);
    switch (form) {
    case 'A':
        v.Dds += 2;
        return;
    case 'D':
    case 'P':
        // A definition or procedure line of RPG IV has a name or a keyword after column 7.
        if (!ColsBlank(line, 7, 80))
            v.RpgIV += 2;
        return;
    case 'E':
        // An array or table: a name in 27-32 and numbers of entries and a length.
        if (!ColsBlank(line, 27, 32) && !ColsBlank(line, 36, 42) &&
            AllDigitsOrBlank(Cols(line, 33, 42)))
            v.RpgIII += 2;
        return;
    case 'C': {
        // The operation stands in 28-32 in RPG III and in 26-35 in RPG IV: read at the other
        // place it is cut or shifted into something that is no operation.
        std::string op3 = UpperWord(Cols(line, 28, 32));
        bool three = Col(line, 28) != ' ' && calvex::OpCodeTable::Instance().Find(op3);
        std::string op4 = RpgIVOp(line);
        bool four = Col(line, 26) != ' ' && IsRpgIVOpCode(op4);
        int weight = LooksLikeIndicators(line) ? 2 : 1;
        if (three && !four)
            v.RpgIII += weight;
        else if (four && !three)
            v.RpgIV += weight;
        return;
    }
    case 'I':
        if (UpperCol(line, 19) == 'D' && UpperCol(line, 20) == 'S')
            v.RpgIII += 2;
        else if (!ColsBlank(line, 53, 58) || !ColsBlank(line, 7, 14))
            ++v.RpgIII;
        return;
    case 'F': {
        std::string_view device3 = Cols(line, 40, 46);
        std::string_view device4 = Cols(line, 36, 42);
        auto isDevice = [](std::string_view d) {
            return StartsWithNoCase(d, "DISK") || StartsWithNoCase(d, "PRINTER") ||
                   StartsWithNoCase(d, "WORKSTN") || StartsWithNoCase(d, "SPECIAL") ||
                   StartsWithNoCase(d, "SEQ");
        };
        if (isDevice(device3))
            v.RpgIII += 2;
        else if (isDevice(device4))
            v.RpgIV += 2;
        return;
    }
    case 'H':
        if (line.find('(') != std::string_view::npos)
            ++v.RpgIV;
        return;
    case 'O':
        if (!ColsBlank(line, 7, 14) || !ColsBlank(line, 32, 37))
            ++v.RpgIII;
        return;
    default:
        return;
    }
}

} // namespace

TMemberName SplitMemberPath(std::string_view path) {
    TMemberName name;
    size_t slash = path.rfind('/');
    std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string_view folders =
        slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    size_t dot = file.rfind('.');
    std::string_view stem = file;
    if (dot != std::string_view::npos && dot > 0) {
        std::string ext = UpperName(file.substr(dot + 1));
        if (LooksLikeType(ext) || IsUntypedExtension(ext)) {
            stem = file.substr(0, dot);
            if (!IsUntypedExtension(ext))
                name.Type = ext;
        }
    }
    name.Name = UpperName(stem);
    if (folders.empty())
        return name;
    size_t up = folders.rfind('/');
    std::string_view folder = up == std::string_view::npos ? folders : folders.substr(up + 1);
    std::string_view parent =
        up == std::string_view::npos ? std::string_view() : folders.substr(0, up);
    size_t under = folder.rfind('_');
    if (under != std::string_view::npos && under > 0 && under + 1 < folder.size()) {
        name.SourceFile = UpperName(folder.substr(0, under));
        name.Library = UpperName(folder.substr(under + 1));
    } else {
        name.SourceFile = UpperName(folder);
        size_t above = parent.rfind('/');
        name.Library =
            UpperName(above == std::string_view::npos ? parent : parent.substr(above + 1));
    }
    return name;
}

bool KindOfType(std::string_view type, MemberKind& kind) {
    static const std::array<std::pair<std::string_view, MemberKind>, 27> types = {{
        {"RPG", MemberKind::RpgIII},     {"SQLRPG", MemberKind::RpgIII},
        {"RPG38", MemberKind::RpgIII},   {"RPT", MemberKind::RpgIII},
        {"RPT38", MemberKind::RpgIII},   {"RPG36", MemberKind::RpgIII},
        {"RPT36", MemberKind::RpgIII},   {"RPGLE", MemberKind::RpgIV},
        {"SQLRPGLE", MemberKind::RpgIV}, {"RPGLEINC", MemberKind::RpgIV},
        {"PF", MemberKind::Dds},         {"LF", MemberKind::Dds},
        {"DSPF", MemberKind::Dds},       {"PRTF", MemberKind::Dds},
        {"PF38", MemberKind::Dds},       {"LF38", MemberKind::Dds},
        {"DSPF38", MemberKind::Dds},     {"PRTF38", MemberKind::Dds},
        {"ICFF", MemberKind::Dds},       {"CLP", MemberKind::Cl},
        {"CLLE", MemberKind::Cl},        {"CL", MemberKind::Cl},
        {"CLP38", MemberKind::Cl},       {"CLP36", MemberKind::Cl},
        {"SQLTBL", MemberKind::Other},   {"SQLVIEW", MemberKind::Other},
        {"PNLGRP", MemberKind::Other},
    }};
    for (const auto& [name, k] : types)
        if (name == type) {
            kind = k;
            return true;
        }
    return false;
}

std::string DdsType(std::string_view text) {
    bool display = false, printer = false, logical = false;
    LineReader lines(text);
    std::string_view line;
    size_t count = 0;
    while (lines.Next(line) && ++count < 4000) {
        if (Col(line, 7) == '*')
            continue;
        std::string keywords = UpperName(Cols(line, 45, 80));
        if (keywords.find("PFILE(") != std::string::npos ||
            keywords.find("JFILE(") != std::string::npos)
            logical = true;
        if (StartsWithNoCase(keywords, "DSPSIZ") || StartsWithNoCase(keywords, "SFL") ||
            (keywords.size() > 3 &&
             (StartsWithNoCase(keywords, "CA") || StartsWithNoCase(keywords, "CF")) &&
             std::isdigit(static_cast<unsigned char>(keywords[2]))))
            display = true;
        if (StartsWithNoCase(keywords, "SKIP") || StartsWithNoCase(keywords, "SPACE"))
            printer = true;
        // A name or constant placed at a line and position belongs to a screen or a page.
        if (!ColsBlank(line, 39, 44) && !display && !printer && Col(line, 17) == ' ')
            display = display || UpperCol(line, 38) == 'I' || UpperCol(line, 38) == 'B';
    }
    if (logical)
        return "LF";
    if (display)
        return "DSPF";
    if (printer)
        return "PRTF";
    return "PF";
}

MemberKind ClassifyContent(std::string_view text, std::string& contentType) {
    Votes v;
    LineReader lines(text);
    std::string_view line;
    size_t seen = 0;
    while (seen < kSampleLines && lines.Next(line)) {
        std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty())
            continue;
        if (lines.LineNumber() == 1 && StartsWithNoCase(trimmed, "**FREE")) {
            v.RpgIV += 100;
            break;
        }
        if (line.size() >= 2 && line[0] == '*' && line[1] == '*')
            break; // compile-time data
        ++seen;
        std::string first = UpperWord(Word(trimmed));
        if (StartsWithNoCase(trimmed, "DCL-") || StartsWithNoCase(trimmed, "CTL-OPT") ||
            StartsWithNoCase(trimmed, "/FREE")) {
            v.RpgIV += 3;
            continue;
        }
        if (trimmed.size() >= 2 && trimmed[0] == '/' && trimmed[1] == '*') {
            // A comment of control language, or a build directive in columns 1-5.
            if (trimmed.find("*/") != std::string_view::npos && Col(line, 6) == ' ')
                ++v.Cl;
            continue;
        }
        if (Col(line, 7) == '*' || Col(line, 7) == '/')
            continue;
        size_t colon = first.find(':');
        if (colon != std::string::npos && colon + 1 == first.size()) {
            // A label of control language before its command.
            std::string_view rest = TrimBlanks(trimmed.substr(colon + 1));
            first = UpperWord(Word(rest));
        }
        if (IsClCommand(first) && Col(line, 6) != 'C' && Col(line, 6) != 'c') {
            v.Cl += 2;
            continue;
        }
        VoteFixedLine(line, v);
    }
    int best = std::max({v.RpgIII, v.RpgIV, v.Dds, v.Cl});
    if (best < 2) {
        contentType.clear();
        return MemberKind::Other;
    }
    if (best == v.Dds) {
        contentType = DdsType(text);
        return MemberKind::Dds;
    }
    if (best == v.Cl) {
        contentType = "CLP";
        return MemberKind::Cl;
    }
    if (best == v.RpgIV) {
        contentType = "RPGLE";
        return MemberKind::RpgIV;
    }
    contentType = "RPG";
    return MemberKind::RpgIII;
}

namespace {

bool HasLetters(std::string_view text, int count) {
    int letters = 0;
    for (char c : text)
        if (std::isalpha(static_cast<unsigned char>(c)) && ++letters >= count)
            return true;
    return false;
}

// Text a header comment holds that describes nothing: copyright lines, amendment stamps.
bool IsBoilerplate(std::string_view text) {
    static constexpr std::string_view starts[] = {"(C)",        "COPYRIGHT", "LAST AMEND",
                                                  "PREV AMEND", "DATE",      "AUTHOR",
                                                  "PROGRAM ID", "FUNCTION:", "CREATED"};
    for (std::string_view s : starts)
        if (StartsWithNoCase(text, s))
            return true;
    return false;
}

// The text of a comment line with the form type, the comment marks and frames taken away.
std::string_view CommentText(std::string_view line, MemberKind kind) {
    std::string_view text;
    if (kind == MemberKind::Cl) {
        size_t open = line.find("/*");
        if (open == std::string_view::npos)
            return {};
        text = line.substr(open + 2);
        size_t close = text.find("*/");
        if (close != std::string_view::npos)
            text = text.substr(0, close);
    } else {
        if (Col(line, 7) != '*')
            return {};
        text = line.size() > 7 ? line.substr(7) : std::string_view();
        if (text.size() > 67)
            text = text.substr(0, 67); // columns 75-80 hold change tags
    }
    auto frame = [](char c) {
        return IsBlankChar(c) || c == '*' || c == '-' || c == '=' || c == '/' || c == '.' ||
               c == '+' || c == '|' || c == '#';
    };
    while (!text.empty() && frame(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && frame(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Shorten(std::string_view text) {
    text = TrimBlanks(text);
    std::string out;
    for (char c : text.substr(0, std::min<size_t>(text.size(), 80)))
        out += (c == '\t') ? ' ' : c;
    return out;
}

// The text of a TEXT('...') in Line, or nothing.
bool TextKeyword(std::string_view line, std::string& text) {
    size_t at = 0;
    while ((at = line.find("TEXT('", at)) != std::string_view::npos) {
        if (at == 0 || !std::isalnum(static_cast<unsigned char>(line[at - 1]))) {
            std::string_view rest = line.substr(at + 6);
            size_t close = rest.find('\'');
            std::string_view value = rest.substr(0, close);
            // A text continued on the next line ends with + or -.
            while (!value.empty() &&
                   (value.back() == '+' || value.back() == '-' || IsBlankChar(value.back())))
                value.remove_suffix(1);
            if (HasLetters(value, 3)) {
                text = Shorten(value);
                return true;
            }
        }
        at += 6;
    }
    return false;
}

} // namespace

std::string MemberDescription(std::string_view text, std::string_view memberName, MemberKind kind) {
    constexpr int kHeaderLines = 60;
    std::string found;
    // A TEXT keyword of a build directive or of the file level of a data description.
    {
        LineReader lines(text);
        std::string_view line;
        while (lines.Next(line) && lines.LineNumber() <= kHeaderLines) {
            bool directive = line.size() >= 2 && line[0] == '/' && line[1] == '*';
            bool comment = Col(line, 7) == '*';
            bool ddsFileLevel = kind == MemberKind::Dds && !comment && ColsBlank(line, 17, 44);
            if (kind == MemberKind::Dds && !comment && UpperCol(line, 17) == 'R')
                break;
            if ((directive || comment || ddsFileLevel || kind == MemberKind::Cl) &&
                TextKeyword(line, found))
                return found;
        }
    }
    // The first comment line that says something; after "NAME -" when it names the member.
    std::string first;
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(line) && lines.LineNumber() <= kHeaderLines) {
        std::string_view comment = CommentText(line, kind);
        if (comment.empty() || !HasLetters(comment, 3) || IsBoilerplate(comment))
            continue;
        if (!memberName.empty() && StartsWithNoCase(comment, memberName)) {
            std::string_view rest = TrimBlanks(comment.substr(memberName.size()));
            if (!rest.empty() && (rest.front() == '-' || rest.front() == ':')) {
                rest = TrimBlanks(rest.substr(1));
                if (HasLetters(rest, 3))
                    return Shorten(rest);
            }
        }
        if (first.empty())
            first = Shorten(comment);
    }
    return first;
}

} // namespace orvale::library
