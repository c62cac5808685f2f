#pragma once

// How the columns of one record become a line of text and back: through a translation table,
// byte for byte, or through a host and a PC code page, double-byte runs included.

#include "TranslationTable.h"

#include <memory>
#include <string>

namespace ondrel {

// What one record or line held that the caller should know. Columns are numbered from the
// FirstColumn given to the conversion.
struct ColumnNotes {
    std::string Problem;   // "column N: ..." for data that cannot be converted at all
    size_t Lost = 0;       // characters without a counterpart, made blanks
    size_t FirstLost = 0;  // the column of the first of them
    bool Unframed = false; // a double-byte run without blanks around it took shift characters
                           // of its own, and the columns after it moved
    bool Resized = false;  // a character takes another number of bytes on the other side
    bool Cut = false;      // text other than blanks did not fit the record
};

class Columns {
public:
    virtual ~Columns() = default;

    // The code pages on each side, for messages (empty for a table).
    virtual std::string HostName() const { return {}; }
    virtual std::string PcName() const { return {}; }

    // The most bytes of text a record of Length bytes can become.
    virtual size_t MaxTextBytes(size_t length) const { return length; }

    // One single-byte character on the other side, or -1 when it has no counterpart.
    virtual int SingleToPc(unsigned char byte) const = 0;
    virtual int SingleToHost(unsigned char byte) const = 0;

    // Writes the text of the Length bytes of Record at Text and returns its size. When
    // Notes.Problem is set the text is not to be used.
    virtual size_t ToPc(const unsigned char* record, size_t length, size_t firstColumn, char* text,
                        ColumnNotes& notes) = 0;

    // Writes the Size bytes of Line as a record of exactly Length bytes at Record, padded with
    // host blanks.
    virtual void ToHost(const char* line, size_t size, size_t length, size_t firstColumn,
                        char* record, ColumnNotes& notes) = 0;
};

// Byte for byte through Table; no byte is reported lost (the table gives blanks itself).
std::unique_ptr<Columns> TableColumns(const TranslationTable& table);

// Through the system's converters between Host and Pc (see CodePagePair). Null with Error set
// when the pair cannot be opened.
std::unique_ptr<Columns> CodePageColumns(const std::string& host, const std::string& pc,
                                         std::string& error);

} // namespace ondrel
