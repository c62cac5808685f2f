#include "Tessary.h"

#include "PromptHelp.h"
#include "PromptWindow.h"

extern "C" {

void GetTessaryDllVersion(std::string& version) {
    version = "1.00 - 26/08/1997";
}

void DoPromptHelp(const std::string& dir, const std::string& text, std::string& result) {
    // Nothing may escape into the caller; a window that cannot run changes nothing.
    try {
        result = tessary::RunPromptWindow(dir, text);
    } catch (...) {
        result = tessary::CancelResult;
    }
}

void GetOpCodeFormat(const std::string& dir, const std::string& code, std::string& format) {
    format = tessary::OpCodeFormat(dir, code);
}

void GetOpCodeSymple(const std::string& dir, const std::string& code, std::string& symple) {
    symple = tessary::OpCodeSymple(dir, code);
}
}
