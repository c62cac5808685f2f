// The library without a user interface: there is no window to prompt in, so the editor's text
// stays as it is.

#include "PromptHelp.h"
#include "PromptWindow.h"

namespace tessary {

std::string RunPromptWindow(const std::string&, const std::string&) {
    return CancelResult;
}

std::string RunPromptWindow(const std::string&, const std::string&, const TPromptRows&) {
    return CancelResult;
}

} // namespace tessary
