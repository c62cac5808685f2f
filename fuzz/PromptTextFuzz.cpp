// The prompt help's filling: any prompt file and any text at the editor's cursor taken into
// the rows of the prompt window, and the rows turned back into a statement. Every value the
// text held gets a row; a statement the window writes reads back into the same code and
// values when no value holds a separator.
//
// Input: the prompt file; after a "%%" line, the text at the cursor.

#include "support/FuzzInput.h"
#include "support/ScratchDir.h"

#include "tessary/PromptHelp.h"

#include <cstdint>
#include <string>

using namespace tessary;

namespace {

bool HoldsSeparator(std::string_view value) {
    return value.find_first_of(",()") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::FuzzInput in(data, size);
    std::string path = orvale::fuzz::WriteScratchFile(PromptFileName, in.Part());
    std::string dir = path.substr(0, path.size() - std::string(PromptFileName).size());
    const std::string_view text = in.Rest();

    TPromptText parsed = ParsePromptText(text);
    TPromptRows rows = PreparePrompt(dir, text);
    FUZZ_CHECK(rows.Values == parsed.Values);
    FUZZ_CHECK(rows.RowCount() >= rows.Values.size() && rows.RowCount() >= rows.Names.size());
    for (const std::string& length : rows.Lengths)
        FUZZ_CHECK(ValueLength(length) >= 1);
    OpCodeFormat(dir, parsed.Code);
    OpCodeSymple(dir, parsed.Code);

    std::string result = BuildPromptResult(rows.Code, rows.Values);
    FUZZ_CHECK(result.starts_with(rows.Code + "(") && result.ends_with(")"));
    bool plain = rows.Code.find('(') == std::string::npos && !rows.Values.empty() &&
                 !rows.Values.back().empty();
    for (const std::string& value : rows.Values)
        plain = plain && !HoldsSeparator(value);
    if (plain) {
        TPromptText back = ParsePromptText(result);
        FUZZ_CHECK(back.Code == rows.Code && back.Values == rows.Values);
    }
    return 0;
}
