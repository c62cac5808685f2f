// INI profile parsing: any text read as a profile, every section and key of it looked up, and
// one key written. A write that is accepted must read back (its value without surrounding
// blanks), survive a save and reload of the text, and leave every other key as it was.
//
// Input: the profile text; then, after a "%%" line, the section, the key and the value of the
// write, one a line.

#include "support/FuzzInput.h"

#include "platform/ProfileFile.h"
#include "platform/TextFile.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>

using orvale::ProfileFile;

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Section names as headers spell them (the text between "[" and the first "]").
StringList SectionNames(const StringList& lines) {
    StringList names;
    for (const std::string& line : lines) {
        std::string_view t = TrimBlanks(line);
        size_t close = t.find(']');
        if (!t.empty() && t.front() == '[' && close != std::string_view::npos)
            names.emplace_back(t.substr(1, close - 1));
    }
    return names;
}

// Names match as the profile matches them: blanks around ignored, ASCII letters in any case.
bool SameName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

using Snapshot = std::map<std::pair<std::string, std::string>, std::string>;

// What every key of every section reads as.
Snapshot Read(const ProfileFile& profile, const StringList& sections) {
    Snapshot values;
    for (const std::string& section : sections) {
        for (const std::string& key : profile.ReadSectionKeys(section)) {
            values[{section, key}] = profile.ReadString(section, key, "\x01missing");
            profile.ReadInteger(section, key, -1);
            FUZZ_CHECK(profile.HasKey(section, key));
        }
        profile.ReadSectionLines(section);
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::FuzzInput in(data, size);
    std::string_view text = in.Part();
    StringList write = orvale::SplitTextLines(in.Rest());
    write.resize(3);

    ProfileFile profile;
    profile.SetText(text);
    StringList sections = SectionNames(orvale::SplitTextLines(text));
    Snapshot before = Read(profile, sections);

    if (!profile.WriteString(write[0], write[1], write[2]))
        return 0;
    std::string expected(TrimBlanks(write[2]));
    FUZZ_CHECK(profile.ReadString(write[0], write[1]) == expected);

    ProfileFile reloaded;
    reloaded.SetText(profile.Text());
    FUZZ_CHECK(reloaded.ReadString(write[0], write[1]) == expected);
    Snapshot after = Read(reloaded, sections);
    for (const auto& [where, value] : before) {
        if (SameName(where.first, write[0]) && SameName(where.second, write[1]))
            continue;
        auto found = after.find(where);
        FUZZ_CHECK(found != after.end() && found->second == value);
    }
    return 0;
}
