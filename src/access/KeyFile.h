#pragma once

#include "access/CryptoNiteText.h"
#include "platform/ProfileFile.h"

#include <string>
#include <string_view>
#include <vector>

// The user key file of a program directory. Section "EnabledUsers" holds one line per
// password setting, "<enciphered user name>=<password hash>"; a change adds a line rather than
// replacing one, and the last line of a user is the one that counts.
//
// Files written before passwords were hashed hold the password enciphered like the name. Such
// an entry still logs its user in, but anyone with the file and the program can read it back,
// so whenever a hash is written for a user, that user's enciphered passwords are dropped.
class TKeyFile {
public:
    static constexpr std::string_view FileName = "Orvale.KEY";
    static constexpr std::string_view UsersSection = "EnabledUsers";
    // Only its owner reads and writes the file, whatever mode it had before.
    static constexpr unsigned FileMode = 0600;

    explicit TKeyFile(std::string path);

    // The key file of a program directory (with or without its trailing separator).
    static std::string PathIn(std::string_view programDir);

    const std::string& Path() const { return Profile.Path(); }

    // Reads the file again. A missing file holds no user; any other failure returns false
    // with Error naming the file and the reason.
    bool Load(std::string* error = nullptr);

    // Whether the section holds any entry at all, readable or not.
    bool HasUsers() const;

    enum class Match {
        NoEntry,     // no entry names the user
        Wrong,       // the user's last entry holds another password
        Right,       // the user's last entry is a hash of the password
        RightOldForm // the user's last entry holds the password enciphered
    };
    // Checks Password against the last entry whose deciphered name equals UserName exactly.
    Match CheckPassword(std::string_view userName, std::string_view password);

    // Whether any entry names the user.
    bool HasEntryFor(std::string_view userName);

    std::string DecipherText(std::string_view cipherText);
    std::string EncipherKeyText(std::string_view clearText);

    // Appends an entry of the enciphered name and a new hash of Password to the section in
    // memory, and drops the user's entries that hold a password enciphered. False when the
    // name cannot be enciphered into a storable form, the password holds a control character,
    // or no hash could be made; nothing is changed then.
    bool AddEntry(std::string_view userName, std::string_view password);

    // Writes the file back safely, readable and writable by its owner only.
    bool Save(std::string* error = nullptr) const;

    // Cipher component, exposed for tests that fix the random first byte.
    TCryptoNiteText& Encrypter() { return Encrypter_; }

private:
    struct Entry {
        std::string Key;   // as it stands in the file
        std::string Value; // the stored password: a hash, or a cipher text of the older kind
    };
    // The entries whose deciphered name equals UserName, in file order.
    std::vector<Entry> EntriesOf(std::string_view userName);

    orvale::ProfileFile Profile;
    TCryptoNiteText Encrypter_;
};
