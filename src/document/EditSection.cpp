#include "EditSection.h"

#include "ParseString.h"
#include "WordDelimiter.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"

#include <algorithm>
#include <charconv>
#include <iterator>

using orvale::Prompter;
using orvale::RegionalSettings;

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

namespace {

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

// Appends the lines First to End of Src to To; moves them when Owner (Src itself) is given.
void AppendBlock(StringList& to, const StringList& src, StringList* owner, int first, int end) {
    if (owner)
        to.insert(to.end(), std::make_move_iterator(owner->begin() + first),
                  std::make_move_iterator(owner->begin() + end));
    else
        to.insert(to.end(), src.begin() + first, src.begin() + end);
}

} // namespace

TEDITSection::TEDITSection(std::string name, std::string description) {
    Properties.Name = std::move(name);
    Properties.Description = std::move(description);
    Properties.CreatedOn = orvale::DateTime::Now();
    Properties.LastUpdate = Properties.CreatedOn;
}

void TEDITSection::AddConverted(std::string statement, const std::string& line, int ordinal) {
    if (Origins.size() != Lines.size())
        Origins.resize(Lines.size());
    Origins.push_back(
        {OriginTextsPending ? std::string() : line, ordinal, StatementHash(statement)});
    Lines.push_back(std::move(statement));
    Compiled.push_back(line);
}

void TEDITSection::ReconvertLine(int index, std::string statement) {
    size_t k = static_cast<size_t>(index);
    if (Origins.size() == Lines.size())
        Origins[k].Statement = StatementHash(statement);
    Lines[k] = std::move(statement);
    CompiledValid = false;
}

const LineOrigin* TEDITSection::OriginAt(int index) const {
    if (Origins.size() != Lines.size() || index < 0 || index >= LinesCount())
        return nullptr;
    const LineOrigin& origin = Origins[static_cast<size_t>(index)];
    return origin.Has() ? &origin : nullptr;
}

namespace {

// The tag of a member line: columns 1-5 and from column 75 on, trimmed, joined by a blank.
std::string TagOf(const LineOrigin* origin) {
    if (!origin)
        return {};
    std::string_view text = origin->Text;
    std::string_view left = TrimView(text.substr(0, std::min(text.size(), size_t{5})));
    std::string_view right = text.size() > 74 ? TrimView(text.substr(74)) : std::string_view();
    std::string tag(left);
    if (!left.empty() && !right.empty())
        tag += ' ';
    tag.append(right);
    return tag;
}

} // namespace

StringList LineTags(const TEDITSection& section) {
    StringList tags(section.Lines.size());
    for (int k = 0; k < section.LinesCount(); ++k)
        tags[static_cast<size_t>(k)] = TagOf(section.OriginAt(k));
    return tags;
}

StringList LineTagsFor(const TEDITSection& section, const StringList& lines) {
    // Origins out of step with the lines are read as none, as everywhere else.
    static const std::vector<LineOrigin> none;
    const bool inStep = section.Origins.size() == section.Lines.size();
    std::vector<LineOrigin> origins =
        CarryOrigins(section.Lines, inStep ? section.Origins : none, lines);
    StringList tags(lines.size());
    for (size_t k = 0; k < lines.size() && k < origins.size(); ++k)
        tags[k] = TagOf(origins[k].Has() ? &origins[k] : nullptr);
    return tags;
}

void TEDITSection::DeleteLine(int index) {
    if (Origins.size() == Lines.size())
        Origins.erase(Origins.begin() + index);
    else
        Origins.clear();
    Lines.erase(Lines.begin() + index);
    CompiledValid = false;
}

void TEDITSection::ReplaceLine(int index, std::string s) {
    // The replaced line moves to the end and is a new statement there.
    if (Origins.size() == Lines.size()) {
        Origins.erase(Origins.begin() + index);
        Origins.emplace_back();
    } else {
        Origins.clear();
    }
    Lines.erase(Lines.begin() + index);
    Lines.push_back(std::move(s));
    CompiledValid = false;
}

void TEDITSection::SetLines(const StringList& source) {
    if (KeepPrevious)
        PrevLines = Lines;
    // Whichever way the text was edited (typed, replaced, pasted, restored), the lines that
    // stand unchanged keep their member lines and an edited line keeps its tags.
    Origins = CarryOrigins(Lines, Origins, source);
    Lines = source;
    Properties.LastUpdate = orvale::DateTime::Now();
    Properties.Modified = true;
    CompiledValid = false;
    Compiled.clear();
    CompiledFrom.clear();
}

void TEDITSection::SetKeepPrevious(bool flag) {
    KeepPrevious = flag;
    if (!flag)
        PrevLines.clear();
}

void TEDITSection::ClearAll() {
    Lines.clear();
    PrevLines.clear();
    Compiled.clear();
    CompiledFrom.clear();
    Origins.clear();
    HeadOrigin = {};
}

int TEDITSection::ReadFromLines(const StringList& src, int start, Prompter& prompter) {
    return ReadBlock(src, nullptr, start, prompter);
}

int TEDITSection::TakeFromLines(StringList& src, int start, Prompter& prompter) {
    return ReadBlock(src, &src, start, prompter);
}

int TEDITSection::ReadBlock(const StringList& src, StringList* owner, int start,
                            Prompter& prompter) {
    auto lineAt = [&](int i) -> std::string_view {
        return i >= 0 && i < static_cast<int>(src.size())
                   ? std::string_view(src[static_cast<size_t>(i)])
                   : std::string_view();
    };
    Properties.Description = BracketValue(lineAt(start));
    const RegionalSettings& regional = RegionalSettings::Current();
    auto created = regional.ParseDateTime(BracketValue(lineAt(start + 1)));
    if (created) {
        Properties.CreatedOn = *created;
        auto updated = regional.ParseDateTime(BracketValue(lineAt(start + 2)));
        if (updated)
            Properties.LastUpdate = *updated;
        else
            prompter.Warning(kCorruptedFileWarning);
    } else {
        prompter.Warning(kCorruptedFileWarning);
    }
    int count = BracketNumber(lineAt(start + 3));
    OpenLineIndex = start + 3;
    int first = start + 4;
    int i = BlockEnd(src, first, count);
    AppendBlock(Lines, src, owner, first, i);
    if (!Origins.empty())
        Origins.resize(Lines.size());
    if (count != i - first)
        prompter.Warning(kCorruptedFileWarning);
    CompiledValid = false;
    Compiled.clear();
    CompiledFrom.clear();
    return i + 2;
}

void TEDITSection::WriteToLines(StringList& dest) {
    WriteHeadToLines(dest);
    dest.insert(dest.end(), Lines.begin(), Lines.end());
    dest.push_back(kEndOfSection);
    dest.emplace_back();
}

void TEDITSection::WriteHeadToLines(StringList& dest) {
    const RegionalSettings& regional = RegionalSettings::Current();
    dest.push_back("[" + Properties.Name + "]");
    dest.push_back("[" + Properties.Description + "]");
    dest.push_back("[" + regional.FormatDateTime(Properties.CreatedOn) + "]");
    dest.push_back("[" + regional.FormatDateTime(Properties.LastUpdate) + "]");
    SaveLineIndex = static_cast<int>(dest.size());
    dest.push_back("[" + std::to_string(Lines.size()) + "]");
}

int TEDITSection::ReadCompiledFromLines(const StringList& src, int start, Prompter& prompter) {
    return ReadCompiledBlock(src, nullptr, start, prompter);
}

int TEDITSection::TakeCompiledFromLines(StringList& src, int start, Prompter& prompter) {
    return ReadCompiledBlock(src, &src, start, prompter);
}

int TEDITSection::ReadCompiledBlock(const StringList& src, StringList* owner, int start,
                                    Prompter& prompter) {
    int size = static_cast<int>(src.size());
    int count = start < size ? BracketNumber(src[static_cast<size_t>(start)]) : -1;
    int first = start + 1;
    int i = BlockEnd(src, first, count);
    AppendBlock(Compiled, src, owner, first, i);
    // Which statement each line came from is not stored with the lines.
    CompiledFrom.clear();
    if (count != i - first) {
        Compiled.clear();
        CompiledValid = false;
        prompter.Warning(kCorruptedFileWarning);
        return -1;
    }
    CompiledValid = !Compiled.empty();
    return i + 2;
}

void ReadSectionLines(const StringList& src, StringList& dest, int start, Prompter& prompter) {
    int size = static_cast<int>(src.size());
    if (start < 0 || start >= size)
        return;
    dest.clear();
    int count = BracketNumber(src[static_cast<size_t>(start)]);
    int end = BlockEnd(src, start + 1, count);
    dest.assign(src.begin() + start + 1, src.begin() + end);
    if (count != end - start - 1)
        prompter.Warning(kCorruptedFileWarning);
}

void TEDITSection::Restore(const StringList& snapshot, StringList& dest, RestoreKind kind,
                           Prompter& prompter) {
    switch (kind) {
    case RestoreKind::PreviousUpdate:
        if (!PrevLines.empty())
            dest = PrevLines;
        break;
    case RestoreKind::LastUpdate:
        dest = Lines;
        break;
    case RestoreKind::LastOpen:
        if (OpenLineIndex > -1)
            ReadSectionLines(snapshot, dest, OpenLineIndex, prompter);
        break;
    case RestoreKind::LastSave:
        if (SaveLineIndex > -1)
            ReadSectionLines(snapshot, dest, SaveLineIndex, prompter);
        break;
    }
    CompiledValid = false;
    Compiled.clear();
    CompiledFrom.clear();
}

namespace {

// Position of the first occurrence of Needle in Hay, or npos.
size_t FindUpper(std::string_view upperHay, std::string_view upperNeedle) {
    return upperHay.find(upperNeedle);
}

} // namespace

bool IsDefinitionMatch(std::string_view line, size_t pos, size_t length) {
    if (pos > 0 && !IsWordDelimiter(static_cast<unsigned char>(line[pos - 1])))
        return false;
    size_t after = pos + length;
    if (after < line.size() && !IsWordDelimiter(static_cast<unsigned char>(line[after])))
        return false;
    size_t comment = line.find("/*");
    if (comment != std::string_view::npos && comment < pos)
        return false;
    std::string upper = UpperCase(line);
    static const char* const uses[] = {"ADD", "Z-ADD", "IF", "OR", "AND", "MOVE", "SUB"};
    for (const char* word : uses) {
        size_t at = FindUpper(upper, word);
        if (at != std::string::npos && at < pos)
            return false;
    }
    return true;
}

bool TEDITSection::FindText(std::string_view text, bool caseSensitive, bool definitionMode,
                            int& line, int& column) const {
    if (text.empty())
        return false;
    std::string upperText;
    if (!caseSensitive)
        upperText = UpperCase(text);
    std::string upperLine;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::string& current = Lines[i];
        size_t pos;
        if (caseSensitive) {
            pos = current.find(text);
        } else {
            upperLine.assign(current);
            UpperCaseInPlace(upperLine);
            pos = upperLine.find(upperText);
        }
        if (pos == std::string::npos)
            continue;
        if (definitionMode && !IsDefinitionMatch(current, pos, text.size()))
            continue;
        line = static_cast<int>(i);
        column = static_cast<int>(pos) + 1;
        return true;
    }
    return false;
}
