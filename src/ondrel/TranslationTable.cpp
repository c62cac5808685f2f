#include "TranslationTable.h"

#include "platform/ProfileFile.h"

namespace ondrel {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The byte written as exactly two hexadecimal digits, or -1.
int HexByte(const std::string& text) {
    if (text.size() != 2)
        return -1;
    int high = HexDigit(text[0]);
    int low = HexDigit(text[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

} // namespace

bool LoadTranslationTable(const std::string& path, unsigned char blank, TranslationTable& table,
                          std::string& error) {
    table.fill(blank);
    orvale::ProfileFile profile(path);
    if (!profile.Load(&error))
        return false;
    for (const std::string& key : profile.ReadSectionKeys(XlateSection)) {
        std::string value = profile.ReadString(XlateSection, key);
        if (value.empty())
            continue;
        int from = HexByte(key);
        int to = HexByte(value);
        if (from < 0 || to < 0) {
            error = path + ": translation entry \"" + key + "=" + value +
                    "\" is not two hexadecimal digits on each side";
            return false;
        }
        table[static_cast<size_t>(from)] = static_cast<unsigned char>(to);
    }
    return true;
}

} // namespace ondrel
