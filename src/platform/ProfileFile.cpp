#include "ProfileFile.h"

#include "SafeSave.h"
#include "TextFile.h"
#include "TextRules.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace orvale {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// The name of a "[name]" header line, or false when the line is not a header.
bool HeaderName(std::string_view line, std::string_view& name) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return false;
    size_t close = t.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool IsComment(std::string_view line) {
    std::string_view t = Trim(line);
    return t.empty() || t.front() == ';';
}

std::string_view KeyOf(std::string_view line) {
    size_t eq = line.find('=');
    return Trim(eq == std::string_view::npos ? line : line.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
    size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

ProfileFile::ProfileFile(std::string path) : Path_(std::move(path)) {}

bool ProfileFile::Load(std::string* error) {
    Lines.clear();
    struct stat st {};
    // A missing file reads as an empty profile.
    if (::stat(Path_.c_str(), &st) != 0 && errno == ENOENT)
        return true;
    std::string bytes;
    if (!ReadFileBytes(Path_, bytes, error))
        return false;
    SplitTextLines(bytes, Lines);
    return true;
}

bool ProfileFile::Save(std::string* error, unsigned mode) const {
    return WriteFileSafely(Path_, Text(), {}, error, mode);
}

void ProfileFile::SetText(std::string_view text) {
    SplitTextLines(text, Lines);
}

std::string ProfileFile::Text() const {
    return JoinTextLines(Lines);
}

int ProfileFile::FindSection(std::string_view section) const {
    std::string_view name;
    section = Trim(section);
    for (size_t i = 0; i < Lines.size(); ++i)
        if (HeaderName(Lines[i], name) && SameText(name, section))
            return static_cast<int>(i);
    return -1;
}

int ProfileFile::FindKey(int header, std::string_view key) const {
    std::string_view name;
    key = Trim(key);
    for (size_t i = static_cast<size_t>(header) + 1; i < Lines.size(); ++i) {
        if (HeaderName(Lines[i], name))
            break;
        if (!IsComment(Lines[i]) && SameText(KeyOf(Lines[i]), key))
            return static_cast<int>(i);
    }
    return -1;
}

int ProfileFile::SectionEnd(int header) const {
    std::string_view name;
    int end = header + 1;
    for (size_t i = static_cast<size_t>(header) + 1; i < Lines.size(); ++i) {
        if (HeaderName(Lines[i], name))
            break;
        if (!IsComment(Lines[i]))
            end = static_cast<int>(i) + 1;
    }
    return end;
}

bool ProfileFile::HasSection(std::string_view section) const {
    return FindSection(section) >= 0;
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
    int header = FindSection(section);
    return header >= 0 && FindKey(header, key) >= 0;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    int header = FindSection(section);
    int line = header < 0 ? -1 : FindKey(header, key);
    if (line < 0)
        return std::string(defaultValue);
    return std::string(ValueOf(Lines[static_cast<size_t>(line)]));
}

int ProfileFile::ParseInteger(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (size_t i = 2; i < text.size(); ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0)
                break;
            value = (value * 16 + digit) & 0xFFFFFFFFLL;
        }
        // Hexadecimal text names the bits of a 32-bit value (colours such as 0xFFFFFFFF).
        return static_cast<int>(static_cast<unsigned>(negative ? -value : value));
    }
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFFLL)
            value = 0x7FFFFFFFLL + (negative ? 1 : 0);
    }
    return static_cast<int>(negative ? -value : value);
}

int ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
    int header = FindSection(section);
    int line = header < 0 ? -1 : FindKey(header, key);
    if (line < 0)
        return defaultValue;
    return ParseInteger(ValueOf(Lines[static_cast<size_t>(line)]));
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

StringList ProfileFile::ReadSectionKeys(std::string_view section) const {
    StringList keys;
    int header = FindSection(section);
    if (header < 0)
        return keys;
    std::string_view name;
    for (size_t i = static_cast<size_t>(header) + 1; i < Lines.size(); ++i) {
        if (HeaderName(Lines[i], name))
            break;
        if (!IsComment(Lines[i]))
            keys.emplace_back(KeyOf(Lines[i]));
    }
    return keys;
}

StringList ProfileFile::ReadSectionLines(std::string_view section) const {
    StringList lines;
    int header = FindSection(section);
    if (header < 0)
        return lines;
    std::string_view name;
    for (size_t i = static_cast<size_t>(header) + 1; i < Lines.size(); ++i) {
        if (HeaderName(Lines[i], name))
            break;
        if (!IsComment(Lines[i]))
            lines.emplace_back(Trim(Lines[i]));
    }
    return lines;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    std::string_view k = Trim(key);
    std::string_view s = Trim(section);
    if (k.empty() || s.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || k.find('=') != std::string_view::npos || k.front() == '[' ||
        k.front() == ';' || s.find(']') != std::string_view::npos)
        return false;
    std::string line(k);
    line += '=';
    line += value;
    int header = FindSection(s);
    if (header < 0) {
        if (!Lines.empty() && !Trim(Lines.back()).empty())
            Lines.emplace_back();
        Lines.push_back("[" + std::string(s) + "]");
        Lines.push_back(std::move(line));
        return true;
    }
    int existing = FindKey(header, k);
    if (existing >= 0) {
        Lines[static_cast<size_t>(existing)] = std::move(line);
        return true;
    }
    Lines.insert(Lines.begin() + SectionEnd(header), std::move(line));
    return true;
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    int header = FindSection(Trim(section));
    if (header < 0)
        return false;
    bool deleted = false;
    for (int line = FindKey(header, key); line >= 0; line = FindKey(header, key)) {
        Lines.erase(Lines.begin() + line);
        deleted = true;
    }
    return deleted;
}

bool ProfileFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

} // namespace orvale
