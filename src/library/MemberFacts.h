#pragma once

// What the index keeps of one member: its kind, the type it was classified as, its text and
// every name it defines or uses, each with its line and what the line does with it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

enum class MemberKind : std::uint8_t { RpgIII, RpgIV, Dds, Cl, Other };

// "RPG III", "RPG IV", "DDS", "CL", "other".
const char* MemberKindText(MemberKind kind);

// What a name stands for.
enum class NameKind : std::uint8_t {
    File,
    Format, // record format
    Field,
    Subroutine,
    Program,
    DataArea,
    Copy, // copy member
    KList,
    PList,
};
inline constexpr int kNameKinds = 9;

// "file", "format", "field", "subroutine", "program", "dataarea", "copy", "klist", "plist".
const char* NameKindText(NameKind kind);
// The kind a text names (as NameKindText gives it, ignoring case); false when none.
bool ParseNameKind(std::string_view text, NameKind& kind);

// What a line does with a name.
enum class NameRole : std::uint8_t {
    Declares, // the file line of a program
    Defines,
    Calls,
    Copies,
    Reads,
    Changes,
    Updates,
    Writes,
    Deletes,
    Uses, // any other use (open, close, based on, a key, a parameter list ...)
};
inline constexpr int kRoles = 10;

// "declares", "defines", "calls", "copies", "reads", "changes", "updates", "writes",
// "deletes", "uses".
const char* RoleText(NameRole role);

// How a call names its program.
enum class CallVia : std::uint8_t {
    Name,     // a literal, a command's parameter or a prototype
    Constant, // a named constant whose value is the program's name (the name used)
    Variable, // a field or variable: the program is known at run time only (its name used)
};
const char* CallViaText(CallVia via); // "", "named constant", "field"

// Operation codes and keywords a use can name, kept as a small number in the index.
// 0 is none; unknown operations are kept as none.
std::uint8_t OperationCode(std::string_view op);
std::string_view OperationText(std::uint8_t code);

struct TUse {
    std::string Name; // upper case
    int Line = 0;     // from 1
    NameKind Kind = NameKind::Field;
    NameRole Role = NameRole::Uses;
    std::uint8_t Op = 0;
    CallVia Via = CallVia::Name;
};

// A field of a record format in a data description.
struct TDdsField {
    std::string Format;
    std::string Name;
    int Line = 0;
    int Length = 0;    // 0 when not given (taken from the referenced field)
    int Decimals = -1; // -1 when not given
    char Type = ' ';   // data type column as written, blank when not given
    char Usage = ' ';
    bool Referenced = false; // R in the reference column
    std::string RefFile;     // REFFLD's file, else the file level REF's
    std::string RefField;    // REFFLD's field, else the field's own name
};

struct TDdsFormat {
    std::string Name;
    int Line = 0;
    std::string BasedOn; // PFILE / FORMAT file whose fields it takes
};

// A /COPY directive as written: [LIB/][FILE,]MEMBER.
struct TCopyDirective {
    int Line = 0;
    std::string Library;
    std::string File;
    std::string Member;
};

// A record format a program names for one of its files (a RENAME's new name, an SFILE's
// subfile), with the file's own name of the format a RENAME replaces.
struct TFormatOfFile {
    std::string File;
    std::string Format;
    std::string External; // RENAME only
};

struct TMemberFacts {
    MemberKind Kind = MemberKind::Other;
    // The member type as the content shows it (for members whose name carries no type).
    std::string ContentType;
    std::string Text;
    int Lines = 0;
    std::vector<TUse> Uses;
    std::vector<TCopyDirective> Copies;
    std::vector<TFormatOfFile> FormatsOfFiles;
    // Data descriptions only.
    std::vector<TDdsFormat> Formats;
    std::vector<TDdsField> Fields;
};

// Names are compared in upper case; the letters of ISO-8859-1 above 0x7F are left alone.
std::string UpperName(std::string_view name);

} // namespace orvale::library
