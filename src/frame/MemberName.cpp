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

std::string MemberNameFor(std::string_view programFile) {
    std::string_view base = programFile.substr(programFile.find_last_of('/') + 1);
    base = base.substr(0, base.find('.'));
    // Words of name characters, joined by single "_".
    std::string name;
    for (char c : base) {
        c = Upper(c);
        bool kept = IsLetter(c) || IsDigit(c) || IsNational(c);
        if (kept)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (IsMemberName(name))
        return name;
    for (size_t at = name.find('_'); at != std::string::npos; at = name.find('_', at + 1))
        if (IsMemberName(name.substr(at + 1)))
            return name.substr(at + 1);
    // Too long, or not beginning with a letter: the first ten characters from a letter on.
    size_t first = 0;
    while (first < name.size() && !IsLetter(name[first]) && !IsNational(name[first]))
        ++first;
    std::string cut = name.substr(first, MaxMemberNameLength);
    while (!cut.empty() && cut.back() == '_')
        cut.pop_back();
    return IsMemberName(cut) ? cut : std::string("MEMBER");
}

std::string MemberFileName(std::string_view memberName) {
    std::string file(memberName);
    file += MemberFileExt;
    return file;
}

} // namespace orvale
