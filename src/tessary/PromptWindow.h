#pragma once

// Runs the modal prompt window for Text and returns its result: the rewritten statement, or
// "CANCEL". Built with the window when the program has a user interface, and without it
// (always "CANCEL") otherwise.

#include "PromptHelp.h"

#include <string>

namespace tessary {

std::string RunPromptWindow(const std::string& dir, const std::string& text);
// The same for rows made by the caller (a statement of any section).
std::string RunPromptWindow(const std::string& dir, const std::string& text,
                            const TPromptRows& rows);

} // namespace tessary
