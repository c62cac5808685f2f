#include "access/KeyFile.h"

#include "access/Encrypter.h"

namespace {

constexpr int MaxNameTries = 100;

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

} // namespace

TKeyFile::TKeyFile(std::string path) : Profile(std::move(path)), Encrypter_(MakeEncrypter()) {}

std::string TKeyFile::PathIn(std::string_view programDir) {
    std::string path(programDir);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += FileName;
    return path;
}

bool TKeyFile::Load(std::string* error) {
    return Profile.Load(error);
}

bool TKeyFile::HasUsers() const {
    return !Profile.ReadSectionLines(UsersSection).empty();
}

std::string TKeyFile::DecipherText(std::string_view cipherText) {
    return ::DecipherText(Encrypter_, cipherText);
}

std::string TKeyFile::EncipherKeyText(std::string_view clearText) {
    return ::EncipherKeyText(Encrypter_, clearText);
}

std::string TKeyFile::LookUpPassword(std::string_view userName) {
    std::string password;
    for (const std::string& line : Profile.ReadSectionLines(UsersSection)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string_view entry(line);
        if (DecipherText(TrimBlanks(entry.substr(0, eq))) == userName)
            password = DecipherText(TrimBlanks(entry.substr(eq + 1)));
    }
    return password;
}

bool TKeyFile::AddEntry(std::string_view userName, std::string_view password) {
    std::string value = EncipherKeyText(password);
    if (value.empty())
        return false;
    // The reader matches keys ignoring case, and writing an existing key would replace that
    // entry, perhaps another user's: draw a new cipher text until the key is unused.
    for (int i = 0; i < MaxNameTries; ++i) {
        std::string key = EncipherKeyText(userName);
        if (key.empty())
            return false;
        if (Profile.HasKey(UsersSection, key))
            continue;
        return Profile.WriteString(UsersSection, key, value);
    }
    return false;
}

bool TKeyFile::Save(std::string* error) const {
    return Profile.Save(error, FileMode);
}
