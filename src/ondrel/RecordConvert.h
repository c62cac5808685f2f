#pragma once

// The two conversions of a member, in memory: fixed-length records to text lines and back.

#include "Ondrel.h"
#include "TranslationTable.h"

#include <atomic>
#include <cstddef>
#include <string_view>

namespace ondrel {

inline constexpr int MaxRecordLength = 255;

inline bool ValidRecordLength(int length) {
    return length >= 1 && length <= MaxRecordLength;
}

// Size of the text of a member of MemberSize bytes: one line of RecordLength characters and
// CR LF per record, a partial last record included.
inline size_t TextSize(size_t memberSize, int recordLength) {
    const size_t length = static_cast<size_t>(recordLength);
    return (memberSize + length - 1) / length * (length + 2);
}

// Translates each record of RecordLength bytes of Member into one line of exactly RecordLength
// characters followed by CR LF, written to Text (TextSize bytes). A partial last record (a
// member cut short, or read with the wrong record length) is kept: its bytes translated, then
// text blanks up to RecordLength; PartialBytes tells how many bytes it had (0 when every
// record was whole). Progress is called before each record and once more at the end; when
// Cancel is set after a call the conversion stops and false is returned. RecordLength must be
// valid.
bool RecordsToText(std::string_view member, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, char* text,
                   size_t& partialBytes);

// The number of lines of Text as a text file holds them: CR, LF or CR LF end a line, a zero
// byte ends the whole text, and a final line end does not make an extra empty line.
size_t CountTextLines(std::string_view text);

// The length of the longest line of Text, trailing blanks left out, as TextToRecords would
// have to keep it.
size_t LongestTextLine(std::string_view text);

// Lines that did not fit their record: how many lost text that was not blank, and the first
// of them (numbered from 1).
struct CutLines {
    size_t Count = 0;
    size_t First = 0;
};

// Translates each line of Text (counted as CountTextLines counts them) into one record of
// RecordLength bytes, written to Member (RecordLength times the number of lines): the line is
// cut to RecordLength characters and padded with EBCDIC blanks; Cut tells which lines lost
// more than blanks. Progress is called before each line; when Cancel is set after a call the
// conversion stops and false is returned. RecordLength must be valid.
bool TextToRecords(std::string_view text, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, char* member,
                   CutLines& cut);

} // namespace ondrel
