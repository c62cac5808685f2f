#pragma once

// What the library's tests share: members made of fixed-column lines, a library folder of
// members in a temporary folder, and the uses a reader found, as comparable text.

#include "library/MemberFacts.h"

#include "calvex/support/SpecLine.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvale::library::test {

using calvex::test::SpecLine;

// Lines joined with CR LF, as host exports end them.
inline std::string Member(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

// "line role kind NAME [OP]" for each use, e.g. "12 reads file CUSTF CHAIN".
inline std::vector<std::string> UseTexts(const TMemberFacts& facts) {
    std::vector<std::string> out;
    for (const TUse& u : facts.Uses) {
        std::string s = std::to_string(u.Line) + " " + RoleText(u.Role) + " " +
                        NameKindText(u.Kind) + " " + u.Name;
        if (u.Op)
            s += " " + std::string(OperationText(u.Op));
        if (u.Via != CallVia::Name)
            s += std::string(" via ") + CallViaText(u.Via);
        out.push_back(s);
    }
    return out;
}

// A library folder in a temporary folder, and its own cache folder for the index.
class TestLibrary {
public:
    TestLibrary() { std::filesystem::create_directories(Root()); }
    std::string Root() const { return Dir.File("lib"); }
    std::string Cache() const { return Dir.File("cache"); }
    std::string Path(const std::string& relative) const { return Root() + "/" + relative; }
    void Write(const std::string& relative, const std::string& text) const {
        std::filesystem::path p = Path(relative);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }
    void Remove(const std::string& relative) const { std::filesystem::remove(Path(relative)); }

private:
    orvale::test::TempDir Dir;
};

} // namespace orvale::library::test
