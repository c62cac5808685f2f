#pragma once

#include "StringList.h"

#include <string>
#include <string_view>

namespace orvale {

// An INI file of "[Section]" headers and "key=value" lines, read and written with the
// semantics the program's settings files rely on: sections and keys match ignoring case and
// the first match wins; surrounding blanks and tabs of names and values are ignored; lines
// starting with ";" are comments. Keys and values are byte strings (the user file keeps
// enciphered text in them), so nothing else is interpreted or stripped.
//
// The file is read once by Load; writes change the text in memory (keeping every other line
// as it was) and Save writes it back safely.
class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string path);

    // Reads the file. A missing file is an empty profile and not an error; any other read
    // failure returns false with Error set.
    bool Load(std::string* error = nullptr);
    // Writes the text back (temporary file and rename). Mode applies to a new file.
    bool Save(std::string* error = nullptr, unsigned mode = 0666) const;

    // Parses text instead of a file.
    void SetText(std::string_view text);
    std::string Text() const;

    const std::string& Path() const { return Path_; }

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x"; a value that is not a number reads as 0 and a
    // missing key gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // An integer; any value other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // The section's keys in file order.
    StringList ReadSectionKeys(std::string_view section) const;
    // The section's "key=value" lines as they stand (comments and blank lines left out).
    StringList ReadSectionLines(std::string_view section) const;

    // Replaces the first line of the key in place, or appends it at the end of its section,
    // creating the section at the end of the file. A section, key or value holding CR, LF or a
    // zero byte, a key holding "=" or starting with "[" or ";", and an empty key are refused
    // (false), since they could not be read back.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of the key from the section; false when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    static int ParseInteger(std::string_view text);

private:
    // Index of the section's header line, or -1.
    int FindSection(std::string_view section) const;
    // Index of the key's line within the section that starts at Header, or -1.
    int FindKey(int header, std::string_view key) const;
    // Index just past the last key line of the section that starts at Header.
    int SectionEnd(int header) const;

    std::string Path_;
    StringList Lines;
};

} // namespace orvale
