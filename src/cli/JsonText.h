#pragma once

// JSON text for the command-line tool's --json output: one object a line. Texts are the bytes
// of members and file names: valid UTF-8 stays as it is, any other byte is read as ISO-8859-1
// (the members' code page), so that every line is valid JSON.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::cli {

// Text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

class JsonObject {
public:
    void Add(std::string_view key, std::string_view value);
    void Add(std::string_view key, const char* value) { Add(key, std::string_view(value)); }
    void Add(std::string_view key, const std::string& value) { Add(key, std::string_view(value)); }
    void Add(std::string_view key, size_t value);
    void Add(std::string_view key, bool value);
    // A value that is JSON already (an object or an array).
    void AddRaw(std::string_view key, std::string_view json);
    std::string Text() const { return Body + "}"; }

private:
    void Key(std::string_view key);
    std::string Body = "{";
};

// Items that are JSON already, as an array.
std::string JsonArray(const std::vector<std::string>& items);

} // namespace orvale::cli
