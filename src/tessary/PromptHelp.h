#pragma once

// What the prompt help knows of an operation code, read from the parameter file "PromptH.PRM"
// of the program directory: the entry of a code, its one-line template, and the rows the
// prompt window shows and turns back into a statement. No window here.
//
// The file has one section per attribute ("ParamName", "ParamLeng", "ParamNote",
// "OpCodeDesc"); keys are operation codes as written in the statement language, compared
// ignoring case. A code ending in "xx" (or "yy") stands for every code that differs only in its
// last two characters, and "DEFOPCODE" for any code without an entry.

#include "platform/ProfileFile.h"
#include "platform/StringList.h"

#include <string>
#include <string_view>

namespace tessary {

inline constexpr const char* PromptFileName = "PromptH.PRM";
inline constexpr const char* DefaultOpCode = "DEFOPCODE";
inline constexpr const char* CancelResult = "CANCEL";

// The longest value a row takes while typing when its length is missing or not a number.
inline constexpr int DefaultValueLength = 10;

// Dir joined with PromptH.PRM (a separator is added unless Dir ends with one); empty for an
// empty Dir.
std::string PromptFilePath(std::string_view dir);

// The parameter file, read once. A missing or unreadable file reads as an empty one, so every
// lookup gives its default.
class TPromptFile {
public:
    explicit TPromptFile(std::string_view dir);

    // Value of Code in Section, or Default; values longer than 1,023 characters are cut.
    std::string Read(std::string_view section, std::string_view code,
                     std::string_view defaultValue) const;

private:
    orvale::ProfileFile Profile;
};

// How the code is named once no entry was found: the template keeps the "yy" form, the
// prompt window takes "DEFOPCODE".
enum class TFallbackName { YyForm, DefOpCode };

struct TEntry {
    std::string Code;  // the resolved code: the key found, or the fallback name
    std::string Names; // the "ParamName" value
};

// Looks Code up in "ParamName": as written, then with its last two characters replaced by
// "xx", then by "yy" (both only for codes longer than one character), then "DEFOPCODE".
TEntry ResolveEntry(const TPromptFile& file, std::string_view code, TFallbackName fallback);

// Splits a ";"-separated list; an empty item after the last ";" ends the list.
StringList SplitItems(std::string_view list);

// "CODE(Name 1, Name 2)", or the code alone when the entry has no names.
std::string OpCodeFormat(std::string_view dir, std::string_view code);
// The resolved code of the template: the part before "(".
std::string OpCodeSymple(std::string_view dir, std::string_view code);

// The text at the editor's cursor taken apart: the code before "(" and the values after it,
// split at "," (or the closing ")") and trimmed. A comma or parenthesis inside a quoted literal
// ('...' or "...") is part of the value. Text without "(" is a code alone; empty text prompts
// DEFOPCODE.
struct TPromptText {
    std::string Code = DefaultOpCode;
    StringList Values;
};
TPromptText ParsePromptText(std::string_view text);

// Everything the prompt window shows, by parameter (row 1 of the grids is index 0 here).
struct TPromptRows {
    std::string Code; // heads the result
    std::string Caption;
    StringList Names;
    StringList Values;
    StringList Lengths;
    StringList Notes;
    // Something the user must know before filling the rows in (an unknown code), or empty.
    std::string Warning;
    // One row holding the text between the parentheses as it stands (a raw line): it is
    // neither split nor trimmed.
    bool Raw = false;

    // Number of parameter rows: one per name, and never fewer than the values the text held,
    // so that nothing the user wrote is dropped.
    size_t RowCount() const;
};
TPromptRows PreparePrompt(std::string_view dir, std::string_view text);

// The longest value a row takes: its length item as a number, else DefaultValueLength.
int ValueLength(std::string_view lengthItem);

// "CODE(v1, v2, ...)" with every value trimmed and the trailing commas and blanks removed, so
// that empty values keep their place only between given ones.
std::string BuildPromptResult(std::string_view code, const StringList& values);
// The statement the rows give back with Values: BuildPromptResult, or for a raw line its one
// value as it stands.
std::string PromptResult(const TPromptRows& rows, const StringList& values);

} // namespace tessary
