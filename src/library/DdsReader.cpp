#include "library/DdsReader.h"

#include "library/Columns.h"

#include <cctype>
#include <string>
#include <vector>

namespace orvale::library {

namespace {

// One keyword and its parameters as written: NAME(P1 P2 ...), quoted texts kept whole.
struct Keyword {
    std::string Name;
    std::vector<std::string> Params;
    size_t Offset = 0; // where it starts in the entry's keyword text
    int Line = 0;
};

std::vector<Keyword> ParseKeywords(std::string_view text) {
    std::vector<Keyword> keywords;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlankChar(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !IsBlankChar(text[i]) && text[i] != '(')
            ++i;
        if (i == start) {
            ++i;
            continue;
        }
        Keyword k{UpperName(text.substr(start, i - start)), {}, start, 0};
        if (i < text.size() && text[i] == '(') {
            ++i;
            int depth = 1;
            std::string param;
            auto flush = [&] {
                if (!param.empty())
                    k.Params.push_back(std::move(param));
                param.clear();
            };
            while (i < text.size() && depth > 0) {
                char c = text[i];
                if (c == '\'') {
                    size_t close = text.find('\'', i + 1);
                    if (close == std::string_view::npos)
                        close = text.size() - 1;
                    param.append(text.substr(i, close - i + 1));
                    i = close + 1;
                    continue;
                }
                if (c == '(') {
                    ++depth;
                } else if (c == ')') {
                    if (--depth == 0) {
                        ++i;
                        break;
                    }
                } else if (IsBlankChar(c) && depth == 1) {
                    flush();
                    ++i;
                    continue;
                }
                param += c;
                ++i;
            }
            flush();
        }
        keywords.push_back(std::move(k));
    }
    return keywords;
}

// The file of "LIB/FILE" or "*LIBL/FILE".
std::string FileOf(std::string_view param) {
    size_t slash = param.rfind('/');
    return UpperName(slash == std::string_view::npos ? param : param.substr(slash + 1));
}

int Number(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 9)
        return -1;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

class Reader {
public:
    Reader(std::string_view fileName, std::string_view type, TMemberFacts& facts)
        : File(UpperName(fileName)), Type(type), Facts(facts) {}

    void Read(std::string_view text) {
        LineReader lines(text);
        std::string_view line;
        while (lines.Next(line)) {
            if (Col(line, 7) == '*')
                continue;
            char form = UpperCol(line, 6);
            if (form != 'A' && form != ' ')
                continue;
            char nameType = UpperCol(line, 17);
            std::string_view name = Cols(line, 19, 28);
            bool newEntry = nameType != ' ' || !name.empty();
            if (newEntry) {
                EndEntry();
                StartEntry(line, lines.LineNumber(), nameType, name);
            } else if (!ColsBlank(line, 39, 44) && EntryKind == 'F') {
                // A constant placed on the screen or page ends the field before it.
                EndEntry();
                EntryKind = 'C';
            }
            std::string_view keywords = line.size() > 44 ? line.substr(44) : std::string_view();
            if (keywords.size() > 36)
                keywords = keywords.substr(0, 36);
            if (!TrimBlanks(keywords).empty()) {
                if (!FileDeclared) {
                    DeclareFile(lines.LineNumber());
                }
                KeywordLines.emplace_back(EntryKeywords.size(), lines.LineNumber());
                EntryKeywords.append(keywords);
                EntryKeywords += ' ';
            }
        }
        EndEntry();
        // A description of comments alone still stands for its file, on its first line.
        if (!FileDeclared && lines.LineNumber() > 0)
            DeclareFile(1);
    }

private:
    void DeclareFile(int line) {
        FileDeclared = true;
        Facts.Uses.push_back({File, line, NameKind::File, NameRole::Defines, 0, CallVia::Name});
    }

    void Use(std::string name, int line, NameKind kind, NameRole role, const char* op = nullptr) {
        if (name.empty())
            return;
        Facts.Uses.push_back({std::move(name), line, kind, role,
                              op ? OperationCode(op) : std::uint8_t(0), CallVia::Name});
    }

    void StartEntry(std::string_view line, int number, char nameType, std::string_view name) {
        if (!FileDeclared)
            DeclareFile(number);
        EntryLine = number;
        EntryName = UpperName(name);
        EntryKeywords.clear();
        switch (nameType) {
        case 'R':
            EntryKind = 'R';
            Format = EntryName;
            Facts.Formats.push_back({Format, number, {}});
            Use(Format, number, NameKind::Format, NameRole::Defines);
            return;
        case 'K':
            EntryKind = 'K';
            Use(EntryName, number, NameKind::Field, NameRole::Uses, "KEY");
            return;
        case 'S':
        case 'O':
            EntryKind = 'S';
            Use(EntryName, number, NameKind::Field, NameRole::Uses,
                nameType == 'S' ? "SELECT" : "OMIT");
            return;
        case ' ':
            if (EntryName.empty() || Format.empty()) {
                EntryKind = 'C';
                return;
            }
            EntryKind = 'F';
            Field = TDdsField{};
            Field.Format = Format;
            Field.Name = EntryName;
            Field.Line = number;
            Field.Length = Number(Cols(line, 30, 34));
            if (Field.Length < 0)
                Field.Length = 0;
            Field.Decimals = Number(Cols(line, 36, 37));
            Field.Type = UpperCol(line, 35);
            Field.Usage = UpperCol(line, 38);
            Field.Referenced = UpperCol(line, 29) == 'R';
            return;
        default:
            EntryKind = 'C'; // join and help entries hold nothing the index keeps
            return;
        }
    }

    void EndEntry() {
        std::vector<Keyword> keywords = ParseKeywords(EntryKeywords);
        EntryKeywords.clear();
        // Each keyword is a use on the line it is written on.
        for (Keyword& k : keywords) {
            int line = EntryLine > 0 ? EntryLine : 1;
            for (const auto& [offset, number] : KeywordLines)
                if (offset <= k.Offset)
                    line = number;
            k.Line = line;
        }
        KeywordLines.clear();
        switch (EntryKind) {
        case 0: // file level
            for (const Keyword& k : keywords)
                if (k.Name == "REF" && !k.Params.empty()) {
                    RefFile = FileOf(k.Params[0]);
                    Use(RefFile, LineOf(k), NameKind::File, NameRole::Uses, "REF");
                }
            break;
        case 'R':
            for (const Keyword& k : keywords) {
                if ((k.Name == "PFILE" || k.Name == "JFILE" || k.Name == "FORMAT") &&
                    !k.Params.empty()) {
                    for (const std::string& p : k.Params)
                        Use(FileOf(p), LineOf(k), NameKind::File, NameRole::Uses, k.Name.c_str());
                    if (k.Name != "JFILE" && Facts.Formats.back().BasedOn.empty())
                        Facts.Formats.back().BasedOn = FileOf(k.Params[0]);
                } else if (k.Name == "SFLCTL" && !k.Params.empty()) {
                    Use(UpperName(k.Params[0]), LineOf(k), NameKind::Format, NameRole::Uses,
                        "SFLCTL");
                }
            }
            break;
        case 'F':
            EndField(keywords);
            break;
        default:
            break;
        }
        EntryKind = 'C';
    }

    static int LineOf(const Keyword& k) { return k.Line; }

    void EndField(const std::vector<Keyword>& keywords) {
        std::string basedOn = Facts.Formats.empty() ? std::string() : Facts.Formats.back().BasedOn;
        for (const Keyword& k : keywords) {
            if (k.Name == "REFFLD" && !k.Params.empty()) {
                // REFFLD(FIELD), REFFLD(FORMAT/FIELD), REFFLD(FIELD FILE), REFFLD(FIELD LIB/FILE)
                std::string_view ref = k.Params[0];
                size_t slash = ref.rfind('/');
                Field.RefField =
                    UpperName(slash == std::string_view::npos ? ref : ref.substr(slash + 1));
                if (k.Params.size() > 1 && k.Params[1].front() != '*') {
                    Field.RefFile = FileOf(k.Params[1]);
                    Use(Field.RefFile, LineOf(k), NameKind::File, NameRole::Uses, "REFFLD");
                }
            } else if (k.Name == "RENAME" && !k.Params.empty()) {
                Field.RefField = UpperName(k.Params[0]);
            }
        }
        // A field of a logical file without a length is the physical file's field.
        if (!Field.Referenced && Field.Length == 0 && !basedOn.empty()) {
            Field.Referenced = true;
            if (Field.RefFile.empty())
                Field.RefFile = basedOn;
        }
        if (Field.Referenced) {
            if (Field.RefField.empty())
                Field.RefField = Field.Name;
            if (Field.RefFile.empty())
                Field.RefFile = RefFile;
        }
        if (Field.Type == ' ' && Field.Length > 0)
            Field.Type = DefaultDdsType(Type, Field.Decimals);
        Use(Field.Name, Field.Line, NameKind::Field, NameRole::Defines);
        Facts.Fields.push_back(std::move(Field));
        Field = TDdsField{};
    }

    std::string File;
    std::string Type;
    TMemberFacts& Facts;
    bool FileDeclared = false;
    std::string RefFile;
    std::string Format;
    // The entry being read: 0 the file level, R a record, F a field, K, S, C another line.
    char EntryKind = 0;
    int EntryLine = 0;
    // Where each line's keywords start in EntryKeywords, and the line.
    std::vector<std::pair<size_t, int>> KeywordLines;
    std::string EntryName;
    std::string EntryKeywords;
    TDdsField Field;
};

} // namespace

char DefaultDdsType(std::string_view fileType, int decimals) {
    if (decimals < 0)
        return 'A';
    return fileType == "PF" || fileType == "LF" ? 'P' : 'S';
}

void ReadDds(std::string_view text, std::string_view fileName, std::string_view type,
             TMemberFacts& facts) {
    Reader reader(fileName, type, facts);
    reader.Read(text);
}

} // namespace orvale::library
