#include "outside/ProgramPreview.h"

#include "document/ParseString.h"
#include "document/ProgramFile.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <filesystem>

namespace verrow {

namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

StringList ListProgramFiles(const std::string& folder) {
    StringList paths;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string path = it->path().string();
        if (it->is_regular_file(ec) && SameText(orvale::ExtractFileExt(path), ".RPG"))
            paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool ParseProgramDescription(const StringList& lines, TProgramDescription& description,
                             std::string* error) {
    description = {};
    StoredSection stored;
    switch (FindStoredSection(lines, "Description", stored)) {
    case FindResult::Found:
        description.Caption = std::move(stored.Description);
        description.Lines = std::move(stored.Lines);
        return true;
    case FindResult::NotAProgram:
        return Fail(error, "Not a tree program.");
    case FindResult::Damaged:
        return Fail(error, "The program file is damaged.");
    case FindResult::Missing:
        break;
    }
    return Fail(error, "The program has no Description section.");
}

bool ReadProgramDescription(const std::string& path, TProgramDescription& description,
                            std::string* error) {
    StringList lines;
    if (!orvale::ReadTextFile(path, lines, error)) {
        description = {};
        return false;
    }
    return ParseProgramDescription(lines, description, error);
}

} // namespace verrow
