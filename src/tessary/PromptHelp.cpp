#include "PromptHelp.h"

#include <algorithm>
#include <charconv>

namespace tessary {

namespace {

constexpr size_t MaxValueLength = 1023;
constexpr const char* NotFound = "ERROR";

// Drops every character whose code is 32 or less at both ends.
std::string_view TrimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

// Where the value at the start of Rest ends: the first "," outside a quoted literal, else the
// first ")" outside one; npos when neither comes.
size_t ValueEnd(std::string_view rest) {
    size_t close = std::string_view::npos;
    for (size_t i = 0; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '\'' || c == '"') {
            // Inside "..." a backslash keeps the next character; '...' ends at its quote.
            for (++i; i < rest.size() && rest[i] != c; ++i)
                if (c == '"' && rest[i] == '\\')
                    ++i;
        } else if (c == ',') {
            return i;
        } else if (c == ')' && close == std::string_view::npos) {
            close = i;
        }
    }
    return close;
}

void ReplaceSuffix(std::string& code, const char* suffix) {
    code.replace(code.size() - 2, 2, suffix);
}

} // namespace

std::string PromptFilePath(std::string_view dir) {
    if (dir.empty())
        return {};
    std::string path(dir);
    if (path.back() != '/' && path.back() != '\\')
        path += '/';
    return path + PromptFileName;
}

TPromptFile::TPromptFile(std::string_view dir) : Profile(PromptFilePath(dir)) {
    // An unreadable file is left empty by Load, which is what a missing file gives.
    if (!Profile.Path().empty())
        Profile.Load();
}

std::string TPromptFile::Read(std::string_view section, std::string_view code,
                              std::string_view defaultValue) const {
    std::string value = Profile.ReadString(section, code, defaultValue);
    if (value.size() > MaxValueLength)
        value.resize(MaxValueLength);
    return value;
}

TEntry ResolveEntry(const TPromptFile& file, std::string_view code, TFallbackName fallback) {
    TEntry entry{std::string(code), {}};
    entry.Names = file.Read("ParamName", entry.Code, NotFound);
    for (const char* suffix : {"xx", "yy"}) {
        if (entry.Names != NotFound || entry.Code.size() <= 1)
            break;
        ReplaceSuffix(entry.Code, suffix);
        entry.Names = file.Read("ParamName", entry.Code, NotFound);
    }
    if (entry.Names == NotFound) {
        entry.Names = file.Read("ParamName", DefaultOpCode, "");
        if (fallback == TFallbackName::DefOpCode)
            entry.Code = DefaultOpCode;
    }
    return entry;
}

StringList SplitItems(std::string_view list) {
    StringList items;
    while (!list.empty()) {
        size_t semicolon = list.find(';');
        items.emplace_back(list.substr(0, semicolon));
        list =
            semicolon == std::string_view::npos ? std::string_view() : list.substr(semicolon + 1);
    }
    return items;
}

std::string OpCodeFormat(std::string_view dir, std::string_view code) {
    TPromptFile file(dir);
    TEntry entry = ResolveEntry(file, code, TFallbackName::YyForm);
    if (entry.Names.empty())
        return entry.Code;
    std::string format = entry.Code + "(";
    StringList names = SplitItems(entry.Names);
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            format += ", ";
        format += names[i];
    }
    return format + ")";
}

std::string OpCodeSymple(std::string_view dir, std::string_view code) {
    std::string format = OpCodeFormat(dir, code);
    size_t paren = format.find('(');
    return paren == std::string::npos ? format : format.substr(0, paren);
}

TPromptText ParsePromptText(std::string_view text) {
    TPromptText parsed;
    size_t paren = text.find('(');
    if (paren == std::string_view::npos) {
        if (!text.empty())
            parsed.Code = std::string(text);
        return parsed;
    }
    parsed.Code = std::string(text.substr(0, paren));
    std::string_view rest = text.substr(paren + 1);
    while (!rest.empty() && rest != ")") {
        size_t end = ValueEnd(rest);
        parsed.Values.emplace_back(TrimView(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return parsed;
}

size_t TPromptRows::RowCount() const {
    return std::max(Names.size(), Values.size());
}

TPromptRows PreparePrompt(std::string_view dir, std::string_view text) {
    TPromptFile file(dir);
    TPromptText parsed = ParsePromptText(text);
    TEntry entry = ResolveEntry(file, parsed.Code, TFallbackName::DefOpCode);
    TPromptRows rows;
    rows.Code = entry.Code;
    rows.Caption = "Prompt Help - " + entry.Code + "  " + file.Read("OpCodeDesc", entry.Code, "");
    rows.Names = SplitItems(entry.Names);
    rows.Values = std::move(parsed.Values);
    rows.Lengths = SplitItems(file.Read("ParamLeng", entry.Code, ""));
    rows.Notes = SplitItems(file.Read("ParamNote", entry.Code, ""));
    return rows;
}

int ValueLength(std::string_view lengthItem) {
    lengthItem = TrimView(lengthItem);
    int length = 0;
    auto [end, ec] =
        std::from_chars(lengthItem.data(), lengthItem.data() + lengthItem.size(), length);
    // A row that takes no characters at all could not be filled in.
    if (ec != std::errc() || end != lengthItem.data() + lengthItem.size() || length < 1)
        return DefaultValueLength;
    return length;
}

std::string BuildPromptResult(std::string_view code, const StringList& values) {
    std::string list;
    for (const std::string& value : values) {
        list += TrimView(value);
        list += ", ";
    }
    while (!list.empty() && (list.back() == ',' || list.back() == ' '))
        list.pop_back();
    return std::string(code) + "(" + list + ")";
}

std::string PromptResult(const TPromptRows& rows, const StringList& values) {
    if (rows.Raw)
        return rows.Code + "(" + (values.empty() ? std::string() : values.front()) + ")";
    return BuildPromptResult(rows.Code, values);
}

} // namespace tessary
