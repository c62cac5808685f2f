#pragma once

// Every use of an indicator or of a field name in the program, with what the statement does
// with it. The statement forms tell the roles: the flags part of a calculation conditions the
// line or names its control level, the resulting-indicator positions of an operation are set
// by it, an input record or field names its identifying, control-level and field indicators,
// and so on. Comment lines, trailing comments and quoted literals hold no uses.

#include <string>
#include <string_view>
#include <vector>

// Where the quoted literal that opens at Open of a statement line ends (the offset past its
// closing quote, or the line's end): the cross-reference and the source colouring skip
// literals alike.
inline size_t LiteralEnd(std::string_view line, size_t open) {
    const char quote = line[open];
    for (size_t i = open + 1; i < line.size(); ++i) {
        if (quote == '"' && line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            continue;
        }
        if (line[i] == quote)
            return i + 1;
    }
    return line.size();
}

class TRPGProgram;
class TreeNode;

enum class UseRole {
    // Indicators
    Conditions,   // in the flags part of a calculation, or an output condition
    ControlLevel, // control level of a calculation or of an input field
    SetOn,        // SETON
    SetOff,       // SETOF
    ResultHigh,   // resulting indicator positions of an operation
    ResultLow,
    ResultEqual,
    RecordIdentifying,   // input record line
    FieldIndicator,      // input field line: plus, minus, zero or blank
    FieldRecordRelation, // input field line
    Overflow,            // file line of a printer file
    FileCondition,       // file line: the external indicator that opens the file
    OutputCondition,     // output record, line or field
    InFactor,            // *INxx in factor 1 or 2
    InResult,            // *INxx as the result field: the operation sets it
    // Field names
    Defined,   // input field, constant, data structure, array, or a result with a length
    Set,       // the result field of an operation
    Read,      // factor 1 or 2
    Written,   // an output field
    Mentioned, // any other parameter of a statement
};

// The role as the cross-reference lists it ("set on", "resulting indicator hi", ...).
const char* RoleText(UseRole role);

// One use inside one line: the 0-based column of its first character.
struct LineUse {
    int Column = 0;
    UseRole Role = UseRole::Mentioned;
    bool operator==(const LineUse&) const = default;
};

// The form type of the statements of a section: H, F, E, L, I, C, O, or 0 for the sections
// that hold no statements (program-level texts, array data).
char SectionFormType(const TRPGProgram& doc, const TreeNode* node);

// The uses of Flag (an indicator such as "05", "LR", "KA", "OF") in one statement line of a
// section of form type FormType, in column order.
std::vector<LineUse> IndicatorUsesInLine(std::string_view line, std::string_view flag,
                                         char formType);
// The uses of the field or name Name (compared ignoring case) in one statement line.
std::vector<LineUse> FieldUsesInLine(std::string_view line, std::string_view name, char formType);

// One use in the program.
struct TXrefUse {
    TreeNode* Node = nullptr; // the section's node
    int Line = 0;             // 0-based line of the section
    int Column = 0;           // 0-based column in that line
    UseRole Role = UseRole::Mentioned;
};

// Every use of the indicator / field, in tree order, line and column order within a section.
std::vector<TXrefUse> IndicatorUses(const TRPGProgram& doc, std::string_view flag);
std::vector<TXrefUse> FieldUses(const TRPGProgram& doc, std::string_view name);

// The stretch of Line that holds code: up to a "/*" that stands outside a quoted literal, and
// nothing for a comment line (a "/*" line, or a raw RPG line with "*" in column 7).
size_t CodeLength(std::string_view line);
// Whether the Length characters at Pos of Line are code: within CodeLength and in no quoted
// literal.
bool IsCodeText(std::string_view line, size_t pos, size_t length);
