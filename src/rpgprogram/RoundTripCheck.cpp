#include "RoundTripCheck.h"

#include "RPGProgram.h"

#include "platform/TextFile.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

StringList WithoutBanners(const StringList& lines, const std::string& prefix) {
    StringList kept;
    kept.reserve(lines.size());
    for (const std::string& line : lines)
        if (!calvex::IsAddedBanner(line, prefix))
            kept.push_back(line);
    return kept;
}

bool SameLines(StringList a, StringList b) {
    if (a.size() != b.size())
        return false;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// For each line of Reordered, the index of the same line in Member. Sections move as whole
// runs of lines, so among equal lines the next one after the line mapped last is taken first.
std::vector<int> MemberIndexes(const StringList& member, const StringList& reordered) {
    std::map<std::string_view, std::set<int>> unused;
    for (size_t i = 0; i < member.size(); ++i)
        unused[member[i]].insert(static_cast<int>(i));
    std::vector<int> indexes;
    indexes.reserve(reordered.size());
    int last = -1;
    for (const std::string& line : reordered) {
        std::set<int>& free = unused[line];
        auto at = free.upper_bound(last);
        if (at == free.end())
            at = free.begin();
        last = at == free.end() ? -1 : *at;
        if (at != free.end())
            free.erase(at);
        indexes.push_back(last);
    }
    return indexes;
}

// Takes the totals a whole-program compile reports.
class Totals : public orvale::CompileStatistics {
public:
    int Warnings = 0;
    int Errors = 0;

    void SetSectionLines(const std::string&) override {}
    void SetTotalLines(const std::string&) override {}
    void SetWarnings(const std::string& text) override { Warnings = std::stoi(text); }
    void SetErrors(const std::string& text) override { Errors = std::stoi(text); }
    void AddErrorLine(const std::string&) override {}
    void ProcessMessages() override {}
};

} // namespace

TRoundTripReport CompareMemberRoundTrip(const StringList& member, const StringList& taken,
                                        const StringList& built, const std::string& prefix) {
    TRoundTripReport report;
    report.Checked = true;
    StringList source = WithoutBanners(member, prefix);
    StringList expected = WithoutBanners(taken, prefix);
    // The build's order is only trusted when the import placed every line of the member;
    // otherwise the member is compared as it stands, and what was lost shows.
    std::vector<int> indexes;
    if (expected != source && SameLines(expected, source)) {
        report.Reordered = true;
        indexes = MemberIndexes(source, expected);
    } else {
        expected = source;
    }
    // Indexes into the member file, banner lines included.
    std::vector<int> fileIndex;
    for (size_t i = 0; i < member.size(); ++i)
        if (!calvex::IsAddedBanner(member[i], prefix))
            fileIndex.push_back(static_cast<int>(i));

    report.Differences = calvex::CompareRoundTrip(expected, built, prefix);
    report.Lines = static_cast<int>(expected.size());
    report.Unchanged = report.Lines;
    for (calvex::LineDifference& d : report.Differences) {
        if (d.SourceIndex < 0)
            continue;
        --report.Unchanged;
        int k = report.Reordered ? indexes[static_cast<size_t>(d.SourceIndex)] : d.SourceIndex;
        d.SourceIndex = k < 0 ? -1 : fileIndex[static_cast<size_t>(k)];
    }
    return report;
}

TRoundTripReport CheckMemberRoundTrip(const std::string& path, const std::string& prefix,
                                      int tabSpaces, orvale::Prompter& prompter) {
    TRoundTripReport report;
    StringList member;
    if (!orvale::ReadTextFile(path, member, &report.Error))
        return report;
    if (path.empty() || path.back() != '3') {
        report.Error = path + ": not an RPG III member (the name must end in 3)";
        return report;
    }
    // Every compile option on, so that everything the statements carry is written.
    TFormGenRPG everything;
    everything.EditPrefix = prefix;
    TRPGProgram doc(prompter);
    doc.FormGenRPG = &everything;
    doc.TabSpaces = tabSpaces;
    doc.SetUndoOptions(false, false, false);
    if (!doc.ImportFromFile(path)) {
        report.Error = path + ": could not be imported";
        return report;
    }
    doc.AssembleSource();
    StringList taken = std::move(doc.NameList);
    Totals totals;
    doc.CompileAllSections(true, &totals);
    doc.AssembleSource();
    report = CompareMemberRoundTrip(member, taken, doc.NameList, doc.IndicatorPrefix);
    report.CompileErrors = totals.Errors;
    report.CompileWarnings = totals.Warnings;
    return report;
}
