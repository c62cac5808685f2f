// The build of a program imported from a dated member: every line of the source is written
// after the 12 digits of its sequence number and change date, as the host keeps them. Once the
// member is written, the lines take what was written as their member lines, so that a later
// build dates only what changed after this one.

#include "RPGProgram.h"

#include "document/SequencePlan.h"
#include "platform/Prompter.h"
#include "platform/SafeSave.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

using Kind = PlannedLine::Kind;

// A line of the source as the plan sees it, and where it was made.
struct DatedSourceLine {
    const TEDITSection* Section = nullptr;
    // The statement it was compiled from; -1 for the build's own lines and a separator.
    int From = -1;
    bool Head = false; // the "**" separator of an array's data
    const std::string* Text = nullptr;
};

bool SameColumns(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ')
        a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ')
        b.remove_suffix(1);
    return a == b;
}

// Whether Line, written from Origin, is the member line as it was read; the line to write is
// then Origin's own text.
PlannedLine Plan(const std::string*& text, const LineOrigin* origin, HostRecord record) {
    PlannedLine plan;
    bool same = origin && SameColumns(*text, origin->Text);
    if (same)
        text = &origin->Text;
    if (origin && record.Has()) {
        plan.What = same ? Kind::Kept : Kind::Edited;
        plan.Record = record;
        plan.Place = origin->Ordinal;
    } else {
        plan.What = same ? Kind::Raw : Kind::New;
    }
    return plan;
}

// The columns written for a line: a line made anew ends where its text does, as the member's
// own lines do.
std::string_view WrittenText(std::string_view text, const PlannedLine& plan) {
    if (plan.What != Kind::Kept && plan.What != Kind::Raw)
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
    return text;
}

std::string NoRoomMessage(const std::vector<DatedSourceLine>& lines,
                          const SequencePlanResult& result) {
    std::string text = std::to_string(result.NoRoom.size()) +
                       (result.NoRoom.size() == 1 ? " line has" : " lines have") +
                       " no room between the sequence numbers of the lines around "
                       "them: ";
    size_t stretch = 0;
    constexpr size_t kNamed = 5;
    for (size_t k = 0; k < result.NoRoom.size() && k < kNamed; ++k) {
        const DatedSourceLine& line = lines[result.NoRoom[k]];
        if (k > 0)
            text += ", ";
        text += line.Section->Properties.Name;
        text += line.Head ? " separator" : " line " + std::to_string(line.From + 1);
        bool last = k + 1 == result.NoRoom.size() || k + 1 == kNamed ||
                    result.NoRoom[k + 1] != result.NoRoom[k] + 1;
        if (last && stretch < result.Between.size()) {
            auto [low, high] = result.Between[stretch++];
            text += low < 0    ? " before " + FormatSequence(high)
                    : high < 0 ? " after " + FormatSequence(low)
                               : " between " + FormatSequence(low) + " and " + FormatSequence(high);
        }
    }
    if (result.NoRoom.size() > kNamed)
        text += " and " + std::to_string(result.NoRoom.size() - kNamed) + " more";
    return text;
}

// Gives the lines their member lines as written; true when that changed what a line carries.
bool TakeWrittenLines(const std::vector<DatedSourceLine>& lines,
                      const std::vector<PlannedLine>& plans) {
    // What each section's statements were written as: exactly one member line makes a line's
    // new origin; a statement written as several lines, or as none, keeps no origin that a
    // build could copy.
    struct Written {
        std::vector<int> Count;
        std::vector<size_t> Line;
    };
    std::unordered_map<const TEDITSection*, Written> written;
    std::vector<const TEDITSection*> order;
    std::unordered_map<const TEDITSection*, size_t> heads;
    for (size_t k = 0; k < lines.size(); ++k) {
        const DatedSourceLine& line = lines[k];
        if (plans[k].Dropped)
            continue;
        auto [it, added] = written.try_emplace(line.Section);
        if (added) {
            order.push_back(line.Section);
            it->second.Count.assign(static_cast<size_t>(line.Section->LinesCount()), 0);
            it->second.Line.assign(static_cast<size_t>(line.Section->LinesCount()), 0);
        }
        if (line.Head)
            heads[line.Section] = k;
        if (line.From < 0)
            continue;
        ++it->second.Count[static_cast<size_t>(line.From)];
        it->second.Line[static_cast<size_t>(line.From)] = k;
    }
    // The places: the order of the lines written, the lines of a section not written standing
    // where they are in their section.
    std::vector<int> placeOf(lines.size(), -1);
    std::unordered_map<const TEDITSection*, std::vector<int>> unwrittenPlace;
    {
        int place = 0;
        std::unordered_map<const TEDITSection*, size_t> done; // statements placed so far
        auto placeUpTo = [&](const TEDITSection* s, size_t end) {
            size_t& next = done[s];
            std::vector<int>& places = unwrittenPlace[s];
            places.resize(static_cast<size_t>(s->LinesCount()), -1);
            for (; next < end; ++next)
                places[next] = place++;
        };
        for (size_t k = 0; k < lines.size(); ++k) {
            const DatedSourceLine& line = lines[k];
            if (plans[k].Dropped || (line.From < 0 && !line.Head))
                continue;
            if (line.From >= 0) {
                placeUpTo(line.Section, static_cast<size_t>(line.From));
                size_t& next = done[line.Section];
                next = std::max(next, static_cast<size_t>(line.From) + 1);
            }
            placeOf[k] = place++;
        }
        for (const TEDITSection* s : order)
            placeUpTo(s, static_cast<size_t>(s->LinesCount()));
    }

    bool changed = false;
    for (const TEDITSection* constSection : order) {
        TEDITSection& s = const_cast<TEDITSection&>(*constSection);
        const Written& w = written[constSection];
        const std::vector<int>& places = unwrittenPlace[constSection];
        std::vector<LineOrigin> origins(static_cast<size_t>(s.LinesCount()));
        std::vector<HostRecord> records(origins.size());
        for (size_t i = 0; i < origins.size(); ++i) {
            const SectionLine& now = s.Lines()[i];
            if (w.Count[i] == 0) {
                origins[i] = now.Origin;
                origins[i].Ordinal = now.Origin.Has() ? places[i] : -1;
                records[i] = now.Record();
                continue;
            }
            if (w.Count[i] > 1) {
                changed = changed || now.Origin.Has();
                continue;
            }
            size_t k = w.Line[i];
            origins[i] = {std::string(WrittenText(*lines[k].Text, plans[k])), placeOf[k],
                          StatementHash(now.Text)};
            records[i] = plans[k].What == Kind::Raw ? HostRecord{} : plans[k].Record;
            changed = changed || !now.Origin.Has() || now.Origin.Text != origins[i].Text ||
                      now.Origin.Statement != origins[i].Statement || now.Record() != records[i];
        }
        bool any = std::any_of(origins.begin(), origins.end(),
                               [](const LineOrigin& o) { return o.Has(); });
        if (any)
            s.SetOrigins(std::move(origins));
        else
            s.DropOrigins();
        for (size_t i = 0; any && i < records.size(); ++i)
            s.SetRecord(static_cast<int>(i), records[i]);
        auto head = heads.find(constSection);
        if (head != heads.end()) {
            size_t k = head->second;
            LineOrigin origin{std::string(WrittenText(*lines[k].Text, plans[k])), placeOf[k],
                              StatementHash(s.Properties.Description)};
            changed = changed || s.HeadOrigin.Text != origin.Text ||
                      s.HeadOrigin.Statement != origin.Statement ||
                      s.HeadRecord() != plans[k].Record;
            s.HeadOrigin = std::move(origin);
            s.SetHeadRecord(plans[k].What == Kind::Raw ? HostRecord{} : plans[k].Record);
        }
    }
    return changed;
}

} // namespace

std::int32_t TRPGProgram::ChangeDateOfBuild() const {
    std::int32_t given = ParseHostDate(Options().ChangeDate);
    return given > 0 ? given : TodayHostDate();
}

namespace {

// The lines of the source and their plan; false (after an error box) when there is none to
// write.
bool PlanDatedSource(TRPGProgram& doc, const std::vector<TSourceRun>& runs,
                     std::vector<DatedSourceLine>& lines, std::vector<PlannedLine>& plans) {
    const std::string& given = doc.Options().ChangeDate;
    if (!given.empty() && ParseHostDate(given) < 0) {
        doc.Box.Error("ERROR: The RPG/400 source was not written: the date of the changed "
                      "lines, " +
                      given + ", is no day of the calendar as YYMMDD!");
        return false;
    }
    std::unordered_set<const TEDITSection*> arrays;
    for (int k = 0; doc.ArraysNode && k < doc.ArraysNode->Count(); ++k)
        arrays.insert(doc.ArraysNode->Child(k)->Section());
    for (const TSourceRun& run : runs) {
        const TEDITSection& s = *run.Section;
        for (size_t k = run.First; k < run.End; ++k) {
            if (IsDiagnosticLine(s, k))
                continue;
            DatedSourceLine line{&s, s.CompiledLinked() ? s.Compiled()[k].From : -1, false,
                                 &s.CompiledText(k)};
            PlannedLine plan;
            plan.What = Kind::Added;
            if (line.From >= 0) {
                plan = Plan(line.Text, s.OriginAt(line.From),
                            s.Lines()[static_cast<size_t>(line.From)].Record());
            } else if (arrays.count(&s) && line.Text->starts_with("**")) {
                line.Head = true;
                plan =
                    Plan(line.Text, s.HeadOrigin.Has() ? &s.HeadOrigin : nullptr, s.HeadRecord());
            }
            lines.push_back(line);
            plans.push_back(plan);
        }
    }

    const std::int32_t today = doc.ChangeDateOfBuild();
    SequencePlanResult result = PlanSequenceNumbers(plans, today, doc.Options().RenumberDated);
    if (result.NoRoom.empty())
        return true;
    std::string message = NoRoomMessage(lines, result);
    bool agreed =
        doc.AskToRenumber &&
        doc.Box.Show(orvale::Prompter::Kind::Confirmation,
                     message + ".\n\nRenumber the member from 1.00 by 1.00? The dates stay.",
                     orvale::Prompter::Buttons::YesNo) == orvale::Prompter::Answer::Yes;
    if (!agreed) {
        doc.Box.Error("ERROR: The RPG/400 source was not written: " + message +
                      "! Renumbering the member from 1.00 by 1.00 gives them room (the dates "
                      "stay).");
        return false;
    }
    PlanSequenceNumbers(plans, today, true);
    return true;
}

// Line K of the plan as the member holds it; false for a line left out.
bool DatedLine(const std::vector<DatedSourceLine>& lines, const std::vector<PlannedLine>& plans,
               size_t k, std::string& out) {
    const PlannedLine& plan = plans[k];
    if (plan.Dropped)
        return false;
    out.clear();
    if (plan.What != Kind::Raw)
        AppendHostRecord(out, plan.Record);
    out += WrittenText(*lines[k].Text, plan);
    return true;
}

} // namespace

bool TRPGProgram::WriteDatedSource(const std::vector<TSourceRun>& runs,
                                   const std::string& fileName) {
    std::vector<DatedSourceLine> lines;
    std::vector<PlannedLine> plans;
    if (!PlanDatedSource(*this, runs, lines, plans))
        return false;
    orvale::SafeFileWriter writer(fileName);
    std::string line;
    for (size_t k = 0; k < lines.size(); ++k)
        if (DatedLine(lines, plans, k, line))
            writer.WriteLine(line);
    std::string error;
    if (!writer.Commit(orvale::SourceBackupPath(fileName), &error)) {
        Box.Error(error);
        return false;
    }
    if (TakeWrittenLines(lines, plans))
        Modified = true;
    return true;
}

bool TRPGProgram::DatedSourceLines(StringList& out) {
    std::vector<DatedSourceLine> lines;
    std::vector<PlannedLine> plans;
    if (!PlanDatedSource(*this, SourceRuns(), lines, plans))
        return false;
    out.clear();
    std::string line;
    for (size_t k = 0; k < lines.size(); ++k)
        if (DatedLine(lines, plans, k, line))
            out.push_back(line);
    return true;
}
