#include "EditSection.h"

#include "ParseString.h"
#include "WordDelimiter.h"
#include "platform/RegionalSettings.h"

#include <algorithm>

TEDITSection::TEDITSection(std::string name, std::string description) {
    Properties.Name = std::move(name);
    Properties.Description = std::move(description);
    Properties.CreatedOn = orvale::DateTime::Now();
    Properties.LastUpdate = Properties.CreatedOn;
}

std::string TEDITSectionProperty::CreatedOnText() const {
    if (!UnreadCreatedOn.empty())
        return UnreadCreatedOn;
    return orvale::RegionalSettings::Current().FormatDateTime(CreatedOn);
}

std::string TEDITSectionProperty::LastUpdateText() const {
    if (!UnreadLastUpdate.empty())
        return UnreadLastUpdate;
    return orvale::RegionalSettings::Current().FormatDateTime(LastUpdate);
}

StringList TEDITSection::LineTexts() const {
    StringList texts;
    texts.reserve(Lines_.size());
    for (const SectionLine& line : Lines_)
        texts.push_back(line.Text);
    return texts;
}

void TEDITSection::AddLine(std::string s) {
    Lines_.push_back({std::move(s), {}});
    CompiledValid = false;
}

void TEDITSection::AddConverted(std::string statement, const std::string& line, int ordinal) {
    std::uint64_t hash = StatementHash(statement);
    Lines_.push_back(
        {std::move(statement), {OriginTextsPending ? std::string() : line, ordinal, hash}});
    TracksOrigins_ = true;
    AddCompiledText(line);
}

void TEDITSection::ReconvertLine(int index, std::string statement) {
    SectionLine& line = Lines_[static_cast<size_t>(index)];
    if (TracksOrigins_)
        line.Origin.Statement = StatementHash(statement);
    line.Text = std::move(statement);
    CompiledValid = false;
}

const LineOrigin* TEDITSection::OriginAt(int index) const {
    if (index < 0 || index >= LinesCount())
        return nullptr;
    const LineOrigin& origin = Lines_[static_cast<size_t>(index)].Origin;
    return origin.Has() ? &origin : nullptr;
}

bool TEDITSection::SetOrigins(std::vector<LineOrigin> origins) {
    if (origins.size() != Lines_.size())
        return false;
    for (size_t k = 0; k < origins.size(); ++k)
        Lines_[k].Origin = std::move(origins[k]);
    TracksOrigins_ = !Lines_.empty();
    return true;
}

void TEDITSection::DropOrigins() {
    for (SectionLine& line : Lines_) {
        line.Origin = {};
        line.Sequence = -1;
        line.ChangeDate = 0;
    }
    TracksOrigins_ = false;
}

void TEDITSection::SetRecord(int index, HostRecord record) {
    SectionLine& line = Lines_[static_cast<size_t>(index)];
    line.Sequence = record.Sequence;
    line.ChangeDate = record.Has() ? record.ChangeDate : 0;
}

bool TEDITSection::HasRecords() const {
    if (HeadRecord_.Has())
        return true;
    return std::any_of(Lines_.begin(), Lines_.end(),
                       [](const SectionLine& line) { return line.Sequence >= 0; });
}

std::vector<int> LinesChangedSince(const TEDITSection& section, std::int32_t since) {
    std::vector<int> changed;
    const std::vector<SectionLine>& lines = section.Lines();
    for (size_t k = 0; k < lines.size(); ++k)
        if (lines[k].Sequence >= 0 && ChangedOnOrAfter(lines[k].ChangeDate, since))
            changed.push_back(static_cast<int>(k));
    return changed;
}

int LineOfSequence(const TEDITSection& section, std::int32_t sequence) {
    const std::vector<SectionLine>& lines = section.Lines();
    for (size_t k = 0; k < lines.size(); ++k)
        if (lines[k].Sequence == sequence)
            return static_cast<int>(k);
    return -1;
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
    StringList tags(section.Lines().size());
    for (int k = 0; k < section.LinesCount(); ++k)
        tags[static_cast<size_t>(k)] = TagOf(section.OriginAt(k));
    return tags;
}

StringList LineTagsFor(const TEDITSection& section, const StringList& lines) {
    StringList tags(lines.size());
    if (!section.TracksOrigins())
        return tags;
    // The lines carried as an edit carries them (see SetLines).
    std::vector<int> carried = CarryLines(section.Lines(), lines);
    for (size_t k = 0; k < lines.size() && k < carried.size(); ++k)
        if (carried[k] >= 0)
            tags[k] = TagOf(section.OriginAt(carried[k]));
    return tags;
}

std::vector<HostRecord> LineRecordsFor(const TEDITSection& section, const StringList& lines) {
    if (!section.TracksOrigins() || !section.HasRecords())
        return {};
    std::vector<HostRecord> records(lines.size());
    std::vector<int> carried = CarryLines(section.Lines(), lines);
    for (size_t k = 0; k < lines.size() && k < carried.size(); ++k)
        if (carried[k] >= 0)
            records[k] = section.Lines()[static_cast<size_t>(carried[k])].Record();
    return records;
}

void TEDITSection::DeleteLine(int index) {
    Lines_.erase(Lines_.begin() + index);
    TracksOrigins_ = TracksOrigins_ && !Lines_.empty();
    CompiledValid = false;
}

void TEDITSection::ReplaceLine(int index, std::string s) {
    // The replaced line moves to the end and is a new statement there.
    Lines_.erase(Lines_.begin() + index);
    Lines_.push_back({std::move(s), {}});
    CompiledValid = false;
}

void TEDITSection::SetLines(const StringList& source) {
    if (KeepPrevious)
        PrevLines = LineTexts();
    // Whichever way the text was edited (typed, replaced, pasted, restored), the lines that
    // stand unchanged keep their member lines and an edited line keeps its tags.
    std::vector<SectionLine> lines(source.size());
    if (TracksOrigins_) {
        std::vector<int> carried = CarryLines(Lines_, source);
        for (size_t k = 0; k < source.size(); ++k)
            if (carried[k] >= 0)
                lines[k] = std::move(Lines_[static_cast<size_t>(carried[k])]);
    }
    for (size_t k = 0; k < source.size(); ++k)
        lines[k].Text = source[k];
    Lines_ = std::move(lines);
    TracksOrigins_ = TracksOrigins_ && !Lines_.empty();
    Properties.LastUpdate = orvale::DateTime::Now();
    Properties.UnreadLastUpdate.clear();
    Properties.Modified = true;
    CompiledValid = false;
    ClearCompiled();
}

void TEDITSection::AssignLines(StringList lines) {
    Lines_.clear();
    AppendLines(lines, 0, lines.size());
    TracksOrigins_ = false;
}

void TEDITSection::AppendLines(StringList& lines, size_t first, size_t end) {
    Lines_.reserve(Lines_.size() + (end - first));
    // Made in place: a line record is large, and a file's text has a record per line.
    for (size_t k = first; k < end; ++k)
        Lines_.emplace_back(std::move(lines[k]));
}

void TEDITSection::SetKeepPrevious(bool flag) {
    KeepPrevious = flag;
    if (!flag)
        PrevLines.clear();
}

void TEDITSection::ClearAll() {
    Lines_.clear();
    PrevLines.clear();
    ClearCompiled();
    TracksOrigins_ = false;
    HeadOrigin = {};
    HeadRecord_ = {};
}

void TEDITSection::ShrinkToFit() {
    Lines_.shrink_to_fit();
    Compiled_.shrink_to_fit();
}

StringList TEDITSection::CompiledTexts() const {
    StringList texts;
    texts.reserve(Compiled_.size());
    for (const CompiledLine& line : Compiled_)
        texts.push_back(line.Text);
    return texts;
}

void TEDITSection::ClearCompiled() {
    Compiled_.clear();
    CompiledLinked_ = true;
}

void TEDITSection::AddCompiled(std::string text, int from) {
    Compiled_.emplace_back(std::move(text), from);
}

void TEDITSection::AddCompiledText(std::string text) {
    Compiled_.emplace_back(std::move(text), -1);
    CompiledLinked_ = false;
}

void TEDITSection::AssignCompiled(StringList lines) {
    ClearCompiled();
    Compiled_.reserve(lines.size());
    for (std::string& line : lines)
        AddCompiledText(std::move(line));
}

void TEDITSection::Restore(const StringList* stored, StringList& dest, RestoreKind kind) {
    switch (kind) {
    case RestoreKind::PreviousUpdate:
        if (!PrevLines.empty())
            dest = PrevLines;
        break;
    case RestoreKind::LastUpdate:
        dest = LineTexts();
        break;
    case RestoreKind::LastOpen:
    case RestoreKind::LastSave:
        if (stored)
            dest = *stored;
        break;
    }
    CompiledValid = false;
    ClearCompiled();
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
    for (size_t i = 0; i < Lines_.size(); ++i) {
        const std::string& current = Lines_[i].Text;
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
