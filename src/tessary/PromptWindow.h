#pragma once

// Runs the modal prompt window for Text and returns its result: the rewritten statement, or
// "CANCEL". Built with the window when the program has a user interface, and without it
// (always "CANCEL") otherwise.

#include "PromptHelp.h"
#include "platform/CodePage.h"

#include <string>

namespace tessary {

// CodePage: that of Text, in which the result comes back.
std::string RunPromptWindow(const std::string& dir, const std::string& text,
                            const orvale::CodePage& codePage);
// The same for rows made by the caller (a statement of any section).
std::string RunPromptWindow(const std::string& dir, const std::string& text,
                            const TPromptRows& rows, const orvale::CodePage& codePage);

} // namespace tessary
