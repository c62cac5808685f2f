#include "RoundTrip.h"

#include "document/ParseString.h"

namespace calvex {

std::string RawFallback(std::string_view line) {
    std::string_view raw = Columns(line, 6, 74);
    std::string s;
    s.reserve(raw.size() + 6);
    s.assign("RPG(");
    s.append(raw);
    if (raw.size() == 1)
        s += ' ';
    s += ')';
    return s;
}

bool GivesBack(std::string_view source, std::string_view compiled, LineClass lineClass,
               int commentFirst) {
    if (lineClass == LineClass::Specification)
        return SameSpecification(source, compiled, commentFirst);
    char c6 = Column(source, 6);
    if (c6 != ' ' && Column(compiled, 6) != c6)
        return false;
    if (lineClass == LineClass::Directive) {
        for (int c = 7; c <= 74; ++c)
            if (UpperChar(Column(source, c)) != UpperChar(Column(compiled, c)))
                return false;
        return true;
    }
    // A comment keeps its asterisk; a line that had none (a blank line, or text from column 8
    // on) gains one, the only change a comment statement makes to it.
    char c7 = Column(source, 7);
    if (Column(compiled, 7) != '*' || (c7 != '*' && c7 != ' '))
        return false;
    for (int c = 8; c <= 74; ++c)
        if (Column(source, c) != Column(compiled, c))
            return false;
    return true;
}

bool IsForeignComment(std::string_view line, char formType) {
    char c6 = Column(line, 6);
    return Column(line, 7) == '*' && c6 != ' ' && c6 != formType;
}

bool ParseCandidate(std::string_view statement, ParsedStatement& scratch) {
    static const ParseSwitches switches{
        .CodeComments = true, .CommentLines = true, .BlankLines = true};
    static const Definitions none;
    ParseStatementLine(statement, switches, none, scratch);
    return !scratch.Skipped && !scratch.Failed && scratch.Messages.empty() &&
           !scratch.Params.empty();
}

} // namespace calvex
