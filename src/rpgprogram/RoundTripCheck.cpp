#include "RoundTripCheck.h"

#include "RPGProgram.h"

#include "platform/Diagnostics.h"
#include "platform/TextFile.h"

namespace {

StringList WithoutBanners(const StringList& lines, const std::string& prefix) {
    StringList kept;
    kept.reserve(lines.size());
    for (const std::string& line : lines)
        if (!calvex::IsAddedBanner(line, prefix))
            kept.push_back(line);
    return kept;
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

TRoundTripReport CompareMemberRoundTrip(const StringList& member, const StringList& built,
                                        const std::string& prefix) {
    TRoundTripReport report;
    report.Checked = true;
    StringList source = WithoutBanners(member, prefix);
    // Indexes into the member file, banner lines included.
    std::vector<int> fileIndex;
    for (size_t i = 0; i < member.size(); ++i)
        if (!calvex::IsAddedBanner(member[i], prefix))
            fileIndex.push_back(static_cast<int>(i));

    report.Differences = calvex::CompareRoundTrip(source, built, prefix);
    report.Lines = static_cast<int>(source.size());
    report.Unchanged = report.Lines;
    for (calvex::LineDifference& d : report.Differences) {
        if (d.SourceIndex < 0)
            continue;
        --report.Unchanged;
        d.SourceIndex = fileIndex[static_cast<size_t>(d.SourceIndex)];
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
    orvale::Diagnostics found;
    bool imported = doc.ImportFromFile(path, found);
    found.ShowIn(prompter);
    if (!imported) {
        report.Error = path + ": could not be imported";
        return report;
    }
    Totals totals;
    doc.CompileAllSections(true, &totals);
    if (doc.Dated) {
        // The lines of a dated member come back with their numbers and dates; the banner lines
        // the build adds hold theirs before the columns, which say what they are.
        StringList built, kept;
        doc.DatedSourceLines(built);
        for (const std::string& line : built) {
            HostRecord r;
            bool dated = ReadHostRecord(line, r);
            if (!calvex::IsAddedBanner(dated ? line.substr(kRecordWidth) : line,
                                       doc.IndicatorPrefix))
                kept.push_back(line);
        }
        report = CompareMemberRoundTrip(member, kept, doc.IndicatorPrefix);
    } else {
        doc.AssembleSource();
        report = CompareMemberRoundTrip(member, doc.NameList, doc.IndicatorPrefix);
    }
    report.CompileErrors = totals.Errors;
    report.CompileWarnings = totals.Warnings;
    return report;
}
