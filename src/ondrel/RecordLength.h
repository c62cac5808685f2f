#pragma once

// The record length of a member, told by its records. A member on the PC is a run of records
// without line ends, so its size alone does not say how long they are; read with the wrong
// length, its specification lines drift out of their columns record by record. Read with the
// right one, nearly every record of RPG source carries its form type in column 6 or a comment
// mark in column 7.

#include "TranslationTable.h"

#include <cstddef>
#include <string_view>

namespace ondrel {

// Records shorter than this cannot hold the form type and comment columns.
inline constexpr int LeastRecordLength = 7;

// The head of a member that is judged: a few hundred records of any length, read whatever the
// member's size.
inline constexpr size_t JudgedBytes = 128 * 1024;

// Read in records of Length bytes through Table, the records of the first JudgedBytes of
// Member up to the first "**" separator (the compile-time data behind it is free text): how
// many read as a line of source (a form type in column 6, or "*" or "/" in column 7, also
// behind the 12 digits of a sequence number and date), how many are blank and how many are
// neither.
struct RecordVerdict {
    size_t Source = 0;
    size_t Blank = 0;
    size_t Other = 0;
    // Whole percent of the records that are not blank that read as source (0 for none).
    int Share() const {
        return Source + Other == 0 ? 0 : static_cast<int>(Source * 100 / (Source + Other));
    }
};
RecordVerdict JudgeRecords(std::string_view member, int length, const TranslationTable& table);

// The record length of a member of MemberSize bytes whose first bytes are Head (JudgedBytes of
// them, or the whole member), as its records tell it, Asked when they say nothing against it:
// - a length reads as source when nearly all its records that are not blank do;
// - the right length finds the most source lines in the head: a multiple of it finds half as
//   many or fewer, while a part of it (when the rest of every line is blank) finds as many, so
//   of the lengths that find nearly the most, Asked is taken, or else the longest;
// - a member of no more than three records of Asked that read as source keeps Asked: too few
//   records to tell chance from a length;
// - only lengths that divide the member's size count, unless the member has a partial last
//   record (no such length finds half as many source lines as another).
// 0 when no length reads as source.
int FindRecordLength(std::string_view head, size_t memberSize, int asked,
                     const TranslationTable& table);

} // namespace ondrel
