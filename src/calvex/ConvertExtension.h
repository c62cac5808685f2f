#pragma once

// Extension specifications: FileArray for arrays loaded from a file, Tab for arrays and tables
// with compile-time data, Array for the others. Text in columns 58-74 is the line's comment.

#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertExtension {
public:
    std::string ConvertLine(std::string_view line);
    // The statement's trailing comment goes into columns 58-74.
    ResultLine CompileStatement(const ParsedStatement& statement);

    // Where the trailing comment of an extension line begins.
    static constexpr int CommentColumn = 58;

private:
    ParsedStatement Scratch;
};

// The kinds of extension line, decided by which columns hold text.
enum class ExtensionKind { FileArray, Tab, Array };
ExtensionKind ClassifyExtension(std::string_view line);

} // namespace calvex
