// The compile of arbitrary section text, for every kind of section, with arbitrary
// pre-compiler definitions, extension text, array names and options. The statistics must
// agree with what the compile wrote: the text lines counted, and one error or warning counted
// for every error or warning line of a specification section.
//
// Input: a byte choosing the kind of section, a byte of option bits, a byte of prefix length
// and two prefix characters; then, separated by "%%" lines: the pre-compiler section, the
// extension section, the section's name / description / other array names (one a line), and
// the section's text.

#include "support/FuzzInput.h"
#include "support/QuietPrompter.h"

#include "calvex/Calvex.h"
#include "platform/TextFile.h"

#include <cstdint>
#include <string>

using orvale::fuzz::FuzzInput;

namespace {

// The specification sections, then a program-level section and an array.
constexpr char kKinds[] = {'H', 'F', 'E', 'L', 'I', 'C', 'O', 'S', 'A'};

StringList Lines(std::string_view text) {
    return orvale::SplitTextLines(text);
}

int CountStarting(const StringList& lines, std::string_view head) {
    int count = 0;
    for (const std::string& line : lines)
        count += line.starts_with(head) ? 1 : 0;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::SilenceDefaultPrompter();
    FuzzInput in(data, size);
    const char kind = kKinds[in.Byte() % sizeof(kKinds)];
    const std::uint8_t bits = in.Byte();
    TCompileOptions options{};
    options.SDesc = bits & 1;
    options.CDate = (bits >> 1) & 1;
    options.UDate = (bits >> 2) & 1;
    options.LComm = (bits >> 3) & 1;
    options.CComm = (bits >> 4) & 1;
    options.BLines = (bits >> 5) & 1;
    const bool batch = (bits & 0x40) == 0;
    const bool withArraysNode = (bits & 0x80) == 0;
    options.PrefixLength = in.Byte() % 3;
    options.Prefix[0] = static_cast<char>(in.Byte());
    options.Prefix[1] = static_cast<char>(in.Byte());
    const std::string prefix(options.Prefix, options.PrefixLength);

    TEDITSection preCompiler("Pre Compiler", "");
    preCompiler.AssignLines(Lines(in.Part()));
    TEDITSection extension("Extension", "");
    extension.AssignLines(Lines(in.Part()));
    StringList names = Lines(in.Part());
    TEDITSection section(names.empty() ? std::string("SECTION") : names[0],
                         names.size() > 1 ? names[1] : std::string());
    section.AssignLines(Lines(in.Rest()));
    TreeNode arraysNode("Arrays");
    for (size_t k = 0; k < names.size(); ++k)
        if (k != 1)
            arraysNode.AddChild(names[k]);

    TCompileResult result{};
    if (kind == 'S') {
        CompileRPG3Spec(&result, section, prefix, batch);
    } else if (kind == 'A') {
        CompileRPG3Array(&result, extension, section, prefix, batch);
    } else {
        StringList definitions;
        CompileRPG3GetPreComp(preCompiler, definitions, "");
        CompileRPG3Source(&result, withArraysNode ? &arraysNode : nullptr, section, definitions,
                          kind, options, batch);
        FUZZ_CHECK(result.Errors == CountStarting(section.CompiledTexts(), "**ERROR: "));
        FUZZ_CHECK(result.Warnings == CountStarting(section.CompiledTexts(), "      **WARNING: "));
    }
    FUZZ_CHECK(section.CompiledValid);
    FUZZ_CHECK(result.NameLength <= 50);
    FUZZ_CHECK(result.Lines == section.LinesCount());
    FUZZ_CHECK(result.Errors >= 0 && result.Warnings >= 0);
    return 0;
}
