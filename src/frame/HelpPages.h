#pragma once

// The help pages, made from the prompt-help files when the program is built: a first page, the
// user's guide, an overview of the RPG operation codes, one of the program's own statement
// forms, one page per operation-code entry (grouped "xx" entries stay one page), the "Endyy"
// page that every END... code leads to, and an overview and a page per statement of the
// specification sections. The keyword index "Orvale.hlp" lists them all.

#include "platform/StringList.h"
#include "tessary/StatementPrompt.h"

#include <string>
#include <vector>

namespace orvale {
class ProfileFile;
}

// One entry of the parameter file.
struct THelpOpCode {
    std::string Code; // as the file writes it: ADD, IFxx, DEFOPCODE
    std::string Description;
    StringList Names;
    StringList Lengths;
    StringList Notes;
};

// The entries of "ParamName", in file order, with their lengths, notes and description.
std::vector<THelpOpCode> ReadHelpOpCodes(const orvale::ProfileFile& promptFile);

struct THelpPage {
    std::string FileName; // relative to the help folder, "/" separated
    std::string Text;
};

// Every page and the keyword index, for the given entries and statements.
std::vector<THelpPage> BuildHelpPages(const std::vector<THelpOpCode>& opCodes,
                                      const std::vector<tessary::TStatementForm>& statements = {});

// The page of a statement of the specification sections: "statements/FILE.html".
std::string StatementPageName(const std::string& name);

// The start of a page titled Title, with an anchor named Anchor (none when empty) before its
// heading, and the end of a page whose folder is ToRoot ("" or "../") below the help's.
std::string HelpPageStart(const std::string& title, const std::string& anchor = {});
std::string HelpPageEnd(const std::string& toRoot);

// The page of an operation code's entry, relative to the help folder: "opcodes/IFXX.html".
// Characters that are not letters, digits, "-" or "_" are written as "_" and their hex code.
std::string OpCodePageName(const std::string& code);

// Escapes text for a page; bytes above 127 become character references, so the pages are
// plain ASCII whatever reads them.
std::string HtmlText(const std::string& text);

// Reads PromptFile (and StatementFile, the statements' names and notes, when given) and writes
// the pages into OutDir (created when missing). False with Error when a file cannot be read,
// the parameter file holds no entry, or a page cannot be written.
bool WriteHelpPages(const std::string& promptFile, const std::string& outDir,
                    std::string* error = nullptr, const std::string& statementFile = {});
