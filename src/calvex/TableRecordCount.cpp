#include "TableRecordCount.h"

#include "ConvertText.h"
#include "document/ParseString.h"

#include <charconv>

namespace calvex {

namespace {

// The integer value of Text, or Fallback when it is not a whole decimal number.
int IntegerOr(std::string_view text, int fallback) {
    text = TrimView(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        return fallback;
    return value;
}

int RecordCount(int perRecord, int entries) {
    if (entries < 0 || perRecord < 2)
        return entries;
    return (entries + perRecord - 1) / perRecord;
}

// A table declared by a raw extension line: RPG(E...) with the table's columns in place.
bool RawDeclaration(std::string_view rawText, std::string_view arrayName, int& records) {
    // The raw text starts in column 6.
    auto columns = [rawText](int from, int to) {
        return TrimmedColumns(rawText, from - 5, to - 5);
    };
    if (rawText.empty() || rawText.front() != 'E' || !TrimmedColumns(rawText, 6, 13).empty() ||
        columns(33, 35).empty() || !SameText(columns(27, 32), arrayName))
        return false;
    records = RecordCount(IntegerOr(columns(33, 35), 1), IntegerOr(columns(36, 39), -1));
    return true;
}

} // namespace

bool IsCarriedArray(std::string_view name) {
    return name.size() >= 2 && name[0] == '*' && name[1] == '*';
}

std::string ArrayLabel(std::string_view name) {
    if (IsCarriedArray(name))
        return std::string(TrimView(name.substr(2)));
    return UpperCase(name);
}

int TableRecordCount(const TEDITSection& extension, std::string_view arrayName) {
    TParseString parser;
    for (const SectionLine& record : extension.Lines()) {
        const std::string& line = record.Text;
        size_t open = line.find('(');
        size_t close = line.find(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        std::string name = UpperCase(TrimView(std::string_view(line).substr(0, open)));
        std::string_view params = close > open
                                      ? std::string_view(line).substr(open + 1, close - open - 1)
                                      : std::string_view();
        if (name == "RPG") {
            // The raw text runs to the last parenthesis, which may follow others inside it.
            size_t last = line.rfind(')');
            int records = 0;
            if (RawDeclaration(std::string_view(line).substr(open + 1, last - open - 1), arrayName,
                               records))
                return records;
            continue;
        }
        if (name == "FILEARRAY") {
            // A compile-time array that is written to a file at the end: no file it is read
            // from, then the file it goes to, its name, entries per record and entries.
            parser.Parse(params, ",", true, true);
            if (parser.Tokens.size() > 4 && parser.Tokens[0].empty() &&
                SameText(parser.Tokens[2], arrayName) && !parser.Tokens[3].empty())
                return RecordCount(IntegerOr(parser.Tokens[3], 1), IntegerOr(parser.Tokens[4], -1));
            continue;
        }
        if (name != "TAB")
            continue;
        parser.Parse(params, ",", true, true);
        if (parser.Tokens.size() <= 3 || !SameText(parser.Tokens[0], arrayName))
            continue;
        return RecordCount(IntegerOr(parser.Tokens[1], 1), IntegerOr(parser.Tokens[2], -1));
    }
    return -1;
}

} // namespace calvex
