#include "access/PasswordChange.h"

#include "access/Login.h"

using orvale::Prompter;

TPasswordChange ChangePassword(TKeyFile& keys, std::string_view userName, std::string_view password,
                               std::string_view control) {
    TPasswordChange change;
    if (password != control) {
        change.Message = ControlDiffersText;
        return change;
    }
    if (password.size() < MinPasswordLength) {
        change.Message = PasswordTooShortText;
        return change;
    }
    if (!IsWellFormedUserName(userName)) {
        change.BoxKind = Prompter::Kind::Warning;
        change.Message = UserNameNotValidText;
        return change;
    }
    std::string error;
    if (!keys.Load(&error)) {
        change.BoxKind = Prompter::Kind::Error;
        change.Message = "The user key file cannot be read: " + error + ". Password not changed!";
        return change;
    }
    if (!keys.AddEntry(UpperCaseKeyText(userName), UpperCaseKeyText(password))) {
        change.Message = PasswordRejectedText;
        return change;
    }
    if (!keys.Save(&error)) {
        change.BoxKind = Prompter::Kind::Error;
        change.Message =
            "The user key file cannot be written: " + error + ". Password not changed!";
        return change;
    }
    change.Changed = true;
    change.Message = PasswordUpdatedText;
    return change;
}
