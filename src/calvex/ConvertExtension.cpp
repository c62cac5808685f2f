#include "ConvertExtension.h"

#include "RoundTrip.h"
#include "StatementWriter.h"
#include "TableStatement.h"

namespace calvex {

namespace {

// Statements with a comment are padded to this length before "/* ", so that the comments of
// consecutive lines line up.
constexpr size_t kCommentAlign = 50;

} // namespace

ExtensionKind ClassifyExtension(std::string_view line) {
    if (!ColumnsBlank(line, 11, 26))
        return ExtensionKind::FileArray;
    if (!ColumnsBlank(line, 33, 35))
        return ExtensionKind::Tab;
    return ExtensionKind::Array;
}

std::string TRPG3ConvertExtension::ConvertLine(std::string_view line) {
    std::string statement;
    LineClass lineClass = ClassifyLine(line, statement);
    if (lineClass == LineClass::Specification) {
        StatementWriter w(statement);
        switch (ClassifyExtension(line)) {
        case ExtensionKind::FileArray:
            w.Begin("    FileArray(");
            w.Param(line, 11, 18);
            w.Param(line, 19, 26);
            w.Param(line, 27, 32);
            w.Param(line, 33, 35);
            break;
        case ExtensionKind::Tab:
            w.Begin("    Tab(");
            w.Param(line, 27, 32);
            w.Param(line, 33, 35);
            break;
        case ExtensionKind::Array:
            w.Begin("    Array(");
            w.Param(line, 27, 32);
            break;
        }
        w.Param(line, 36, 39);
        w.Param(line, 40, 42);
        w.Param(line, 43, 43);
        w.Param(line, 44, 44);
        w.Param(line, 45, 45);
        w.Param(line, 46, 51);
        w.Param(line, 52, 54);
        w.Param(line, 55, 55);
        w.Param(line, 56, 56);
        w.Param(line, 57, 57);
        w.End();
        std::string_view comment = TrimmedColumns(line, CommentColumn, 74);
        if (!comment.empty()) {
            if (statement.size() < kCommentAlign)
                statement.append(kCommentAlign - statement.size(), ' ');
            statement += "/* ";
            statement.append(comment);
        }
    }
    return CheckedStatement(*this, line, std::move(statement), lineClass, CommentColumn, Scratch);
}

ResultLine TRPG3ConvertExtension::CompileStatement(const ParsedStatement& statement) {
    ResultLine r = CompileTableStatement(statement.Params, 'E');
    // Only a line made from a keyword statement has room for the comment; special lines keep
    // their own text.
    if (r.Error || r.Warning || statement.Comment.empty() || statement.Params.empty() ||
        statement.Params[0] == "RPG")
        return r;
    PlaceField(r.Text, CommentColumn, 74 - CommentColumn + 1, statement.Comment, false);
    return r;
}

} // namespace calvex
