#pragma once

// The prompt of any statement of a section, not only of the operation codes: the statements
// of the file, extension, line-counter, input and output sections take their parameters from
// the conversion library's keyword table (how many, which columns, how long), and their names
// and help notes from the statement file "PromptS.PRM" beside the parameter file. That file
// names each field of a form type once ([FieldName] and [FieldNote], keys such as "F01" for
// field 1 of the file description); a statement's rows follow its slots, so a parameter is
// never described twice. [ParamName] and [ParamNote] may give a statement its own names or
// notes, item by item (an empty item keeps the field's), and [StatementDesc] describes each
// statement. No window here.

#include "PromptHelp.h"

#include "platform/ProfileFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessary {

inline constexpr const char* StatementFileName = "PromptS.PRM";

// Dir joined with PromptS.PRM, as PromptFilePath joins the parameter file.
std::string StatementFilePath(std::string_view dir);

// One parameter of a statement: its name, the longest value its columns take, its columns
// (1-based, First to Last) and a help note.
struct TStatementParam {
    std::string Name;
    int Length = 0;
    int First = 0;
    int Last = 0;
    std::string Note;
};

struct TStatementForm {
    std::string Name; // upper case, as the table writes it
    char FormType = ' ';
    std::string Description;
    std::vector<TStatementParam> Params;
};

// The form of the keyword table's statement Name (any case) described from File; false when
// the table has no such statement.
bool StatementForm(const orvale::ProfileFile& file, std::string_view name, TStatementForm& form);
// Every statement of the table, in table order.
std::vector<TStatementForm> StatementForms(const orvale::ProfileFile& file);

// "file", "extension", "line-counter", "input", "output", "calculation", "header" for the form
// types F, E, L, I, O, C and H; empty for any other.
std::string SectionKind(char formType);

// What the prompt shows for the statement Text (its name, and its parameters after "(") in a
// section of FormType:
// - F, E, L, I, O: a statement of the keyword table, one row per parameter; a statement of
//   another section's table is prompted too, with a warning that this section refuses it; a
//   name the table lacks gets one plain row per value it holds and a warning naming the
//   section's statements.
// - C: the operation code's entry of the parameter file; a code the operation-code table
//   lacks takes the general entry under its own name, with a warning that it is unknown.
// - RPG(...) and SQL(...) in any section: one row holding the raw line as it stands.
TPromptRows PrepareStatementPrompt(std::string_view dir, char formType, std::string_view text);

// "NAME(Name 1, Name 2, ...)" for a statement of FormType's table; the operation code's
// template for C; empty for a name the section's table lacks.
std::string StatementFormat(std::string_view dir, char formType, std::string_view name);

} // namespace tessary
