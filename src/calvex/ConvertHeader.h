#pragma once

// Header specifications: every header line is kept whole as a raw RPG(...) statement.

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertHeader {
public:
    std::string ConvertLine(std::string_view line);
    // Raw lines, directives, continuation lines and comments; anything else is not a header
    // statement.
    ResultLine CompileStatement(const ParsedStatement& statement);

private:
    ParsedStatement Scratch;
};

} // namespace calvex
