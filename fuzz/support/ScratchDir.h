#pragma once

// Readers that take a path get their fuzz input through files in one directory per process,
// made on first use and removed when the process ends normally.

#include <string>
#include <string_view>

namespace orvale::fuzz {

// Path of Name inside the scratch directory.
std::string ScratchFile(std::string_view name);

// Writes Bytes to the scratch file Name and returns its path; aborts when the file cannot be
// written, since every later result would be meaningless.
std::string WriteScratchFile(std::string_view name, std::string_view bytes);

} // namespace orvale::fuzz
