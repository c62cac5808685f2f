#include "ConvertOutput.h"

#include "RoundTrip.h"
#include "StatementWriter.h"
#include "TableStatement.h"

namespace calvex {

namespace {

void Indicators(std::string_view line, StatementWriter& w) {
    w.Param(line, 23, 25);
    w.Param(line, 26, 28);
    w.Param(line, 29, 31);
}

// Fetch overflow or release, spacing, skipping and the three output indicators: the items
// every record statement carries after its name.
void RecordItems(std::string_view line, StatementWriter& w) {
    w.Param(line, 16, 16);
    w.Param(line, 17, 17);
    w.Param(line, 18, 18);
    w.Param(line, 19, 20);
    w.Param(line, 21, 22);
    Indicators(line, w);
}

void FileRecord(std::string_view line, StatementWriter& w, bool withException) {
    w.Begin("    OUTBegin(");
    w.Param(line, 7, 14);
    w.Param(line, 15, 15);
    w.Param(line, 17, 17);
    w.Param(line, 18, 18);
    w.Param(line, 19, 20);
    w.Param(line, 21, 22);
    Indicators(line, w);
    w.Param(line, 16, 16);
    if (withException)
        w.Param(line, 32, 37);
}

// Writes the statement of a specification line; false when no statement form fits it.
bool WriteStatement(std::string_view line, StatementWriter& w) {
    bool record = ColumnsBlank(line, 32, 74);
    char type = Column(line, 15);
    if (record) {
        if (!ColumnsBlank(line, 7, 12)) {
            FileRecord(line, w, false);
            return true;
        }
        if (type == 'D' || type == 'T') {
            w.Begin(type == 'D' ? "      DETLine(" : "      TOTLine(");
            RecordItems(line, w);
            return true;
        }
        if (type == 'E') {
            w.Begin("      EXCLine(");
            w.Text({});
            RecordItems(line, w);
            return true;
        }
        if (ColumnsEqual(line, 14, 16, "AND")) {
            // Column 16 holds the D of AND, not a fetch overflow entry.
            w.Begin("         ANDL(");
            w.Text({});
            w.Param(line, 17, 17);
            w.Param(line, 18, 18);
            w.Param(line, 19, 20);
            w.Param(line, 21, 22);
            Indicators(line, w);
            return true;
        }
        if (ColumnsEqual(line, 14, 16, "OR ")) {
            w.Begin("          ORL(");
            RecordItems(line, w);
            return true;
        }
        // A record of another type without a file name has no statement.
        return false;
    }
    if (type == 'E') {
        // An exception record naming its file as well carries both in OUTBegin.
        if (!ColumnsBlank(line, 7, 14)) {
            FileRecord(line, w, true);
            return true;
        }
        w.Begin("      EXCLine(");
        w.Param(line, 32, 37);
        RecordItems(line, w);
        return true;
    }
    if (!ColumnsBlank(line, 7, 22))
        return false;
    if (!ColumnsBlank(line, 32, 37)) {
        w.Begin("        LField(");
        w.ElementParam(line, 32, 37);
        w.Param(line, 40, 43);
        w.Param(line, 38, 38);
        w.Param(line, 45, 70);
        w.Param(line, 44, 44);
        w.Param(line, 39, 39);
    } else {
        w.Begin("        LConst(");
        w.Param(line, 45, 70);
        w.Param(line, 40, 43);
    }
    Indicators(line, w);
    return true;
}

} // namespace

std::string TRPG3ConvertOutput::ConvertLine(std::string_view line) {
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

ResultLine TRPG3ConvertOutput::CompileStatement(const ParsedStatement& statement) {
    return CompileTableStatement(statement.Params, 'O');
}

} // namespace calvex
