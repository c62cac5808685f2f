#include "SequencePlan.h"

#include <algorithm>

namespace {

using Kind = PlannedLine::Kind;

bool HasNumber(const PlannedLine& line) {
    return (line.What == Kind::Kept || line.What == Kind::Edited) && line.Record.Has();
}

// The lines that keep their numbers: the longest run, in the order written, of lines with a
// record whose places in the member ascend. The others were moved.
std::vector<bool> Standing(const std::vector<PlannedLine>& lines) {
    std::vector<size_t> numbered;
    for (size_t k = 0; k < lines.size(); ++k)
        if (HasNumber(lines[k]))
            numbered.push_back(k);
    std::vector<size_t> tops; // index into Numbered of the last of each pile
    std::vector<size_t> previous(numbered.size(), SIZE_MAX);
    auto place = [&](size_t i) { return lines[numbered[i]].Place; };
    for (size_t i = 0; i < numbered.size(); ++i) {
        auto pile = std::lower_bound(tops.begin(), tops.end(), place(i),
                                     [&](size_t top, int p) { return place(top) < p; });
        if (pile != tops.begin())
            previous[i] = *(pile - 1);
        if (pile == tops.end())
            tops.push_back(i);
        else
            *pile = i;
    }
    std::vector<bool> standing(lines.size(), false);
    for (size_t i = tops.empty() ? SIZE_MAX : tops.back(); i != SIZE_MAX; i = previous[i])
        standing[numbered[i]] = true;
    return standing;
}

// The largest step that fits Count numbers after Low and before High.
std::int32_t StepFor(size_t count, std::int32_t low, std::int32_t high) {
    for (std::int32_t step : {100, 10, 1})
        if (low + static_cast<std::int64_t>(count) * step < high)
            return step;
    return 0;
}

void Renumber(std::vector<PlannedLine>& lines) {
    size_t count = 0;
    for (PlannedLine& line : lines) {
        line.Dropped = false;
        count += line.What == Kind::Raw ? 0 : 1;
    }
    std::int32_t step = std::max<std::int32_t>(StepFor(count, 0, kLastSequence + 1), 1);
    std::int32_t next = 0;
    for (PlannedLine& line : lines)
        if (line.What != Kind::Raw) {
            next = std::min(next + step, kLastSequence);
            line.Record.Sequence = next;
        }
}

} // namespace

SequencePlanResult PlanSequenceNumbers(std::vector<PlannedLine>& lines, std::int32_t today,
                                       bool renumber) {
    SequencePlanResult result;
    std::vector<bool> standing = Standing(lines);
    // The dates first: they do not depend on the numbers.
    for (PlannedLine& line : lines) {
        line.Dropped = false;
        if (line.What == Kind::Raw)
            continue;
        if (line.What != Kind::Kept || !line.Record.Has())
            line.Record.ChangeDate = today;
    }
    // Then each stretch between two standing lines numbers the lines in it.
    std::int32_t low = 0;
    std::vector<size_t> stretch;
    auto number = [&](std::int32_t high) {
        if (stretch.empty())
            return;
        size_t wanted = 0;
        for (size_t k : stretch)
            wanted += lines[k].What == Kind::Added ? 0 : 1;
        std::int32_t step = StepFor(stretch.size(), low, high);
        bool withAdded = step > 0;
        if (!withAdded)
            step = StepFor(wanted, low, high);
        if (step == 0 && wanted > 0) {
            for (size_t k : stretch)
                if (lines[k].What != Kind::Added)
                    result.NoRoom.push_back(k);
            result.Between.emplace_back(low > 0 ? low : -1, high > kLastSequence ? -1 : high);
        }
        std::int32_t next = low;
        for (size_t k : stretch) {
            PlannedLine& line = lines[k];
            if (line.What == Kind::Added && !withAdded) {
                line.Dropped = true;
                continue;
            }
            next += step;
            line.Record.Sequence = step > 0 ? next : -1;
        }
        stretch.clear();
    };
    for (size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].What == Kind::Raw)
            continue;
        if (standing[k]) {
            number(lines[k].Record.Sequence);
            low = lines[k].Record.Sequence;
        } else {
            stretch.push_back(k);
        }
    }
    number(kLastSequence + 1);
    if (!result.NoRoom.empty() && renumber) {
        Renumber(lines);
        result = {};
        result.Renumbered = true;
    }
    return result;
}
