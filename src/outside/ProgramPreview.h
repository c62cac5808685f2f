#pragma once

// What the program browser knows of program files without a window: which files of a folder
// are programs, and the Description section of one, read straight from its file text.

#include "platform/StringList.h"

#include <string>

namespace verrow {

// The program files (extension ".RPG" in any case) of Folder, sorted by name; full paths.
StringList ListProgramFiles(const std::string& folder);

struct TProgramDescription {
    std::string Caption; // the section's own description line
    StringList Lines;
};

// Finds the Description section in the text of a program file. False with Error when the text
// is not a tree program, is damaged before the section, or has none.
bool ParseProgramDescription(const StringList& fileLines, TProgramDescription& description,
                             std::string* error = nullptr);
bool ReadProgramDescription(const std::string& path, TProgramDescription& description,
                            std::string* error = nullptr);

} // namespace verrow
