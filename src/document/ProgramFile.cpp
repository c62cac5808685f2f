// The tree part of a program file, its section blocks and the writer of the text.

#include "ProgramFile.h"

#include "EditProgram.h"

#include "platform/CodePage.h"
#include "platform/DateReader.h"
#include "platform/RegionalSettings.h"
#include "platform/SafeSave.h"

#include <algorithm>
#include <charconv>
#include <optional>

using orvale::Diagnostics;

std::string BracketValue(std::string_view line) {
    if (line.size() < 2)
        return {};
    return std::string(line.substr(1, line.size() - 2));
}

int BracketNumber(std::string_view line) {
    if (line.size() < 3)
        return -1;
    std::string_view value = line.substr(1, line.size() - 2);
    int number = 0;
    const char* begin = value.data();
    const char* end = begin + value.size();
    if (begin < end && *begin == '+')
        ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, number);
    if (ec != std::errc() || ptr != end || begin == end)
        return -1;
    return number;
}

std::string OriginsMarker(int version) {
    if (version <= 1)
        return kBeginOfOrigins;
    return "[Begin Of Line Origins, Version " + std::to_string(version) + "]";
}

// -- Writer

template <class Line> void ProgramTextWriter::AddEach(const std::vector<Line>& lines) {
    if (!Stream) {
        for (const Line& line : lines)
            Lines.push_back(line.Text);
        return;
    }
    Flush();
    for (const Line& line : lines)
        Stream->WriteLine(line.Text);
    Flushed += lines.size();
}

void ProgramTextWriter::AddTexts(const std::vector<SectionLine>& lines) {
    AddEach(lines);
}

void ProgramTextWriter::AddTexts(const std::vector<CompiledLine>& lines) {
    AddEach(lines);
}

void ProgramTextWriter::Flush() {
    if (!Stream || Lines.empty())
        return;
    Stream->WriteLines(Lines);
    Flushed += Lines.size();
    Lines.clear();
}

// -- Section blocks

namespace {

std::string Bracketed(std::string_view value) {
    std::string line;
    line.reserve(value.size() + 2);
    line += '[';
    line += value;
    line += ']';
    return line;
}

std::string_view LineAt(const StringList& src, int i) {
    return i >= 0 && i < static_cast<int>(src.size())
               ? std::string_view(src[static_cast<size_t>(i)])
               : std::string_view();
}

// Where the block of text lines that starts at First and claims Count lines ends: the index of
// its end marker, or the end of Src. A block this program writes always has its end marker
// right after its Count lines, whatever those lines hold, so when the marker stands there the
// block is taken whole, even a text line that reads like the marker. A block whose count does
// not fit (a damaged file) runs to the first end marker.
int BlockEnd(const StringList& src, int first, int count) {
    int size = static_cast<int>(src.size());
    if (first >= size)
        return first; // no lines: the file ends before the block
    if (count >= 0 && count < size - first &&
        src[static_cast<size_t>(first + count)] == kEndOfSection)
        return first + count;
    int i = first;
    while (i < size && src[static_cast<size_t>(i)] != kEndOfSection)
        ++i;
    return i;
}

// Lines First to End of a file text, left there for Section to take once the tree is read.
struct LaterText {
    TEDITSection* Section;
    size_t First;
    size_t End;
};

// ReadFromLines; Later, when given, receives the lines a taken text leaves for later instead
// of Section.
int ReadSectionBlock(TEDITSection& section, StringList& src, int start, bool take,
                     std::string (&dates)[2], Diagnostics& found, std::vector<LaterText>* later) {
    section.Properties.Description = BracketValue(LineAt(src, start));
    dates[0] = BracketValue(LineAt(src, start + 1));
    dates[1] = BracketValue(LineAt(src, start + 2));
    int count = BracketNumber(LineAt(src, start + 3));
    section.OpenLineIndex = start + 3;
    int first = start + 4;
    int i = BlockEnd(src, first, count);
    if (take && later) {
        later->push_back({&section, static_cast<size_t>(first), static_cast<size_t>(i)});
    } else if (take) {
        section.AppendLines(src, static_cast<size_t>(first), static_cast<size_t>(i));
    } else {
        StringList copy(src.begin() + first, src.begin() + i);
        section.AppendLines(copy, 0, copy.size());
    }
    if (count != i - first)
        found.Warning(kCorruptedFileWarning);
    section.CompiledValid = false;
    section.ClearCompiled();
    return i + 2;
}

} // namespace

int ReadFromLines(TEDITSection& section, StringList& src, int start, bool take,
                  std::string (&dates)[2], Diagnostics& found) {
    return ReadSectionBlock(section, src, start, take, dates, found, nullptr);
}

void WriteToLines(TEDITSection& section, ProgramTextWriter& out, StringList lastLines) {
    const TEDITSectionProperty& p = section.Properties;
    out.Add(Bracketed(p.Name));
    out.Add(Bracketed(p.Description));
    out.Add(Bracketed(p.CreatedOnText()));
    out.Add(Bracketed(p.LastUpdateText()));
    section.SaveLineIndex = out.LineNumber();
    out.Add(Bracketed(std::to_string(section.LinesCount() + lastLines.size())));
    out.AddTexts(section.Lines());
    for (std::string& line : lastLines)
        out.Add(std::move(line));
    out.Add(kEndOfSection);
    out.Add({});
}

// -- The record of the date formats

namespace {

constexpr std::string_view kDateRecordKey = "Date Format=";

} // namespace

std::string DateRecordLine(const orvale::RegionalSettings& formats, std::string_view sample) {
    std::string line(kDateRecordKey);
    line += orvale::FormatsRecord(formats);
    line += '|';
    line += sample;
    return line;
}

bool ReadDateRecordLine(std::string_view line, orvale::RegionalSettings& formats,
                        std::string& sample) {
    if (!line.starts_with(kDateRecordKey))
        return false;
    line.remove_prefix(kDateRecordKey.size());
    // The sample is the last field; the formats are the four before it.
    size_t bar = line.rfind('|');
    if (bar == std::string_view::npos)
        return false;
    auto recorded = orvale::FormatsFromRecord(line.substr(0, bar));
    if (!recorded)
        return false;
    formats = *recorded;
    sample.assign(line.substr(bar + 1));
    return true;
}

int ReadCompiledFromLines(TEDITSection& section, StringList& src, int start, bool take,
                          Diagnostics& found) {
    int count = BracketNumber(LineAt(src, start));
    int first = start + 1;
    int i = BlockEnd(src, first, count);
    // Which statement each line came from is not stored with the lines.
    section.ReserveCompiled(section.CompiledCount() + static_cast<size_t>(std::max(0, i - first)));
    for (int k = first; k < i; ++k)
        section.AddCompiledText(take ? std::move(src[static_cast<size_t>(k)])
                                     : src[static_cast<size_t>(k)]);
    if (count != i - first) {
        section.ClearCompiled();
        section.CompiledValid = false;
        found.Warning(kCorruptedFileWarning);
        return -1;
    }
    section.CompiledValid = section.CompiledCount() > 0;
    return i + 2;
}

bool ReadSectionLines(const StringList& src, int start, StringList& dest, Diagnostics& found) {
    int size = static_cast<int>(src.size());
    if (start < 0 || start >= size)
        return false;
    dest.clear();
    int count = BracketNumber(src[static_cast<size_t>(start)]);
    int end = BlockEnd(src, start + 1, count);
    dest.assign(src.begin() + start + 1, src.begin() + end);
    if (count != end - start - 1)
        found.Warning(kCorruptedFileWarning);
    return true;
}

// -- The tree part

namespace {

// Each section's two date lines, read once the whole tree is read.
struct StoredDates {
    TEDITSection* Section;
    std::string Texts[2];
};

// Takes the record of the date formats off the end of the property section's text, where the
// writer puts it. Its formats are trusted while its sample is the property section's own
// creation text: a version that knows no record shows it as a property and keeps it, but
// writes the dates in its own formats, which then no longer give that text.
std::optional<orvale::RegionalSettings> TakeDateRecord(TEDITSection& properties,
                                                       const std::string& createdText) {
    if (properties.LinesCount() == 0)
        return std::nullopt;
    orvale::RegionalSettings formats("", "");
    std::string sample;
    if (!ReadDateRecordLine(properties.Lines().back().Text, formats, sample))
        return std::nullopt;
    properties.DeleteLine(properties.LinesCount() - 1);
    if (sample != createdText)
        return std::nullopt;
    return formats;
}

// Takes the record of the code page off the end of the property section's text (the record of
// the dates is taken first). A name this program cannot convert is kept, to be written back,
// and the text is shown as ISO-8859-1 meanwhile.
void TakeCodePageRecord(TEDITProgram& program, Diagnostics& found) {
    TEDITSection& properties = program.PropertySection;
    if (properties.LinesCount() == 0)
        return;
    std::string_view line = properties.Lines().back().Text;
    if (!line.starts_with(kCodePageKey))
        return;
    std::string name(line.substr(kCodePageKey.size()));
    properties.DeleteLine(properties.LinesCount() - 1);
    std::string known = orvale::CodePage::Canonical(name);
    if (known.empty() || !orvale::CodePage::Shared(known)) {
        found.Warning(CodePageWarning(name));
        program.TextCodePage = name;
        return;
    }
    program.TextCodePage = known == "ISO-8859-1" ? std::string() : known;
}

// Reads the moments of every section, with the formats the file recorded or, without them,
// with the form that reads them all. Returns whether a moment was written in other formats
// than the current ones.
bool ReadDates(TEDITProgram& program, std::vector<StoredDates>& stored,
               const std::optional<orvale::RegionalSettings>& recorded, Diagnostics& found) {
    std::optional<orvale::DateReader> reader;
    if (recorded) {
        reader.emplace(*recorded);
    } else {
        std::vector<std::string_view> texts;
        texts.reserve(2 * stored.size());
        for (const StoredDates& s : stored)
            texts.insert(texts.end(), {s.Texts[0], s.Texts[1]});
        reader.emplace(orvale::DateReader::Choosing(texts));
    }
    bool otherFormats = false;
    int unread = 0;
    for (StoredDates& s : stored) {
        TEDITSectionProperty& p = s.Section->Properties;
        for (int k = 0; k < 2; ++k) {
            orvale::DateTime& moment = k == 0 ? p.CreatedOn : p.LastUpdate;
            std::string& kept = k == 0 ? p.UnreadCreatedOn : p.UnreadLastUpdate;
            if (auto reading = reader->Read(s.Texts[k])) {
                moment = reading->Moment;
                kept.clear();
                otherFormats = otherFormats || !reading->InCurrentFormats;
            } else {
                kept = std::move(s.Texts[k]);
                ++unread;
            }
        }
    }
    if (unread > 0)
        found.Warning(UnreadDatesWarning(unread));
    if (program.RewriteHistoryDates(*reader))
        otherFormats = true;
    return otherFormats;
}

} // namespace

std::string CodePageWarning(const std::string& name) {
    return "WARNING: The program's text is in the code page \"" + name +
           "\", which this system cannot convert: it is shown as ISO-8859-1!";
}

std::string UnreadDatesWarning(int count) {
    bool one = count == 1;
    return "WARNING: " + std::to_string(count) + (one ? " date" : " dates") +
           " of the file could not be read as a date in any known format and " +
           (one ? "is" : "are") + " kept as written!";
}

TreeReading ReadTree(TEDITProgram& program, StringList& lines, bool take, Diagnostics& found,
                     bool compiledRead) {
    const int count = static_cast<int>(lines.size());
    auto exists = [&](int i) { return i >= 0 && i < count; };
    auto line = [&](int i) { return LineAt(lines, i); };
    const int before = found.Errors() + found.Warnings();
    // Loading restores history; it never adds to it.
    bool logAdd = program.LogAdd;
    program.LogAdd = false;
    std::vector<StoredDates> dates;
    std::optional<orvale::RegionalSettings> recorded;
    bool recordSought = false;
    // A taken text whose compiled area stays unread holds a second copy of the member there:
    // the sections take their lines once it is given up, not beside it. The properties are
    // taken at once, as their records are read from them.
    std::vector<LaterText> later;
    const bool takeLater = take && !compiledRead;

    int i = 1;
    if (line(0) != kBeginOfProgram) {
        found.Error(kWrongFormatError);
    } else {
        int folderLeft = 0;
        std::string folderName;
        std::string folderDescription;
        TreeNode* folderNode = nullptr;
        while (exists(i) && line(i) != kEndOfProgram) {
            int image = BracketNumber(line(i));
            if (image == -1) {
                found.Warning(kCorruptedFileWarning);
                break;
            }
            std::string name = BracketValue(line(i + 1));
            if (name == kFolderMarker) {
                folderName = BracketValue(line(i + 2));
                folderDescription = BracketValue(line(i + 3));
                folderLeft = BracketNumber(line(i + 4));
                folderNode = nullptr;
                if (folderLeft < 0) {
                    found.Warning(kCorruptedFileWarning);
                    break;
                }
                if (folderLeft > 0) {
                    i += 6;
                    image = BracketNumber(line(i));
                    name = BracketValue(line(i + 1));
                }
            }
            TEDITSection* target = nullptr;
            if (folderLeft == 0 && name != kFolderMarker) {
                target = program.FindSectionByName(name);
            } else if (folderLeft > 0) {
                // The same folder serves all its children; adding them cannot change which
                // node comes first with that text.
                if (!folderNode)
                    folderNode = program.FindNodeByText(folderName);
                if (!folderNode || !folderNode->Folder()) {
                    found.Warning(kCorruptedFileWarning);
                    break;
                }
                folderNode->Folder()->Description = folderDescription;
                TreeNode* node = program.AddSection(folderNode, name, "");
                // A child's image line that is not a number is not checked, but it must not
                // be taken either: written back as "[-1]", it would end the next reading of
                // the file at this child. The child keeps the image a new node gets.
                if (image != -1)
                    program.Tree.SetImages(node, image, image);
                target = node->Section();
                --folderLeft;
            } else if (TreeNode* empty = program.FindNodeByText(folderName);
                       empty && empty->Folder()) {
                // An empty folder still keeps the description the user gave it.
                empty->Folder()->Description = folderDescription;
            }
            if (target) {
                dates.push_back({target, {}});
                bool now = !takeLater || target == &program.PropertySection;
                i = ReadSectionBlock(*target, lines, i + 2, take, dates.back().Texts, found,
                                     now ? nullptr : &later);
                if (target == &program.PropertySection && !recordSought) {
                    recordSought = true;
                    recorded = TakeDateRecord(*target, dates.back().Texts[0]);
                    TakeCodePageRecord(program, found);
                }
            } else if (name != kFolderMarker) {
                found.Warning(kCorruptedFileWarning);
                break;
            } else {
                i += 6;
            }
        }
    }
    if (!exists(i) || line(i) != kEndOfProgram)
        found.Warning(kCorruptedFileWarning);
    else if (takeLater)
        PassCompiledArea(lines, i + 2, true);
    for (const LaterText& text : later)
        text.Section->AppendLines(lines, text.First, text.End);
    program.LogAdd = logAdd;
    program.ReadWhole = found.Errors() + found.Warnings() == before;
    // Dates are no part of the structure: one that cannot be read damages nothing.
    TreeReading reading;
    reading.OtherDateFormats = ReadDates(program, dates, recorded, found);
    reading.AreaStart = i + 2;
    return reading;
}

int ReadTreeText(TEDITProgram& program, StringList& lines, bool take, Diagnostics& found) {
    return ReadTree(program, lines, take, found).AreaStart;
}

void ReadProgramText(TEDITProgram& program, StringList& lines, bool compiled, bool take,
                     Diagnostics& found) {
    TreeReading tree = ReadTree(program, lines, take, found, compiled);
    if (compiled)
        ReadCompiledArea(program, lines, tree.AreaStart, take, found);
    ReadOriginArea(program, lines, tree.AreaStart, take, found);
    if (tree.OtherDateFormats)
        DropDatedCompiledLines(program);
}

void DropDatedCompiledLines(TEDITProgram& program) {
    program.ForEachNode([](TreeNode* n) {
        TEDITSection* s = n->Section();
        if (!s || !s->CompiledValid)
            return true;
        // The banner lines of the moments end in their codes ("1CRT", "1UPD") after the prefix.
        for (const CompiledLine& line : s->Compiled()) {
            std::string_view text = line.Text;
            if (text.size() >= 77 && (text.ends_with("1CRT") || text.ends_with("1UPD"))) {
                s->CompiledValid = false;
                s->ClearCompiled();
                break;
            }
        }
        return true;
    });
}

void WriteTreeText(TEDITProgram& program, ProgramTextWriter& out) {
    out.Add(kBeginOfProgram);
    // The formats of the dates go with the first properties written, which the reader reads
    // before the dates.
    bool recorded = false;
    program.ForEachNode([&](TreeNode* n) {
        if (TEDITSection* s = n->Section()) {
            out.Add(Bracketed(std::to_string(n->ImageIndex)));
            StringList records;
            if (s == &program.PropertySection && !recorded) {
                recorded = true;
                if (!program.TextCodePage.empty())
                    records.push_back(std::string(kCodePageKey) + program.TextCodePage);
                records.push_back(DateRecordLine(orvale::RegionalSettings::Current(),
                                                 s->Properties.CreatedOnText()));
            }
            WriteToLines(*s, out, std::move(records));
            out.Flush();
        } else if (const TEDITFolder* folder = n->Folder()) {
            out.Add(Bracketed(std::to_string(n->ImageIndex)));
            out.Add(Bracketed(kFolderMarker));
            out.Add(Bracketed(n->Text));
            out.Add(Bracketed(folder->Description));
            out.Add(Bracketed(std::to_string(n->Count())));
            out.Add({});
        }
        return true;
    });
    out.Add(kEndOfProgram);
}

// -- What the program browser reads

FindResult FindStoredSection(const StringList& lines, std::string_view name,
                             StoredSection& section) {
    section = {};
    if (lines.empty() || lines[0] != kBeginOfProgram)
        return FindResult::NotAProgram;
    // Folder blocks are six lines; a section block has six lines before its text. The walk
    // stays on the top-level blocks and the folders' children, which follow their folder.
    int i = 1;
    const int size = static_cast<int>(lines.size());
    while (i + 1 < size && lines[static_cast<size_t>(i)] != kEndOfProgram) {
        if (BracketNumber(lines[static_cast<size_t>(i)]) < 0)
            return FindResult::Damaged;
        std::string blockName = BracketValue(lines[static_cast<size_t>(i + 1)]);
        if (blockName == kFolderMarker) {
            i += 6;
            continue;
        }
        int first = i + 6;
        int end = BlockEnd(lines, first, BracketNumber(LineAt(lines, i + 5)));
        if (SameText(blockName, name)) {
            section.Description = BracketValue(LineAt(lines, i + 2));
            if (first < end)
                section.Lines.assign(lines.begin() + first, lines.begin() + end);
            return FindResult::Found;
        }
        i = end + 2;
    }
    return FindResult::Missing;
}
