#pragma once

#include "DateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvale {

// The one source of date-time text: the user's short date, a blank and the long time,
// the time left out at exactly midnight. Formats use the strftime conversions %d %e %m %Y
// %y %H %I %M %S %p (and the shorthands %D %F %T %R %r); a two-digit year is always widened
// to four digits so that the text reads back to the same moment.
class RegionalSettings {
public:
    RegionalSettings(std::string dateFormat, std::string timeFormat, std::string am = "AM",
                     std::string pm = "PM");

    // The formats of the LC_TIME category of the user's environment ("C" when it is unset
    // or not installed).
    static RegionalSettings FromEnvironment();
    // The formats of a named locale ("de_DE.UTF-8"); nothing when it is not installed.
    static std::optional<RegionalSettings> FromLocale(const std::string& name);

    // The settings every part of the program formats and parses with. Starts as
    // FromEnvironment(); tests and command-line options may replace it.
    static const RegionalSettings& Current();
    static void SetCurrent(const RegionalSettings& settings);

    std::string FormatDateTime(const DateTime& moment) const;
    std::string FormatDate(const DateTime& moment) const;
    std::string FormatTime(const DateTime& moment) const;

    // Reads text written by FormatDateTime (a date alone means midnight). Surrounding blanks
    // are ignored; anything else that does not fit the formats gives no value.
    std::optional<DateTime> ParseDateTime(std::string_view text) const;

    const std::string& DateFormat() const { return DateFormat_; }
    const std::string& TimeFormat() const { return TimeFormat_; }
    const std::string& Am() const { return Am_; }
    const std::string& Pm() const { return Pm_; }
    // Same formats: text written with one reads back with the other to the same moments (the
    // AM and PM texts count only where a format shows them).
    bool operator==(const RegionalSettings& other) const;

private:
    std::string Format(const std::string& format, const DateTime& moment) const;
    bool Parse(const std::string& format, std::string_view text, size_t& pos,
               DateTime& moment) const;

    std::string DateFormat_;
    std::string TimeFormat_;
    std::string Am_;
    std::string Pm_;
};

} // namespace orvale
