#pragma once

// Conversions with choices beyond a translation file: records that carry the host's sequence
// number and change date before their columns, and host code pages read through the system's
// converters, mixed single- and double-byte ones included. Their outcome is read with
// OndrelLastError, as that of EBCDicToASCII; a call that fails writes no target file.
//
// Dated records: 12 bytes of zoned decimal digits (0xF0-0xF9), 6 of sequence number and 6 of
// date, then the columns; the text's line begins with the same 12 digits. A record or line
// without them is converted as it is, its 12 bytes as text, with a warning naming it.
//
// Double-byte text: on the host a run of double-byte characters stands between shift-out
// (0x0E) and shift-in (0x0F); on the PC each shift character is one blank, so every line keeps
// its columns. Going back, the blanks around a run become its shift characters again; a run
// without them takes shift characters of its own, with a warning naming the line, since the
// columns after it move. A member converted to text and back comes back byte for byte.

#include "Ondrel.h"

#include <string>

struct TOndrelConversion {
    // The columns of a record, 1 to 255 (after the 12 digits of a dated record).
    int RecordLength = 80;
    // Records begin with their sequence number and date.
    bool Dated = false;
    // The host's code page as the system's converters name it (IBM037, IBM280, IBM937,
    // IBM-930, or the number alone); empty: the translation file.
    std::string HostCodePage;
    // The PC's code page (ISO-8859-1, BIG5, CP932, GBK, CP949 ...); empty: the usual one for
    // the host's (OndrelDefaultPcCodePage). Needs HostCodePage.
    std::string PcCodePage;
    // The translation file when HostCodePage is empty: host to PC for EBCDicToASCIIEx, PC to
    // host for ASCIIToEBCDicEx.
    std::string TableFile;
};

extern "C" {

// EBCDicToASCII with Conversion's choices. Without a code page and undated, it is exactly
// EBCDicToASCII. A dated member must be a whole number of records; otherwise a partial last
// record is kept, padded, as there.
ORVALE_EXPORT bool EBCDicToASCIIEx(const std::string& source, const std::string& target,
                                   const TOndrelConversion& conversion, TOndrelProgress progress);

// ASCIIToEBCDic with Conversion's choices; likewise.
ORVALE_EXPORT void ASCIIToEBCDicEx(const std::string& source, const std::string& target,
                                   const TOndrelConversion& conversion, TOndrelProgress progress);

// Whether the system's converters can convert between Host and Pc as the conversions above
// would (empty Pc: the usual one); Message says why not. For a dialog, before it converts.
ORVALE_EXPORT bool OndrelCheckCodePages(const std::string& host, const std::string& pc,
                                        std::string& message);

// The usual PC code page for the double-byte text of Host (CP932, BIG5, GBK, CP949), or
// ISO-8859-1 for a single-byte page.
ORVALE_EXPORT void OndrelDefaultPcCodePage(const std::string& host, std::string& pc);
}
