#include "Tessary.h"

#include "PromptHelp.h"
#include "PromptWindow.h"
#include "StatementPrompt.h"

#include <new>

extern "C" {

void GetTessaryDllVersion(std::string& version) {
    version = "1.00 - 26/08/1997";
}

void DoPromptHelp(const std::string& dir, const std::string& text, std::string& result,
                  const orvale::CodePage& codePage) {
    // Nothing may escape into the caller; a window that cannot run changes nothing.
    try {
        result = tessary::RunPromptWindow(dir, text, codePage);
    } catch (...) {
        result = tessary::CancelResult;
    }
}

// Should reading the parameter file run out of memory, the code stands for itself.
void GetOpCodeFormat(const std::string& dir, const std::string& code, std::string& format) {
    try {
        format = tessary::OpCodeFormat(dir, code);
    } catch (const std::bad_alloc&) {
        format = code;
    }
}

void GetOpCodeSymple(const std::string& dir, const std::string& code, std::string& symple) {
    try {
        symple = tessary::OpCodeSymple(dir, code);
    } catch (const std::bad_alloc&) {
        symple = code;
    }
}

void DoStatementPromptHelp(const std::string& dir, char formType, const std::string& text,
                           std::string& result, const orvale::CodePage& codePage) {
    try {
        result = tessary::RunPromptWindow(
            dir, text, tessary::PrepareStatementPrompt(dir, formType, text), codePage);
    } catch (...) {
        result = tessary::CancelResult;
    }
}

void GetStatementFormat(const std::string& dir, char formType, const std::string& name,
                        std::string& format) {
    try {
        format = tessary::StatementFormat(dir, formType, name);
    } catch (const std::bad_alloc&) {
        format.clear();
    }
}
}
