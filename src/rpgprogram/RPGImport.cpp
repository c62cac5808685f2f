// Import of an RPG/400 source member: the member is walked in specification order and each
// run of lines goes to the conversion function of its type, which appends the statements to
// the sections and returns where the next run begins.

#include "RPGProgram.h"

#include "ImportChecks.h"
#include "calvex/MemberLines.h"
#include "platform/DateReader.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <string_view>

using orvale::ImportProgress;

namespace {

constexpr const char* kVersionNotSupported = "ERROR: Version not supported!";

// A line the pass loop goes on with: a form type it converts, or a blank one. Compile-time
// data ends the passes whatever its column 6 holds, since no walk takes it and the loop would
// otherwise go round without end.
bool ContinuesPasses(std::string_view line) {
    if (calvex::StartsCompileTimeData(line))
        return false;
    char c6 = calvex::Column(line, 6);
    return c6 == ' ' || calvex::IsFormLetter(c6);
}

// The section of the node a folder operation has just appended. The operations return the
// section found by name, which is another one when a later section in the tree has the same
// name (an output file named like a subroutine); the new section is the one to fill.
TEDITSection* AddedSection(TreeNode* folder, const TEDITSection* found) {
    if (!found || !folder || folder->Count() == 0)
        return nullptr;
    return folder->Child(folder->Count() - 1)->Section();
}

std::string ZeroByteMessage(const std::string& fileName, size_t line) {
    return "ERROR: " + orvale::ExtractFileName(fileName) + " holds a zero byte in line " +
           std::to_string(line) +
           ": a source member is text, and the lines after it would be lost!";
}

// "line 4", "lines 4 and 9", "lines 4, 9, 12 and 3 more" (1-based).
std::string LinesNamed(const std::vector<int>& lines) {
    constexpr size_t kNamed = 3;
    std::string text = lines.size() == 1 ? "line " : "lines ";
    size_t named = std::min(lines.size(), kNamed);
    for (size_t k = 0; k < named; ++k) {
        if (k > 0)
            text += k + 1 == named && lines.size() <= kNamed ? " and " : ", ";
        text += std::to_string(lines[k] + 1);
    }
    if (lines.size() > kNamed)
        text += " and " + std::to_string(lines.size() - kNamed) + " more";
    return text;
}

std::string Capitalised(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// What a dated member holds that is not as the host keeps it: said, and kept as it is.
void ReportRecords(const std::vector<HostRecord>& records, const std::vector<int>& without,
                   orvale::Diagnostics& found) {
    if (!without.empty())
        found.Warning("WARNING: " + Capitalised(LinesNamed(without)) + " of the dated member " +
                      (without.size() == 1 ? "does" : "do") +
                      " not begin with 12 digits of sequence number and date and " +
                      (without.size() == 1 ? "is" : "are") + " kept as written!");
    std::vector<int> descending, notDates, future;
    const std::int32_t today = HostDateKey(TodayHostDate());
    std::int32_t last = -1;
    for (size_t k = 0; k < records.size(); ++k) {
        const HostRecord& r = records[k];
        if (!r.Has())
            continue;
        if (r.Sequence <= last)
            descending.push_back(static_cast<int>(k));
        last = r.Sequence;
        if (r.ChangeDate != 0 && !IsHostDate(r.ChangeDate))
            notDates.push_back(static_cast<int>(k));
        else if (HostDateKey(r.ChangeDate) > today)
            future.push_back(static_cast<int>(k));
    }
    if (!descending.empty())
        found.Warning("WARNING: The sequence numbers do not ascend at " + LinesNamed(descending) +
                      " of the member: they are kept, and lines added there take numbers "
                      "between their neighbours only where these leave room!");
    if (!notDates.empty())
        found.Warning("WARNING: The change date of " + LinesNamed(notDates) +
                      " is no day of the calendar: it is kept as written!");
    if (!future.empty())
        found.Warning("WARNING: The change date of " + LinesNamed(future) +
                      " is later than today: it is kept as written!");
}

std::string MixedMessage(const MemberDating& dating) {
    return "WARNING: Line " + std::to_string(dating.MixedDatedLine + 1) +
           " begins with 12 digits of sequence number and date, but line " +
           std::to_string(dating.MixedPlainLine + 1) +
           " is an undated line: the member is read as undated (the import's option for dated "
           "members reads it as dated)!";
}

} // namespace

bool TRPGProgram::ImportFromFile(const std::string& fileName, orvale::Diagnostics& found,
                                 ImportProgress* progress) {
    StringList lines;
    {
        BusyCursor busy(*this);
        std::string error;
        size_t zeroLine = 0;
        if (!orvale::ReadTextFile(fileName, lines, &error, &zeroLine)) {
            found.Error(error);
            return false;
        }
        // A zero byte ends a text file, and what follows it would be missing from the program
        // without a word: such a member is not imported.
        if (zeroLine > 0) {
            found.Error(ZeroByteMessage(fileName, zeroLine));
            return false;
        }
    }
    MemberDating dating = DecideDating(lines, ReadDated);
    std::vector<HostRecord> records;
    std::vector<int> without;
    if (dating.Dated)
        without = TakeHostRecords(lines, records);
    // An RPG IV member would become a program of raw lines that builds out of order. A dated
    // one shows it in the columns after its records.
    if (std::optional<std::string> refusal = orvale::RpgIvRefusal(fileName, lines)) {
        found.Error(*refusal);
        return false;
    }
    SourceRecords = std::move(records);
    SourceLines = std::move(lines);
    SetFileName(orvale::ChangeFileExt(fileName, ".RPG"));
    BuildTree();
    Dated = dating.Dated;
    if (dating.MixedDatedLine >= 0)
        found.Warning(MixedMessage(dating));
    if (dating.Dated)
        ReportRecords(SourceRecords, without, found);
    bool supported = !fileName.empty() && fileName.back() == '3';
    bool empty = SourceLines.empty();
    if (supported)
        ConvertSourceLines(progress, found);
    else
        found.Error(kVersionNotSupported);
    if (supported && empty)
        found.Warning(orvale::EmptyMemberWarning(fileName));
    // Released, not just emptied: a large member should not stay in memory.
    StringList().swap(SourceLines);
    StringList().swap(SaveLines);
    std::vector<HostRecord>().swap(SourceRecords);
    if (View)
        View->SetGridRowCount(PropertySection.LinesCount());
    Opened = true;
    Modified = true;
    Closing = false;
    ShowSelected();
    return supported;
}

void TRPGProgram::ShowImportProgress(int index, ImportProgress* progress) {
    if (!progress)
        return;
    progress->SetPosition(index);
    progress->SetCaption(std::to_string(index));
    progress->ProcessMessages();
}

void TRPGProgram::ConvertSourceLines(ImportProgress* progress, orvale::Diagnostics& found) {
    const StringList& source = SourceLines;
    const int n = static_cast<int>(source.size());
    if (!Options().EditPrefix.empty())
        IndicatorPrefix = Options().EditPrefix.substr(0, 2);
    const std::string prefix = IndicatorPrefix;
    ImportCancelled = false;
    if (progress)
        progress->SetMaximum(n);

    int i = 0;
    // Where each run of extension lines begins: a member may hold more than one.
    std::vector<int> extensionStarts;
    // Lines no walk takes, carried as raw lines (the walks keep the stray lines found here).
    std::vector<int> leftOut;
    const calvex::StrayLines strays = calvex::FindStrayLines(source);
    auto shown = [&] { ShowImportProgress(i, progress); };
    // Every section the walks fill takes its origins' texts from the member at the end.
    ForEachNode([](TreeNode* node) {
        if (TEDITSection* s = node->Section())
            s->OriginTextsPending = true;
        return true;
    });
    auto pending = [](TEDITSection* s) {
        if (s)
            s->OriginTextsPending = true;
        return s;
    };
    // A section of a folder is filled by one walk. Its lists then give back their spare room
    // (up to as much again as the lines take, a list being doubled as it grows): for a member
    // of long subroutines that is a tenth of the import's peak. The program's own sections
    // (the main routine, *INZSR, where a failed name goes) may be walked again, so they keep it.
    auto filled = [&](TEDITSection* s) {
        if (s == &MainRoutineSection || s == &InitSubRoutineSection)
            return;
        s->ShrinkToFit();
    };
    while (!ImportCancelled && i < n) {
        const int passStart = i;
        if (!ImportCancelled) {
            i = ConvertRPG3Header(source, i, HeaderSection, PropertySection, HistorySection,
                                  DescriptionSection, PreCompilerSection, prefix);
            shown();
        }
        if (!ImportCancelled) {
            i = ConvertRPG3Files(source, i, PrinterSection, DisplaySection, SpecialSection,
                                 LogicalSection, prefix);
            shown();
        }
        if (!ImportCancelled) {
            // The extension lines are converted after the passes, once the arrays they
            // declare can be matched with the compile-time data. They are skipped as the
            // extension walk will take them, comments between them included.
            const int from = i;
            calvex::WalkFilter extension(source, 'E');
            while (!ImportCancelled && i < n && extension.Takes(i))
                ++i;
            if (i > from)
                extensionStarts.push_back(from);
            shown();
        }
        if (!ImportCancelled) {
            i = ConvertRPG3LCount(source, i, LineCountSection, prefix);
            shown();
        }
        if (!ImportCancelled) {
            i = ConvertRPG3Input(source, i, InputSection, prefix);
            shown();
        }
        if (!ImportCancelled) {
            i = ConvertRPG3Calcs(source, NameList, i, TabSpaces, MainRoutineSection, prefix);
            shown();
            for (size_t k = 0; k < NameList.size() && !ImportCancelled; ++k) {
                const std::string& name = NameList[k];
                TEDITSection* target = &InitSubRoutineSection;
                if (name != "*INZSR")
                    target = pending(AddedSection(SubRoutinesNode, AddSubRoutine(name, "")));
                if (!target)
                    target = &MainRoutineSection;
                i = ConvertRPG3SubR(source, i, TabSpaces, *target, prefix);
                filled(target);
                shown();
            }
        }
        if (!ImportCancelled) {
            ConvertRPG3GetOutList(source, NameList, i);
            for (size_t k = 0; k < NameList.size() && !ImportCancelled; ++k) {
                TEDITSection* target =
                    pending(AddedSection(OutputNode, AddOutput(NameList[k], "")));
                if (!target)
                    target = &MainRoutineSection;
                i = ConvertRPG3Output(source, i, *target, prefix);
                filled(target);
                shown();
            }
        }
        if (i >= n || calvex::StartsCompileTimeData(source[static_cast<size_t>(i)]))
            break;
        // A line no walk takes ends nothing but itself: it is kept as it stands with the lines
        // before it (and reported below) and the passes go on after it, instead of losing the
        // rest of the member. A pass that took nothing would otherwise be repeated for ever.
        if (i == passStart || !ContinuesPasses(source[static_cast<size_t>(i)])) {
            CarryLine(i);
            leftOut.push_back(i++);
        }
    }

    if (!ImportCancelled) {
        // Where the compile-time data begins. Lines the passes could not place stand before
        // it; starting the arrays there would shift every array onto the data of the next.
        int data = i;
        while (data < n && !calvex::StartsCompileTimeData(source[static_cast<size_t>(data)]))
            ++data;
        if (data < n)
            i = data;
        ConvertExtensionRuns(extensionStarts, data, prefix);
        for (size_t k = 0; k < NameList.size() && !ImportCancelled; ++k) {
            TEDITSection* target = pending(AddedSection(ArraysNode, AddArray(NameList[k], "")));
            if (!target)
                target = &MainRoutineSection;
            i = ConvertRPG3Array(source, i, *target, prefix);
            filled(target);
            shown();
        }
    }

    TakeOriginTexts();
    for (const std::string& warning : orvale::StrayLineWarnings(strays, leftOut))
        found.Warning(warning);
    ReadMemberDates(found);
    if (PropertySection.LinesCount() == 0)
        InitProperties("", "");
    HistorySection.AddLine(HistoryEntry(FileName, "Converted", ""));
}

void TRPGProgram::ReadMemberDates(orvale::Diagnostics& found) {
    // The banners' moments, read again as one set: the walks read each as they met it.
    std::vector<TEDITSection*> dated;
    std::vector<std::string_view> texts;
    ForEachNode([&](TreeNode* node) {
        TEDITSection* s = node->Section();
        if (s && (!s->BannerMoments[0].empty() || !s->BannerMoments[1].empty())) {
            dated.push_back(s);
            for (const std::string& text : s->BannerMoments)
                if (!text.empty())
                    texts.push_back(text);
        }
        return true;
    });
    orvale::DateReader banners = orvale::DateReader::Choosing(texts);
    int unread = 0;
    for (TEDITSection* s : dated) {
        TEDITSectionProperty& p = s->Properties;
        for (int k = 0; k < 2; ++k) {
            std::string& text = s->BannerMoments[k];
            if (text.empty())
                continue;
            std::string& kept = k == 0 ? p.UnreadCreatedOn : p.UnreadLastUpdate;
            if (auto reading = banners.Read(text)) {
                (k == 0 ? p.CreatedOn : p.LastUpdate) = reading->Moment;
                kept.clear();
            } else {
                kept = text;
                ++unread;
            }
            std::string().swap(text);
        }
    }
    if (unread > 0)
        found.Warning(UnreadDatesWarning(unread));
    // The log's moments were all written on the machine that built the member.
    std::vector<std::string> whens;
    for (const SectionLine& line : HistorySection.Lines()) {
        Parser.Parse(line.Text, ",", false, false);
        if (Parser.Tokens.size() > 3)
            whens.push_back(Parser.Tokens[3]);
    }
    RewriteHistoryDates(orvale::DateReader::Choosing({whens.begin(), whens.end()}));
}

void TRPGProgram::TakeOriginTexts() {
    // A member line is the origin of one statement and is moved there; should a walk ever give
    // a line two origins, all but the last get a copy of it.
    std::vector<unsigned char> uses(SourceLines.size());
    auto eachOrigin = [&](auto&& f) {
        ForEachNode([&](TreeNode* node) {
            TEDITSection* s = node->Section();
            if (s && s->OriginTextsPending)
                for (int k = 0; k < s->LinesCount(); ++k) {
                    LineOrigin& origin = s->EditOrigin(k);
                    if (origin.Has() && static_cast<size_t>(origin.Ordinal) < SourceLines.size())
                        f(origin, static_cast<size_t>(origin.Ordinal));
                }
            return true;
        });
    };
    eachOrigin([&](LineOrigin&, size_t k) { uses[k] = uses[k] < 2 ? uses[k] + 1 : 2; });
    if (!SourceRecords.empty())
        TakeRecords();
    eachOrigin([&](LineOrigin& origin, size_t k) {
        if (uses[k] > 1)
            origin.Text = SourceLines[k];
        else
            origin.Text = std::move(SourceLines[k]);
    });
    ForEachNode([](TreeNode* node) {
        if (TEDITSection* s = node->Section())
            s->OriginTextsPending = false;
        return true;
    });
}

void TRPGProgram::TakeRecords() {
    auto recordOf = [&](const LineOrigin& origin) {
        size_t k = static_cast<size_t>(origin.Ordinal);
        return origin.Has() && k < SourceRecords.size() ? SourceRecords[k] : HostRecord{};
    };
    ForEachNode([&](TreeNode* node) {
        TEDITSection* s = node->Section();
        if (!s || !s->OriginTextsPending)
            return true;
        s->SetHeadRecord(recordOf(s->HeadOrigin));
        for (int k = 0; k < s->LinesCount(); ++k)
            if (const LineOrigin* origin = s->OriginAt(k))
                s->SetRecord(k, recordOf(*origin));
        return true;
    });
}

void TRPGProgram::CarryLine(int index) {
    const std::string& line = SourceLines[static_cast<size_t>(index)];
    // The section that took the nearest line before it: a section's lines are given back in
    // its order, so the line stays where it stood. Only the last section of each folder can
    // have taken lines after the others of that folder.
    TEDITSection* target = &HeaderSection;
    int nearest = -1;
    auto consider = [&](TEDITSection* s) {
        if (!s || !s->TracksOrigins())
            return;
        int last = s->Lines().back().Origin.Ordinal;
        if (last > nearest && last < index) {
            nearest = last;
            target = s;
        }
    };
    for (TEDITSection* s : {&HeaderSection, &LogicalSection, &DisplaySection, &PrinterSection,
                            &SpecialSection, &ExtensionSection, &LineCountSection, &InputSection,
                            &MainRoutineSection, &InitSubRoutineSection})
        consider(s);
    for (TreeNode* folder : {SubRoutinesNode, OutputNode})
        if (folder && folder->Count() > 0)
            consider(folder->Child(folder->Count() - 1)->Section());
    // Its columns 6-74 as a raw line, for a statement to read; the origin gives it back whole.
    std::string_view code = std::string_view(line).substr(std::min(line.size(), size_t{5}));
    code = code.substr(0, std::min(code.size(), size_t{69}));
    while (!code.empty() && code.back() == ' ')
        code.remove_suffix(1);
    target->AddConverted("RPG(" + std::string(code) + ")", line, index);
}

void TRPGProgram::ConvertExtensionRuns(const std::vector<int>& starts, int data,
                                       const std::string& prefix) {
    const StringList& source = SourceLines;
    const int n = static_cast<int>(source.size());
    // Without extension lines the data still has to be carried: the extension walk then
    // starts at the data, takes no line and names each block after itself.
    if (starts.empty()) {
        ConvertRPG3Exten(source, NameList, data < n ? data : n, ExtensionSection, prefix);
        return;
    }
    if (starts.size() == 1) {
        ConvertRPG3Exten(source, NameList, starts.front(), ExtensionSection, prefix);
        return;
    }
    // Several runs (extension lines between other specifications): the walk sees them as one
    // run followed by the compile-time data, so that every line is converted and the tables
    // of all runs meet their data blocks in the order of their definitions.
    StringList joined;
    std::vector<int> memberIndex; // of each joined line
    // The header lines first (not walked), for what they say of the compile-time data.
    for (int k = 0; k < starts.front(); ++k)
        if (calvex::Column(source[static_cast<size_t>(k)], 6) == 'H') {
            joined.push_back(source[static_cast<size_t>(k)]);
            memberIndex.push_back(k);
        }
    const int walkStart = static_cast<int>(joined.size());
    for (int start : starts) {
        calvex::WalkFilter extension(source, 'E');
        for (int k = start; k < n && extension.Takes(k); ++k) {
            joined.push_back(source[static_cast<size_t>(k)]);
            memberIndex.push_back(k);
        }
    }
    if (data < n)
        joined.insert(joined.end(), source.begin() + data, source.end());
    int first = ExtensionSection.LinesCount();
    ConvertRPG3Exten(joined, NameList, walkStart, ExtensionSection, prefix);
    // The lines' places are those of the member, not of the joined list.
    for (int k = first; k < ExtensionSection.LinesCount(); ++k) {
        LineOrigin& origin = ExtensionSection.EditOrigin(k);
        if (!origin.Has())
            continue;
        size_t joinedIndex = static_cast<size_t>(origin.Ordinal);
        origin.Ordinal = joinedIndex < memberIndex.size()
                             ? memberIndex[joinedIndex]
                             : data + static_cast<int>(joinedIndex - memberIndex.size());
    }
}
