#pragma once

// Characters that end a word for the definition search: the indicator and name characters
// of RPG (letters, digits, # $ % & @ _ and the national characters below 0xA8) are not
// delimiters, with the exception of capital N, which negates an indicator (N01).
constexpr bool IsWordDelimiter(unsigned char c) {
    if (c <= 0x22)
        return true;
    if (c <= 0x26)
        return false;
    if (c <= 0x2F)
        return true;
    if (c <= 0x39)
        return false;
    if (c <= 0x3F)
        return true;
    if (c <= 0x5B)
        return c == 'N';
    if (c <= 0x5E)
        return true;
    if (c <= 0x7A)
        return false;
    if (c <= 0x7F)
        return true;
    return c >= 0xA8;
}
