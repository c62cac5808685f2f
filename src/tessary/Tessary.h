#pragma once

// The Tessary library: prompt help for operation codes, from the parameter file "PromptH.PRM"
// of the program directory. Every function takes the program directory first (with or without
// its trailing separator) and writes its result into the last argument.

#include "platform/CodePage.h"
#include "platform/Export.h"

#include <string>

extern "C" {

// 1: "1.00 - 26/08/1997".
ORVALE_EXPORT void GetTessaryDllVersion(std::string& version);

// 2: Shows the prompt window for the statement text at the editor's cursor (the operation code,
// and its parameters after "(" up to but not including the closing ")"). Result: the rewritten
// statement "CODE(v1, v2, ...)" when the user confirms, otherwise "CANCEL" (Cancel, Escape, the
// close box, or no window system in the process); on "CANCEL" the editor leaves its text alone.
// CodePage is that of the text and of the result.
ORVALE_EXPORT void DoPromptHelp(const std::string& dir, const std::string& text,
                                std::string& result, const orvale::CodePage& codePage);

// 3: The one-line template of an operation, such as "ADD(Factor 1, Factor 2, Result)".
ORVALE_EXPORT void GetOpCodeFormat(const std::string& dir, const std::string& code,
                                   std::string& format);

// 4: The code the template is headed by (IFEQ gives IFxx), used to name the help topic.
ORVALE_EXPORT void GetOpCodeSymple(const std::string& dir, const std::string& code,
                                   std::string& symple);

// 5: DoPromptHelp for any statement of a section of form type FormType ('F', 'E', 'L', 'I',
// 'O' for the specification statements, 'C' for operation codes): the statements of the
// specification sections are prompted with their parameters' names, lengths and notes, a raw
// RPG(...) line as one value, and an unknown name or operation code says so in the window.
// CodePage is that of the text and of the result.
ORVALE_EXPORT void DoStatementPromptHelp(const std::string& dir, char formType,
                                         const std::string& text, std::string& result,
                                         const orvale::CodePage& codePage);

// 6: The template of a statement of a section of FormType, "FILE(File Name, Device, ...)";
// empty when the section has no such statement.
ORVALE_EXPORT void GetStatementFormat(const std::string& dir, char formType,
                                      const std::string& name, std::string& format);
}
