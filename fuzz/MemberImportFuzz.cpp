// The member import: any text taken as an RPG/400 source member and walked through every
// Convert function in the import's order (header, files, extension skipped, line counter,
// input, calculations with their subroutines, output; then the extension and the arrays).
// Every Convert call must return an index between its start and the end of the member, and
// every pass of the walk must move on, or the import would loop for ever. The sections are
// then compiled back, and the member so built imported once more.

#include "support/FuzzInput.h"
#include "support/QuietPrompter.h"

#include "calvex/Calvex.h"
#include "platform/TextFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kPrefix = "&%";
constexpr int kTabSpaces = 2;

struct Sections {
    TEDITSection Property{"Property", ""};
    TEDITSection Description{"Description", ""};
    TEDITSection History{"History", ""};
    TEDITSection PreCompiler{"Pre Compiler", ""};
    TEDITSection Header{"Header", ""};
    TEDITSection Logical{"Logical", ""};
    TEDITSection Display{"Display", ""};
    TEDITSection Printer{"Printer", ""};
    TEDITSection Special{"Special", ""};
    TEDITSection Extension{"Extension", ""};
    TEDITSection LineCount{"Line Count", ""};
    TEDITSection Input{"Input", ""};
    TEDITSection MainRoutine{"Main Routine", ""};
    TEDITSection InitSubRoutine{"Init SubRoutine", ""};
    std::vector<std::unique_ptr<TEDITSection>> SubRoutines;
    std::vector<std::unique_ptr<TEDITSection>> Outputs;
    std::vector<std::unique_ptr<TEDITSection>> Arrays;
    TreeNode ArraysNode{"Arrays"};

    TEDITSection& Add(std::vector<std::unique_ptr<TEDITSection>>& list, const std::string& name) {
        list.push_back(std::make_unique<TEDITSection>(name, ""));
        return *list.back();
    }
};

char Column6(const StringList& member, int i) {
    const std::string& line = member[static_cast<size_t>(i)];
    return line.size() >= 6 ? line[5] : ' ';
}

bool IsPassLetter(char c) {
    return c == 'H' || c == 'F' || c == 'E' || c == 'L' || c == 'I' || c == 'C' || c == 'O' ||
           c == ' ';
}

// The index a Convert call returned, checked against where it started.
int Moved(int from, int to, int n) {
    FUZZ_CHECK(to >= from && to <= n);
    return to;
}

void Import(const StringList& member, Sections& s) {
    const int n = static_cast<int>(member.size());
    int i = 0;
    int extensionStart = n;
    StringList names;
    while (i < n) {
        const int passStart = i;
        i = Moved(i,
                  ConvertRPG3Header(member, i, s.Header, s.Property, s.History, s.Description,
                                    s.PreCompiler, kPrefix),
                  n);
        i = Moved(
            i, ConvertRPG3Files(member, i, s.Printer, s.Display, s.Special, s.Logical, kPrefix), n);
        if (i < n && Column6(member, i) == 'E')
            extensionStart = i;
        while (i < n && (Column6(member, i) == 'E' || Column6(member, i) == ' '))
            ++i;
        i = Moved(i, ConvertRPG3LCount(member, i, s.LineCount, kPrefix), n);
        i = Moved(i, ConvertRPG3Input(member, i, s.Input, kPrefix), n);
        i = Moved(i, ConvertRPG3Calcs(member, names, i, kTabSpaces, s.MainRoutine, kPrefix), n);
        for (const std::string& name : StringList(names)) {
            TEDITSection& target = name == "*INZSR" ? s.InitSubRoutine : s.Add(s.SubRoutines, name);
            i = Moved(i, ConvertRPG3SubR(member, i, kTabSpaces, target, kPrefix), n);
        }
        Moved(i, ConvertRPG3GetOutList(member, names, i), n);
        for (const std::string& name : StringList(names))
            i = Moved(i, ConvertRPG3Output(member, i, s.Add(s.Outputs, name), kPrefix), n);
        if (i >= n || !IsPassLetter(Column6(member, i)))
            break;
        // Another pass starts here; one that took nothing would start here again for ever.
        FUZZ_CHECK(i > passStart);
    }
    ConvertRPG3Exten(member, names, extensionStart, s.Extension, kPrefix);
    for (const std::string& name : StringList(names)) {
        TEDITSection& array = s.Add(s.Arrays, name);
        s.ArraysNode.AddChild(name)->SetSection(&array);
        i = Moved(i, ConvertRPG3Array(member, i, array, kPrefix), n);
    }
}

std::vector<TEDITSection*> BuildOrder(Sections& s) {
    std::vector<TEDITSection*> order{&s.Header,      &s.Logical,       &s.Display,   &s.Printer,
                                     &s.Special,     &s.Extension,     &s.LineCount, &s.Input,
                                     &s.MainRoutine, &s.InitSubRoutine};
    for (auto& sub : s.SubRoutines)
        order.push_back(sub.get());
    return order;
}

char FormType(Sections& s, const TEDITSection* section) {
    if (section == &s.Header)
        return 'H';
    if (section == &s.Logical || section == &s.Display || section == &s.Printer ||
        section == &s.Special)
        return 'F';
    if (section == &s.Extension)
        return 'E';
    if (section == &s.LineCount)
        return 'L';
    if (section == &s.Input)
        return 'I';
    return 'C';
}

// Compiles every section with all options on and assembles the member as the build does.
StringList Build(Sections& s) {
    TCompileOptions options{};
    options.SDesc = options.CDate = options.UDate = options.LComm = options.CComm = 1;
    options.BLines = 1;
    options.PrefixLength = 2;
    options.Prefix[0] = kPrefix[0];
    options.Prefix[1] = kPrefix[1];
    StringList definitions;
    CompileRPG3GetPreComp(s.PreCompiler, definitions, "");
    StringList member;
    auto append = [&](const TEDITSection& section) {
        member.insert(member.end(), section.Compiled.begin(), section.Compiled.end());
    };
    for (TEDITSection* section : {&s.Property, &s.Description, &s.History, &s.PreCompiler}) {
        TCompileResult result{};
        CompileRPG3Spec(&result, *section, kPrefix, true);
        append(*section);
    }
    for (TEDITSection* section : BuildOrder(s)) {
        TCompileResult result{};
        CompileRPG3Source(&result, &s.ArraysNode, *section, definitions, FormType(s, section),
                          options, true);
        FUZZ_CHECK(result.Lines == section->LinesCount());
        append(*section);
    }
    for (auto& output : s.Outputs) {
        TCompileResult result{};
        CompileRPG3Source(&result, &s.ArraysNode, *output, definitions, 'O', options, true);
        append(*output);
    }
    for (auto& array : s.Arrays) {
        TCompileResult result{};
        CompileRPG3Array(&result, s.Extension, *array, kPrefix, true);
        append(*array);
    }
    return member;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::SilenceDefaultPrompter();
    StringList member =
        orvale::SplitTextLines(std::string_view(reinterpret_cast<const char*>(data), size));
    Sections first;
    Import(member, first);
    StringList built = Build(first);
    Sections second;
    Import(built, second);
    return 0;
}
