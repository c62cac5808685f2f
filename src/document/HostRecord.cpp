#include "HostRecord.h"

#include "platform/DateTime.h"

#include <charconv>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of N digits at Text, which holds them.
std::int32_t Digits(const char* text, size_t n) {
    std::int32_t value = 0;
    for (size_t k = 0; k < n; ++k)
        value = value * 10 + (text[k] - '0');
    return value;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

// A line as an undated member has it: a form type in column 6, or a comment or a directive.
bool ReadsUndated(std::string_view line) {
    if (line.size() >= 2 && line[0] == '*' && line[1] == '*')
        return true;
    char c6 = line.size() > 5 ? static_cast<char>(line[5] & ~0x20) : ' ';
    char c7 = line.size() > 6 ? line[6] : ' ';
    return c6 == 'H' || c6 == 'F' || c6 == 'E' || c6 == 'L' || c6 == 'I' || c6 == 'C' ||
           c6 == 'O' || c7 == '*' || c7 == '/';
}

} // namespace

bool ReadHostRecord(std::string_view line, HostRecord& record) {
    if (line.size() < kRecordWidth)
        return false;
    for (size_t k = 0; k < kRecordWidth; ++k)
        if (!IsDigit(line[k]))
            return false;
    record.Sequence = Digits(line.data(), 6);
    record.ChangeDate = Digits(line.data() + 6, 6);
    return true;
}

char* PutHostRecord(char* out, const HostRecord& record) {
    // Two digits at a time: a program file writes one record per line of a member.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "62636465666768697071727374757677787980818283848586878889909192"
        "93949596979899";
    for (std::int32_t value : {record.Sequence, record.ChangeDate}) {
        auto v = static_cast<std::uint32_t>(value < 0 ? 0 : value % 1000000);
        for (int k = 4; k >= 0; k -= 2) {
            std::uint32_t pair = v % 100;
            v /= 100;
            out[k] = kPairs[2 * pair];
            out[k + 1] = kPairs[2 * pair + 1];
        }
        out += 6;
    }
    return out;
}

void AppendHostRecord(std::string& out, const HostRecord& record) {
    char digits[kRecordWidth];
    PutHostRecord(digits, record);
    out.append(digits, kRecordWidth);
}

int HostDateYear(std::int32_t yymmdd) {
    int yy = yymmdd / 10000;
    return yy >= 40 ? 1900 + yy : 2000 + yy;
}

bool IsHostDate(std::int32_t yymmdd) {
    if (yymmdd <= 0 || yymmdd > 999999)
        return false;
    int month = yymmdd / 100 % 100;
    int day = yymmdd % 100;
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= orvale::DateTime::DaysInMonth(HostDateYear(yymmdd), month);
}

std::int32_t HostDateKey(std::int32_t yymmdd) {
    if (yymmdd <= 0)
        return 0;
    return HostDateYear(yymmdd) * 10000 + yymmdd % 10000;
}

std::int32_t TodayHostDate() {
    orvale::DateTime now = orvale::DateTime::Now();
    return (now.Year % 100) * 10000 + now.Month * 100 + now.Day;
}

std::int32_t ParseHostDate(std::string_view text) {
    if (text.size() != 6)
        return -1;
    for (char c : text)
        if (!IsDigit(c))
            return -1;
    std::int32_t date = Digits(text.data(), 6);
    return IsHostDate(date) ? date : -1;
}

bool ChangedOnOrAfter(std::int32_t date, std::int32_t since) {
    return date > 0 && HostDateKey(date) >= HostDateKey(since);
}

std::string FormatSequence(std::int32_t sequence) {
    std::string text;
    AppendHostRecord(text, {sequence, 0});
    text.resize(6);
    text.insert(4, 1, '.');
    return text;
}

std::int32_t ParseSequence(std::string_view text, bool& hadPoint) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    size_t point = text.find_first_of(".,");
    hadPoint = point != std::string_view::npos;
    std::string_view whole = hadPoint ? text.substr(0, point) : text;
    std::string_view fraction = hadPoint ? text.substr(point + 1) : std::string_view();
    if ((whole.empty() && fraction.empty()) || whole.size() > 6 || fraction.size() > 2)
        return -1;
    for (char c : whole)
        if (!IsDigit(c))
            return -1;
    for (char c : fraction)
        if (!IsDigit(c))
            return -1;
    std::int32_t value = whole.empty() ? 0 : Digits(whole.data(), whole.size());
    if (!hadPoint)
        return value <= kLastSequence ? value : -1;
    std::int32_t hundredths = fraction.empty() ? 0 : Digits(fraction.data(), fraction.size());
    if (fraction.size() == 1)
        hundredths *= 10;
    if (value > kLastSequence / 100)
        return -1;
    return value * 100 + hundredths;
}

MemberDating DecideDating(const StringList& lines, DatedReading reading) {
    MemberDating dating;
    if (reading != DatedReading::Auto) {
        dating.Dated = reading == DatedReading::Dated;
        return dating;
    }
    HostRecord record;
    for (size_t k = 0; k < lines.size(); ++k) {
        std::string_view line = lines[k];
        if (ReadHostRecord(line, record)) {
            if (dating.MixedDatedLine < 0)
                dating.MixedDatedLine = static_cast<int>(k);
            continue;
        }
        // The compile-time data of an undated member may hold records of digits.
        if (line.starts_with("**"))
            break;
        // A dated line with a damaged digit may still hold a form letter in column 6: it
        // reads as a dated line too.
        bool plain = ReadsUndated(line) &&
                     !(line.size() > kRecordWidth && ReadsUndated(line.substr(kRecordWidth)));
        if (dating.MixedPlainLine < 0 && !IsBlankLine(line) && plain)
            dating.MixedPlainLine = static_cast<int>(k);
    }
    if (dating.MixedDatedLine < 0 || dating.MixedPlainLine < 0) {
        dating.Dated = dating.MixedDatedLine >= 0;
        dating.MixedDatedLine = dating.MixedPlainLine = -1;
    }
    return dating;
}

std::vector<int> TakeHostRecords(StringList& lines, std::vector<HostRecord>& records) {
    records.assign(lines.size(), HostRecord{});
    std::vector<int> without;
    for (size_t k = 0; k < lines.size(); ++k) {
        std::string& line = lines[k];
        if (ReadHostRecord(line, records[k]))
            line.erase(0, kRecordWidth);
        else if (!IsBlankLine(line))
            without.push_back(static_cast<int>(k));
    }
    return without;
}
