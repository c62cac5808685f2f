#pragma once

// Writes a converted statement: its name with indentation, the trimmed column groups of the
// line as parameters separated by commas, and the closing parenthesis without empty trailing
// parameters.

#include "ConvertText.h"

#include <string>
#include <string_view>

namespace calvex {

class StatementWriter {
public:
    explicit StatementWriter(std::string& out) : Out(out) {}

    // Opening text, up to and including the parenthesis ("    File(").
    void Begin(std::string_view opening) {
        Out.assign(opening);
        First = true;
    }
    // The trimmed text of columns From..To.
    void Param(std::string_view line, int from, int to) { Text(TrimmedColumns(line, from, to)); }
    // The same, in array element notation (NAME,IDX written NAME[IDX]).
    void ElementParam(std::string_view line, int from, int to) {
        Separate();
        AppendElementNotation(Out, TrimmedColumns(line, from, to));
    }
    void Text(std::string_view text) {
        Separate();
        Out.append(text);
    }
    void End() {
        Out += ')';
        TrimTrailingCommas(Out);
    }

private:
    void Separate() {
        if (!First)
            Out += ',';
        First = false;
    }

    std::string& Out;
    bool First = true;
};

} // namespace calvex
