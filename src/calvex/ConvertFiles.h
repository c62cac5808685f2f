#pragma once

// File description specifications: File and FilePrn statements for the file lines, Rename,
// Ignore, SFRecNo, InfoDS, Plist and FCont for the continuation lines (K in column 53).

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertFiles {
public:
    std::string ConvertLine(std::string_view line);
    ResultLine CompileStatement(const ParsedStatement& statement);

private:
    ParsedStatement Scratch;
};

} // namespace calvex
