#include "access/KeyFile.h"

#include "access/Encrypter.h"
#include "access/PasswordHash.h"
#include "platform/SafeSave.h"

namespace {

constexpr int MaxNameTries = 100;

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// Compares without stopping at the first difference, as the hash check does.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
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

std::vector<TKeyFile::Entry> TKeyFile::EntriesOf(std::string_view userName) {
    std::vector<Entry> entries;
    for (const std::string& line : Profile.ReadSectionLines(UsersSection)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string_view text(line);
        std::string_view key = TrimBlanks(text.substr(0, eq));
        if (DecipherText(key) == userName)
            entries.push_back({std::string(key), std::string(TrimBlanks(text.substr(eq + 1)))});
    }
    return entries;
}

TKeyFile::Match TKeyFile::CheckPassword(std::string_view userName, std::string_view password) {
    std::vector<Entry> entries = EntriesOf(userName);
    if (entries.empty())
        return Match::NoEntry;
    const std::string& stored = entries.back().Value;
    if (IsPasswordHash(stored))
        return PasswordMatchesHash(password, stored) ? Match::Right : Match::Wrong;
    // An entry of the older kind. One whose password cannot be read back matches nothing,
    // not even an empty password.
    std::string clear = DecipherText(stored);
    if (clear.empty() || !SameText(clear, password))
        return Match::Wrong;
    return Match::RightOldForm;
}

bool TKeyFile::HasEntryFor(std::string_view userName) {
    return !EntriesOf(userName).empty();
}

bool TKeyFile::AddEntry(std::string_view userName, std::string_view password) {
    // Control characters were never storable (the cipher does not carry them), and a terminal
    // or dialog would not type them the same way twice: such a password stays refused.
    for (char c : password)
        if (static_cast<unsigned char>(c) < 32 || c == '\x7F')
            return false;
    std::string value = HashPassword(password);
    if (value.empty() || !IsStorableKeyText(value))
        return false;
    // The reader matches keys ignoring case, and writing an existing key would replace that
    // entry, perhaps another user's: draw a new cipher text until the key is unused.
    std::string key;
    for (int i = 0; i < MaxNameTries && key.empty(); ++i) {
        key = EncipherKeyText(userName);
        if (key.empty())
            return false;
        if (Profile.HasKey(UsersSection, key))
            key.clear();
    }
    if (key.empty())
        return false;
    for (const Entry& old : EntriesOf(userName))
        if (!IsPasswordHash(old.Value))
            Profile.DeleteKey(UsersSection, old.Key);
    return Profile.WriteString(UsersSection, key, value);
}

bool TKeyFile::Save(std::string* error) const {
    // The mode is set whatever the replaced file had: a file once made readable by others
    // must not stay so.
    orvale::SafeFileWriter writer(Profile.Path(), FileMode, false);
    writer.Write(Profile.Text());
    return writer.Commit({}, error);
}
