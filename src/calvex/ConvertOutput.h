#pragma once

// Output specifications: OUTBegin opens a file's first record, DETLine, TOTLine and EXCLine
// the further records, ANDL and ORL their AND and OR lines, LField and LConst the fields and
// constants of a record.

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertOutput {
public:
    std::string ConvertLine(std::string_view line);
    ResultLine CompileStatement(const ParsedStatement& statement);

private:
    ParsedStatement Scratch;
};

} // namespace calvex
