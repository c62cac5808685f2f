#include "access/Login.h"

#include "document/ParseString.h"

#include <algorithm>

using orvale::Prompter;

std::string UpperCaseKeyText(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperChar);
    return upper;
}

bool IsWellFormedUserName(std::string_view userName) {
    if (userName.size() < MinUserNameLength)
        return false;
    return std::none_of(userName.begin(), userName.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32 || c == '\x7F'; });
}

std::string UserNameRefusal(std::string_view userName) {
    if (userName.size() < MinUserNameLength)
        return "The name has " + std::to_string(userName.size()) +
               (userName.size() == 1 ? " character" : " characters") +
               "; a user name has at least " + std::to_string(MinUserNameLength) + ".";
    if (!IsWellFormedUserName(userName))
        return "The name holds a control character, which a user name cannot hold.";
    return {};
}

TLoginCheck CheckLogin(TKeyFile& keys, std::string_view userName, std::string_view password) {
    TLoginCheck check;
    if (!IsWellFormedUserName(userName)) {
        check.BoxKind = Prompter::Kind::Warning;
        check.Message = UserNameNotValidText;
        return check;
    }
    std::string error;
    if (!keys.Load(&error)) {
        check.Message = "The user key file cannot be read: " + error;
        return check;
    }
    std::string user = UpperCaseKeyText(userName);
    if (!keys.HasUsers()) {
        check.Verdict = LoginVerdict::Enrol;
        check.UserName = user;
        return check;
    }
    TKeyFile::Match match = keys.CheckPassword(user, UpperCaseKeyText(password));
    if (match != TKeyFile::Match::Right && match != TKeyFile::Match::RightOldForm) {
        check.Message = PasswordNotValidText;
        return check;
    }
    // A password stored in the older, readable form is hashed now that it is known to be
    // right. The login does not depend on it: a key file that cannot be written (a read-only
    // installation) keeps the old entry, and Message says so.
    if (match == TKeyFile::Match::RightOldForm) {
        if (!keys.AddEntry(user, UpperCaseKeyText(password)))
            check.Message = "No password hash could be made. The password stays in its old form.";
        else if (!keys.Save(&error))
            check.Message = "The user key file cannot be written: " + error +
                            ". The password stays in its old form.";
    }
    check.Verdict = LoginVerdict::Accepted;
    check.UserName = user;
    return check;
}

bool HasPasswordFor(TKeyFile& keys, std::string_view userName) {
    if (!keys.Load())
        return false;
    return keys.HasEntryFor(UpperCaseKeyText(userName));
}
