// The library without a user interface: there is no window to prompt in, so the editor's text
// stays as it is.

#include "PromptHelp.h"
#include "PromptWindow.h"

namespace tessary {

std::string RunPromptWindow(const std::string&, const std::string&, const orvale::CodePage&) {
    return CancelResult;
}

std::string RunPromptWindow(const std::string&, const std::string&, const TPromptRows&,
                            const orvale::CodePage&) {
    return CancelResult;
}

} // namespace tessary
