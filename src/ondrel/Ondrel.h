#pragma once

// The Ondrel library: moves RPG/400 source members between the host's form (fixed-length
// EBCDIC records without line ends) and the PC's form (text lines), through a 256-byte
// translation table read from a translation file, and copies members into the host's shared
// folder. It has no windows.
//
// Failures never leave the library as exceptions. Every conversion and copy records its
// outcome, which the caller reads with OndrelLastError right after the call: a status from
// TOndrelStatus and a one-line reason naming the file. A call that fails writes no target file
// and leaves an existing one as it was.
//
// Translation file: an INI file whose section "SB Xlate" holds one "XX=YY" line per mapped byte
// (source byte = target byte, each two hexadecimal digits). Bytes without an entry become the
// blank of the target side; an entry with an empty value is ignored.

#include "platform/Export.h"

#include <string>

// Called once per record while a conversion runs, so that the caller can keep its window alive
// and call OndrelCancelOp. May be null.
using TOndrelProgress = void (*)();

enum TOndrelStatus : int {
    OndrelOk = 0,
    OndrelCancelled = 1,       // stopped by OndrelCancelOp; no target written
    OndrelSourceMissing = 2,   // the source file does not exist
    OndrelReadFailed = 3,      // the source exists but could not be read
    OndrelBadRecordLength = 4, // the record length is not between 1 and 255
    OndrelBadTable = 5,        // the translation file is unreadable or has a bad entry
    OndrelWriteFailed = 6,     // the target could not be written
    OndrelCopyFailed = 7,      // ShellCopyToAS could not copy the file
    // Warnings: the target was written, but the caller should tell the user why it may not be
    // what was expected.
    OndrelPartialRecord = 8, // the member's last record was short; it was kept, padded
    OndrelLinesCut = 9,      // lines longer than the record length lost text past it
    // Failures of the conversions of MemberConversion.h.
    OndrelBadCodePage = 10,   // a code page the system's converters do not know, or unfit
    OndrelBadData = 11,       // the source holds bytes that are not text of its code page
    OndrelBadMemberSize = 12, // a dated member that is not a whole number of records
    // And their warnings.
    OndrelColumnsMoved = 13,   // characters took other room on the other side
    OndrelCharactersLost = 14, // characters without a counterpart became blanks
    OndrelBadSequence = 15,    // records or lines without 12 digits of number and date
};

// Whether a conversion with that outcome wrote its target (with or without a warning).
inline bool OndrelWritten(int status) {
    return status == OndrelOk || status == OndrelPartialRecord || status == OndrelLinesCut ||
           (status >= OndrelColumnsMoved && status <= OndrelBadSequence);
}

// How the records of a member read as RPG/400 source.
struct TOndrelRecordFit {
    // The record length its records read as source at; 0 when no length from 7 to 255 does.
    int Found = 0;
    // Whole percent of its records that read as source lines (a form type in column 6, or a
    // comment or directive mark in column 7) at the record length asked, and at Found.
    int Share = 0;
    int FoundShare = 0;
};

// Below this share of source lines the records of a member look misread.
inline constexpr int OndrelSourceShare = 50;

extern "C" {

// 1: "1.31 - 17/05/1997".
ORVALE_EXPORT void GetEBCDDllVersion(std::string& version);

// 2: Converts Source, records of RecordLength bytes, into the text file Target, one line of
// exactly RecordLength characters per record. A partial last record is kept as a line padded
// with blanks, and reported as OndrelPartialRecord (a member cut short, or one whose records
// are of another length). True when the target was written or the conversion was cancelled.
ORVALE_EXPORT bool EBCDicToASCII(const std::string& source, const std::string& target,
                                 const std::string& tableFile, int recordLength,
                                 TOndrelProgress progress);

// 3: Converts the text file Source into the member Target: each line becomes one record of
// RecordLength bytes, cut or padded with EBCDIC blanks (0x40), without line ends. Lines that
// lose text other than blanks to the cut are reported as OndrelLinesCut.
ORVALE_EXPORT void ASCIIToEBCDic(const std::string& source, const std::string& target,
                                 const std::string& tableFile, int recordLength,
                                 TOndrelProgress progress);

// 4: Copies File into Folder under its own name. The copy is made whole or not at all. An
// existing member is replaced when Quiet is false; when Quiet is true it is kept and the copy
// fails, since there is no one to confirm the replacement. Window is not used.
ORVALE_EXPORT bool ShellCopyToAS(const std::string& file, const std::string& folder, void* window,
                                 bool quiet);

// 5: Asks the running conversion to stop at its next record.
ORVALE_EXPORT void OndrelCancelOp();

// 7: Tells the record length of the member Source from its records, read through the table
// of TableFile (EBCDIC to text), and how well they read at RecordLength, which is also the
// length taken when the records say nothing against it (a member of one line of source and
// blank lines reads as well in one record as in two). The size of the member and the records
// at its head are read, not the whole member. True with Fit filled; false with the outcome
// set (a missing or unreadable source, a bad table, a record length not from 1 to 255).
ORVALE_EXPORT bool MemberRecordFit(const std::string& source, const std::string& tableFile,
                                   int recordLength, TOndrelRecordFit& fit);

// 8: The record length that keeps every line of the text file Source whole: its longest line
// (trailing blanks left out), at least Least, at most 255 (longer lines will be cut). 0 with
// the outcome set when the source cannot be read.
ORVALE_EXPORT int TextRecordLength(const std::string& source, int least);

// 6: The outcome of the last EBCDicToASCII, ASCIIToEBCDic or ShellCopyToAS of this thread, and
// its reason ("<file>: <what went wrong>"; empty for OndrelOk and OndrelCancelled; for a
// warning, what the written target holds that the caller should know).
ORVALE_EXPORT int OndrelLastError(std::string& message);
}
