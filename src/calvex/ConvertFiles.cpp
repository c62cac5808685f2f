#include "ConvertFiles.h"

#include "RoundTrip.h"
#include "StatementWriter.h"
#include "TableStatement.h"

namespace calvex {

namespace {

void WriteContinuation(std::string_view line, StatementWriter& w) {
    if (ColumnsEqual(line, 54, 59, "RENAME")) {
        w.Begin("      Rename(");
        w.Param(line, 19, 28);
        w.Param(line, 60, 67);
    } else if (ColumnsEqual(line, 54, 59, "IGNORE")) {
        w.Begin("      Ignore(");
        w.Param(line, 19, 28);
    } else if (ColumnsEqual(line, 54, 59, "SFILE ")) {
        w.Begin("      SFRecNo(");
        w.Param(line, 60, 67);
        w.Param(line, 47, 52);
    } else if (ColumnsEqual(line, 54, 59, "INFDS ")) {
        w.Begin("      InfoDS(");
        w.Param(line, 60, 67);
    } else if (ColumnsEqual(line, 54, 59, "PLIST ")) {
        w.Begin("      Plist(");
        w.Param(line, 60, 67);
    } else {
        w.Begin("      FCont(");
        w.Param(line, 54, 59);
        w.Param(line, 19, 28);
        w.Param(line, 47, 52);
        w.Param(line, 60, 67);
    }
}

void WritePrinter(std::string_view line, StatementWriter& w) {
    w.Begin("    FilePrn(");
    w.Param(line, 7, 14);
    w.Param(line, 19, 19);
    w.Param(line, 71, 72);
    w.Param(line, 24, 27);
    w.Param(line, 33, 34);
    w.Param(line, 39, 39);
    w.Param(line, 31, 31);
    w.Param(line, 35, 38);
    w.Param(line, 29, 30);
    w.Param(line, 32, 32);
    w.Param(line, 17, 17);
    w.Param(line, 18, 18);
    w.Param(line, 28, 28);
    w.Param(line, 53, 53);
    w.Param(line, 54, 59);
}

void WriteFile(std::string_view line, StatementWriter& w) {
    w.Begin("    File(");
    w.Param(line, 7, 14);
    w.Param(line, 40, 46);
    w.Param(line, 15, 15);
    w.Param(line, 16, 16);
    w.Param(line, 19, 19);
    w.Param(line, 31, 31);
    w.Param(line, 66, 66);
    w.Param(line, 71, 72);
    w.Param(line, 24, 27);
    w.Param(line, 35, 38);
    w.Param(line, 29, 30);
    w.Param(line, 32, 32);
    w.Param(line, 33, 34);
    w.Param(line, 17, 17);
    w.Param(line, 18, 18);
    w.Param(line, 28, 28);
    w.Param(line, 39, 39);
    w.Param(line, 53, 53);
    w.Param(line, 54, 59);
}

} // namespace

std::string TRPG3ConvertFiles::ConvertLine(std::string_view line) {
    std::string statement;
    LineClass lineClass = ClassifyLine(line, statement);
    if (lineClass == LineClass::Specification) {
        StatementWriter w(statement);
        if (Column(line, 53) == 'K')
            WriteContinuation(line, w);
        else if (ColumnsEqual(line, 40, 46, "PRINTER"))
            WritePrinter(line, w);
        else
            WriteFile(line, w);
        w.End();
    }
    return CheckedStatement(*this, line, std::move(statement), lineClass, 0, Scratch);
}

ResultLine TRPG3ConvertFiles::CompileStatement(const ParsedStatement& statement) {
    return CompileTableStatement(statement.Params, 'F');
}

} // namespace calvex
