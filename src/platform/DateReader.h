#pragma once

// Dates in text that another machine may have written. Each machine writes dates in its own
// regional formats ("09/12/2026 14:04:14" in Britain is "12/09/2026 02:04:14 PM" in the United
// States and "09.12.2026 14:04:14" in Germany), so a text is read with the formats it was
// written with where it records them, and otherwise with the first of the current settings and
// the common forms that reads it.

#include "DateTime.h"
#include "RegionalSettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// The formats as one line of text, "date|time|am|pm", for a file to record them in.
std::string FormatsRecord(const RegionalSettings& formats);
// The formats of such a record; nothing when the text is not one.
std::optional<RegionalSettings> FormatsFromRecord(std::string_view record);

// The current settings, then ISO 8601, then day-month-year and month-day-year with "/", "." and
// "-", then the Japanese year-month-day. Where both orders read a text, its clock decides: a
// 12-hour time with AM or PM is read month first, as the countries that write one do, and a
// 24-hour time or a date alone day first.
std::vector<RegionalSettings> CommonDateForms();

class DateReader {
public:
    // Dates written with Formats. A text they do not read (a date written elsewhere and kept) is
    // read as a text of unknown formats.
    explicit DateReader(RegionalSettings formats);
    // Dates of unknown formats: read with the first of CommonDateForms() that reads every one
    // of Texts, or failing that the most of them, since the dates of one file or member were
    // written on one machine: a text that reads both ways is then read the way its neighbours
    // are. Each text that form does not read is read on its own.
    static DateReader Choosing(const std::vector<std::string_view>& texts);

    struct Reading {
        DateTime Moment;
        // Read with formats that give back the same text: the current settings'. A text read
        // otherwise is written anew when it is kept.
        bool InCurrentFormats = false;
    };
    std::optional<Reading> Read(std::string_view text) const;

    const RegionalSettings& Formats() const { return Formats_; }
    // The formats are those of the current settings.
    bool IsCurrent() const { return Current_; }

private:
    RegionalSettings Formats_;
    std::vector<RegionalSettings> Others_; // CommonDateForms(), the current settings first
    bool Current_ = false;
};

} // namespace orvale
