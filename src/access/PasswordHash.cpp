#include "access/PasswordHash.h"

#include <crypt.h>

#include <cstring>
#include <memory>

namespace {

// Compares without stopping at the first difference, so the time taken says nothing about
// how much of a hash was right.
bool SameBytes(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// crypt_rn's work area is some 32 KB: too large for the stack of a dialog's click handler.
std::unique_ptr<crypt_data> NewCryptData() {
    auto data = std::make_unique<crypt_data>();
    std::memset(data.get(), 0, sizeof(crypt_data));
    return data;
}

// The hash of Password under Setting (a salt, or a whole stored hash), or empty. A failed
// call returns null or a text starting with "*", never a valid hash.
std::string Crypt(std::string_view password, const std::string& setting) {
    if (password.find('\0') != std::string_view::npos)
        return {};
    std::string phrase(password);
    std::unique_ptr<crypt_data> data = NewCryptData();
    const char* hash = crypt_rn(phrase.c_str(), setting.c_str(), data.get(), sizeof(crypt_data));
    std::string result = hash && hash[0] != '*' ? std::string(hash) : std::string();
    std::memset(phrase.data(), 0, phrase.size());
    std::memset(data.get(), 0, sizeof(crypt_data));
    return result;
}

} // namespace

std::string HashPassword(std::string_view password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    // No random bytes given: the library draws them from the system's random source. A cost
    // of 0 is the method's own default.
    if (!crypt_gensalt_rn(std::string(PasswordHashPrefix).c_str(), 0, nullptr, 0, salt,
                          sizeof salt))
        return {};
    std::string hash = Crypt(password, salt);
    if (hash.compare(0, PasswordHashPrefix.size(), PasswordHashPrefix) != 0)
        return {};
    return hash;
}

bool IsPasswordHash(std::string_view stored) {
    if (stored.empty() || stored.front() != '$')
        return false;
    return crypt_checksalt(std::string(stored).c_str()) == CRYPT_SALT_OK;
}

bool PasswordMatchesHash(std::string_view password, std::string_view stored) {
    if (!IsPasswordHash(stored))
        return false;
    std::string hash = Crypt(password, std::string(stored));
    return !hash.empty() && SameBytes(hash, stored);
}
