#pragma once

// Line-counter specifications: the LineCount statement.

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertLinesCount {
public:
    std::string ConvertLine(std::string_view line);
    ResultLine CompileStatement(const ParsedStatement& statement);

private:
    ParsedStatement Scratch;
};

} // namespace calvex
