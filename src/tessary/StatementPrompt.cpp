#include "StatementPrompt.h"

#include "calvex/OpCodeTable.h"
#include "calvex/SpecKeywordTable.h"
#include "document/ParseString.h"

#include <cstdio>

namespace tessary {

namespace {

// The longest raw line: columns 6 to 74 of the fixed-column line.
constexpr int RawLineLength = 69;

std::string FieldKey(char formType, int field) {
    char key[8];
    std::snprintf(key, sizeof key, "%c%02d", formType, field);
    return key;
}

std::string Item(const StringList& items, size_t i) {
    return i < items.size() ? items[i] : std::string();
}

std::string Columns(int first, int last) {
    return first == last ? "column " + std::to_string(first)
                         : "columns " + std::to_string(first) + "-" + std::to_string(last);
}

// The statement's name and the text between its parentheses, as written.
struct TStatementText {
    std::string Name;
    std::string Arguments;
};

TStatementText SplitStatement(std::string_view text) {
    TStatementText split;
    size_t open = text.find('(');
    split.Name = std::string(TrimView(text.substr(0, open)));
    if (open == std::string_view::npos)
        return split;
    std::string_view rest = text.substr(open + 1);
    if (!rest.empty() && rest.back() == ')')
        rest.remove_suffix(1);
    split.Arguments = std::string(rest);
    return split;
}

TPromptRows RawLineRows(const TStatementText& statement) {
    TPromptRows rows;
    rows.Code = statement.Name;
    rows.Caption = "Prompt Help - " + UpperCase(statement.Name) +
                   "  A fixed-column line, written as it stands";
    rows.Raw = true;
    rows.Names = {"Line from column 6"};
    rows.Values = {statement.Arguments};
    rows.Lengths = {std::to_string(RawLineLength)};
    rows.Notes = {"Column 6 holds the section's form type; the rest goes into columns 7-74 "
                  "as typed"};
    return rows;
}

std::string StatementList(char formType) {
    std::string list;
    for (const calvex::KeywordEntry& entry : calvex::SpecKeywordTable::Instance().Entries())
        if (entry.FormType == formType)
            list += (list.empty() ? "" : ", ") + entry.Name;
    return list;
}

TPromptRows TableRows(std::string_view dir, char formType, const TStatementText& statement,
                      const TPromptText& parsed) {
    orvale::ProfileFile file(StatementFilePath(dir));
    if (!file.Path().empty())
        file.Load();
    TPromptRows rows;
    rows.Code = statement.Name;
    rows.Values = parsed.Values;
    TStatementForm form;
    if (!StatementForm(file, statement.Name, form)) {
        std::string statements = StatementList(formType);
        rows.Caption = "Prompt Help - " + UpperCase(statement.Name);
        rows.Warning = UpperCase(statement.Name) + " is not a statement of the " +
                       SectionKind(formType) + " section" +
                       (statements.empty() ? "; it holds RPG(...) lines only."
                                           : "; its statements are " + statements + ".");
        for (size_t i = 0; i < rows.Values.size(); ++i)
            rows.Names.push_back("Parameter " + std::to_string(i + 1));
        return rows;
    }
    rows.Caption = "Prompt Help - " + form.Name + "  " + form.Description;
    if (form.FormType != formType)
        rows.Warning = form.Name + " is a statement of the " + SectionKind(form.FormType) +
                       " section: the " + SectionKind(formType) + " section refuses it.";
    for (const TStatementParam& param : form.Params) {
        rows.Names.push_back(param.Name);
        rows.Lengths.push_back(std::to_string(param.Length));
        rows.Notes.push_back(param.Note.empty()
                                 ? Columns(param.First, param.Last)
                                 : param.Note + " (" + Columns(param.First, param.Last) + ")");
    }
    return rows;
}

TPromptRows OpCodeRows(std::string_view dir, std::string_view text) {
    TPromptRows rows = PreparePrompt(dir, text);
    std::string code = ParsePromptText(text).Code;
    std::string_view name = TrimView(code);
    if (rows.Code != DefaultOpCode || name.empty() || calvex::OpCodeTable::Instance().Find(name))
        return rows;
    // A code no table knows keeps its name; the rows are those of any calculation.
    rows.Code = std::string(name);
    rows.Caption = "Prompt Help - " + UpperCase(name) + "  Unknown operation code";
    rows.Warning = UpperCase(name) + " is not an operation code: the rows are the fields of "
                                     "any calculation, and the compile will refuse the line.";
    return rows;
}

} // namespace

std::string StatementFilePath(std::string_view dir) {
    if (dir.empty())
        return {};
    std::string path(dir);
    if (path.back() != '/' && path.back() != '\\')
        path += '/';
    return path + StatementFileName;
}

std::string SectionKind(char formType) {
    switch (formType) {
    case 'F':
        return "file";
    case 'E':
        return "extension";
    case 'L':
        return "line-counter";
    case 'I':
        return "input";
    case 'O':
        return "output";
    case 'C':
        return "calculation";
    case 'H':
        return "header";
    default:
        return {};
    }
}

bool StatementForm(const orvale::ProfileFile& file, std::string_view name, TStatementForm& form) {
    const calvex::KeywordEntry* entry = calvex::SpecKeywordTable::Instance().Find(TrimView(name));
    if (!entry)
        return false;
    form = TStatementForm{};
    form.Name = entry->Name;
    form.FormType = entry->FormType;
    form.Description = file.ReadString("StatementDesc", entry->Name, "");
    StringList names = SplitItems(file.ReadString("ParamName", entry->Name, ""));
    StringList notes = SplitItems(file.ReadString("ParamNote", entry->Name, ""));
    for (size_t i = 0; i < entry->Slots.size(); ++i) {
        const calvex::KeywordSlot& slot = entry->Slots[i];
        calvex::FieldSpan span = calvex::FieldColumns(entry->FormType, slot.Field);
        std::string key = FieldKey(entry->FormType, slot.Field);
        TStatementParam param;
        param.Name = Trim(Item(names, i));
        if (param.Name.empty())
            param.Name = file.ReadString("FieldName", key, "Field " + key);
        param.Note = Trim(Item(notes, i));
        if (param.Note.empty())
            param.Note = file.ReadString("FieldNote", key, "");
        param.Length = span.Width;
        param.First = span.First;
        param.Last = span.First + span.Width - 1;
        form.Params.push_back(std::move(param));
    }
    return true;
}

std::vector<TStatementForm> StatementForms(const orvale::ProfileFile& file) {
    std::vector<TStatementForm> forms;
    for (const calvex::KeywordEntry& entry : calvex::SpecKeywordTable::Instance().Entries()) {
        TStatementForm form;
        if (StatementForm(file, entry.Name, form))
            forms.push_back(std::move(form));
    }
    return forms;
}

TPromptRows PrepareStatementPrompt(std::string_view dir, char formType, std::string_view text) {
    TStatementText statement = SplitStatement(text);
    std::string name = UpperCase(statement.Name);
    if (name == "RPG" || name == "SQL")
        return RawLineRows(statement);
    switch (formType) {
    case 'F':
    case 'E':
    case 'L':
    case 'I':
    case 'O':
    case 'H':
        return TableRows(dir, formType, statement, ParsePromptText(text));
    default:
        return OpCodeRows(dir, text);
    }
}

std::string StatementFormat(std::string_view dir, char formType, std::string_view name) {
    if (formType == 'C')
        return OpCodeFormat(dir, name);
    orvale::ProfileFile file(StatementFilePath(dir));
    if (!file.Path().empty())
        file.Load();
    TStatementForm form;
    if (!StatementForm(file, name, form) || form.FormType != formType)
        return {};
    std::string format = form.Name + "(";
    for (size_t i = 0; i < form.Params.size(); ++i)
        format += (i ? ", " : "") + form.Params[i].Name;
    return format + ")";
}

} // namespace tessary
