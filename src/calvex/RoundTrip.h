#pragma once

// The converters write a statement for every line they are given and check that it compiles
// back to the columns it came from; a specification line the statement form cannot carry is
// kept as it stands in the raw RPG(...) form. These helpers hold that check.

#include "ConvertText.h"
#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

// "RPG(" + columns 6-74 + ")". A line holding nothing but its form type keeps one blank after
// it, since RPG(C) reads as a line without code.
std::string RawFallback(std::string_view line);

// Whether Compiled gives back Source under the rule of its line class: a specification line
// equal in columns 6-74 (with the trailing-comment exception from CommentFirst on); a comment
// line equal in columns 8-74 with an asterisk in column 7; a directive equal in columns 7-74
// ignoring case. Column 6 of a comment or directive may take the form type where it was blank.
bool GivesBack(std::string_view source, std::string_view compiled, LineClass lineClass,
               int commentFirst);

// True for a comment line (asterisk in column 7) whose column 6 holds something other than a
// blank or the form type: only the raw form keeps that character.
bool IsForeignComment(std::string_view line, char formType);

// The statement for one line, checked. Converter provides CompileStatement(const
// ParsedStatement&) -> ResultLine; Scratch is reused between lines.
template <class Converter>
std::string CheckedStatement(Converter& converter, std::string_view line, std::string statement,
                             LineClass lineClass, int commentFirst, ParsedStatement& scratch);

// Parses a candidate statement the way the compile of a round trip does (code comments kept,
// no definitions). False when it does not parse cleanly.
bool ParseCandidate(std::string_view statement, ParsedStatement& scratch);

template <class Converter>
std::string CheckedStatement(Converter& converter, std::string_view line, std::string statement,
                             LineClass lineClass, int commentFirst, ParsedStatement& scratch) {
    if (ParseCandidate(statement, scratch)) {
        ResultLine r = converter.CompileStatement(scratch);
        if (!r.Error && !r.Warning && GivesBack(line, r.Text, lineClass, commentFirst))
            return statement;
    }
    // The raw form keeps a line only when column 6 holds something: a line whose column 6 is
    // blank and that no form carries stays as its candidate.
    std::string raw = RawFallback(line);
    if (ParseCandidate(raw, scratch)) {
        ResultLine r = converter.CompileStatement(scratch);
        if (!r.Error && !r.Warning && GivesBack(line, r.Text, lineClass, commentFirst))
            return raw;
    }
    return statement;
}

} // namespace calvex
