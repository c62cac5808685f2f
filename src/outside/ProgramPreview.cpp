#include "outside/ProgramPreview.h"

#include "document/EditSection.h"
#include "document/ParseString.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <filesystem>

namespace verrow {

namespace {

constexpr const char* BeginMarker = "[Begin Of Tree Program]";
constexpr const char* EndMarker = "[End Of Program]";
constexpr const char* FolderName = "SectionFolder";
// A folder block is six lines; a section block has six lines before its text.
constexpr size_t BlockHead = 6;

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
    if (lines.empty() || lines[0] != BeginMarker)
        return Fail(error, "Not a tree program.");
    size_t i = 1;
    while (i + 1 < lines.size() && lines[i] != EndMarker) {
        if (BracketNumber(lines[i]) < 0)
            return Fail(error, "The program file is damaged.");
        std::string name = BracketValue(lines[i + 1]);
        if (name == FolderName) {
            i += BlockHead;
            continue;
        }
        // The text runs to the end marker; the count line is not trusted to find it.
        size_t text = i + BlockHead;
        size_t end = text;
        while (end < lines.size() && lines[end] != kEndOfSection)
            ++end;
        if (SameText(name, "Description")) {
            if (i + 2 < lines.size())
                description.Caption = BracketValue(lines[i + 2]);
            if (text < end)
                description.Lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(text),
                                         lines.begin() + static_cast<std::ptrdiff_t>(end));
            return true;
        }
        i = end + 2;
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
