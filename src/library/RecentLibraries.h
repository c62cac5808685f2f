#pragma once

// The libraries opened last, most recent first, kept in the user's data folder (one folder a
// line), so that File > Open Library offers them again.

#include <string>
#include <vector>

namespace orvale::library {

inline constexpr size_t kRecentLibraries = 8;

// The list in File (missing or unreadable: empty).
std::vector<std::string> ReadRecentLibraries(const std::string& file);
// Puts Folder first (once) and writes the list; false when it cannot be written.
bool AddRecentLibrary(const std::string& file, const std::string& folder);
// The list's file under the data folder: DataRoot/recent.
std::string RecentLibrariesFile(const std::string& dataRoot);

} // namespace orvale::library
