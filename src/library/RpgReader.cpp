#include "library/RpgReader.h"

#include "library/Columns.h"
#include "library/RpgFactors.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvale::library {

namespace {

class Reader {
public:
    explicit Reader(TMemberFacts& facts) : Facts(facts) {}

    void Read(std::string_view text);

private:
    void Add(std::string name, int line, NameKind kind, NameRole role, std::uint8_t op = 0,
             CallVia via = CallVia::Name) {
        if (name.empty())
            return;
        Facts.Uses.push_back({std::move(name), line, kind, role, op, via});
    }
    void AddNames(std::string_view factor, int line, NameRole role, std::uint8_t op = 0) {
        ForEachName(factor, [&](std::string name) {
            Add(std::move(name), line, NameKind::Field, role, op);
        });
    }
    bool IsFile(const std::string& name) const {
        return std::find(Files.begin(), Files.end(), name) != Files.end();
    }
    // A file operation's file or record format.
    NameKind FileOrFormat(const std::string& name) const {
        return IsFile(name) ? NameKind::File : NameKind::Format;
    }
    void Directive(std::string_view line, int number);
    void FileLine(std::string_view line, int number);
    void ExtensionLine(std::string_view line, int number);
    void InputLine(std::string_view line, int number);
    void CalcLine(std::string_view line, int number);
    void OutputLine(std::string_view line, int number);
    void Finish();

    TMemberFacts& Facts;
    std::vector<std::string> Files;
    std::string LastFile;
    std::unordered_map<std::string, std::string> Constants;
    // *NAMVAR definitions: the name the program uses -> the data area's name.
    std::unordered_map<std::string, std::string> DataAreas;
    std::unordered_set<std::string> KLists;
    // Uses whose kind waits for the whole member: a key that may be a key list, a data area
    // named before its definition.
    std::vector<size_t> MaybeKList;
    std::vector<size_t> DataAreaUses;
    struct ExcptRecord {
        std::string Name; // the exception name, empty for none
        std::string Target;
        NameKind Kind;
    };
    std::vector<ExcptRecord> ExcptRecords;
    struct ExcptCall {
        int Line;
        std::string Name;
    };
    std::vector<ExcptCall> ExcptCalls;
    std::vector<int> NamVarIn, NamVarOut;
    bool InSql = false;
};

void Reader::Read(std::string_view text) {
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        int number = lines.LineNumber();
        if (line.size() >= 2 && line[0] == '*' && line[1] == '*')
            break; // compile-time data
        char form = UpperCol(line, 6);
        char c7 = Col(line, 7);
        if (c7 == '*')
            continue;
        if (c7 == '/') {
            Directive(line, number);
            continue;
        }
        if (InSql || c7 == '+')
            continue;
        switch (form) {
        case 'F':
            FileLine(line, number);
            break;
        case 'E':
            ExtensionLine(line, number);
            break;
        case 'L':
            Add(UpperName(Cols(line, 7, 14)), number, NameKind::File, NameRole::Uses,
                OperationCode("LINE"));
            break;
        case 'I':
            InputLine(line, number);
            break;
        case 'C':
            CalcLine(line, number);
            break;
        case 'O':
            OutputLine(line, number);
            break;
        default:
            break;
        }
    }
    Finish();
}

void Reader::Directive(std::string_view line, int number) {
    std::string_view rest = line.size() > 7 ? line.substr(7) : std::string_view();
    if (StartsWithNoCase(rest, "END-EXEC")) {
        InSql = false;
        return;
    }
    if (StartsWithNoCase(rest, "EXEC SQL")) {
        InSql = true;
        return;
    }
    if (!StartsWithNoCase(rest, "COPY"))
        return;
    // The operand stands after the directive up to the first blank; columns 75-80 may hold a
    // change tag, which must not be read as part of it.
    std::string_view operand = TrimBlanks(Cols(line, 12, 74));
    TCopyDirective copy;
    if (!ParseCopyOperand(operand, copy))
        return;
    copy.Line = number;
    Add(copy.Member, number, NameKind::Copy, NameRole::Copies);
    Facts.Copies.push_back(std::move(copy));
}

void Reader::FileLine(std::string_view line, int number) {
    if (UpperCol(line, 53) == 'K') {
        std::string keyword = UpperName(Cols(line, 54, 59));
        std::string entry = UpperName(Cols(line, 60, 67));
        std::string external = UpperName(Cols(line, 19, 28));
        std::uint8_t op = OperationCode(keyword);
        if (keyword == "RENAME") {
            Add(external, number, NameKind::Format, NameRole::Uses, op);
            Add(entry, number, NameKind::Format, NameRole::Defines, op);
            if (!LastFile.empty() && !entry.empty())
                Facts.FormatsOfFiles.push_back({LastFile, entry, external});
        } else if (keyword == "SFILE") {
            Add(entry, number, NameKind::Format, NameRole::Uses, op);
            AddNames(Cols(line, 47, 52), number, NameRole::Uses, op);
            if (!LastFile.empty() && !entry.empty())
                Facts.FormatsOfFiles.push_back({LastFile, entry, {}});
        } else if (keyword == "IGNORE" || keyword == "INCLUD") {
            Add(external, number, NameKind::Format, NameRole::Uses, OperationCode("IGNORE"));
        } else if (keyword == "INFDS" || keyword == "INFSR") {
            AddNames(entry, number, NameRole::Uses, op);
        } else if (keyword == "PLIST") {
            Add(entry, number, NameKind::PList, NameRole::Uses);
        }
        return;
    }
    std::string name = UpperName(Cols(line, 7, 14));
    if (name.empty() || !IsName(name))
        return;
    LastFile = name;
    Files.push_back(name);
    Add(std::move(name), number, NameKind::File, NameRole::Declares);
}

void Reader::ExtensionLine(std::string_view line, int number) {
    std::uint8_t op = OperationCode("ARRAY");
    Add(UpperName(Cols(line, 11, 18)), number, NameKind::File, NameRole::Reads, op);
    Add(UpperName(Cols(line, 19, 26)), number, NameKind::File, NameRole::Writes, op);
    AddNames(Cols(line, 27, 32), number, NameRole::Defines, op);
    AddNames(Cols(line, 46, 51), number, NameRole::Defines, op);
}

void Reader::InputLine(std::string_view line, int number) {
    std::string_view name = Cols(line, 7, 14);
    if (UpperCol(line, 19) == 'D' && UpperCol(line, 20) == 'S') {
        // A data structure: its name is a field; with U it is a data area's image, with E
        // its subfields are those of a file's record.
        std::string ds = UpperName(Cols(line, 7, 12));
        Add(ds, number, NameKind::Field, NameRole::Defines, OperationCode("DS"));
        if (UpperCol(line, 18) == 'U')
            Add(ds.empty() ? std::string("*LDA") : ds, number, NameKind::DataArea,
                NameRole::Defines, OperationCode("DS"));
        if (UpperCol(line, 17) == 'E') {
            std::string file = UpperName(Cols(line, 21, 30));
            Add(file.empty() ? ds : file, number, NameKind::File, NameRole::Uses,
                OperationCode("DS"));
        }
        return;
    }
    std::string_view andOr = Cols(line, 14, 16);
    if (!name.empty() && andOr != "AND" && andOr != "OR") {
        std::string record = UpperName(name);
        if (IsName(record))
            Add(record, number, FileOrFormat(record), NameRole::Uses, OperationCode("INPUT"));
        return;
    }
    if (!name.empty())
        return;
    std::string field = UpperName(Cols(line, 53, 58));
    if (UpperCol(line, 43) == 'C' && !ColsBlank(line, 21, 42)) {
        // A named constant: its value may name a program that a CALL uses it for.
        if (IsName(field)) {
            Constants[field] = LiteralValue(Cols(line, 21, 42));
            Add(field, number, NameKind::Field, NameRole::Defines);
        }
        return;
    }
    std::string_view external = Cols(line, 21, 30);
    bool positions = !ColsBlank(line, 44, 51);
    if (!external.empty() && !positions && UpperCol(line, 8) != 'I') {
        // A field of an externally described record, renamed when a name stands in 53-58.
        std::uint8_t rename = field.empty() ? 0 : OperationCode("RENAME");
        AddNames(external, number, NameRole::Uses, rename);
        if (IsName(field))
            Add(field, number, NameKind::Field, NameRole::Defines, rename);
        return;
    }
    if (IsName(field))
        Add(field, number, NameKind::Field, NameRole::Defines);
}

void Reader::CalcLine(std::string_view line, int number) {
    std::string_view opText = Cols(line, 28, 32);
    if (opText.empty())
        return;
    std::string op = UpperName(opText);
    OpInfo info = Classify(op);
    std::string_view f1 = Cols(line, 18, 27);
    std::string_view f2 = Cols(line, 33, 42);
    std::string_view result = Cols(line, 43, 48);
    bool hasLength = !ColsBlank(line, 49, 51);
    NameRole resultRole = hasLength ? NameRole::Defines : NameRole::Changes;
    std::uint8_t code = info.Code;

    auto fileName = [&](std::string_view f) { return UpperName(TrimBlanks(f)); };
    switch (info.Class) {
    case OpClass::None:
        return;
    case OpClass::Default:
        AddNames(f1, number, NameRole::Reads);
        AddNames(f2, number, NameRole::Reads);
        AddNames(result, number, resultRole);
        return;
    case OpClass::Compare:
        AddNames(f1, number, NameRole::Reads);
        AddNames(f2, number, NameRole::Reads);
        AddNames(result, number, NameRole::Reads);
        return;
    case OpClass::FileRead:
    case OpClass::FileDelete:
    case OpClass::FileOther: {
        ForEachName(f1, [&](std::string name) {
            MaybeKList.push_back(Facts.Uses.size());
            Add(std::move(name), number, NameKind::Field, NameRole::Reads);
        });
        std::string file = fileName(f2);
        NameRole role = info.Class == OpClass::FileRead     ? NameRole::Reads
                        : info.Class == OpClass::FileDelete ? NameRole::Deletes
                                                            : NameRole::Uses;
        if (IsName(file))
            Add(file, number, FileOrFormat(file), role, code);
        AddNames(result, number,
                 info.Class == OpClass::FileRead ? NameRole::Changes : NameRole::Uses);
        return;
    }
    case OpClass::FileUpdate:
    case OpClass::FileWrite: {
        std::string file = fileName(f2);
        if (IsName(file))
            Add(file, number, FileOrFormat(file),
                info.Class == OpClass::FileUpdate ? NameRole::Updates : NameRole::Writes, code);
        AddNames(result, number, NameRole::Reads);
        return;
    }
    case OpClass::Excpt:
        ExcptCalls.push_back({number, UpperName(f2)});
        return;
    case OpClass::Call:
    case OpClass::Free: {
        NameRole role = info.Class == OpClass::Call ? NameRole::Calls : NameRole::Uses;
        std::string_view program = TrimBlanks(f2);
        if (!program.empty() && program.front() == '\'') {
            Add(UpperName(LiteralValue(program)), number, NameKind::Program, role, code);
        } else if (IsName(program)) {
            std::string name = UpperName(program);
            auto constant = Constants.find(name);
            if (constant != Constants.end() && !constant->second.empty())
                Add(UpperName(constant->second), number, NameKind::Program, role, code,
                    CallVia::Constant);
            else
                Add(name, number, NameKind::Program, role, code, CallVia::Variable);
            Add(std::move(name), number, NameKind::Field, NameRole::Reads, code);
        }
        std::string list = UpperName(result);
        if (IsName(list))
            Add(list, number, NameKind::PList, NameRole::Uses, code);
        return;
    }
    case OpClass::Parm:
        AddNames(f1, number, NameRole::Changes, code);
        AddNames(f2, number, NameRole::Reads, code);
        AddNames(result, number, resultRole, code);
        return;
    case OpClass::PList:
    case OpClass::KList: {
        std::string name = UpperName(f1);
        if (name.empty() || (name.front() == '*' && name != "*ENTRY"))
            return;
        if (info.Class == OpClass::KList)
            KLists.insert(name);
        Add(std::move(name), number,
            info.Class == OpClass::KList ? NameKind::KList : NameKind::PList, NameRole::Defines,
            code);
        return;
    }
    case OpClass::KFld:
        AddNames(result, number, NameRole::Reads, code);
        return;
    case OpClass::BegSr:
    case OpClass::ExSr:
    case OpClass::Cas: {
        std::string_view routine = info.Class == OpClass::BegSr  ? f1
                                   : info.Class == OpClass::ExSr ? f2
                                                                 : result;
        std::string name = UpperName(routine);
        if (info.Class == OpClass::Cas) {
            AddNames(f1, number, NameRole::Reads);
            AddNames(f2, number, NameRole::Reads);
        }
        if (IsName(name) || name == "*INZSR" || name == "*PSSR")
            Add(std::move(name), number, NameKind::Subroutine,
                info.Class == OpClass::BegSr ? NameRole::Defines : NameRole::Calls, code);
        return;
    }
    case OpClass::Cab:
        AddNames(f1, number, NameRole::Reads);
        AddNames(f2, number, NameRole::Reads);
        return;
    case OpClass::Label:
        return;
    case OpClass::Defn: {
        std::string kind = UpperName(f1);
        if (kind == "*NAMVAR") {
            std::string internal = UpperName(result);
            std::string external = IsName(f2) ? UpperName(f2) : internal;
            if (external.empty())
                return;
            DataAreas[internal] = external;
            Add(external, number, NameKind::DataArea, NameRole::Defines, code);
            if (IsName(internal))
                Add(internal, number, NameKind::Field, NameRole::Defines, code);
        } else {
            AddNames(f2, number, NameRole::Reads, code);
            AddNames(result, number, NameRole::Defines, code);
        }
        return;
    }
    case OpClass::DataIn:
    case OpClass::DataOut:
    case OpClass::Unlock: {
        std::string name = UpperName(f2);
        if (name == "*NAMVAR") {
            (info.Class == OpClass::DataOut ? NamVarOut : NamVarIn).push_back(number);
            return;
        }
        if (!IsName(name))
            return;
        if (info.Class == OpClass::Unlock && IsFile(name)) {
            Add(std::move(name), number, NameKind::File, NameRole::Uses, code);
            return;
        }
        NameRole role = info.Class == OpClass::DataIn    ? NameRole::Reads
                        : info.Class == OpClass::DataOut ? NameRole::Writes
                                                         : NameRole::Uses;
        DataAreaUses.push_back(Facts.Uses.size());
        Add(std::move(name), number, NameKind::DataArea, role, code);
        return;
    }
    case OpClass::ResultRead:
        AddNames(f2, number, NameRole::Reads);
        AddNames(result, number, NameRole::Reads);
        return;
    case OpClass::ChangeF2:
        AddNames(f2, number, NameRole::Changes, code);
        return;
    }
}

void Reader::OutputLine(std::string_view line, int number) {
    std::string_view name = Cols(line, 7, 14);
    std::string_view andOr = Cols(line, 14, 16);
    if (andOr == "AND" || andOr == "OR")
        return;
    if (!name.empty()) {
        std::string record = UpperName(name);
        if (!IsName(record))
            return;
        NameKind kind = FileOrFormat(record);
        std::string_view addDel = Cols(line, 16, 18);
        bool del = addDel.size() == 3 && StartsWithNoCase(addDel, "DEL");
        Add(record, number, kind, del ? NameRole::Deletes : NameRole::Writes,
            OperationCode("OUTPUT"));
        if (UpperCol(line, 15) == 'E')
            ExcptRecords.push_back({UpperName(Cols(line, 32, 37)), record, kind});
        return;
    }
    std::string field = UpperName(Cols(line, 32, 37));
    if (IsName(field) && !IsReservedField(field))
        Add(std::move(field), number, NameKind::Field, NameRole::Reads, OperationCode("OUTPUT"));
}

void Reader::Finish() {
    for (size_t i : MaybeKList)
        if (KLists.count(Facts.Uses[i].Name)) {
            Facts.Uses[i].Kind = NameKind::KList;
            Facts.Uses[i].Role = NameRole::Uses;
        }
    for (size_t i : DataAreaUses) {
        auto it = DataAreas.find(Facts.Uses[i].Name);
        if (it != DataAreas.end())
            Facts.Uses[i].Name = it->second;
    }
    std::vector<std::string> areas;
    for (const auto& [internal, external] : DataAreas)
        areas.push_back(external);
    std::sort(areas.begin(), areas.end());
    for (int number : NamVarIn)
        for (const std::string& area : areas)
            Add(area, number, NameKind::DataArea, NameRole::Reads, OperationCode("IN"));
    for (int number : NamVarOut)
        for (const std::string& area : areas)
            Add(area, number, NameKind::DataArea, NameRole::Writes, OperationCode("OUT"));
    // An exception output with a name writes the records of that name; one without writes
    // those that have none.
    std::uint8_t excpt = OperationCode("EXCPT");
    for (const ExcptCall& call : ExcptCalls) {
        std::unordered_set<std::string> written;
        for (const ExcptRecord& record : ExcptRecords)
            if (record.Name == call.Name && written.insert(record.Target).second)
                Add(record.Target, call.Line, record.Kind, NameRole::Writes, excpt);
    }
}

} // namespace

bool ParseCopyOperand(std::string_view operand, TCopyDirective& copy) {
    operand = TrimBlanks(operand);
    size_t blank = operand.find_first_of(" \t");
    if (blank != std::string_view::npos)
        operand = operand.substr(0, blank);
    if (operand.empty())
        return false;
    size_t comma = operand.find(',');
    std::string_view file;
    std::string_view member = operand;
    if (comma != std::string_view::npos) {
        file = operand.substr(0, comma);
        member = operand.substr(comma + 1);
        size_t slash = file.find('/');
        if (slash != std::string_view::npos) {
            copy.Library = UpperName(file.substr(0, slash));
            file = file.substr(slash + 1);
        }
    }
    if (member.empty() || !IsName(member))
        return false;
    copy.File = UpperName(file);
    copy.Member = UpperName(member);
    return true;
}

bool ParseCopyLine(std::string_view line, TCopyDirective& copy) {
    std::string_view text = TrimBlanks(line);
    // Columns 1-5 may hold a sequence number before the directive in column 7.
    if (Col(line, 7) == '/' && !StartsWithNoCase(text, "/"))
        text = TrimBlanks(line.substr(6));
    if (!text.empty() && text.front() == '#')
        text = TrimBlanks(text.substr(1));
    if (text.size() > 6 && StartsWithNoCase(text, "/COPY") && IsBlankChar(text[5]))
        return ParseCopyOperand(text.substr(5), copy);
    if (text.size() > 9 && StartsWithNoCase(text, "/INCLUDE") && IsBlankChar(text[8]))
        return ParseCopyOperand(text.substr(8), copy);
    return false;
}

void ReadRpgIII(std::string_view text, TMemberFacts& facts) {
    Reader reader(facts);
    reader.Read(text);
}

} // namespace orvale::library
