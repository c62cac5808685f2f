#include "ConvertInput.h"

#include "RoundTrip.h"
#include "StatementWriter.h"
#include "TableStatement.h"

namespace calvex {

namespace {

bool ColumnsInteger(std::string_view line, int from, int to) {
    return IsInteger(TrimmedColumns(line, from, to));
}

void RecordIdentification(std::string_view line, StatementWriter& w) {
    w.Param(line, 21, 24);
    w.Param(line, 25, 25);
    w.Param(line, 26, 26);
    w.Param(line, 27, 27);
    w.Param(line, 28, 31);
    w.Param(line, 32, 32);
    w.Param(line, 33, 33);
    w.Param(line, 34, 34);
    w.Param(line, 35, 38);
    w.Param(line, 39, 39);
    w.Param(line, 40, 40);
    w.Param(line, 41, 41);
}

// Writes the statement of a specification line; false when no statement form fits it.
bool WriteStatement(std::string_view line, StatementWriter& w) {
    if (ColumnsEqual(line, 19, 20, "DS")) {
        w.Begin("    DS(");
        w.Param(line, 7, 12);
        w.Param(line, 17, 17);
        w.Param(line, 18, 18);
        w.Param(line, 21, 30);
        w.Param(line, 44, 47);
        w.Param(line, 48, 51);
        return true;
    }
    if (ColumnsBlank(line, 15, 18) && ColumnsBlank(line, 21, 74)) {
        w.Begin("    Record(");
        w.Param(line, 7, 14);
        w.Param(line, 19, 20);
        return true;
    }
    if (ColumnsBlank(line, 7, 13) && ColumnsBlank(line, 17, 20) && ColumnsBlank(line, 42, 74)) {
        w.Begin(ColumnsEqual(line, 14, 16, "AND") ? "     AndRec(" : "      OrRec(");
        RecordIdentification(line, w);
        return true;
    }
    if (ColumnsBlank(line, 42, 74)) {
        w.Begin("    FileRec(");
        w.Param(line, 7, 14);
        w.Param(line, 15, 16);
        w.Param(line, 17, 17);
        w.Param(line, 18, 18);
        w.Param(line, 19, 20);
        RecordIdentification(line, w);
        return true;
    }
    if (ColumnsBlank(line, 7, 41) && ColumnsInteger(line, 44, 47) && ColumnsInteger(line, 48, 51)) {
        w.Begin("        Field(");
        w.ElementParam(line, 53, 58);
        w.Param(line, 44, 47);
        w.Param(line, 48, 51);
        w.Param(line, 43, 43);
        w.Param(line, 52, 52);
        w.Param(line, 59, 60);
        w.Param(line, 61, 62);
        w.Param(line, 63, 64);
        w.Param(line, 65, 70);
        return true;
    }
    if (ColumnsBlank(line, 8, 20) && ColumnsBlank(line, 44, 52) && ColumnsBlank(line, 59, 74) &&
        Column(line, 21) == '\'') {
        w.Begin("        Const(");
        w.Param(line, 53, 58);
        w.Param(line, 43, 43);
        w.Param(line, 21, 42);
        return true;
    }
    if (ColumnsBlank(line, 7, 20) && ColumnsBlank(line, 31, 52) && ColumnsBlank(line, 63, 64) &&
        ColumnsBlank(line, 71, 74)) {
        w.Begin("        RenFld(");
        w.Param(line, 21, 30);
        w.ElementParam(line, 53, 58);
        w.Param(line, 59, 60);
        w.Param(line, 61, 62);
        w.Param(line, 65, 70);
        return true;
    }
    return false;
}

} // namespace

std::string TRPG3ConvertInput::ConvertLine(std::string_view line) {
    std::string statement;
    LineClass lineClass = ClassifyLine(line, statement);
    if (lineClass == LineClass::Specification) {
        StatementWriter w(statement);
        if (WriteStatement(line, w))
            w.End();
        else
            statement = RawFallback(line);
    }
    return CheckedStatement(*this, line, std::move(statement), lineClass, 0, Scratch);
}

ResultLine TRPG3ConvertInput::CompileStatement(const ParsedStatement& statement) {
    return CompileTableStatement(statement.Params, 'I');
}

} // namespace calvex
