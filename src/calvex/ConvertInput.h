#pragma once

// Input specifications. The kind of a line follows from which column groups are blank: data
// structures (DS), externally described records (Record), AND and OR lines (AndRec, OrRec),
// program-described record identification lines (FileRec), fields (Field), named constants
// (Const) and renamed external fields (RenFld).

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertInput {
public:
    std::string ConvertLine(std::string_view line);
    ResultLine CompileStatement(const ParsedStatement& statement);

private:
    ParsedStatement Scratch;
};

} // namespace calvex
