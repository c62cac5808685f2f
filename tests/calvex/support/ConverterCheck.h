#pragma once

// Compiles a statement the way a section compile does (code comments kept, no definitions) with
// a converter's CompileStatement; the parse itself must succeed.

#include "calvex/ConvertText.h"
#include "calvex/Statement.h"

#include <gtest/gtest.h>

namespace calvex::test {

template <class Converter> ResultLine CompileWith(Converter& converter, std::string_view text) {
    ParsedStatement parsed;
    ParseStatementLine(text, ParseSwitches{}, Definitions{}, parsed);
    EXPECT_TRUE(parsed.Messages.empty()) << text;
    if (!parsed.Messages.empty())
        return parsed.Messages.front();
    return converter.CompileStatement(parsed);
}

// Converts Line and compiles the statement back: the result must give back columns 6-74.
template <class Converter>
::testing::AssertionResult RoundTrips(Converter& converter, const std::string& line,
                                      int commentFirst = 0) {
    std::string statement = converter.ConvertLine(line);
    ResultLine r = CompileWith(converter, statement);
    if (r.Error || r.Warning || !SameSpecification(line, r.Text, commentFirst))
        return ::testing::AssertionFailure() << "\n  line:      [" << line << "]\n  statement: ["
                                             << statement << "]\n  compiled:  [" << r.Text << "]";
    return ::testing::AssertionSuccess();
}

} // namespace calvex::test
