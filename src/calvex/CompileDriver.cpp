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
#include "LineTags.h"
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

// The note of a data block whose count of records differs from its declaration.
std::string RecordCountNote(int lines, int records) {
    return "WARNING: " + std::to_string(lines) + (lines == 1 ? " data record" : " data records") +
           " where its declaration asks for " + std::to_string(records) + "!";
}

// Whether the options leave the statement Line out of the compiled lines: an empty line
// without the blank-lines option, a comment without the comment-lines option.
bool IsLeftOut(std::string_view line, const ParseSwitches& switches) {
    std::string_view text = TrimView(line);
    if (text.empty())
        return !switches.BlankLines;
    return !switches.CommentLines && text.starts_with("/*");
}

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
    for (const SectionLine& text : preCompiler.Lines()) {
        std::string line = UpperCase(text.Text);
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

    section.ClearCompiled();
    section.CompileNotes.clear();
    int errors = 0;
    int warnings = 0;
    auto append = [&](ResultLine line, int from) {
        errors += line.Error ? 1 : 0;
        warnings += line.Warning ? 1 : 0;
        section.AddCompiled(std::move(line.Text), from);
    };

    StringList banner;
    if (section.LinesCount() > 0) {
        BannerSwitches switches;
        switches.Frames = options.LComm != 0;
        switches.Description = options.SDesc != 0;
        switches.Created = options.CDate != 0;
        switches.Updated = options.UDate != 0;
        WriteSectionBanner(section, formType, OptionsPrefix(options), switches, banner);
    }
    section.ReserveCompiled(banner.size() + section.Lines().size());
    for (std::string& line : banner)
        section.AddCompiled(std::move(line), -1);

    ParsedStatement statement;
    for (int k = 0; k < section.LinesCount(); ++k) {
        const std::string& line = section.GetLine(k);
        const LineOrigin* origin = section.OriginAt(k);
        // An unedited line is the member line it came from, every column as it was, unless
        // the options leave out what it is (comments, blank lines, trailing comments).
        if (origin && origin->Statement == StatementHash(line) && switches.CodeComments) {
            if (!IsLeftOut(line, switches)) {
                section.AddCompiled(origin->Text, k);
            }
            continue;
        }
        ParseStatementLine(line, switches, defined, statement);
        for (ResultLine& message : statement.Messages)
            append(std::move(message), k);
        if (statement.Skipped || statement.Failed)
            continue;
        if (statement.Params[0] == "TAB" &&
            (statement.Params.size() < 2 || !NamesArraySection(arraysNode, statement.Params[1]))) {
            append(ErrorLine(kTableNotFound), k);
            continue;
        }
        ResultLine compiled = compiler.Compile(statement);
        // An edited statement keeps the tags of its line.
        if (origin && !compiled.Error && !compiled.Warning)
            compiled.Text = WithLineTags(std::move(compiled.Text), origin->Text);
        append(std::move(compiled), k);
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
    section.ClearCompiled();
    if (section.LinesCount() > 0) {
        StringList block;
        WriteSpecBlock(section, prefix, block);
        for (std::string& line : block)
            section.AddCompiledText(std::move(line));
    }
    section.CompiledValid = true;
    FillResult(result, section, section.LinesCount(), 0, 0);
}

void CompileRPG3Array(TCompileResult* result, const TEDITSection& extension, TEDITSection& array,
                      const std::string& prefix, bool /*unused*/) {
    array.ClearCompiled();
    array.CompileNotes.clear();
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
        array.AddCompiled(std::string(kNoTableDefinition), -1);
        errors = 1;
    } else {
        const LineOrigin& head = array.HeadOrigin;
        if (head.Has() && head.Statement == StatementHash(description)) {
            array.AddCompiled(head.Text, -1);
        } else {
            std::string label = ArrayLabel(name);
            std::string separator = "** " + label + " ";
            if (label.size() < 70)
                separator.append(description.substr(0, 70 - label.size()));
            if (separator.size() < 74)
                separator.append(74 - separator.size(), ' ');
            separator.append(code);
            separator += "1ARY";
            array.AddCompiled(std::move(separator), -1);
        }
        // Every record the section holds is written: the compiler reads what the member holds,
        // and a count that does not match the declaration is the programmer's to see, in the
        // statistics, never a line of the member.
        for (int i = 0; i < lines; ++i) {
            const std::string& line = array.GetLine(i);
            const LineOrigin* origin = array.OriginAt(i);
            if (origin && origin->Statement == StatementHash(line))
                array.AddCompiled(origin->Text, i);
            else if (origin)
                array.AddCompiled(
                    WithLineTags(line.substr(0, std::min(line.size(), size_t{74})), origin->Text),
                    i);
            else
                array.AddCompiled(line.substr(0, std::min(line.size(), size_t{74})), i);
        }
        if (!carried && records != lines) {
            array.CompileNotes.push_back(RecordCountNote(lines, records));
            ++warnings;
        }
    }
    array.CompiledValid = true;
    FillResult(result, array, lines, warnings, errors);
}

} // extern "C"
