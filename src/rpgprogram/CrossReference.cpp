#include "CrossReference.h"

#include "RPGProgram.h"
#include "calvex/OpCodeTable.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t npos = std::string_view::npos;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool XrefSame(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '#' || c == '$' || c == '@' ||
           c == '_';
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// A stretch [Start, End) of the line, blanks trimmed.
struct Piece {
    size_t Start = 0;
    size_t End = 0;
    std::string_view Of(std::string_view line) const { return line.substr(Start, End - Start); }
};

Piece Trim(std::string_view line, size_t start, size_t end) {
    while (start < end && IsBlank(line[start]))
        ++start;
    while (end > start && IsBlank(line[end - 1]))
        --end;
    return {start, end};
}

// One statement line taken apart: the flags part, the name and the parameters.
struct Parts {
    bool HasFlags = false;
    Piece Flags;
    std::string Name; // upper case
    bool HasParams = false;
    std::vector<Piece> Params;
};

Parts Parse(std::string_view code) {
    Parts p;
    size_t i = 0;
    while (i < code.size() && IsBlank(code[i]))
        ++i;
    if (i < code.size() && code[i] == '{') {
        size_t close = code.find('}', i + 1);
        if (close == npos)
            return p;
        p.HasFlags = true;
        p.Flags = {i + 1, close};
        i = close + 1;
    }
    size_t open = code.find('(', i);
    Piece name = Trim(code, i, open == npos ? code.size() : open);
    for (char c : name.Of(code))
        p.Name += Upper(c);
    if (open == npos)
        return p;
    p.HasParams = true;
    int depth = 0;
    size_t start = open + 1;
    for (size_t k = open + 1; k < code.size(); ++k) {
        char c = code[k];
        if (c == '\'' || c == '"') {
            k = LiteralEnd(code, k) - 1;
        } else if (c == '[' || c == '(') {
            ++depth;
        } else if (c == ']' || (c == ')' && depth > 0)) {
            --depth;
        } else if (c == ')' || (c == ',' && depth == 0)) {
            p.Params.push_back(Trim(code, start, k));
            start = k + 1;
            if (c == ')')
                return p;
        }
    }
    p.Params.push_back(Trim(code, start, code.size()));
    return p;
}

// The offsets in Text where Word stands outside quoted literals, with no name character
// next to it.
std::vector<size_t> WordsIn(std::string_view line, Piece piece, std::string_view word) {
    std::vector<size_t> found;
    if (word.empty())
        return found;
    for (size_t i = piece.Start; i + word.size() <= piece.End; ++i) {
        char c = line[i];
        if (c == '\'' || c == '"') {
            i = LiteralEnd(line, i) - 1;
            continue;
        }
        if (!XrefSame(line.substr(i, word.size()), word))
            continue;
        bool before = i > piece.Start && IsNameChar(line[i - 1]);
        bool after = i + word.size() < piece.End && IsNameChar(line[i + word.size()]);
        if (!before && !after)
            found.push_back(i);
    }
    return found;
}

// *INxx, *IN[xx] and *IN,xx in a parameter: the offset of the "*IN", or npos.
size_t InFormIn(std::string_view line, Piece piece, std::string_view flag) {
    for (size_t i = piece.Start; i + 3 <= piece.End; ++i) {
        char c = line[i];
        if (c == '\'' || c == '"') {
            i = LiteralEnd(line, i) - 1;
            continue;
        }
        if (!XrefSame(line.substr(i, 3), "*IN"))
            continue;
        size_t at = i + 3;
        if (at < piece.End && (line[at] == '[' || line[at] == ','))
            ++at;
        if (at + flag.size() <= piece.End && XrefSame(line.substr(at, flag.size()), flag) &&
            (at + flag.size() == piece.End || !IsNameChar(line[at + flag.size()])))
            return i;
    }
    return npos;
}

// An indicator parameter equal to Flag, optionally negated by a leading N: the offset of the
// indicator, or npos.
size_t IndicatorIn(std::string_view line, Piece piece, std::string_view flag) {
    std::string_view text = piece.Of(line);
    if (XrefSame(text, flag))
        return piece.Start;
    if (text.size() == flag.size() + 1 && Upper(text[0]) == 'N' && XrefSame(text.substr(1), flag))
        return piece.Start + 1;
    return npos;
}

// Indicators written one after another, blanks or an N between them (a flags part, or the
// six columns of field indicators): calls Found with the offset of each that equals Flag.
template <class F>
void IndicatorRun(std::string_view line, Piece piece, std::string_view flag, F&& found) {
    size_t i = piece.Start;
    while (i < piece.End) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (Upper(line[i]) == 'N' && i + 2 < piece.End && !IsBlank(line[i + 1]) &&
            !IsBlank(line[i + 2]))
            ++i;
        size_t width = std::min<size_t>(2, piece.End - i);
        if (width == flag.size() && XrefSame(line.substr(i, width), flag))
            found(i);
        i += width;
    }
}

// Field indicators are three pairs of columns, each pair one indicator, blanks allowed.
template <class F>
void IndicatorPairs(std::string_view line, Piece piece, std::string_view flag, F&& found) {
    for (size_t i = piece.Start; i + 2 <= piece.End; i += 2)
        if (XrefSame(line.substr(i, 2), flag))
            found(i);
}

const calvex::OpCodeFlags* OpCode(const std::string& name) {
    return calvex::OpCodeTable::Instance().Find(name);
}

int SlotItem(const calvex::OpCodeFlags* op, size_t param) {
    if (!op || param >= static_cast<size_t>(op->SlotCount))
        return 0;
    return op->Slots[param].Item;
}

// The parameters of the non-calculation statements that hold indicators (1-based numbers).
struct IndicatorParam {
    char Form;
    const char* Statement;
    int Param;
    UseRole Role;
};

constexpr IndicatorParam kIndicatorParams[] = {
    {'I', "RECORD", 2, UseRole::RecordIdentifying}, {'I', "FILEREC", 5, UseRole::RecordIdentifying},
    {'I', "FIELD", 6, UseRole::ControlLevel},       {'I', "FIELD", 8, UseRole::FieldRecordRelation},
    {'I', "RENFLD", 3, UseRole::ControlLevel},      {'F', "FILE", 8, UseRole::FileCondition},
    {'F', "FILE", 13, UseRole::Overflow},           {'F', "FILEPRN", 3, UseRole::FileCondition},
    {'F', "FILEPRN", 5, UseRole::Overflow},         {'O', "OUTBEGIN", 7, UseRole::OutputCondition},
    {'O', "OUTBEGIN", 8, UseRole::OutputCondition}, {'O', "OUTBEGIN", 9, UseRole::OutputCondition},
    {'O', "PRNBEGIN", 7, UseRole::OutputCondition}, {'O', "PRNBEGIN", 8, UseRole::OutputCondition},
    {'O', "PRNBEGIN", 9, UseRole::OutputCondition}, {'O', "EXCLINE", 7, UseRole::OutputCondition},
    {'O', "EXCLINE", 8, UseRole::OutputCondition},  {'O', "EXCLINE", 9, UseRole::OutputCondition},
    {'O', "LFIELD", 7, UseRole::OutputCondition},   {'O', "LFIELD", 8, UseRole::OutputCondition},
    {'O', "LFIELD", 9, UseRole::OutputCondition},   {'O', "LCONST", 3, UseRole::OutputCondition},
    {'O', "LCONST", 4, UseRole::OutputCondition},   {'O', "LCONST", 5, UseRole::OutputCondition},
};

bool IsLineStatement(const std::string& name) {
    return name == "DETLINE" || name == "TOTLINE" || name == "ANDL" || name == "ORL";
}

// A raw calculation line: the text between the parentheses of RPG(...) holds columns 6 on.
void RawCalcIndicators(std::string_view line, Piece raw, std::string_view flag,
                       std::vector<LineUse>& uses) {
    auto columns = [&](int first, int last) {
        size_t from = raw.Start + static_cast<size_t>(first - 6);
        size_t to = raw.Start + static_cast<size_t>(last - 6) + 1;
        return Piece{std::min(from, raw.End), std::min(to, raw.End)};
    };
    if (raw.End == raw.Start || Upper(line[raw.Start]) != 'C')
        return;
    Piece level = columns(7, 8);
    if (XrefSame(level.Of(line), flag))
        uses.push_back({static_cast<int>(level.Start), UseRole::ControlLevel});
    for (int group = 9; group <= 15; group += 3) {
        Piece ind = columns(group + 1, group + 2);
        if (XrefSame(ind.Of(line), flag))
            uses.push_back({static_cast<int>(ind.Start), UseRole::Conditions});
    }
    Piece opCode = Trim(line, columns(28, 32).Start, columns(28, 32).End);
    std::string op;
    for (char c : opCode.Of(line))
        op += Upper(c);
    const UseRole resulting[] = {UseRole::ResultHigh, UseRole::ResultLow, UseRole::ResultEqual};
    for (int k = 0; k < 3; ++k) {
        Piece ind = columns(54 + 2 * k, 55 + 2 * k);
        if (!XrefSame(ind.Of(line), flag))
            continue;
        UseRole role = op == "SETON"   ? UseRole::SetOn
                       : op == "SETOF" ? UseRole::SetOff
                                       : resulting[k];
        uses.push_back({static_cast<int>(ind.Start), role});
    }
    for (auto [first, last, role] :
         {std::tuple{18, 27, UseRole::InFactor}, std::tuple{33, 42, UseRole::InFactor},
          std::tuple{43, 48, UseRole::InResult}}) {
        size_t at = InFormIn(line, columns(first, last), flag);
        if (at != npos)
            uses.push_back({static_cast<int>(at), role});
    }
}

void RawCalcFields(std::string_view line, Piece raw, std::string_view name,
                   std::vector<LineUse>& uses) {
    auto columns = [&](int first, int last) {
        size_t from = raw.Start + static_cast<size_t>(first - 6);
        size_t to = raw.Start + static_cast<size_t>(last - 6) + 1;
        return Piece{std::min(from, raw.End), std::min(to, raw.End)};
    };
    if (raw.End == raw.Start || Upper(line[raw.Start]) != 'C')
        return;
    bool withLength = !Trim(line, columns(49, 51).Start, columns(49, 51).End).Of(line).empty();
    for (auto [first, last, role] :
         {std::tuple{18, 27, UseRole::Read}, std::tuple{33, 42, UseRole::Read},
          std::tuple{43, 48, withLength ? UseRole::Defined : UseRole::Set}})
        for (size_t at : WordsIn(line, columns(first, last), name))
            uses.push_back({static_cast<int>(at), role});
}

bool SortedByColumn(const LineUse& a, const LineUse& b) {
    return a.Column < b.Column;
}

} // namespace

const char* RoleText(UseRole role) {
    switch (role) {
    case UseRole::Conditions:
        return "conditions the line";
    case UseRole::ControlLevel:
        return "control level";
    case UseRole::SetOn:
        return "set on";
    case UseRole::SetOff:
        return "set off";
    case UseRole::ResultHigh:
        return "resulting indicator hi";
    case UseRole::ResultLow:
        return "resulting indicator lo";
    case UseRole::ResultEqual:
        return "resulting indicator eq";
    case UseRole::RecordIdentifying:
        return "record identifying";
    case UseRole::FieldIndicator:
        return "field indicator";
    case UseRole::FieldRecordRelation:
        return "field record relation";
    case UseRole::Overflow:
        return "overflow indicator";
    case UseRole::FileCondition:
        return "file condition";
    case UseRole::OutputCondition:
        return "conditions the output";
    case UseRole::InFactor:
        return "used as *IN in a factor";
    case UseRole::InResult:
        return "set as *IN result";
    case UseRole::Defined:
        return "defined";
    case UseRole::Set:
        return "set";
    case UseRole::Read:
        return "read";
    case UseRole::Written:
        return "written";
    case UseRole::Mentioned:
        return "named";
    }
    return "";
}

namespace {

// A member comment kept as a raw line: "RPG(" and fixed columns from column 6 on, with "*" in
// column 7.
bool IsRawComment(std::string_view line) {
    size_t i = line.find_first_not_of(' ');
    if (i == npos || line.size() < i + 3 || Upper(line[i]) != 'R' || Upper(line[i + 1]) != 'P' ||
        Upper(line[i + 2]) != 'G')
        return false;
    i = line.find_first_not_of(' ', i + 3);
    return i != npos && line[i] == '(' && i + 2 < line.size() && line[i + 2] == '*';
}

} // namespace

size_t CodeLength(std::string_view line) {
    if (IsRawComment(line))
        return 0;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\'' || c == '"')
            i = LiteralEnd(line, i) - 1;
        else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*')
            return i;
    }
    return line.size();
}

bool IsCodeText(std::string_view line, size_t pos, size_t length) {
    const size_t end = pos + length;
    if (end > CodeLength(line))
        return false;
    for (size_t i = 0; i < end; ++i) {
        if (line[i] != '\'' && line[i] != '"')
            continue;
        const size_t close = LiteralEnd(line, i);
        if (close > pos)
            return false;
        i = close - 1;
    }
    return true;
}

char SectionFormType(const TRPGProgram& doc, const TreeNode* node) {
    const TEDITSection* s = node ? node->Section() : nullptr;
    if (!s)
        return 0;
    const TreeNode* parent = node->Parent();
    if (s == &doc.HeaderSection)
        return 'H';
    if (doc.FilesNode && parent == doc.FilesNode)
        return 'F';
    if (s == &doc.ExtensionSection)
        return 'E';
    if (s == &doc.LineCountSection)
        return 'L';
    if (s == &doc.InputSection)
        return 'I';
    if (s == &doc.MainRoutineSection || s == &doc.InitSubRoutineSection ||
        (doc.SubRoutinesNode && parent == doc.SubRoutinesNode))
        return 'C';
    if (doc.OutputNode && parent == doc.OutputNode)
        return 'O';
    return 0;
}

std::vector<LineUse> IndicatorUsesInLine(std::string_view line, std::string_view flag,
                                         char formType) {
    std::vector<LineUse> uses;
    if (flag.empty())
        return uses;
    std::string_view code = line.substr(0, CodeLength(line));
    Parts parts = Parse(code);
    if (parts.Name.empty() && !parts.HasFlags)
        return uses;
    auto add = [&](size_t at, UseRole role) { uses.push_back({static_cast<int>(at), role}); };

    if (parts.Name == "RPG" && parts.HasParams && !parts.Params.empty()) {
        // The raw text keeps its columns; a comma in it is no parameter separator.
        Piece raw{parts.Params.front().Start, parts.Params.back().End};
        if (formType == 'C')
            RawCalcIndicators(code, raw, flag, uses);
        std::sort(uses.begin(), uses.end(), SortedByColumn);
        return uses;
    }

    if (parts.HasFlags) {
        Piece rest = parts.Flags;
        std::string_view text = parts.Flags.Of(code);
        if (!text.empty() && text.front() == '|') {
            size_t bar = text.find('|', 1);
            if (bar != npos) {
                Piece level = Trim(code, parts.Flags.Start + 1, parts.Flags.Start + bar);
                if (XrefSame(level.Of(code), flag))
                    add(level.Start, UseRole::ControlLevel);
                rest.Start = parts.Flags.Start + bar + 1;
            }
        }
        IndicatorRun(code, rest, flag, [&](size_t at) { add(at, UseRole::Conditions); });
    }

    const calvex::OpCodeFlags* op = formType == 'C' ? OpCode(parts.Name) : nullptr;
    for (size_t k = 0; k < parts.Params.size(); ++k) {
        const Piece& param = parts.Params[k];
        const int number = static_cast<int>(k) + 1;
        if (formType == 'C') {
            int item = SlotItem(op, k);
            if (item == calvex::ItemHigh || item == calvex::ItemLow || item == calvex::ItemEqual) {
                size_t at = IndicatorIn(code, param, flag);
                if (at != npos) {
                    UseRole role = parts.Name == "SETON"      ? UseRole::SetOn
                                   : parts.Name == "SETOF"    ? UseRole::SetOff
                                   : item == calvex::ItemHigh ? UseRole::ResultHigh
                                   : item == calvex::ItemLow  ? UseRole::ResultLow
                                                              : UseRole::ResultEqual;
                    add(at, role);
                }
                continue;
            }
            size_t at = InFormIn(code, param, flag);
            if (at != npos)
                add(at, item == calvex::ItemResult ? UseRole::InResult : UseRole::InFactor);
            continue;
        }
        bool placed = false;
        for (const IndicatorParam& known : kIndicatorParams) {
            if (known.Form != formType || known.Param != number || parts.Name != known.Statement)
                continue;
            placed = true;
            size_t at = IndicatorIn(code, param, flag);
            if (at != npos)
                add(at, known.Role);
        }
        if (formType == 'O' && IsLineStatement(parts.Name) && number >= 6 && number <= 8) {
            placed = true;
            size_t at = IndicatorIn(code, param, flag);
            if (at != npos)
                add(at, UseRole::OutputCondition);
        }
        bool fieldIndicators = formType == 'I' && ((parts.Name == "FIELD" && number == 9) ||
                                                   (parts.Name == "RENFLD" && number == 5));
        if (fieldIndicators) {
            placed = true;
            IndicatorPairs(code, param, flag, [&](size_t at) { add(at, UseRole::FieldIndicator); });
        }
        if (!placed) {
            size_t at = InFormIn(code, param, flag);
            if (at != npos)
                add(at, UseRole::InFactor);
        }
    }
    std::sort(uses.begin(), uses.end(), SortedByColumn);
    return uses;
}

std::vector<LineUse> FieldUsesInLine(std::string_view line, std::string_view name, char formType) {
    std::vector<LineUse> uses;
    if (name.empty())
        return uses;
    std::string_view code = line.substr(0, CodeLength(line));
    Parts parts = Parse(code);
    if (!parts.HasParams || parts.Params.empty())
        return uses;
    if (parts.Name == "RPG") {
        Piece raw{parts.Params.front().Start, parts.Params.back().End};
        if (formType == 'C')
            RawCalcFields(code, raw, name, uses);
        std::sort(uses.begin(), uses.end(), SortedByColumn);
        return uses;
    }
    const calvex::OpCodeFlags* op = formType == 'C' ? OpCode(parts.Name) : nullptr;
    bool withLength = false;
    if (op)
        for (size_t k = 0; k < parts.Params.size(); ++k)
            if (SlotItem(op, k) == calvex::ItemLength &&
                parts.Params[k].End > parts.Params[k].Start)
                withLength = true;
    for (size_t k = 0; k < parts.Params.size(); ++k) {
        const int number = static_cast<int>(k) + 1;
        UseRole role = UseRole::Mentioned;
        if (formType == 'C') {
            int item = SlotItem(op, k);
            if (item == calvex::ItemFactor1 || item == calvex::ItemFactor2)
                role = UseRole::Read;
            else if (item == calvex::ItemResult)
                role = withLength ? UseRole::Defined : UseRole::Set;
        } else if (formType == 'I') {
            if ((number == 1 &&
                 (parts.Name == "FIELD" || parts.Name == "CONST" || parts.Name == "DS")) ||
                (number == 2 && parts.Name == "RENFLD"))
                role = UseRole::Defined;
        } else if (formType == 'E') {
            if ((number == 1 && (parts.Name == "ARRAY" || parts.Name == "TAB")) ||
                (number == 3 && parts.Name == "FILEARRAY"))
                role = UseRole::Defined;
        } else if (formType == 'O') {
            if (number == 1 && parts.Name == "LFIELD")
                role = UseRole::Written;
        } else if (formType == 'F') {
            if (number == 1 && (parts.Name == "FILE" || parts.Name == "FILEPRN"))
                role = UseRole::Defined;
        }
        for (size_t at : WordsIn(code, parts.Params[k], name)) {
            // An index inside the brackets of element notation is read, whatever the slot.
            size_t open = code.rfind('[', at);
            size_t close = code.rfind(']', at);
            bool index =
                open != npos && open >= parts.Params[k].Start && (close == npos || close < open);
            uses.push_back({static_cast<int>(at), index ? UseRole::Read : role});
        }
    }
    std::sort(uses.begin(), uses.end(), SortedByColumn);
    return uses;
}

namespace {

// The sections a cross-reference looks into, in tree order, with their form types.
template <class F> void EachStatementSection(const TRPGProgram& doc, F&& visit) {
    for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        char form = SectionFormType(doc, n);
        if (form != 0)
            visit(n, form);
    }
}

template <class Finder>
std::vector<TXrefUse> ProgramUses(const TRPGProgram& doc, std::string_view text, Finder&& find) {
    std::vector<TXrefUse> uses;
    if (text.empty())
        return uses;
    EachStatementSection(doc, [&](TreeNode* node, char form) {
        const std::vector<SectionLine>& lines = node->Section()->Lines();
        for (size_t i = 0; i < lines.size(); ++i) {
            // Most lines do not hold the text at all; a plain search rules them out cheaply.
            const std::string& line = lines[i].Text;
            auto hit = std::search(line.begin(), line.end(), text.begin(), text.end(),
                                   [](char a, char b) { return Upper(a) == Upper(b); });
            if (hit == line.end())
                continue;
            for (const LineUse& use : find(line, text, form))
                uses.push_back({node, static_cast<int>(i), use.Column, use.Role});
        }
    });
    return uses;
}

} // namespace

std::vector<TXrefUse> IndicatorUses(const TRPGProgram& doc, std::string_view flag) {
    return ProgramUses(doc, flag, IndicatorUsesInLine);
}

std::vector<TXrefUse> FieldUses(const TRPGProgram& doc, std::string_view name) {
    return ProgramUses(doc, name, FieldUsesInLine);
}
