#include "ConvertLinesCount.h"

#include "RoundTrip.h"
#include "StatementWriter.h"
#include "TableStatement.h"

namespace calvex {

std::string TRPG3ConvertLinesCount::ConvertLine(std::string_view line) {
    std::string statement;
    LineClass lineClass = ClassifyLine(line, statement);
    if (lineClass == LineClass::Specification) {
        StatementWriter w(statement);
        w.Begin("    LineCount(");
        w.Param(line, 7, 14);
        w.Param(line, 15, 17);
        w.Param(line, 18, 19);
        w.Param(line, 20, 22);
        w.Param(line, 23, 24);
        w.End();
    }
    return CheckedStatement(*this, line, std::move(statement), lineClass, 0, Scratch);
}

ResultLine TRPG3ConvertLinesCount::CompileStatement(const ParsedStatement& statement) {
    return CompileTableStatement(statement.Params, 'L');
}

} // namespace calvex
