// The exported Convert functions: each walks the lines of one specification type from a start
// index, converts them into statements of the given sections, restores descriptions and
// moments from the banner lines of a member this system compiled, and returns the index of the
// first line it did not take.

#include "Banner.h"
#include "Calvex.h"
#include "ConvertCalcolus.h"
#include "ConvertExtension.h"
#include "ConvertFiles.h"
#include "ConvertHeader.h"
#include "ConvertInput.h"
#include "ConvertLinesCount.h"
#include "ConvertOutput.h"
#include "MemberLines.h"
#include "RoundTrip.h"
#include "TableRecordCount.h"
#include "document/ParseString.h"

#include <array>

using namespace calvex;

namespace {

// The section name for output lines that name no file.
constexpr const char* kUnnamedOutput = "OUTPUT";

int LineCount(const StringList& source) {
    return static_cast<int>(source.size());
}

// Index to start a walk at: a negative start reads as the first line.
int StartIndex(int start) {
    return start < 0 ? 0 : start;
}

const std::string& Line(const StringList& source, int index) {
    return source[static_cast<size_t>(index)];
}

// Converts a calculation line. The calculation converter checks its specification lines
// itself; a comment, a directive or an embedded-SQL continuation line is checked here like the
// lines of the other specifications, so that one its form cannot carry (another form type in
// column 6, a trailing tab) keeps its columns in the raw form.
class CalculationWalk {
public:
    std::string Convert(std::string_view line, int& level, int indentWidth) {
        std::string statement = Converter.ConvertLine(line, level, indentWidth);
        char c7 = Column(line, 7);
        LineClass lineClass = LineClass::Specification;
        if (c7 == '/')
            lineClass = LineClass::Directive;
        else if (c7 == '*' || Column(line, 6) == ' ')
            lineClass = LineClass::Comment;
        else if (c7 != '+')
            return statement;
        return CheckedStatement(Converter, line, std::move(statement), lineClass, 0, Scratch);
    }

private:
    TRPG3ConvertCalcolus Converter;
    ParsedStatement Scratch;
};

// A converted line keeps the member line it came from, and its place in the member.
void Store(TEDITSection& section, std::string statement, const std::string& line, int ordinal) {
    section.AddConverted(std::move(statement), line, ordinal);
}

// Keeps a stray line of a walk of FormType (see IsStrayLine) as written, in the raw form, when
// Index is one; none of the walk's own rules (devices, tables, subroutine bounds, output
// files) reads such a line.
bool KeptStray(const StringList& source, int index, char formType, TEDITSection& section) {
    const std::string& line = source[static_cast<size_t>(index)];
    if (!IsStrayLine(line, formType))
        return false;
    Store(section, RawFallback(TrimRightView(Columns(line, 1, 74))), line, index);
    return true;
}

// Description and moments read from banner lines, waiting for the line that decides which
// section they belong to.
struct PendingBanner {
    std::string Description;
    std::optional<orvale::DateTime> Created;
    std::optional<orvale::DateTime> Updated;
    // The texts of the moments, for the import to read with those of the whole member.
    std::string CreatedText;
    std::string UpdatedText;

    // Takes the value of a "1SDS", "1CRT" or "1UPD" line; false for any other line.
    bool Read(std::string_view line, std::string_view prefix) {
        if (HasBannerCode(line, prefix, "1SDS")) {
            Description = BannerText(line);
            return true;
        }
        if (HasBannerCode(line, prefix, "1CRT")) {
            CreatedText = BannerMomentText(line);
            Created = BannerMoment(line);
            return true;
        }
        if (HasBannerCode(line, prefix, "1UPD")) {
            UpdatedText = BannerMomentText(line);
            Updated = BannerMoment(line);
            return true;
        }
        return false;
    }

    // Gives what was read to Section; nothing stays pending.
    void ApplyTo(TEDITSection& section) {
        if (!Description.empty())
            section.Properties.Description = Description;
        Apply(section.Properties.CreatedOn, section.Properties.UnreadCreatedOn,
              section.BannerMoments[0], Created, CreatedText);
        Apply(section.Properties.LastUpdate, section.Properties.UnreadLastUpdate,
              section.BannerMoments[1], Updated, UpdatedText);
        *this = {};
    }

private:
    // A moment no date format reads keeps its text in its place.
    static void Apply(orvale::DateTime& moment, std::string& unread, std::string& banner,
                      const std::optional<orvale::DateTime>& read, const std::string& text) {
        if (text.empty())
            return;
        banner = text;
        if (read)
            moment = *read;
        unread = read ? std::string() : text;
    }
};

// Stores a converted line of a single-section walk: banner lines give the section its
// description and moments, frame lines are dropped, every other line becomes a statement.
void AddConvertedLine(TEDITSection& section, const std::string& line, int ordinal,
                      std::string statement, std::string_view prefix) {
    if (!IsBannerLine(line, prefix)) {
        Store(section, std::move(statement), line, ordinal);
        return;
    }
    PendingBanner banner;
    if (banner.Read(line, prefix)) {
        banner.ApplyTo(section);
        return;
    }
    if (HasBannerCode(line, prefix, "x"))
        return;
    Store(section, std::move(statement), line, ordinal);
}

template <class Converter>
int WalkSection(const StringList& source, int start, char formType, TEDITSection& section,
                std::string_view prefix) {
    Converter converter;
    WalkFilter filter(source, formType);
    int i = StartIndex(start);
    for (; i < LineCount(source) && filter.Takes(i); ++i)
        if (!KeptStray(source, i, formType, section))
            AddConvertedLine(section, Line(source, i), i, converter.ConvertLine(Line(source, i)),
                             prefix);
    section.CompiledValid = true;
    return start >= LineCount(source) ? start : i;
}

} // namespace

extern "C" {

void GetRPG3DllVersion(std::string& version) {
    version = "1.32 - 27/08/1997";
}

int ConvertRPG3Header(const StringList& source, int start, TEDITSection& header,
                      TEDITSection& property, TEDITSection& history, TEDITSection& description,
                      TEDITSection& preCompiler, const std::string& prefix) {
    TRPG3ConvertHeader converter;
    const std::array<std::pair<const char*, TEDITSection*>, 4> programSections{{
        {"1PRO", &property},
        {"1HIS", &history},
        {"1DES", &description},
        {"1PRE", &preCompiler},
    }};
    int i = StartIndex(start);
    for (WalkFilter filter(source, 'H'); i < LineCount(source) && filter.Takes(i); ++i) {
        if (KeptStray(source, i, 'H', header))
            continue;
        const std::string& line = Line(source, i);
        std::string statement = converter.ConvertLine(line);
        if (statement.empty() || statement.front() != '/') {
            Store(header, std::move(statement), line, i);
            continue;
        }
        PendingBanner banner;
        if (banner.Read(line, prefix)) {
            banner.ApplyTo(header);
            continue;
        }
        if (HasBannerCode(line, prefix, "1")) {
            // The body lines of the program-level sections; a code of another section is
            // not one this system writes and the line is dropped.
            // Their lines are written anew as such a block by every build.
            for (const auto& [code, section] : programSections)
                if (HasBannerCode(line, prefix, code)) {
                    section->AddLine(BannerText(line));
                    section->AddCompiledText(line);
                }
            continue;
        }
        if (HasBannerCode(line, prefix, "x"))
            continue;
        Store(header, std::move(statement), line, i);
    }
    header.CompiledValid = true;
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3Files(const StringList& source, int start, TEDITSection& printer,
                     TEDITSection& workstation, TEDITSection& special, TEDITSection& disk,
                     const std::string& prefix) {
    TRPG3ConvertFiles converter;
    // A file line selects the section of its device; the lines after it (continuations,
    // comments) stay with it.
    const std::array<TEDITSection*, 4> ordered{&disk, &workstation, &printer, &special};
    size_t current = 0;
    PendingBanner pending;

    int i = StartIndex(start);
    for (WalkFilter filter(source, 'F'); i < LineCount(source) && filter.Takes(i); ++i) {
        if (KeptStray(source, i, 'F', *ordered[current]))
            continue;
        const std::string& line = Line(source, i);
        std::string statement = converter.ConvertLine(line);
        pending.Read(line, prefix);
        if (HasBannerCode(line, prefix, "xSEC")) {
            // The top frame of a compiled section names it: what follows belongs there.
            std::string_view name = FrameName(line);
            for (size_t s = 0; s < ordered.size(); ++s)
                if (!name.empty() && SameText(ordered[s]->Properties.Name, name) && s != current) {
                    pending.ApplyTo(*ordered[current]);
                    current = s;
                }
        }
        if (!IsCommentOrDirective(line)) {
            size_t selected = current;
            if (ColumnsEqual(line, 40, 46, "PRINTER"))
                selected = 2;
            else if (ColumnsEqual(line, 40, 46, "WORKSTN"))
                selected = 1;
            else if (ColumnsEqual(line, 40, 46, "SPECIAL") || TrimmedColumns(line, 40, 46) == "SEQ")
                selected = 3;
            else if (TrimmedColumns(line, 40, 46) == "DISK")
                selected = 0;
            // Each file goes to the section of its device, wherever it stands in the member:
            // the build gives the files back in the member's order across the sections.
            current = selected;
            pending.ApplyTo(*ordered[current]);
        }
        if (!IsBannerLine(line, prefix))
            Store(*ordered[current], std::move(statement), line, i);
    }
    pending.ApplyTo(*ordered[current]);
    for (TEDITSection* section : ordered)
        section->CompiledValid = true;
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3Exten(const StringList& source, StringList& tableNames, int start,
                     TEDITSection& extension, const std::string& prefix) {
    tableNames.clear();
    TRPG3ConvertExtension converter;
    // Where each table's statement stands among the section's lines, and its source line.
    std::vector<std::pair<size_t, int>> tableLines;
    // The tables defined before the first /COPY among the extension lines: a copied member may
    // define tables of its own, whose data comes in their order, so after it no block can be
    // known for sure.
    size_t known = SIZE_MAX;
    int i = StartIndex(start);
    for (WalkFilter filter(source, 'E'); i < LineCount(source) && filter.Takes(i); ++i) {
        if (KeptStray(source, i, 'E', extension))
            continue;
        const std::string& line = Line(source, i);
        AddConvertedLine(extension, line, i, converter.ConvertLine(line), prefix);
        if (IsCopyDirective(line) && known == SIZE_MAX)
            known = tableNames.size();
        if (!IsCommentOrDirective(line) && !IsBannerLine(line, prefix) &&
            TakesCompileTimeData(line)) {
            tableNames.emplace_back(TrimmedColumns(line, 27, 32));
            tableLines.emplace_back(extension.Lines().size() - 1, i);
        }
    }
    extension.CompiledValid = true;
    if (start >= LineCount(source))
        return start;

    // The compile-time data blocks, by the compiler's rules: the alternate collating sequence
    // and the file translation records first when the header asks for them, then the tables in
    // the order of their definitions. A block whose table cannot be known (defined in a copied
    // member, or more blocks than definitions) gets a name of its own, marked by a leading
    // "**", so that its records are carried as they stand and no other table takes them.
    int data = i;
    while (data < LineCount(source) && !StartsCompileTimeData(Line(source, data)))
        ++data;
    HeaderDataBlocks header = ReadHeaderDataBlocks(source, start);
    StringList leading;
    if (header.AlternateSequence)
        leading.emplace_back("** ALTSEQ");
    if (header.FileTranslation)
        leading.emplace_back("** FTRANS");
    size_t tables = std::min(tableNames.size(), known);
    StringList names;
    size_t blocks = 0;
    for (int k = data; k < LineCount(source); ++k) {
        const std::string& line = Line(source, k);
        if (k != data && !IsDataSeparator(line))
            continue;
        size_t block = blocks++;
        if (block < leading.size()) {
            names.push_back(leading[block]);
            continue;
        }
        if (block - leading.size() < tables) {
            names.push_back(tableNames[block - leading.size()]);
            continue;
        }
        std::string_view label = TrimmedColumns(line, 3, 74);
        std::string name("**");
        if (!label.empty()) {
            name += ' ';
            name.append(label.substr(0, std::min(label.find(' '), size_t{10})));
        }
        names.push_back(std::move(name));
    }
    size_t given = blocks > leading.size() ? std::min(blocks - leading.size(), tables) : 0;
    // The tables that got no block here: their data is not in this member (or cannot be told
    // from a copied member's), and their lines stay raw, since a Tab statement compiles only
    // next to its array.
    for (size_t t = given; t < tableLines.size(); ++t) {
        auto [index, sourceIndex] = tableLines[t];
        std::string_view statement = TrimView(extension.Lines()[index].Text);
        if (statement.starts_with("Tab(") || statement.starts_with("FileArray("))
            extension.ReconvertLine(static_cast<int>(index),
                                    RawFallback(Line(source, sourceIndex)));
    }
    tableNames = std::move(names);
    return i;
}

int ConvertRPG3LCount(const StringList& source, int start, TEDITSection& lineCount,
                      const std::string& prefix) {
    return WalkSection<TRPG3ConvertLinesCount>(source, start, 'L', lineCount, prefix);
}

int ConvertRPG3Input(const StringList& source, int start, TEDITSection& input,
                     const std::string& prefix) {
    return WalkSection<TRPG3ConvertInput>(source, start, 'I', input, prefix);
}

int ConvertRPG3Calcs(const StringList& source, StringList& subroutineNames, int start,
                     int indentWidth, TEDITSection& mainRoutine, const std::string& prefix) {
    CalculationWalk converter;
    int level = 0;
    PendingBanner pending;
    bool mainBannerSeen = false;

    int i = StartIndex(start);
    for (WalkFilter filter(source, 'C'); i < LineCount(source) && filter.Takes(i); ++i) {
        if (KeptStray(source, i, 'C', mainRoutine))
            continue;
        const std::string& line = Line(source, i);
        bool banner = IsBannerLine(line, prefix);
        // The first subroutine, or the banner of the section after the main routine (or of the
        // first subroutine when the main routine had no lines, which its frame names).
        if (HoldsOperation(line, "BEGSR") || (mainBannerSeen && banner))
            break;
        if (banner && HasBannerCode(line, prefix, "xSEC")) {
            std::string_view name = FrameName(line);
            if (!name.empty() && !SameText(name, mainRoutine.Properties.Name))
                break;
        }
        std::string statement = converter.Convert(line, level, indentWidth);
        pending.Read(line, prefix);
        if (HasBannerCode(line, prefix, "xMNR")) {
            pending.ApplyTo(mainRoutine);
            mainBannerSeen = true;
        }
        if (!banner)
            Store(mainRoutine, std::move(statement), line, i);
        else
            mainRoutine.AddCompiledText(line);
    }
    mainRoutine.CompiledValid = true;

    subroutineNames.clear();
    WalkFilter rest(source, 'C');
    for (int k = i; k < LineCount(source) && rest.Takes(k); ++k)
        if (!IsStrayLine(Line(source, k), 'C') && HoldsOperation(Line(source, k), "BEGSR"))
            subroutineNames.emplace_back(TrimmedColumns(Line(source, k), 18, 27));
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3SubR(const StringList& source, int start, int indentWidth, TEDITSection& subroutine,
                    const std::string& prefix) {
    CalculationWalk converter;
    WalkFilter filter(source, 'C');
    int level = 0;
    int i = StartIndex(start);
    auto take = [&](int index) {
        if (KeptStray(source, index, 'C', subroutine))
            return;
        const std::string& line = Line(source, index);
        AddConvertedLine(subroutine, line, index, converter.Convert(line, level, indentWidth),
                         prefix);
    };
    auto holds = [&](int index, std::string_view operation) {
        const std::string& line = Line(source, index);
        return !IsStrayLine(line, 'C') && HoldsOperation(line, operation);
    };
    bool ended = false;
    for (; i < LineCount(source) && filter.Takes(i); ++i) {
        take(i);
        if (holds(i, "ENDSR")) {
            ended = true;
            ++i;
            break;
        }
    }
    // The lines after ENDSR (closing comments, directives) stay with this subroutine when no
    // further subroutine follows, or when the banner of the next section marks where this one
    // ends; left behind they would join the main routine, before every subroutine. Without
    // either they open the next subroutine.
    if (ended) {
        int end = i;
        bool nextSubroutine = false;
        for (; end < LineCount(source) && filter.Takes(end); ++end) {
            const std::string& line = Line(source, end);
            if (IsBannerLine(line, prefix))
                break;
            if (holds(end, "BEGSR")) {
                nextSubroutine = true;
                break;
            }
        }
        if (!nextSubroutine)
            for (; i < end; ++i)
                take(i);
    }
    subroutine.CompiledValid = true;
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3GetOutList(const StringList& source, StringList& fileNames, int start) {
    fileNames.clear();
    int i = StartIndex(start);
    for (WalkFilter filter(source, 'O'); i < LineCount(source) && filter.Takes(i); ++i) {
        const std::string& line = Line(source, i);
        if (!ColumnsBlank(line, 7, 13) && !IsCommentOrDirective(line) && !IsStrayLine(line, 'O'))
            fileNames.emplace_back(TrimmedColumns(line, 7, 14));
    }
    // Output lines that name no file at all (a member holding only the fields of a record, to
    // be copied into others) still need a section, or they would be lost.
    if (fileNames.empty() && i > StartIndex(start))
        fileNames.emplace_back(kUnnamedOutput);
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3Output(const StringList& source, int start, TEDITSection& output,
                      const std::string& prefix) {
    TRPG3ConvertOutput converter;
    int named = 0;
    bool tookLine = false;
    int i = StartIndex(start);
    for (WalkFilter filter(source, 'O'); i < LineCount(source) && filter.Takes(i); ++i) {
        const std::string& line = Line(source, i);
        bool banner = IsBannerLine(line, prefix);
        if (!ColumnsBlank(line, 7, 13) && !IsCommentOrDirective(line) && !IsStrayLine(line, 'O') &&
            ++named == 2)
            break;
        if (KeptStray(source, i, 'O', output)) {
            tookLine = true;
            continue;
        }
        // The banner of the next output section, when a compiled member is read again.
        if (banner && tookLine)
            break;
        AddConvertedLine(output, line, i, converter.ConvertLine(line), prefix);
        tookLine = tookLine || !banner;
    }
    output.CompiledValid = true;
    return start >= LineCount(source) ? start : i;
}

int ConvertRPG3Array(const StringList& source, int start, TEDITSection& array,
                     const std::string& prefix) {
    if (start < 0 || start >= LineCount(source)) {
        array.CompiledValid = true;
        return start;
    }
    const std::string& separator = Line(source, start);
    std::string_view description = Columns(separator, 3, 73);
    if (HasBannerCode(separator, prefix, "1ARY")) {
        // Written by this system's compile: "** ", the array's label, a blank and the
        // description. Only the description is the section's own text.
        std::string_view text = TrimRightView(Columns(separator, 3, 74));
        std::string label = ArrayLabel(array.Properties.Name);
        if (text.size() > label.size() && text[0] == ' ' &&
            SameText(text.substr(1, label.size()), label)) {
            text.remove_prefix(1 + label.size());
            if (!text.empty() && text.front() == ' ')
                text.remove_prefix(1);
            description = text;
        }
    }
    array.Properties.Description.assign(description);
    // The separator is member text (a comment of its own may follow the "**"): it is given back
    // as written while the description read from it stands.
    array.HeadOrigin = {separator, start, StatementHash(array.Properties.Description)};
    array.AddCompiledText(separator);
    int i = start + 1;
    for (; i < LineCount(source) && !IsDataSeparator(Line(source, i)); ++i) {
        const std::string& line = Line(source, i);
        Store(array, line.substr(0, std::min(line.size(), size_t{74})), line, i);
    }
    array.CompiledValid = true;
    return i;
}

} // extern "C"
