#include "Statement.h"

#include "document/ParseString.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace calvex {

namespace {

constexpr std::string_view kMissingBrace =
    "**ERROR: \"}\" Expected but not Found. Line was skipped!";
constexpr std::string_view kMissingParen =
    "**ERROR: \")\" Expected but not Found. Line was skipped!";
constexpr std::string_view kNoOperation = "**ERROR: Operating Code not Found. Line was skipped!";
constexpr std::string_view kExtraParameter =
    "      **WARNING: Extra parameter not allowed. Parameter ignored!";

constexpr std::string_view kNoCode = "**ERROR: No code was found. Line was skipped!";
constexpr std::string_view kVoidLine = "      **WARNING: RPG Line is void. Line was ignored";
constexpr std::string_view kNoFormat = "**ERROR: Format expected but not found. Line was skipped!";
constexpr std::string_view kRpgTooLong = "**ERROR: RPG Line is too long. Line was skipped!";
constexpr std::string_view kNoSlash = "**ERROR: \"/\" expected but not found. Line was skipped!";
constexpr std::string_view kSpecialTooLong = "**ERROR: Special Line is too long. Line was skipped!";
constexpr std::string_view kBadDirective =
    "**ERROR: Bad or incomplete code was found. Line was skipped!";

// The longest raw text a line can take from column 6 to column 74.
constexpr size_t kMaxRawText = 69;
// Comment text runs from column 8 to column 74.
constexpr size_t kMaxCommentText = 67;

inline bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// Replaces the text of a string that is reused line after line: appending to the emptied
// string is the cheap way, its capacity being there already.
inline void SetText(std::string& s, std::string_view text) {
    s.clear();
    s.append(text.data(), text.size());
}

// Trimming and upper-casing as the text rules say, kept here so that the per-line parse does
// not call out for every item.
inline bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

inline std::string_view LeftTrimmed(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsTrimmed(s[b]))
        ++b;
    return s.substr(b);
}

inline std::string_view Trimmed(std::string_view s) {
    s = LeftTrimmed(s);
    size_t e = s.size();
    while (e > 0 && IsTrimmed(s[e - 1]))
        --e;
    return s.substr(0, e);
}

inline void ToUpper(std::string& s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
}

// The entry at Index of List, reusing the string already there so that parsing line after
// line into the same statement does not allocate once the list has grown.
std::string& ReuseEntry(StringList& list, size_t index) {
    if (index < list.size())
        return list[index];
    return list.emplace_back();
}

// Splits the parameter text at commas as the tokenizer does (a comma inside the first quoted
// string of what is left does not split; items trimmed; items not beginning with a quote
// upper-cased) and stores the items from entry 1 on. Returns the number of entries.
size_t SplitParameters(std::string_view text, StringList& params) {
    size_t count = 1;
    if (text.find('\'') == std::string_view::npos) {
        // No quoted string: every comma separates. One pass per item, the items being short.
        const char* p = text.data();
        const char* end = p + text.size();
        for (;;) {
            const char* stop = p;
            while (stop != end && *stop != ',')
                ++stop;
            std::string& entry = ReuseEntry(params, count++);
            SetText(entry, Trimmed(std::string_view(p, static_cast<size_t>(stop - p))));
            ToUpper(entry);
            if (stop == end)
                return count;
            p = stop + 1;
        }
    }
    std::string_view rest = text;
    for (;;) {
        size_t k = TParseString::FindSeparator(",", rest);
        std::string_view token = k == 0 ? rest : rest.substr(0, k - 1);
        std::string& entry = ReuseEntry(params, count++);
        SetText(entry, Trimmed(token));
        if (!entry.empty() && entry.front() != '\'')
            ToUpper(entry);
        if (k == 0)
            break;
        rest = rest.substr(k);
    }
    return count;
}

void Substitute(std::string& param, const Definitions& definitions) {
    size_t cut = param.find('[');
    if (cut == std::string::npos)
        cut = param.find(':');
    std::string_view key =
        cut == std::string::npos ? std::string_view(param) : std::string_view(param).substr(0, cut);
    const std::string* value = definitions.Find(key);
    if (value == nullptr)
        return;
    if (cut == std::string::npos)
        param = *value;
    else
        param.replace(0, cut, *value);
}

} // namespace

ResultLine ErrorLine(std::string_view message) {
    ResultLine r;
    r.Text.assign(message);
    r.Error = true;
    return r;
}

ResultLine WarningLine(std::string_view message) {
    ResultLine r;
    r.Text.assign(message);
    r.Warning = true;
    return r;
}

Definitions::Definitions(const StringList& pairs) {
    for (const std::string& pair : pairs) {
        size_t eq = pair.find('=');
        if (eq == std::string::npos)
            continue;
        Entries.emplace_back(UpperCase(TrimView(std::string_view(pair).substr(0, eq))),
                             Trim(std::string_view(pair).substr(eq + 1)));
    }
}

const std::string* Definitions::Find(std::string_view name) const {
    for (const auto& [key, value] : Entries)
        if (SameText(key, name))
            return &value;
    return nullptr;
}

bool Definitions::Empty() const {
    return Entries.empty();
}

size_t CommentStart(std::string_view text) {
    // A "/*" inside a literal ('A/*B') or inside the parameters (a raw line's columns) is text.
    bool quoted = false;
    int depth = 0;
    for (size_t k = 0; k + 1 < text.size(); ++k) {
        char c = text[k];
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && c == '(') {
            ++depth;
        } else if (!quoted && c == ')') {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (!quoted && depth == 0 && c == '/' && text[k + 1] == '*') {
            return k;
        }
    }
    return std::string_view::npos;
}

void ParseStatementLine(std::string_view line, const ParseSwitches& switches,
                        const Definitions& definitions, ParsedStatement& out) {
    out.Skipped = false;
    out.Messages.clear();
    out.Failed = false;
    out.Flags.clear();
    out.HasFlags = false;
    out.Name.clear();
    out.ParamText.clear();
    out.Comment.clear();

    std::string_view text = Trimmed(line);
    if (text.empty()) {
        if (!switches.BlankLines) {
            out.Skipped = true;
            out.Params.clear();
            return;
        }
        text = "/*";
    }

    // Directives, continuation lines and comment lines travel whole to the special-line
    // check; entry 0 keeps the line as written.
    bool comment = StartsWith(text, "/*");
    if (text.front() == '#' || text.front() == '+' || comment) {
        if (comment && !switches.CommentLines) {
            out.Skipped = true;
            out.Params.clear();
            return;
        }
        SetText(out.Name, text);
        SetText(ReuseEntry(out.Params, 0), text);
        out.Params.resize(1);
        return;
    }

    auto fail = [&out](std::string_view message) {
        out.Messages.push_back(ErrorLine(message));
        out.Failed = true;
        out.Params.clear();
    };

    std::string_view rest = text;
    if (rest.front() == '{') {
        size_t close = rest.find('}');
        if (close == std::string_view::npos)
            return fail(kMissingBrace);
        out.HasFlags = true;
        SetText(out.Flags, rest.substr(1, close - 1));
        rest = LeftTrimmed(rest.substr(close + 1));
    }

    bool haveName = false;
    size_t open = rest.find('(');
    size_t commentStart = CommentStart(rest);
    if (open != std::string_view::npos &&
        (commentStart == std::string_view::npos || open < commentStart)) {
        size_t limit = commentStart == std::string_view::npos ? rest.size() : commentStart;
        size_t close = rest.substr(0, limit).rfind(')');
        if (close == std::string_view::npos || close < open)
            return fail(kMissingParen);
        SetText(out.ParamText, rest.substr(open + 1, close - open - 1));
        SetText(out.Name, Trimmed(rest.substr(0, open)));
        haveName = !out.Name.empty();
        rest = LeftTrimmed(rest.substr(close + 1));
    }

    if (!rest.empty()) {
        size_t p = rest.find("/*");
        if (p != 0) {
            if (haveName) {
                out.Messages.push_back(WarningLine(kExtraParameter));
            } else if (p != std::string_view::npos) {
                SetText(out.Name, Trimmed(rest.substr(0, p)));
                haveName = !out.Name.empty();
            } else {
                SetText(out.Name, Trimmed(rest));
                haveName = !out.Name.empty();
            }
        }
        if (p != std::string_view::npos && switches.CodeComments)
            SetText(out.Comment, Trimmed(rest.substr(p + 2)));
    }

    if (!haveName) {
        if (out.ParamText.empty() && !out.Flags.empty()) {
            SetText(out.Name, "*NIL*");
        } else {
            return fail(kNoOperation);
        }
    }

    std::string& name = ReuseEntry(out.Params, 0);
    SetText(name, out.Name);
    ToUpper(name);
    if (name == "RPG" || name == "SQL") {
        SetText(ReuseEntry(out.Params, 1), out.ParamText);
        out.Params.resize(2);
        return;
    }
    if (out.ParamText.empty()) {
        out.Params.resize(1);
        return;
    }
    size_t count = SplitParameters(out.ParamText, out.Params);
    out.Params.resize(count);
    if (definitions.Empty())
        return;
    for (size_t i = 1; i < count; ++i)
        Substitute(out.Params[i], definitions);
}

ResultLine CheckSpecialLine(std::string_view name, char formType, std::string_view rawText) {
    ResultLine r;
    if (SameText(name, "RPG") || SameText(name, "SQL")) {
        std::string_view raw = rawText;
        if (raw.size() == 1 && raw.front() == formType)
            return ErrorLine(kNoCode);
        if (raw.empty())
            return WarningLine(kVoidLine);
        // A comment line (an asterisk in column 7) is a comment whatever column 6 holds, so
        // the raw form carries one with any character there, a blank included; a directive
        // (a slash in column 7) likewise with any form type.
        bool commentLine = raw.size() >= 2 && raw[1] == '*';
        bool directive = raw.size() >= 2 && raw[1] == '/' && raw.front() != ' ';
        if (raw.front() == ' ' && !commentLine)
            return ErrorLine(kNoFormat);
        if (raw.front() != formType && !commentLine && !directive) {
            r = ErrorLine("**ERROR: Format differ from expected \"");
            r.Text += formType;
            r.Text += "\". Line was skipped!";
            return r;
        }
        if (raw.size() > kMaxRawText)
            return ErrorLine(kRpgTooLong);
        r.Text.reserve(5 + raw.size());
        r.Text.assign(5, ' ');
        r.Text.append(raw);
        return r;
    }
    if (StartsWith(name, "#")) {
        std::string_view t = TrimView(name.substr(1));
        if (t.empty())
            return WarningLine(kVoidLine);
        if (t == "/")
            return ErrorLine(kNoCode);
        if (t.front() != '/')
            return ErrorLine(kNoSlash);
        if (t.size() > kMaxRawText)
            return ErrorLine(kSpecialTooLong);
        r.Text.reserve(6 + t.size());
        r.Text.assign(5, ' ');
        r.Text += formType;
        r.Text.append(t);
        UpperCaseInPlace(r.Text);
        std::string_view code = std::string_view(r.Text).substr(6, 6);
        if (code != "/TITLE" && code != "/EJECT" && code != "/SPACE" && code != "/COPY " &&
            code != "/EXEC " && code != "/END-E")
            return ErrorLine(kBadDirective);
        return r;
    }
    if (StartsWith(name, "/*")) {
        std::string_view text = name.substr(2);
        if (text.size() > kMaxCommentText)
            text = text.substr(0, kMaxCommentText);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        r.Text.reserve(7 + text.size());
        r.Text.assign(5, ' ');
        r.Text += formType;
        r.Text += '*';
        r.Text.append(text);
        return r;
    }
    if (StartsWith(name, "+")) {
        r.Text.reserve(6 + name.size());
        r.Text.assign(5, ' ');
        r.Text += formType;
        r.Text.append(name);
        return r;
    }
    // Callers send only the names above here.
    return ErrorLine("**ERROR: Invalid operating code!");
}

bool IsInteger(std::string_view text) {
    size_t i = 0;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        i = 1;
    if (i == text.size())
        return false;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return false;
    // The value must fit a 32-bit integer, and -9999 is the compile's mark for "not a number".
    long long value = 0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (ec != std::errc() || value > 2147483647LL + (text.front() == '-' ? 1 : 0))
        return false;
    return !(text.front() == '-' && value == 9999);
}

} // namespace calvex
