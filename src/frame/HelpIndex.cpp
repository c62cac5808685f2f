#include "frame/HelpIndex.h"

#include "document/ParseString.h"
#include "platform/TextFile.h"

std::string HelpFilePath(const std::string& programDir) {
    std::string dir = programDir;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir + "Help/" + kHelpFileName;
}

std::string OpCodeHelpTopic(std::string_view word, std::string_view symple) {
    if (UpperCase(word).starts_with("END"))
        return kEndOpCodesTopic;
    return std::string(symple);
}

std::string OpCodeHelpKeyword(std::string_view topic) {
    return kOpCodeKeywordPrefix + UpperCase(topic);
}

std::string StatementHelpKeyword(std::string_view name) {
    return kStatementKeywordPrefix + UpperCase(name);
}

bool THelpIndex::Load(const std::string& helpFile, std::string* error) {
    Path.clear();
    if (!orvale::FileExists(helpFile)) {
        if (error)
            *error = helpFile + ": the help file is missing";
        return false;
    }
    Profile = orvale::ProfileFile(helpFile);
    if (!Profile.Load(error))
        return false;
    Path = helpFile;
    Folder = orvale::ExtractFilePath(helpFile);
    return true;
}

bool THelpIndex::Find(std::string_view keyword, THelpTarget& target) const {
    if (!Loaded() || keyword.empty())
        return false;
    std::string value = Trim(Profile.ReadString("Keywords", keyword));
    if (value.empty())
        return false;
    target = Target(value);
    return true;
}

THelpTarget THelpIndex::Contents() const {
    return Target(Profile.ReadString("Contents", "Page", "index.html"));
}

bool THelpIndex::IsOpCodeKeyword(std::string_view keyword) {
    return UpperCase(keyword).starts_with(UpperCase(kOpCodeKeywordPrefix));
}

THelpTarget THelpIndex::Target(const std::string& value) const {
    size_t hash = value.find('#');
    THelpTarget target;
    target.Page = Folder + value.substr(0, hash);
    if (hash != std::string::npos)
        target.Anchor = value.substr(hash + 1);
    return target;
}
