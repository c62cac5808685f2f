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
    // An unknown user has no stored password; an empty typed one must not match that.
    std::string stored = keys.LookUpPassword(user);
    if (stored.empty() || stored != UpperCaseKeyText(password)) {
        check.Message = PasswordNotValidText;
        return check;
    }
    check.Verdict = LoginVerdict::Accepted;
    check.UserName = user;
    return check;
}

bool HasPasswordFor(TKeyFile& keys, std::string_view userName) {
    if (!keys.Load())
        return false;
    return !keys.LookUpPassword(UpperCaseKeyText(userName)).empty();
}
