#include "ConvertHeader.h"

#include "RoundTrip.h"

namespace calvex {

std::string TRPG3ConvertHeader::ConvertLine(std::string_view line) {
    std::string statement;
    LineClass lineClass = ClassifyLine(line, statement);
    if (lineClass == LineClass::Specification)
        statement = RawFallback(line);
    return CheckedStatement(*this, line, std::move(statement), lineClass, 0, Scratch);
}

ResultLine TRPG3ConvertHeader::CompileStatement(const ParsedStatement& statement) {
    if (statement.Params.empty())
        return ErrorLine("**ERROR: Invalid operating code!");
    const std::string& name = statement.Params[0];
    if (name == "RPG" && statement.Params.size() >= 2)
        return CheckSpecialLine(name, 'H', statement.Params[1]);
    if (!name.empty() && (name.front() == '#' || name.front() == '+' || name.starts_with("/*")))
        return CheckSpecialLine(name, 'H', {});
    return ErrorLine("**ERROR: Invalid operating code!");
}

} // namespace calvex
