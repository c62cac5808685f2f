#pragma once

#include "access/KeyFile.h"
#include "platform/Prompter.h"

#include <string>
#include <string_view>

inline constexpr size_t MinUserNameLength = 4;

// Names and passwords are kept in upper case; only the letters a-z change.
std::string UpperCaseKeyText(std::string_view text);

// At least four characters and no control characters.
bool IsWellFormedUserName(std::string_view userName);
// Why a user name is not well formed, in a sentence; empty when it is.
std::string UserNameRefusal(std::string_view userName);

enum class LoginVerdict {
    Accepted, // the name and password match the user's last entry
    Refused,  // show Message in a box of kind BoxKind and let the user try again
    Enrol,    // the key file holds no user yet: this user sets the first password
};

struct TLoginCheck {
    LoginVerdict Verdict = LoginVerdict::Refused;
    orvale::Prompter::Kind BoxKind = orvale::Prompter::Kind::Error;
    // Refused: why. Accepted: empty, or a note that the stored password could not be brought
    // to its hashed form (the login stands).
    std::string Message;
    std::string UserName; // in upper case, when accepted or enrolling
};

inline constexpr const char* UserNameNotValidText = "User Name not valid!";
inline constexpr const char* PasswordNotValidText = "Password not valid!";

// Decides a login attempt. The name is checked before the key file is read; the file is read
// afresh for every attempt; an entry of the older enciphered kind that matches is replaced by a
// hash before the login is accepted. There is no built-in password: a user is let in only by an
// entry of the key file, or, while the file holds no entry at all, to set the first password.
TLoginCheck CheckLogin(TKeyFile& keys, std::string_view userName, std::string_view password);

// After an enrolment: whether the key file now holds a password for the user.
bool HasPasswordFor(TKeyFile& keys, std::string_view userName);
