#include "access/Encrypter.h"

namespace {

// The program's key, enciphered under the empty key as the component stores it. Key files
// written with it can only be read by a program holding the same key.
constexpr char ProgramStoredKey[] =
    "\x71\x88\x2D\xDC\xC5\xB9\xA0\xCE\x39\x23\xEB\xEC\x23\xF6\xF8\x6B\x54\x60\x3C\xF4\x89\xDB\xDF"
    "\x97\x77\xF9\xCD\xB1\x3E\x2F\x47\x55\xF3\x4A\xA7\x20\x31\x5C\xF8\xB4\xD7";

constexpr int MaxEncipherTries = 100;

} // namespace

TCryptoNiteText MakeEncrypter() {
    TCryptoNiteText encrypter;
    encrypter.SetStoredKey({ProgramStoredKey, sizeof ProgramStoredKey - 1});
    return encrypter;
}

std::string DecipherText(TCryptoNiteText& encrypter, std::string_view cipherText) {
    encrypter.SetCryptoText(cipherText);
    return encrypter.ClearText();
}

bool IsStorableKeyText(std::string_view text) {
    if (text.empty() || text.front() == ';' || text.front() == '[')
        return false;
    return text.find_first_of(std::string_view("= \t\r\n\0", 6)) == std::string_view::npos;
}

std::string EncipherKeyText(TCryptoNiteText& encrypter, std::string_view clearText) {
    if (clearText.empty())
        return {};
    for (int i = 0; i < MaxEncipherTries; ++i) {
        // Clearing first forces a new encipherment, and so a new random first byte.
        encrypter.SetClearText({});
        encrypter.SetClearText(clearText);
        std::string result = encrypter.CryptoText();
        if (!IsStorableKeyText(result))
            continue;
        // A text that does not come back (control characters) must not reach the file.
        encrypter.SetCryptoText({});
        encrypter.SetCryptoText(result);
        if (encrypter.ClearText() == clearText)
            return result;
    }
    return {};
}
