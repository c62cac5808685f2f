#include "frame/MemberName.h"

namespace orvale {

namespace {

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The three characters the host counts as letters in names.
bool IsNational(char c) {
    return c == '$' || c == '#' || c == '@';
}

// Only a-z change: letters beyond ASCII are not name characters, whatever their case.
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool IsMemberName(std::string_view name) {
    if (name.empty() || name.size() > MaxMemberNameLength)
        return false;
    if (!IsLetter(name.front()) && !IsNational(name.front()))
        return false;
    for (char c : name.substr(1))
        if (!IsLetter(c) && !IsDigit(c) && !IsNational(c) && c != '_' && c != '.')
            return false;
    return true;
}

std::optional<std::string> MemberNameOf(std::string_view typed) {
    std::string name;
    name.reserve(typed.size());
    for (char c : typed)
        name += Upper(c);
    if (name.size() > MemberFileExt.size() && name.ends_with(MemberFileExt))
        name.resize(name.size() - MemberFileExt.size());
    if (!IsMemberName(name))
        return std::nullopt;
    return name;
}

std::string MemberFileName(std::string_view memberName) {
    std::string file(memberName);
    file += MemberFileExt;
    return file;
}

} // namespace orvale
