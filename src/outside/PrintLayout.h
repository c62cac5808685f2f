#pragma once

// The print-layout preview without a window: an output section's statements compiled to
// fixed-column output lines, and those lines laid out as the printer would place them, on a
// column ruler.

#include "platform/StringList.h"

#include <string>
#include <vector>

namespace lumbro {

struct TCompiledOutput {
    StringList Lines; // fixed-column lines, with the error and warning lines among them
    int Errors = 0;
    int Warnings = 0;
};

// Compiles the statements of one output section without banners or comments.
TCompiledOutput CompileOutputStatements(const StringList& statements,
                                        const std::string& prefix = "&%");

struct TPrintedLine {
    enum class Kind { Record, Space, Skip };
    Kind LineKind = Kind::Record;
    std::string Text; // printed characters, column 1 first
    std::string Note; // record type, conditions and spacing, or the skip target
};

struct TPrintLayout {
    std::vector<TPrintedLine> Lines;
    StringList Messages; // what could not be placed
    int Width = 0;       // the last column used, at least 132
};

// Lays out compiled output lines: each record line (heading, detail, total or exception)
// starts a printed line that its field and constant lines fill, ending at their end positions
// (a signed one counts the blanks after the field before, a blank one follows it). A field
// shows its name, or its edit word; a constant its text. A record without any spacing or
// skipping entry is single spaced after, as the printer does it.
TPrintLayout BuildPrintLayout(const StringList& compiled);

// Two lines numbering the columns 1 to Width: the tens over every tenth column, the units.
StringList ColumnRuler(int width);

} // namespace lumbro
