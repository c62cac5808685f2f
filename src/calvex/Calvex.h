#pragma once

// The Calvex library: converts fixed-column RPG III source into the statement language of the
// program's sections and compiles the sections back into fixed-column RPG III. The program
// creates, owns and frees every list and section it passes; the library only reads, appends
// to and empties them.

#include "document/EditSection.h"
#include "document/TreeNode.h"
#include "platform/Export.h"
#include "platform/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Statistics of one compiled section, written into a 64-byte buffer the caller provides.
struct TCompileResult {
    std::uint8_t NameLength; // at most 50
    char Name[50];           // first 50 characters of the section name
    std::uint8_t Unused;
    std::int32_t Lines; // text lines of the section
    std::int32_t Warnings;
    std::int32_t Errors;
};
static_assert(sizeof(TCompileResult) == 64);
static_assert(offsetof(TCompileResult, Name) == 1);
static_assert(offsetof(TCompileResult, Lines) == 52);
static_assert(offsetof(TCompileResult, Warnings) == 56);
static_assert(offsetof(TCompileResult, Errors) == 60);

// What the compile writes, 13 bytes passed by value. Flags are 0 or 1.
struct TCompileOptions {
    std::uint8_t PrgProp; // read by the program only
    std::uint8_t PrgDesc; // read by the program only
    std::uint8_t PrgHist; // read by the program only
    std::uint8_t PreComp; // read by the program only
    std::uint8_t SDesc;   // section description banner line
    std::uint8_t CDate;   // creation banner line
    std::uint8_t UDate;   // last-update banner line
    std::uint8_t LComm;   // banner frame lines, and comment lines compiled
    std::uint8_t CComm;   // trailing comments of statements kept
    std::uint8_t BLines;  // empty lines turned into comment lines
    std::uint8_t PrefixLength;
    char Prefix[2]; // marks banner lines in columns 75-76
};
static_assert(sizeof(TCompileOptions) == 13);
static_assert(offsetof(TCompileOptions, SDesc) == 4);
static_assert(offsetof(TCompileOptions, PrefixLength) == 10);
static_assert(offsetof(TCompileOptions, Prefix) == 11);

extern "C" {

// 1
ORVALE_EXPORT void GetRPG3DllVersion(std::string& version);
// 2 .. 11: each returns the index of the first source line it did not take. A walk takes the
// lines of its form type or with a blank column 6, comments whose column 6 holds no form type,
// lines that are no specification and specifications of an earlier form (kept as written), and
// comments or directives of another form type that stand before lines of its own (see
// calvex/MemberLines.h, WalkFilter). A line beginning "**" starts the compile-time data and ends
// every walk, so a caller's pass loop must end there too (and whenever a pass took nothing).
ORVALE_EXPORT int ConvertRPG3Header(const StringList& source, int start, TEDITSection& header,
                                    TEDITSection& property, TEDITSection& history,
                                    TEDITSection& description, TEDITSection& preCompiler,
                                    const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3Files(const StringList& source, int start, TEDITSection& printer,
                                   TEDITSection& workstation, TEDITSection& special,
                                   TEDITSection& disk, const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3Exten(const StringList& source, StringList& tableNames, int start,
                                   TEDITSection& extension, const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3LCount(const StringList& source, int start, TEDITSection& lineCount,
                                    const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3Input(const StringList& source, int start, TEDITSection& input,
                                   const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3Calcs(const StringList& source, StringList& subroutineNames, int start,
                                   int indentWidth, TEDITSection& mainRoutine,
                                   const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3SubR(const StringList& source, int start, int indentWidth,
                                  TEDITSection& subroutine, const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3GetOutList(const StringList& source, StringList& fileNames, int start);
ORVALE_EXPORT int ConvertRPG3Output(const StringList& source, int start, TEDITSection& output,
                                    const std::string& prefix);
ORVALE_EXPORT int ConvertRPG3Array(const StringList& source, int start, TEDITSection& array,
                                   const std::string& prefix);
// 12 .. 15
ORVALE_EXPORT void CompileRPG3GetPreComp(const TEDITSection& preCompiler, StringList& definitions,
                                         const std::string& unused);
ORVALE_EXPORT void CompileRPG3Source(TCompileResult* result, const TreeNode* arraysNode,
                                     TEDITSection& section, const StringList& definitions,
                                     char formType, TCompileOptions options, bool batch);
ORVALE_EXPORT void CompileRPG3Spec(TCompileResult* result, TEDITSection& section,
                                   const std::string& prefix, bool unused);
ORVALE_EXPORT void CompileRPG3Array(TCompileResult* result, const TEDITSection& extension,
                                    TEDITSection& array, const std::string& prefix, bool unused);
}
