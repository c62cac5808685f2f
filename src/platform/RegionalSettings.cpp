#include "RegionalSettings.h"

#include "TextRules.h"

#include <cctype>
#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace orvale {

namespace {

// Expands the shorthand conversions and widens two-digit years, so that formatting and
// parsing only deal with single fields.
std::string Normalise(std::string_view format) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        char conv = format[++i];
        // Skip glibc flag characters such as %-d or %Ey.
        while ((conv == '-' || conv == '_' || conv == '0' || conv == 'E' || conv == 'O') &&
               i + 1 < format.size())
            conv = format[++i];
        switch (conv) {
        case 'y':
        case 'C':
        case 'G':
        case 'g':
            out += "%Y";
            break;
        case 'D':
            out += "%m/%d/%Y";
            break;
        case 'F':
            out += "%Y-%m-%d";
            break;
        case 'T':
            out += "%H:%M:%S";
            break;
        case 'R':
            out += "%H:%M";
            break;
        case 'r':
            out += "%I:%M:%S %p";
            break;
        case 'P':
            out += "%p";
            break;
        case 'Z':
        case 'z':
            // Time-zone names are not part of a stored moment.
            break;
        default:
            out += '%';
            out += conv;
        }
    }
    // A format ending in a dropped time-zone conversion would leave a trailing blank.
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

void AppendNumber(std::string& out, int value, int width, char pad) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = n; i < width; ++i)
        out += pad;
    while (n > 0)
        out += digits[--n];
}

bool ReadNumber(std::string_view text, size_t& pos, int maxDigits, int& value,
                int* digits = nullptr) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < static_cast<size_t>(maxDigits) &&
           std::isdigit(static_cast<unsigned char>(text[pos]))) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (digits)
        *digits = static_cast<int>(pos - start);
    return pos > start;
}

bool MatchWord(std::string_view text, size_t& pos, const std::string& word) {
    if (word.empty() || text.size() - pos < word.size())
        return false;
    if (!SameText(text.substr(pos, word.size()), word))
        return false;
    pos += word.size();
    return true;
}

RegionalSettings& CurrentSettings() {
    static RegionalSettings settings = RegionalSettings::FromEnvironment();
    return settings;
}

} // namespace

RegionalSettings::RegionalSettings(std::string dateFormat, std::string timeFormat, std::string am,
                                   std::string pm)
    : DateFormat_(Normalise(dateFormat)), TimeFormat_(Normalise(timeFormat)), Am_(std::move(am)),
      Pm_(std::move(pm)) {}

namespace {

RegionalSettings FromLocaleHandle(locale_t loc) {
    std::string date = nl_langinfo_l(D_FMT, loc);
    std::string time = nl_langinfo_l(T_FMT, loc);
    std::string am = nl_langinfo_l(AM_STR, loc);
    std::string pm = nl_langinfo_l(PM_STR, loc);
    freelocale(loc);
    if (date.empty())
        date = "%m/%d/%Y";
    if (time.empty())
        time = "%H:%M:%S";
    if (am.empty())
        am = "AM";
    if (pm.empty())
        pm = "PM";
    return RegionalSettings(date, time, am, pm);
}

} // namespace

RegionalSettings RegionalSettings::FromEnvironment() {
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        loc = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    return FromLocaleHandle(loc);
}

std::optional<RegionalSettings> RegionalSettings::FromLocale(const std::string& name) {
    locale_t loc = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        return std::nullopt;
    return FromLocaleHandle(loc);
}

bool RegionalSettings::operator==(const RegionalSettings& other) const {
    if (DateFormat_ != other.DateFormat_ || TimeFormat_ != other.TimeFormat_)
        return false;
    bool showsHalf = (DateFormat_ + TimeFormat_).find("%p") != std::string::npos;
    return !showsHalf || (Am_ == other.Am_ && Pm_ == other.Pm_);
}

const RegionalSettings& RegionalSettings::Current() {
    return CurrentSettings();
}

void RegionalSettings::SetCurrent(const RegionalSettings& settings) {
    CurrentSettings() = settings;
}

std::string RegionalSettings::Format(const std::string& format, const DateTime& m) const {
    std::string out;
    out.reserve(24);
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        switch (format[++i]) {
        case 'd':
            AppendNumber(out, m.Day, 2, '0');
            break;
        case 'e':
            AppendNumber(out, m.Day, 2, ' ');
            break;
        case 'm':
            AppendNumber(out, m.Month, 2, '0');
            break;
        case 'Y':
            AppendNumber(out, m.Year, 4, '0');
            break;
        case 'H':
            AppendNumber(out, m.Hour, 2, '0');
            break;
        case 'k':
            AppendNumber(out, m.Hour, 2, ' ');
            break;
        case 'I':
            AppendNumber(out, m.Hour % 12 == 0 ? 12 : m.Hour % 12, 2, '0');
            break;
        case 'l':
            AppendNumber(out, m.Hour % 12 == 0 ? 12 : m.Hour % 12, 2, ' ');
            break;
        case 'M':
            AppendNumber(out, m.Minute, 2, '0');
            break;
        case 'S':
            AppendNumber(out, m.Second, 2, '0');
            break;
        case 'p':
            out += m.Hour < 12 ? Am_ : Pm_;
            break;
        case '%':
            out += '%';
            break;
        default:
            break;
        }
    }
    return out;
}

bool RegionalSettings::Parse(const std::string& format, std::string_view text, size_t& pos,
                             DateTime& m) const {
    int hour12 = -1;
    int pmFlag = -1;
    for (size_t i = 0; i < format.size(); ++i) {
        char f = format[i];
        if (f != '%' || i + 1 >= format.size()) {
            if (f == ' ') {
                // A blank in the format matches any run of blanks, including none.
                while (pos < text.size() && text[pos] == ' ')
                    ++pos;
                continue;
            }
            if (pos >= text.size() || text[pos] != f)
                return false;
            ++pos;
            continue;
        }
        int value = 0;
        switch (format[++i]) {
        case 'd':
        case 'e':
            if (!ReadNumber(text, pos, 2, value))
                return false;
            m.Day = value;
            break;
        case 'm':
            if (!ReadNumber(text, pos, 2, value))
                return false;
            m.Month = value;
            break;
        case 'Y': {
            int digits = 0;
            if (!ReadNumber(text, pos, 4, value, &digits))
                return false;
            // Text written with a two-digit year by other software: a fixed century window.
            if (digits <= 2)
                value += value < 50 ? 2000 : 1900;
            m.Year = value;
            break;
        }
        case 'H':
        case 'k':
            if (!ReadNumber(text, pos, 2, value))
                return false;
            m.Hour = value;
            break;
        case 'I':
        case 'l':
            if (!ReadNumber(text, pos, 2, value) || value < 1 || value > 12)
                return false;
            hour12 = value;
            break;
        case 'M':
            if (!ReadNumber(text, pos, 2, value))
                return false;
            m.Minute = value;
            break;
        case 'S':
            if (!ReadNumber(text, pos, 2, value))
                return false;
            m.Second = value;
            break;
        case 'p':
            if (MatchWord(text, pos, Am_))
                pmFlag = 0;
            else if (MatchWord(text, pos, Pm_))
                pmFlag = 1;
            else
                return false;
            break;
        case '%':
            if (pos >= text.size() || text[pos] != '%')
                return false;
            ++pos;
            break;
        default:
            break;
        }
    }
    if (hour12 >= 0)
        m.Hour = hour12 % 12 + (pmFlag == 1 ? 12 : 0);
    return true;
}

std::string RegionalSettings::FormatDate(const DateTime& moment) const {
    return Format(DateFormat_, moment);
}

std::string RegionalSettings::FormatTime(const DateTime& moment) const {
    return Format(TimeFormat_, moment);
}

std::string RegionalSettings::FormatDateTime(const DateTime& moment) const {
    std::string text = Format(DateFormat_, moment);
    if (!moment.IsMidnight()) {
        text += ' ';
        text += Format(TimeFormat_, moment);
    }
    return text;
}

std::optional<DateTime> RegionalSettings::ParseDateTime(std::string_view text) const {
    text = TrimView(text);
    if (text.empty())
        return std::nullopt;
    DateTime m{};
    m.Hour = m.Minute = m.Second = 0;
    size_t pos = 0;
    if (!Parse(DateFormat_, text, pos, m))
        return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != ' ')
            return std::nullopt;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (!Parse(TimeFormat_, text, pos, m) || pos != text.size())
            return std::nullopt;
    }
    if (!DateTime::IsValid(m.Year, m.Month, m.Day, m.Hour, m.Minute, m.Second))
        return std::nullopt;
    return m;
}

} // namespace orvale
