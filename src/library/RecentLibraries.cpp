#include "library/RecentLibraries.h"

#include "platform/TextFile.h"

#include <algorithm>
#include <filesystem>

namespace orvale::library {

std::vector<std::string> ReadRecentLibraries(const std::string& file) {
    StringList lines;
    if (!orvale::FileExists(file) || !orvale::ReadTextFile(file, lines))
        return {};
    std::vector<std::string> folders;
    for (const std::string& line : lines)
        if (!line.empty() && std::find(folders.begin(), folders.end(), line) == folders.end() &&
            folders.size() < kRecentLibraries)
            folders.push_back(line);
    return folders;
}

bool AddRecentLibrary(const std::string& file, const std::string& folder) {
    std::vector<std::string> folders = ReadRecentLibraries(file);
    std::erase(folders, folder);
    folders.insert(folders.begin(), folder);
    if (folders.size() > kRecentLibraries)
        folders.resize(kRecentLibraries);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    return orvale::WriteTextFile(file, StringList(folders.begin(), folders.end()));
}

std::string RecentLibrariesFile(const std::string& dataRoot) {
    return dataRoot + "/recent";
}

} // namespace orvale::library
