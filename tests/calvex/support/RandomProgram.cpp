#include "RandomProgram.h"

#include "calvex/OpCodeTable.h"
#include "calvex/SpecKeywordTable.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace calvex::test {

namespace {

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kNameChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789#@$";
constexpr std::string_view kTextChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Sections whose statements the import writes with a fixed indentation, by keyword.
struct Keyword {
    const char* Entry; // keyword-table name
    const char* Head;  // what the import writes before the parameters
};

class Generator {
public:
    Generator(std::mt19937& random, int tabSpaces, std::set<std::string>* kinds)
        : Random(random), Tab(tabSpaces), Kinds(kinds) {}

    void Fill(MemberSections& s) {
        ProgramLines(s.Property, "Owner=");
        ProgramLines(s.Description, "");
        ProgramLines(s.History, "PAYROLL.RPG,Modify,");
        PreCompiler(s.PreCompiler);
        Dated(s.Header, Header());
        Files(s);
        Extension(s);
        Dated(s.LineCount, LineCount());
        Dated(s.Input, Input());
        Dated(s.MainRoutine, Calculations("", Chance(85) ? Int(1, 25) : 0));
        if (Chance(60))
            Dated(s.InitSubRoutine, Calculations("*INZSR", Int(0, 8)));
        for (int k = Int(0, 4); k > 0; --k) {
            std::string name = UniqueName(6);
            s.SubRoutines.push_back(std::make_unique<TEDITSection>(name, ""));
            Dated(*s.SubRoutines.back(), Calculations(name, Int(0, 12)));
        }
        for (int k = Int(0, 3); k > 0; --k) {
            std::string file = UniqueName(8);
            s.Outputs.push_back(std::make_unique<TEDITSection>(file, ""));
            Dated(*s.Outputs.back(), Output(file));
        }
    }

private:
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    char Pick(std::string_view chars) {
        return chars[static_cast<size_t>(Int(0, static_cast<int>(chars.size()) - 1))];
    }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Int(0, static_cast<int>(items.size()) - 1))];
    }

    // A name: a letter, then letters, digits and the national characters.
    std::string Name(int maxLength) {
        std::string s(1, Pick(kLetters));
        for (int n = Int(1, maxLength); static_cast<int>(s.size()) < n;)
            s += Pick(kNameChars);
        return s;
    }
    // A name no other section of the program has (names of sections are compared ignoring
    // case, and must not look like the program's own fixed ones).
    std::string UniqueName(int maxLength) {
        for (;;) {
            std::string name = Name(maxLength);
            if (name.size() >= 2 && Used.insert(name).second)
                return name;
        }
    }
    std::string Number(int maxDigits) {
        std::string s(1, static_cast<char>('1' + Int(0, 8)));
        for (int n = Int(1, maxDigits); static_cast<int>(s.size()) < n;)
            s += static_cast<char>('0' + Int(0, 9));
        return s;
    }
    // Words of any case separated by single blanks, no blank at either end.
    std::string Words(int maxLength) {
        std::string s;
        int length = Int(1, maxLength);
        while (static_cast<int>(s.size()) < length) {
            if (!s.empty() && s.back() != ' ' && static_cast<int>(s.size()) < length - 1 &&
                Chance(20))
                s += ' ';
            else
                s += Pick(kTextChars);
        }
        return s;
    }
    std::string Quoted(int maxLength) { return "'" + Words(std::max(1, maxLength - 2)) + "'"; }
    std::string Indicator() {
        static const std::vector<std::string> kIndicators = {"01", "02", "10", "25", "50", "90",
                                                             "99", "LR", "L1", "L2", "KA", "KC",
                                                             "OF", "OA", "1P", "H1", "U1", "MR"};
        return Pick(kIndicators);
    }

    // A comment line as the import writes it: the text of column 8 on, after "/*" and one
    // blank when column 8 held one.
    std::string Comment() { return Chance(70) ? "/* " + Words(50) : "/*" + Words(50); }
    std::string Directive() {
        static const std::vector<std::string> kDirectives = {
            "# /EJECT", "# /SPACE 2", "# /TITLE PAYROLL REGISTER", "# /COPY QRPGSRC,COPYMBR"};
        return Pick(kDirectives);
    }
    // Now and then a comment or a directive among the statements of a section. Among the
    // extension lines a copied member would stand between the tables and their data, which is
    // tried by tests of its own.
    void Interleave(StringList& lines, bool copies = true) {
        if (Chance(15))
            lines.push_back(Comment());
        if (Chance(5)) {
            std::string directive = Directive();
            lines.push_back(copies || directive.find("COPY") == std::string::npos ? directive
                                                                                  : "# /EJECT");
        }
    }

    orvale::DateTime Moment() {
        int year = Int(1990, 2030), month = Int(1, 12);
        return {year,       month,      Int(1, orvale::DateTime::DaysInMonth(year, month)),
                Int(0, 23), Int(0, 59), Int(0, 59)};
    }
    // A section with lines gets a description and moments, which its banner carries.
    void Dated(TEDITSection& section, StringList lines) {
        section.AssignLines(std::move(lines));
        if (Chance(70))
            section.Properties.Description = Words(58);
        section.Properties.CreatedOn = Moment();
        section.Properties.LastUpdate = Moment();
    }

    // Random values for every parameter of a keyword-table statement, by the width and the
    // type of the field each one fills.
    StringList Values(const char* entryName) {
        if (Kinds)
            Kinds->insert(entryName);
        const KeywordEntry* entry = SpecKeywordTable::Instance().Find(entryName);
        StringList values;
        for (int k = 0; k < entry->ParamCount; ++k) {
            const KeywordSlot& slot = entry->Slots[static_cast<size_t>(k)];
            int width = FieldColumns(entry->FormType, slot.Field).Width;
            if (Chance(40))
                values.emplace_back();
            else if (slot.Type == SlotType::Integer)
                values.push_back(Number(std::min(width, 3)));
            else if (slot.Type == SlotType::Right)
                values.push_back((Chance(30) ? "N" : "") + Indicator());
            else if (width == 1)
                values.emplace_back(1, Pick(kNameChars));
            else
                values.push_back(Name(width));
        }
        return values;
    }
    // The statement as the import writes it: empty trailing parameters left out.
    static std::string Statement(std::string_view head, const StringList& values) {
        std::string s(head);
        for (size_t k = 0; k < values.size(); ++k) {
            if (k > 0)
                s += ',';
            s += values[k];
        }
        while (s.back() == ',')
            s.pop_back();
        return s + ")";
    }

    void ProgramLines(TEDITSection& section, const char* lead) {
        for (int k = Int(0, 4); k > 0; --k)
            section.AddLine(lead + Words(40));
    }
    // Definitions whose names no statement uses, so that they change nothing.
    void PreCompiler(TEDITSection& section) {
        for (int k = Int(0, 3); k > 0; --k)
            section.AddLine("#DEFINE X_" + Name(5) + "=" + Number(3));
    }

    StringList Header() {
        StringList lines;
        for (int k = Int(0, 2); k > 0; --k) {
            std::string raw = "H";
            raw += std::string(static_cast<size_t>(Int(1, 20)), ' ');
            raw += Name(30);
            // Not the switches that give the compile-time data blocks of their own (alternate
            // collating sequence, file translation): their own tests try them.
            if (raw.size() > 20 && raw[20] == 'S')
                raw[20] = 'T';
            if (raw.size() > 37 && raw[37] == 'F')
                raw[37] = 'G';
            lines.push_back("RPG(" + raw + ")");
            Interleave(lines);
        }
        return lines;
    }

    // A file, and now and then its continuation lines. The device decides the section.
    void AddFile(StringList& lines, const char* device) {
        StringList v;
        if (std::string_view(device) == "PRINTER") {
            v = Values("FILEPRN");
            v[13] = NotK(v[13]);
            v[0] = Name(8);
            lines.push_back(Statement("    FilePrn(", v));
        } else {
            v = Values("FILE");
            v[0] = Name(8);
            v[1] = device;
            v[17] = NotK(v[17]);
            lines.push_back(Statement("    File(", v));
        }
        static const std::vector<Keyword> kContinuations = {
            {"RENAME", "      Rename("}, {"IGNORE", "      Ignore("}, {"SFRECNO", "      SFRecNo("},
            {"INFODS", "      InfoDS("}, {"PLIST", "      Plist("},   {"FCONT", "      FCont("}};
        for (int k = Chance(40) ? Int(1, 3) : 0; k > 0; --k) {
            const Keyword& c = Pick(kContinuations);
            StringList cv = Values(c.Entry);
            if (std::string_view(c.Entry) == "FCONT") {
                static const std::set<std::string> kNamed = {"RENAME", "IGNORE", "SFILE", "INFDS",
                                                             "PLIST"};
                while (kNamed.count(cv[0]))
                    cv[0] = Name(6);
            }
            lines.push_back(Statement(c.Head, cv));
        }
        Interleave(lines);
    }
    // Column 53 holds K only on a continuation line.
    std::string NotK(std::string value) { return value == "K" ? "J" : value; }

    void Files(MemberSections& s) {
        auto fill = [&](TEDITSection& section, std::vector<const char*> devices) {
            StringList lines;
            for (int k = Chance(70) ? Int(1, 4) : 0; k > 0; --k)
                AddFile(lines, devices[static_cast<size_t>(Int(0, int(devices.size()) - 1))]);
            Dated(section, std::move(lines));
        };
        fill(s.Logical, {"DISK"});
        fill(s.Display, {"WORKSTN"});
        fill(s.Printer, {"PRINTER"});
        fill(s.Special, {"SPECIAL", "SEQ"});
    }

    // Arrays and tables; every table gets its section of compile-time data, of as many records
    // as the table declares.
    void Extension(MemberSections& s) {
        StringList lines;
        for (int k = Int(0, 5); k > 0; --k) {
            int kind = Int(0, 2);
            StringList v;
            std::string statement;
            if (kind == 0) {
                v = Values("FILEARRAY");
                v[0] = Name(8);
                v[2] = Name(6);
                statement = Statement("    FileArray(", v);
            } else if (kind == 1) {
                v = Values("ARRAY");
                v[0] = Name(6);
                statement = Statement("    Array(", v);
            } else {
                v = Values("TAB");
                v[0] = UniqueName(6);
                int perRecord = Int(1, 4), entries = Int(1, 12);
                v[1] = std::to_string(perRecord);
                v[2] = std::to_string(entries);
                statement = Statement("    Tab(", v);
                TEDITSection& array = s.AddArray(v[0]);
                if (Chance(70))
                    array.Properties.Description = Words(static_cast<int>(60 - v[0].size()));
                int records = perRecord < 2 ? entries : (entries + perRecord - 1) / perRecord;
                for (int r = 0; r < records; ++r)
                    array.AddLine(Words(Int(1, 74)));
            }
            if (Chance(25)) {
                statement.resize(std::max<size_t>(statement.size(), 50), ' ');
                statement += "/* " + Words(17);
            }
            lines.push_back(statement);
            Interleave(lines, false);
        }
        Dated(s.Extension, std::move(lines));
    }

    StringList LineCount() {
        StringList lines;
        for (int k = Chance(40) ? Int(1, 2) : 0; k > 0; --k) {
            StringList v = Values("LINECOUNT");
            v[0] = Name(8);
            lines.push_back(Statement("    LineCount(", v));
        }
        return lines;
    }

    // A field name, now and then an array element.
    std::string FieldName(int width) {
        if (width >= 5 && Chance(20))
            return Name(2) + "[" + (Chance(50) ? Number(1) : Name(2)) + "]";
        return Name(width);
    }

    StringList Input() {
        StringList lines;
        for (int k = Chance(80) ? Int(1, 12) : 0; k > 0; --k) {
            StringList v;
            switch (Int(0, 7)) {
            case 0:
                v = Values("DS");
                v[0] = Name(6);
                lines.push_back(Statement("    DS(", v));
                break;
            case 1:
                v = Values("RECORD");
                v[0] = Name(8);
                if (v[1] == "DS")
                    v[1] = "01";
                lines.push_back(Statement("    Record(", v));
                break;
            case 2:
                lines.push_back(Statement("     AndRec(", Values("ANDREC")));
                break;
            case 3:
                lines.push_back(Statement("      OrRec(", Values("ORREC")));
                break;
            case 4:
                // A sequence keeps it apart from an externally described record.
                v = Values("FILEREC");
                v[0] = Name(8);
                v[1] = Name(2);
                if (v[4] == "DS")
                    v[4] = "01";
                lines.push_back(Statement("    FileRec(", v));
                break;
            case 5:
                v = Values("FIELD");
                v[0] = FieldName(6);
                v[1] = Number(4);
                v[2] = Number(4);
                lines.push_back(Statement("        Field(", v));
                break;
            case 6:
                v = Values("CONST");
                v[0] = Name(6);
                v[2] = Quoted(22);
                lines.push_back(Statement("        Const(", v));
                break;
            default:
                v = Values("RENFLD");
                v[0] = Name(10);
                v[1] = FieldName(6);
                lines.push_back(Statement("        RenFld(", v));
            }
            Interleave(lines);
        }
        return lines;
    }

    // The first record of the file, then records, exception records, AND and OR lines, fields
    // and constants.
    StringList Output(const std::string& file) {
        StringList lines;
        StringList v = Values("OUTBEGIN");
        v[0] = file;
        v[1] = std::string(1, Pick("HDTE"));
        v[9] = Pick(std::vector<std::string>{"", "F", "R"});
        v[10].clear(); // an exception name makes the line a field line
        lines.push_back(Statement("    OUTBegin(", v));
        for (int k = Int(0, 10); k > 0; --k) {
            switch (Int(0, 6)) {
            case 0:
                lines.push_back(Statement("      DETLine(", Values("DETLINE")));
                break;
            case 1:
                lines.push_back(Statement("      TOTLine(", Values("TOTLINE")));
                break;
            case 2:
                lines.push_back(Statement("      EXCLine(", Values("EXCLINE")));
                break;
            case 3: {
                // The AND or OR text fills column 16, so these lines carry no fetch entry.
                bool isAnd = Chance(50);
                v = Values(isAnd ? "ANDL" : "ORL");
                v[0].clear();
                lines.push_back(Statement(isAnd ? "         ANDL(" : "          ORL(", v));
                break;
            }
            case 4:
            case 5:
                v = Values("LFIELD");
                v[0] = FieldName(6);
                v[1] = EndPosition(v[1]);
                if (!v[3].empty())
                    v[3] = Quoted(26);
                lines.push_back(Statement("        LField(", v));
                break;
            default:
                v = Values("LCONST");
                v[0] = Quoted(26);
                v[1] = EndPosition(v[1]);
                lines.push_back(Statement("        LConst(", v));
            }
            Interleave(lines);
        }
        return lines;
    }

    // An end position, now and then relative: the sign, then the digits right-justified in
    // the three columns after it.
    std::string EndPosition(std::string value) {
        if (value.empty() || !Chance(20))
            return value;
        std::string digits = Number(2);
        return std::string(1, Pick("+-")) + std::string(3 - digits.size(), ' ') + digits;
    }

    // -- Calculations

    std::string Factor() {
        switch (Int(0, 5)) {
        case 0:
            return Number(5);
        case 1:
            return Quoted(10);
        case 2:
            return Pick(std::vector<std::string>{"*BLANKS", "*ZEROS", "*ON", "*OFF", "*IN01"});
        case 3:
            return Name(2) + "[" + Name(2) + "]";
        default:
            return Name(6);
        }
    }
    std::string Item(int item) {
        switch (item) {
        case ItemFactor1:
        case ItemFactor2:
            return Factor();
        case ItemResult:
            return Chance(15) ? Name(2) + "[" + Number(2) + "]" : Name(6);
        case ItemExtender:
            return std::string(1, Pick("HNP"));
        case ItemLength:
            return Number(3);
        case ItemDecimals:
            return Number(1);
        default:
            return Indicator();
        }
    }

    // Control level and conditioning indicators as the import writes them, or nothing.
    std::string FlagsPart() {
        std::string level =
            Chance(20) ? Pick(std::vector<std::string>{"L1", "L2", "LR", "SR"}) : "";
        std::string indicators;
        for (int k = 0; k < 3; ++k)
            indicators += Chance(35) ? (Chance(30) ? "N" : " ") + Indicator() : "   ";
        while (!indicators.empty() && indicators.back() == ' ')
            indicators.pop_back();
        if (level.empty() && indicators.empty())
            return {};
        return "{" + (level.empty() ? "" : "|" + level + "|") + indicators + "}";
    }

    // One calculation as the import writes it at Level, which moves as the operation says.
    std::string Calculation(const std::string& op, int& level, std::string flags = {},
                            std::vector<std::string> given = {}) {
        if (Kinds)
            Kinds->insert(op);
        const OpCodeFlags& f = *OpCodeTable::Instance().Find(op);
        level = level - f.L + f.M;
        const int lineLevel = level;
        level = level - f.M + f.K;

        std::string s = std::move(flags);
        int blanks = Tab * lineLevel - static_cast<int>(s.size()) + 18;
        if (blanks > 0)
            s.append(static_cast<size_t>(blanks), ' ');
        for (size_t i = 0; i < op.size(); ++i)
            s +=
                i == 0 ? op[i] : static_cast<char>(std::tolower(static_cast<unsigned char>(op[i])));
        if (f.HasParams) {
            std::vector<bool> required(10, false);
            for (int k = 0; k < f.SlotCount; ++k)
                required[f.Slots[static_cast<size_t>(k)].Item] =
                    f.Slots[static_cast<size_t>(k)].Required;
            s += '(';
            bool first = true;
            for (int item = ItemFactor1; item <= ItemDecimals; ++item) {
                if (!f.Uses[static_cast<size_t>(item)])
                    continue;
                if (!first)
                    s += ',';
                first = false;
                if (!given.empty()) {
                    s += given.front();
                    given.erase(given.begin());
                } else if (required[static_cast<size_t>(item)] || Chance(60)) {
                    s += Item(item);
                }
            }
            while (s.back() == ',')
                s.pop_back();
            s += ')';
        }
        while (s.back() == ' ')
            s.pop_back();
        if (Chance(15)) {
            s.resize(std::max<size_t>(s.size(), 60), ' ');
            s += "/* " + Words(15);
        }
        return s;
    }

    // A routine: the main routine (Name empty) or a subroutine from BEGSR to ENDSR.
    StringList Calculations(const std::string& name, int count) {
        static const StringList kOps = [] {
            StringList entries, names;
            LoadOpCodeTable(entries);
            for (const std::string& e : entries) {
                std::string op = e.substr(0, e.find('='));
                if (op != "BEGSR" && op != "ENDSR")
                    names.push_back(op);
            }
            return names;
        }();
        StringList lines;
        int level = 0;
        if (!name.empty()) {
            if (Chance(20))
                lines.push_back(Comment());
            lines.push_back(Calculation("BEGSR", level, FlagsPart(), {name}));
        }
        for (int k = 0; k < count; ++k) {
            int kind = Int(0, 99);
            if (kind < 6) {
                lines.push_back(Comment());
            } else if (kind < 8) {
                lines.push_back("# /EXEC SQL");
                lines.push_back("+ SELECT " + Name(8) + " INTO :" + Name(6) + " FROM " + Name(8));
                lines.push_back("# /END-EXEC");
            } else if (kind < 12) {
                // Conditioning indicators alone, as an AND or OR line of a condition.
                std::string flags = FlagsPart();
                lines.push_back(flags.empty() ? "{ " + Indicator() + "}" : flags);
            } else {
                lines.push_back(Calculation(Pick(kOps), level, FlagsPart()));
            }
        }
        if (!name.empty())
            lines.push_back(Calculation("ENDSR", level, FlagsPart()));
        return lines;
    }

    std::mt19937& Random;
    int Tab;
    std::set<std::string>* Kinds;
    std::set<std::string> Used;
};

} // namespace

void GenerateProgram(std::mt19937& random, MemberSections& sections, int tabSpaces,
                     std::set<std::string>* kinds) {
    Generator(random, tabSpaces, kinds).Fill(sections);
}

} // namespace calvex::test
