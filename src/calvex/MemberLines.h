#pragma once

// How the Convert walks see the lines of a member: which lines a walk of one specification
// type takes, where the compile-time data begins and where its blocks are separated.

#include "ConvertText.h"
#include "platform/StringList.h"

#include <string_view>

namespace calvex {

inline bool IsFormLetter(char c) {
    return c == 'H' || c == 'F' || c == 'E' || c == 'L' || c == 'I' || c == 'C' || c == 'O';
}

// A line beginning "**" ends the specifications: the compile-time data follows it.
inline bool StartsCompileTimeData(std::string_view line) {
    return line.size() >= 2 && line[0] == '*' && line[1] == '*';
}

// Inside the compile-time data a block of records begins at "**" followed by a blank (or by
// nothing); a record that merely begins "**" is data.
inline bool IsDataSeparator(std::string_view line) {
    return StartsCompileTimeData(line) && (line.size() == 2 || line[2] == ' ');
}

// A comment or a directive rather than a specification line, as the converters see it.
inline bool IsCommentOrDirective(std::string_view line) {
    char c7 = Column(line, 7);
    return c7 == '*' || c7 == '/' || Column(line, 6) == ' ';
}

// A line that is not a specification: a comment, a directive, or a line whose column 6 is blank.
inline bool IsNonSpecification(std::string_view line) {
    return IsCommentOrDirective(line);
}

// The place of a form type in the order the compiler wants the specifications in (H, F, E, L,
// I, C, O); -1 for a character that is no form type.
inline int FormRank(char c) {
    switch (c) {
    case 'H':
        return 0;
    case 'F':
        return 1;
    case 'E':
        return 2;
    case 'L':
        return 3;
    case 'I':
        return 4;
    case 'C':
        return 5;
    case 'O':
        return 6;
    default:
        return -1;
    }
}

// A line, neither a comment nor a directive, that a walk of FormType keeps as written because
// it is no specification of its own: one whose column 6 holds no form type at all (a text line,
// or a comment whose columns moved), or a specification of a form that comes before FormType,
// which the compiler reports as out of sequence. Such a line stays among the lines around it
// instead of ending the walk, which would part them from the lines after it.
inline bool IsStrayLine(std::string_view line, char formType) {
    if (StartsCompileTimeData(line))
        return false;
    char c6 = Column(line, 6);
    char c7 = Column(line, 7);
    if (c6 == ' ' || c6 == formType || c7 == '*' || c7 == '/')
        return false;
    return FormRank(c6) < FormRank(formType);
}

// Decides which lines a walk of one form type takes: its own form type or a blank in column 6;
// a comment whose column 6 holds no form type at all (the compiler reads any line with an
// asterisk in column 7 as a comment, so such a line must not end a walk); a stray line (see
// IsStrayLine); and a comment or directive of another form type when the lines after it, past
// other such lines and stray lines, go on with this walk's form type, so that a comment stays in
// its place among the lines it stands between. A line beginning "**" ends every walk.
class WalkFilter {
public:
    WalkFilter(const StringList& source, char formType) : Source(source), FormType(formType) {}

    bool Takes(int index) {
        std::string_view line = Source[static_cast<size_t>(index)];
        if (StartsCompileTimeData(line))
            return false;
        char c6 = Column(line, 6);
        if (c6 == FormType || c6 == ' ')
            return true;
        char c7 = Column(line, 7);
        if (c7 != '*' && c7 != '/')
            return IsStrayLine(line, FormType);
        if (c7 == '*' && !IsFormLetter(c6))
            return true;
        if (index < RunEnd)
            return true;
        int j = index + 1;
        int n = static_cast<int>(Source.size());
        while (j < n) {
            std::string_view next = Source[static_cast<size_t>(j)];
            if (StartsCompileTimeData(next))
                break;
            char n6 = Column(next, 6);
            if (n6 == FormType)
                break;
            if (n6 != ' ' && !IsNonSpecification(next) && !IsStrayLine(next, FormType))
                return false;
            ++j;
        }
        RunEnd = j;
        return true;
    }

private:
    const StringList& Source;
    char FormType;
    int RunEnd = -1; // lines before it were found to go with this walk
};

// A /COPY directive: a copied member's lines stand in its place.
inline bool IsCopyDirective(std::string_view line) {
    if (Column(line, 7) != '/' || Column(line, 8) == '*')
        return false;
    std::string_view text = Columns(line, 8, 11);
    return text.size() == 4 && (text[0] == 'C' || text[0] == 'c') &&
           (text[1] == 'O' || text[1] == 'o') && (text[2] == 'P' || text[2] == 'p') &&
           (text[3] == 'Y' || text[3] == 'y');
}

// An extension line that defines an array or table loaded at compile time: no file it is read
// from (columns 11-18) and a number of entries per record (columns 33-35). It takes one block
// of the compile-time data.
inline bool TakesCompileTimeData(std::string_view line) {
    return ColumnsBlank(line, 11, 18) && !ColumnsBlank(line, 33, 35);
}

// What the header lines before End ask of the compile-time data: the alternate collating
// sequence records (an "S" in column 26) and the file translation records (an "F" in column 43)
// come before the tables' data.
struct HeaderDataBlocks {
    bool AlternateSequence = false;
    bool FileTranslation = false;
};
inline HeaderDataBlocks ReadHeaderDataBlocks(const StringList& source, int end) {
    HeaderDataBlocks found;
    for (int k = 0; k < end && k < static_cast<int>(source.size()); ++k) {
        std::string_view line = source[static_cast<size_t>(k)];
        if (StartsCompileTimeData(line))
            break;
        if (Column(line, 6) != 'H' || IsCommentOrDirective(line))
            continue;
        found.AlternateSequence = found.AlternateSequence || Column(line, 26) == 'S';
        found.FileTranslation = found.FileTranslation || Column(line, 43) == 'F';
    }
    return found;
}

// A calculation line (not a comment) whose operation columns 28-32 hold Operation.
inline bool HoldsOperation(std::string_view line, std::string_view operation) {
    if (IsCommentOrDirective(line))
        return false;
    std::string_view op = Columns(line, 28, 32);
    while (!op.empty() && op.back() == ' ')
        op.remove_suffix(1);
    return op == operation;
}

} // namespace calvex
