// The order of the built source. Each section's compiled lines come from its statements in the
// section's order; the sections follow the order of the member they were imported from, which
// each statement line still knows (its origin's place), so that a build gives back an
// "*INZSR" where it stood and files where they were listed, while every file is filed under the
// section of its own device. A section the member did not have follows the one before it in the
// program's layout, as does everything of a program that was never imported.

#include "RPGProgram.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace {

// The place in the member of compiled line K of S, or -1.
int Ordinal(const TEDITSection& s, size_t k) {
    if (!s.CompiledLinked())
        return -1;
    const LineOrigin* origin = s.OriginAt(s.Compiled()[k].From);
    return origin ? origin->Ordinal : -1;
}

// A stretch of one section's compiled lines that stands together in the member.
struct Unit {
    TSourceRun Run;
    long long Key = -1;
};

// Which section each place of the member went to: the files of the four file sections are
// split where another section's lines stood between them.
class Owners {
public:
    Owners(const std::vector<const TEDITSection*>& sections) {
        int top = -1;
        for (const TEDITSection* s : sections)
            for (const SectionLine& line : s->Lines())
                top = std::max(top, line.Origin.Ordinal);
        Of.assign(static_cast<size_t>(top + 1), -1);
        for (size_t id = 0; id < sections.size(); ++id)
            for (const SectionLine& line : sections[id]->Lines())
                if (line.Origin.Has())
                    Of[static_cast<size_t>(line.Origin.Ordinal)] = static_cast<int>(id);
    }

    // Whether a place between A and B (exclusive) went to a section other than Id.
    bool OtherBetween(int a, int b, int id) const {
        for (int o = a + 1; o < b && o < static_cast<int>(Of.size()); ++o) {
            int owner = Of[static_cast<size_t>(o)];
            if (owner >= 0 && owner != id)
                return true;
        }
        return false;
    }

private:
    std::vector<int> Of;
};

} // namespace

std::vector<const TEDITSection*> TRPGProgram::SourceOrder() const {
    std::vector<const TEDITSection*> order;
    for (const TEDITSection* s : {&HeaderSection, &LogicalSection, &DisplaySection, &PrinterSection,
                                  &SpecialSection, &ExtensionSection, &LineCountSection,
                                  &InputSection, &MainRoutineSection, &InitSubRoutineSection})
        order.push_back(s);
    for (const TreeNode* folder : {SubRoutinesNode, OutputNode, ArraysNode}) {
        if (!folder)
            continue;
        for (int k = 0; k < folder->Count(); ++k)
            if (const TEDITSection* s = folder->Child(k)->Section())
                order.push_back(s);
    }
    return order;
}

std::vector<TSourceRun> TRPGProgram::SourceRuns() const {
    const TFormGenRPG& form = Options();
    std::vector<TSourceRun> runs;
    // The program-level sections are header comment blocks the build writes anew: first.
    for (auto [wanted, s] :
         {std::pair{form.PrgProp, &PropertySection}, std::pair{form.PrgDesc, &DescriptionSection},
          std::pair{form.PrgHist, &HistorySection}, std::pair{form.PreComp, &PreCompilerSection}})
        if (wanted)
            runs.push_back({s, 0, s->CompiledCount()});
    const size_t programLevel = runs.size();

    // The streams of units, in the program's layout: each keeps its own order, and the merge
    // below takes from them by place in the member.
    std::vector<const TEDITSection*> sections = SourceOrder();
    auto isFile = [&](const TEDITSection* s) {
        return s == &LogicalSection || s == &DisplaySection || s == &PrinterSection ||
               s == &SpecialSection;
    };
    auto stream = [&](const TEDITSection* s) -> size_t {
        if (s == &HeaderSection)
            return 0;
        if (s == &LogicalSection)
            return 1;
        if (s == &DisplaySection)
            return 2;
        if (s == &PrinterSection)
            return 3;
        if (s == &SpecialSection)
            return 4;
        if (s == &ExtensionSection)
            return 5;
        if (s == &LineCountSection)
            return 6;
        if (s == &InputSection)
            return 7;
        if (s == &MainRoutineSection)
            return 8;
        if (s == &InitSubRoutineSection)
            return 9;
        return 10; // the folders' sections: one stream each, below
    };
    // The stream of each folder's sections, found once: looking each section up in the folders
    // made the build of a program with thousands of subroutines grow with their square.
    std::unordered_map<const TEDITSection*, size_t> folderStream;
    for (auto [folder, target] :
         {std::pair{SubRoutinesNode, size_t{10}}, std::pair{OutputNode, size_t{11}},
          std::pair{ArraysNode, size_t{12}}})
        for (int k = 0; folder && k < folder->Count(); ++k)
            if (const TEDITSection* s = folder->Child(k)->Section())
                folderStream[s] = target;
    std::vector<std::vector<Unit>> streams(13);
    std::optional<Owners> owners;
    long long last = -1; // the key of the unit before, in the program's layout
    for (size_t id = 0; id < sections.size(); ++id) {
        const TEDITSection* s = sections[id];
        size_t target = stream(s);
        if (target == 10) {
            auto found = folderStream.find(s);
            target = found == folderStream.end() ? 10 : found->second;
        }
        size_t size = s->CompiledCount();
        Unit unit{{s, 0, 0}, -1};
        int previous = -1;
        auto close = [&](size_t end) {
            unit.Run.End = end;
            if (unit.Key < 0)
                unit.Key = last;
            last = unit.Key;
            streams[target].push_back(unit);
            unit = Unit{{s, end, end}, -1};
        };
        for (size_t k = 0; k < size; ++k) {
            int place = Ordinal(*s, k);
            if (place < 0)
                continue;
            if (isFile(s) && previous >= 0 && place > previous + 1) {
                if (!owners)
                    owners.emplace(sections);
                if (owners->OtherBetween(previous, place, static_cast<int>(id)))
                    close(k);
            }
            if (unit.Key < 0)
                unit.Key = place;
            previous = place;
        }
        close(size);
    }

    // The merge: the next unit is the first in the member among the streams' next units (on
    // a tie, or without places, the program's layout decides).
    std::vector<size_t> next(streams.size(), 0);
    for (;;) {
        size_t best = streams.size();
        for (size_t t = 0; t < streams.size(); ++t)
            if (next[t] < streams[t].size() &&
                (best == streams.size() || streams[t][next[t]].Key < streams[best][next[best]].Key))
                best = t;
        if (best == streams.size())
            break;
        const Unit& unit = streams[best][next[best]++];
        if (unit.Run.End > unit.Run.First)
            runs.push_back(unit.Run);
    }
    // The program-level blocks describe code: a program without any (an empty member that was
    // imported) builds back to an empty member, not to one of comments alone.
    if (runs.size() == programLevel)
        runs.clear();
    return runs;
}

bool IsDiagnosticLine(const TEDITSection& s, size_t k) {
    const std::string& line = s.CompiledText(k);
    if (!line.starts_with("**ERROR:") && !line.starts_with("      **WARNING:"))
        return false;
    // A record of compile-time data is member text, whatever it reads.
    if (s.CompiledLinked() && s.Compiled()[k].From >= 0) {
        const LineOrigin* origin = s.OriginAt(s.Compiled()[k].From);
        if (origin && origin->Text == line)
            return false;
    }
    return true;
}

std::vector<std::string> SectionsWithDiagnostics(const std::vector<TSourceRun>& runs,
                                                 bool errorsOnly) {
    std::vector<std::string> names;
    for (const TSourceRun& run : runs)
        for (size_t k = run.First; k < run.End; ++k)
            if (IsDiagnosticLine(*run.Section, k) &&
                (!errorsOnly || run.Section->CompiledText(k).starts_with("**ERROR:"))) {
                const std::string& name = run.Section->Properties.Name;
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
                break;
            }
    return names;
}

std::string NotWrittenMessage(const std::vector<std::string>& sections) {
    std::string list;
    for (const std::string& name : sections)
        list += (list.empty() ? "" : ", ") + name;
    return "ERROR: The RPG/400 source was not written: " + list +
           (sections.size() == 1 ? " holds" : " hold") +
           " error lines, which would become lines of the member!";
}

void ApplyChangeTag(TEDITSection& s, const std::string& tag, bool leftColumns) {
    if (tag.empty() || !s.CompiledLinked())
        return;
    for (size_t k = 0; k < s.CompiledCount(); ++k) {
        int from = s.Compiled()[k].From;
        if (from < 0 || s.OriginAt(from) || IsDiagnosticLine(s, k))
            continue;
        std::string& line = s.EditCompiledText(k);
        if (leftColumns) {
            std::string text = tag.substr(0, 5);
            text.resize(5, ' ');
            if (line.size() < 5)
                line.resize(5, ' ');
            line.replace(0, 5, text);
        } else {
            line.resize(74, ' ');
            line += tag.substr(0, 6);
        }
    }
}
