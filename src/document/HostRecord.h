#pragma once

// The host keeps two fields before the 80 columns of every source line: a sequence number of
// six digits (four whole, two decimal: 000100 is 1.00) and the date the line last changed as
// YYMMDD (000000 when none was recorded). A member kept on the PC with these 12 characters is a
// dated member; these are the rules for reading, writing and comparing them.

#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct HostRecord {
    // In hundredths: 100 is 1.00; -1 for a line that has no record.
    std::int32_t Sequence = -1;
    // YYMMDD as a number; 0 where the host recorded none.
    std::int32_t ChangeDate = 0;

    bool Has() const { return Sequence >= 0; }
    bool operator==(const HostRecord&) const = default;
};

// The largest sequence number six digits hold.
inline constexpr std::int32_t kLastSequence = 999999;
// The characters a record takes before the columns.
inline constexpr size_t kRecordWidth = 12;

// The record at the start of Line, when its first 12 characters are digits.
bool ReadHostRecord(std::string_view line, HostRecord& record);
// Appends the record's 12 digits.
void AppendHostRecord(std::string& out, const HostRecord& record);
// Writes them at Out, which holds 12 characters; returns the end.
char* PutHostRecord(char* out, const HostRecord& record);

// -- Dates (two-digit years: 40-99 are 1940-1999, 00-39 are 2000-2039, as on the host)

// The full year of YYMMDD.
int HostDateYear(std::int32_t yymmdd);
// Whether YYMMDD is a day of the calendar (000000 is not).
bool IsHostDate(std::int32_t yymmdd);
// A number that orders dates as the calendar does (YYYYMMDD); 0 for 000000.
std::int32_t HostDateKey(std::int32_t yymmdd);
// Today by the clock, as YYMMDD.
std::int32_t TodayHostDate();
// Six digits that are a day of the calendar, as YYMMDD; -1 otherwise.
std::int32_t ParseHostDate(std::string_view text);
// Whether a line dated Date counts as changed on or after Since (000000 never does).
bool ChangedOnOrAfter(std::int32_t date, std::int32_t since);

// -- Sequence numbers as people write them

// "0012.01" for 1201: the host editor's way.
std::string FormatSequence(std::int32_t sequence);
// "12.01" or "12" (12.00) with a point; without one, the compile listing's way ("1201" is
// 12.01). -1 when Text is neither.
std::int32_t ParseSequence(std::string_view text, bool& hadPoint);

// -- Whether a member is dated

enum class DatedReading { Auto, Dated, Undated };

// How a member's lines are to be read.
struct MemberDating {
    bool Dated = false;
    // Reading as undated although some lines of the specifications begin with 12 digits and
    // others read as undated lines (Auto only): the first of each, for the warning.
    int MixedDatedLine = -1;
    int MixedPlainLine = -1;
};

// In Auto, a member is dated when some line begins with 12 digits and none of the lines before
// its compile-time data reads as an undated line only (a form type in column 6, or a comment or
// directive in column 7, and not so 12 columns further on): a line of a dated member whose
// digits were damaged is kept as written. Empty lines count for nothing.
MemberDating DecideDating(const StringList& lines, DatedReading reading);

// Takes the records off the lines of a dated member, in place: Records gets one per line, none
// for a line without one (an empty line, or one whose 12 characters are not digits, which keeps
// its text whole). Returns the indexes of the lines not empty that have no record.
std::vector<int> TakeHostRecords(StringList& lines, std::vector<HostRecord>& records);
