#pragma once

// The help file and its keywords. The help is a folder "Help" of HTML pages in the program
// directory; its file "Orvale.hlp" is the keyword index: an INI file whose section "Keywords"
// maps each keyword to "page#anchor" (the page relative to the folder) and whose section
// "Contents" names the first page under the key "Page".

#include "platform/ProfileFile.h"

#include <string>
#include <string_view>

inline constexpr const char* kHelpFileName = "Orvale.hlp";
inline constexpr const char* kRPGOpCodesKeyword = "IDH_RPGOpCodes";
inline constexpr const char* kOrvaleOpCodesKeyword = "IDH_OrvaleOpCodes";
inline constexpr const char* kOpCodeKeywordPrefix = "IDH_OpCod_";
// The one topic of every operation code that begins "END".
inline constexpr const char* kEndOpCodesTopic = "Endyy";

// Program directory (with its trailing "/") + "Help/Orvale.hlp".
std::string HelpFilePath(const std::string& programDir);

// The topic of a word under the editor's cursor: "Endyy" for a word beginning END (in any
// case), otherwise Symple, the operation code the prompt help resolved the word to.
std::string OpCodeHelpTopic(std::string_view word, std::string_view symple);
// "IDH_OpCod_" + Topic in upper case.
std::string OpCodeHelpKeyword(std::string_view topic);
// The help of a statement of the specification sections: "IDH_Stmt_" + its name in upper case.
inline constexpr const char* kStatementKeywordPrefix = "IDH_Stmt_";
inline constexpr const char* kStatementsKeyword = "IDH_Statements";
std::string StatementHelpKeyword(std::string_view name);

struct THelpTarget {
    std::string Page;   // absolute path of the page
    std::string Anchor; // empty for the top of the page
};

class THelpIndex {
public:
    // Reads the keyword index. False with Error when the file is missing or unreadable.
    bool Load(const std::string& helpFile, std::string* error = nullptr);
    bool Loaded() const { return !Path.empty(); }

    // The page and anchor of Keyword (compared ignoring case); false when it has none.
    bool Find(std::string_view keyword, THelpTarget& target) const;
    // The first page of the help.
    THelpTarget Contents() const;

    static bool IsOpCodeKeyword(std::string_view keyword);

private:
    THelpTarget Target(const std::string& value) const;

    std::string Path;
    std::string Folder; // with a trailing "/"
    orvale::ProfileFile Profile;
};
