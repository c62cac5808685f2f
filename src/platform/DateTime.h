#pragma once

#include <compare>

namespace orvale {

// A moment in local civil time, to the second. Stored as fields rather than a clock value,
// because the program files keep moments as the user's regional text and read them back
// as the same wall-clock fields.
struct DateTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    static DateTime Now();
    static bool IsValid(int year, int month, int day, int hour, int minute, int second);
    static int DaysInMonth(int year, int month);

    bool IsMidnight() const { return Hour == 0 && Minute == 0 && Second == 0; }
    auto operator<=>(const DateTime&) const = default;
};

} // namespace orvale
