#include "ui/ChangeDates.h"

#include "document/HostRecord.h"
#include "platform/DateTime.h"
#include "platform/RegionalSettings.h"

namespace {

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string ShowChangeDate(std::int32_t yymmdd, bool hostFormat) {
    if (yymmdd <= 0)
        return {};
    if (hostFormat || !IsHostDate(yymmdd))
        return TwoDigits(yymmdd / 10000) + "/" + TwoDigits(yymmdd / 100) + "/" + TwoDigits(yymmdd);
    orvale::DateTime day;
    day.Year = HostDateYear(yymmdd);
    day.Month = yymmdd / 100 % 100;
    day.Day = yymmdd % 100;
    return orvale::RegionalSettings::Current().FormatDate(day);
}

std::string ChangedSinceSummary(int total, int here, int otherSections, const std::string& since) {
    std::string text = Counted(total, "line", "lines") + " changed since " + since;
    if (total == 0)
        return text;
    text += ": " + std::to_string(here) + " in this section";
    if (total > here)
        text += ", " + std::to_string(total - here) + " in " +
                Counted(otherSections, "other section", "other sections");
    return text;
}
