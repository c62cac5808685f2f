#include "JsonText.h"

#include <cstdio>

namespace orvale::cli {

namespace {

// The length of the UTF-8 sequence that starts at I, or 0 when none does.
size_t Utf8Length(std::string_view s, size_t i) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (c >= 0xF5 || n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    auto c1 = static_cast<unsigned char>(s[i + 1]);
    // Overlong forms and surrogates are no UTF-8.
    if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0) || (c == 0xF0 && c1 < 0x90) ||
        (c == 0xF4 && c1 >= 0x90))
        return 0;
    return n;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (size_t n = Utf8Length(text, i)) {
            out.append(text.substr(i, n));
            i += n - 1;
        } else {
            // ISO-8859-1: the byte is the code point.
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += '"';
    return out;
}

void JsonObject::Key(std::string_view key) {
    if (Body.size() > 1)
        Body += ',';
    Body += JsonString(key);
    Body += ':';
}

void JsonObject::Add(std::string_view key, std::string_view value) {
    Key(key);
    Body += JsonString(value);
}

void JsonObject::Add(std::string_view key, size_t value) {
    Key(key);
    Body += std::to_string(value);
}

void JsonObject::Add(std::string_view key, bool value) {
    Key(key);
    Body += value ? "true" : "false";
}

void JsonObject::AddRaw(std::string_view key, std::string_view json) {
    Key(key);
    Body.append(json);
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        out += items[i];
    }
    return out + "]";
}

} // namespace orvale::cli
