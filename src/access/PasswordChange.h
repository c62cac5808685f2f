#pragma once

#include "access/KeyFile.h"
#include "platform/Prompter.h"

#include <string>
#include <string_view>

inline constexpr size_t MinPasswordLength = 4;

struct TPasswordChange {
    bool Changed = false;
    orvale::Prompter::Kind BoxKind = orvale::Prompter::Kind::Information;
    std::string Message;
};

inline constexpr const char* ControlDiffersText =
    "Control differs from Password. Password not changed!";
inline constexpr const char* PasswordTooShortText =
    "The Password must be at least 4 chars. Password not changed!";
inline constexpr const char* PasswordUpdatedText = "The password has been updated!";
inline constexpr const char* PasswordRejectedText =
    "The new password is not valid. Password not changed!";

// Sets a new password for UserName: Password and Control must be equal as typed and at least
// four characters long; both name and password are stored in upper case as a new entry at the
// end of the user section, so older entries stay but no longer count. The key file is read
// again first so that entries written meanwhile are kept; the change is reported only once
// the file has been written.
TPasswordChange ChangePassword(TKeyFile& keys, std::string_view userName, std::string_view password,
                               std::string_view control);
