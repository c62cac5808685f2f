#pragma once

#include "access/CryptoNiteText.h"
#include "platform/ProfileFile.h"

#include <string>
#include <string_view>

// The user key file of a program directory. Section "EnabledUsers" holds one line per
// password setting, "<enciphered user name>=<enciphered password>"; a change adds a line
// rather than replacing one, and the last line of a user is the one that counts.
class TKeyFile {
public:
    static constexpr std::string_view FileName = "Orvale.KEY";
    static constexpr std::string_view UsersSection = "EnabledUsers";
    // The file holds enciphered passwords: only its owner reads and writes it.
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

    // The clear password of the last entry whose deciphered name equals UserName exactly,
    // or empty when there is none.
    std::string LookUpPassword(std::string_view userName);

    std::string DecipherText(std::string_view cipherText);
    std::string EncipherKeyText(std::string_view clearText);

    // Enciphers both texts and appends the entry to the section in memory. False when either
    // text cannot be enciphered into a storable form.
    bool AddEntry(std::string_view userName, std::string_view password);

    // Writes the file back; a new file is readable and writable by its owner only.
    bool Save(std::string* error = nullptr) const;

    // Cipher component, exposed for tests that fix the random first byte.
    TCryptoNiteText& Encrypter() { return Encrypter_; }

private:
    orvale::ProfileFile Profile;
    TCryptoNiteText Encrypter_;
};
