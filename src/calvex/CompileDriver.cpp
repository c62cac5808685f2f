// The exported Compile functions: a section's statements into fixed-column RPG III lines with
// the section's banner, the program-level sections into header comment blocks, the data of an
// array after its separator, and the pre-compiler definitions.

#include "Banner.h"
#include "Calvex.h"
#include "ConvertCalcolus.h"
#include "ConvertExtension.h"
#include "ConvertFiles.h"
#include "ConvertHeader.h"
#include "ConvertInput.h"
#include "ConvertLinesCount.h"
#include "ConvertOutput.h"
#include "TableRecordCount.h"
#include "document/ParseString.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <cstring>

using namespace calvex;

namespace {

constexpr std::string_view kTableNotFound = "**ERROR: Table Section not Found. Line was skipped!";
constexpr std::string_view kNoTableDefinition =
    "**ERROR: Table definition not Found. Array was skipped!";
constexpr std::string_view kEntryAdded = "      **WARNING: Entry Added by Compiler";

void FillResult(TCompileResult* result, const TEDITSection& section, int lines, int warnings,
                int errors) {
    if (result == nullptr)
        return;
    const std::string& name = section.Properties.Name;
    size_t length = std::min(name.size(), sizeof(result->Name));
    result->NameLength = static_cast<std::uint8_t>(length);
    std::memset(result->Name, 0, sizeof(result->Name));
    std::memcpy(result->Name, name.data(), length);
    result->Lines = lines;
    result->Warnings = warnings;
    result->Errors = errors;
}

std::string OptionsPrefix(const TCompileOptions& options) {
    size_t length = std::min<size_t>(options.PrefixLength, sizeof(options.Prefix));
    return std::string(options.Prefix, length);
}

// Whether Name is the text of one of the children of the arrays folder node.
bool NamesArraySection(const TreeNode* arraysNode, std::string_view name) {
    if (arraysNode == nullptr)
        return false;
    for (int i = 0; i < arraysNode->Count(); ++i)
        if (SameText(arraysNode->Child(i)->Text, name))
            return true;
    return false;
}

// The seven converters, created once per compiled section.
class SectionCompiler {
public:
    explicit SectionCompiler(char formType) : FormType(formType) {}

    ResultLine Compile(const ParsedStatement& statement) {
        switch (FormType) {
        case 'H':
            return Header.CompileStatement(statement);
        case 'F':
            return Files.CompileStatement(statement);
        case 'E':
            return Extension.CompileStatement(statement);
        case 'L':
            return LinesCount.CompileStatement(statement);
        case 'I':
            return Input.CompileStatement(statement);
        case 'C':
            return Calcolus.CompileStatement(statement);
        case 'O':
            return Output.CompileStatement(statement);
        default:
            return ErrorLine("**ERROR: Invalid operating code!");
        }
    }

private:
    char FormType;
    TRPG3ConvertHeader Header;
    TRPG3ConvertFiles Files;
    TRPG3ConvertExtension Extension;
    TRPG3ConvertLinesCount LinesCount;
    TRPG3ConvertInput Input;
    TRPG3ConvertCalcolus Calcolus;
    TRPG3ConvertOutput Output;
};

} // namespace

extern "C" {

void CompileRPG3GetPreComp(const TEDITSection& preCompiler, StringList& definitions,
                           const std::string& /*unused*/) {
    definitions.clear();
    for (const std::string& text : preCompiler.Lines) {
        std::string line = UpperCase(text);
        size_t comment = line.find("/*");
        if (comment != std::string::npos)
            line.erase(comment);
        std::string_view trimmed = TrimView(line);
        if (trimmed.starts_with("#DEFINE"))
            definitions.emplace_back(TrimView(trimmed.substr(7)));
    }
}

void CompileRPG3Source(TCompileResult* result, const TreeNode* arraysNode, TEDITSection& section,
                       const StringList& definitions, char formType, TCompileOptions options,
                       bool batch) {
    SectionCompiler compiler(formType);
    Definitions defined(definitions);
    ParseSwitches switches;
    switches.CodeComments = options.CComm != 0;
    switches.CommentLines = options.LComm != 0;
    switches.BlankLines = options.BLines != 0;

    section.Compiled.clear();
    int errors = 0;
    int warnings = 0;
    auto append = [&](ResultLine line) {
        errors += line.Error ? 1 : 0;
        warnings += line.Warning ? 1 : 0;
        section.Compiled.push_back(std::move(line.Text));
    };

    if (section.LinesCount() > 0) {
        BannerSwitches banner;
        banner.Frames = options.LComm != 0;
        banner.Description = options.SDesc != 0;
        banner.Created = options.CDate != 0;
        banner.Updated = options.UDate != 0;
        WriteSectionBanner(section, formType, OptionsPrefix(options), banner, section.Compiled);
    }
    section.Compiled.reserve(section.Compiled.size() + section.Lines.size());

    ParsedStatement statement;
    for (const std::string& line : section.Lines) {
        ParseStatementLine(line, switches, defined, statement);
        for (ResultLine& message : statement.Messages)
            append(std::move(message));
        if (statement.Skipped || statement.Failed)
            continue;
        if (statement.Params[0] == "TAB" &&
            (statement.Params.size() < 2 || !NamesArraySection(arraysNode, statement.Params[1]))) {
            append(ErrorLine(kTableNotFound));
            continue;
        }
        append(compiler.Compile(statement));
    }
    section.CompiledValid = true;

    if (errors + warnings > 0 && !batch)
        orvale::Prompter::Default().Show(orvale::Prompter::Kind::Warning,
                                         std::to_string(errors) + " Error and " +
                                             std::to_string(warnings) + " Warning found in " +
                                             section.Properties.Name + "!",
                                         orvale::Prompter::Buttons::Ok);
    FillResult(result, section, section.LinesCount(), warnings, errors);
}

void CompileRPG3Spec(TCompileResult* result, TEDITSection& section, const std::string& prefix,
                     bool /*unused*/) {
    section.Compiled.clear();
    if (section.LinesCount() > 0)
        WriteSpecBlock(section, prefix, section.Compiled);
    section.CompiledValid = true;
    FillResult(result, section, section.LinesCount(), 0, 0);
}

void CompileRPG3Array(TCompileResult* result, const TEDITSection& extension, TEDITSection& array,
                      const std::string& prefix, bool /*unused*/) {
    array.Compiled.clear();
    std::string_view code = BannerPrefix(prefix);
    const std::string& name = array.Properties.Name;
    const std::string& description = array.Properties.Description;
    int lines = array.LinesCount();
    int warnings = 0;
    int errors = 0;

    // Records of a table that a copied member declares: nothing here says how many the table
    // holds, so they are written as they were read.
    bool carried = IsCarriedArray(name);
    int records = carried ? lines : TableRecordCount(extension, name);
    if (records < 0) {
        array.Compiled.emplace_back(kNoTableDefinition);
        errors = 1;
    } else {
        std::string label = ArrayLabel(name);
        std::string separator = "** " + label + " ";
        if (label.size() < 70)
            separator.append(description.substr(0, 70 - label.size()));
        if (separator.size() < 74)
            separator.append(74 - separator.size(), ' ');
        separator.append(code);
        separator += "1ARY";
        array.Compiled.push_back(std::move(separator));
        int written = std::min(records, lines);
        for (int i = 0; i < written; ++i) {
            const std::string& line = array.GetLine(i);
            array.Compiled.push_back(line.substr(0, std::min(line.size(), size_t{74})));
        }
        for (int i = lines; i < records; ++i) {
            array.Compiled.emplace_back(kEntryAdded);
            ++warnings;
        }
    }
    array.CompiledValid = true;
    FillResult(result, array, lines, warnings, errors);
}

} // extern "C"
