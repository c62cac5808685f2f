#include "LineOrigin.h"

#include <algorithm>
#include <unordered_map>

std::uint64_t StatementHash(std::string_view statement) {
    // FNV-1a, 64 bits: fast, and its value does not depend on the library or the run.
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : statement) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

namespace {

// A stretch of the old and the new lines still to be matched: [OldFirst, OldEnd) against
// [NewFirst, NewEnd).
struct Stretch {
    size_t OldFirst, OldEnd, NewFirst, NewEnd;
};

// The matching of a patience diff: lines that occur once in each side of a stretch and in the
// same order anchor it; the stretches between anchors are matched the same way; what is left
// is aligned by likeness (lines edited in place), and lines moved are found by their text.
class Matcher {
public:
    Matcher(const std::vector<SectionLine>& oldLines, const StringList& newLines,
            std::vector<int>& out)
        : OldUsed(oldLines.size()), Old(oldLines), New(newLines), Out(out) {}

    void Run(Stretch whole) {
        std::vector<Stretch> todo{whole};
        while (!todo.empty()) {
            Stretch s = todo.back();
            todo.pop_back();
            Trim(s);
            if (s.OldFirst == s.OldEnd || s.NewFirst == s.NewEnd)
                continue;
            std::vector<std::pair<size_t, size_t>> anchors = Anchors(s);
            if (anchors.empty()) {
                Align(s);
                continue;
            }
            size_t oldFrom = s.OldFirst;
            size_t newFrom = s.NewFirst;
            for (auto [o, n] : anchors) {
                Take(o, n);
                todo.push_back({oldFrom, o, newFrom, n});
                oldFrom = o + 1;
                newFrom = n + 1;
            }
            todo.push_back({oldFrom, s.OldEnd, newFrom, s.NewEnd});
        }
    }

    // Lines of New left without an origin that stand unchanged somewhere in Old, the old line
    // not being matched otherwise: lines moved away from their neighbours.
    void Moved(const std::vector<bool>& oldUsed) {
        std::unordered_map<std::string_view, std::vector<size_t>> free;
        for (size_t k = Old.size(); k-- > 0;)
            if (!oldUsed[k] && Old[k].Origin.Has())
                free[Old[k].Text].push_back(k);
        if (free.empty())
            return;
        for (size_t k = 0; k < New.size(); ++k) {
            if (Out[k] >= 0 && Old[static_cast<size_t>(Out[k])].Origin.Has())
                continue;
            auto found = free.find(New[k]);
            if (found == free.end() || found->second.empty())
                continue;
            Out[k] = static_cast<int>(found->second.back());
            found->second.pop_back();
        }
    }

    std::vector<bool> OldUsed;

private:
    // How alike two lines are, 0 to 1: the share of the longer one that their common start and
    // end make up.
    static double Likeness(std::string_view a, std::string_view b) {
        size_t shorter = std::min(a.size(), b.size());
        size_t longer = std::max(a.size(), b.size());
        if (longer == 0)
            return 1;
        size_t head = 0;
        while (head < shorter && a[head] == b[head])
            ++head;
        size_t tail = 0;
        while (tail < shorter - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
            ++tail;
        return static_cast<double>(head + tail) / static_cast<double>(longer);
    }

    // A stretch without anchors: the cheapest alignment of its lines, where keeping a line costs
    // nothing, taking one for an edited version of another costs the less the more alike they
    // are, and a line added or removed costs 1. A stretch too large for that is paired in order.
    void Align(const Stretch& s) {
        size_t n = s.OldEnd - s.OldFirst;
        size_t m = s.NewEnd - s.NewFirst;
        if (n * m > 250000) {
            for (size_t k = 0; k < std::min(n, m); ++k)
                Take(s.OldFirst + k, s.NewFirst + k);
            return;
        }
        auto substitute = [&](size_t i, size_t j) {
            std::string_view a = Old[s.OldFirst + i].Text, b = New[s.NewFirst + j];
            if (a == b)
                return 0.0;
            double likeness = Likeness(a, b);
            return likeness >= 0.5 ? 2 * (1 - likeness) : 3.0;
        };
        std::vector<double> cost((n + 1) * (m + 1));
        auto at = [&](size_t i, size_t j) -> double& { return cost[i * (m + 1) + j]; };
        for (size_t i = 0; i <= n; ++i)
            at(i, 0) = static_cast<double>(i);
        for (size_t j = 0; j <= m; ++j)
            at(0, j) = static_cast<double>(j);
        for (size_t i = 1; i <= n; ++i)
            for (size_t j = 1; j <= m; ++j)
                at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1,
                                     at(i - 1, j - 1) + substitute(i - 1, j - 1)});
        for (size_t i = n, j = m; i > 0 && j > 0;) {
            double here = at(i, j);
            double pair = substitute(i - 1, j - 1);
            if (pair < 3.0 && here == at(i - 1, j - 1) + pair) {
                Take(s.OldFirst + i - 1, s.NewFirst + j - 1);
                --i;
                --j;
            } else if (here == at(i - 1, j) + 1) {
                --i;
            } else {
                --j;
            }
        }
    }

    void Take(size_t oldIndex, size_t newIndex) {
        Out[newIndex] = static_cast<int>(oldIndex);
        OldUsed[oldIndex] = true;
    }

    // Takes the equal lines at both ends of S.
    void Trim(Stretch& s) {
        while (s.OldFirst < s.OldEnd && s.NewFirst < s.NewEnd &&
               Old[s.OldFirst].Text == New[s.NewFirst])
            Take(s.OldFirst++, s.NewFirst++);
        while (s.OldFirst < s.OldEnd && s.NewFirst < s.NewEnd &&
               Old[s.OldEnd - 1].Text == New[s.NewEnd - 1])
            Take(--s.OldEnd, --s.NewEnd);
    }

    // Pairs (old index, new index) of lines unique on both sides of S, the longest run of them
    // in the same order on both sides.
    std::vector<std::pair<size_t, size_t>> Anchors(const Stretch& s) {
        struct Count {
            size_t OldCount = 0, NewCount = 0, OldAt = 0, NewAt = 0;
        };
        std::unordered_map<std::string_view, Count> counts;
        counts.reserve(2 * (s.OldEnd - s.OldFirst));
        for (size_t k = s.OldFirst; k < s.OldEnd; ++k) {
            Count& c = counts[Old[k].Text];
            ++c.OldCount;
            c.OldAt = k;
        }
        for (size_t k = s.NewFirst; k < s.NewEnd; ++k) {
            auto found = counts.find(New[k]);
            if (found == counts.end())
                continue;
            ++found->second.NewCount;
            found->second.NewAt = k;
        }
        std::vector<std::pair<size_t, size_t>> unique; // in new order
        for (size_t k = s.NewFirst; k < s.NewEnd; ++k) {
            auto found = counts.find(New[k]);
            if (found != counts.end() && found->second.OldCount == 1 && found->second.NewCount == 1)
                unique.emplace_back(found->second.OldAt, k);
        }
        // Longest increasing run of old indexes (patience sorting).
        std::vector<size_t> tops; // index into unique of the last of each pile
        std::vector<size_t> previous(unique.size(), SIZE_MAX);
        for (size_t k = 0; k < unique.size(); ++k) {
            auto pile =
                std::lower_bound(tops.begin(), tops.end(), unique[k].first,
                                 [&](size_t top, size_t old) { return unique[top].first < old; });
            if (pile != tops.begin())
                previous[k] = *(pile - 1);
            if (pile == tops.end())
                tops.push_back(k);
            else
                *pile = k;
        }
        std::vector<std::pair<size_t, size_t>> run;
        for (size_t k = tops.empty() ? SIZE_MAX : tops.back(); k != SIZE_MAX; k = previous[k])
            run.push_back(unique[k]);
        std::reverse(run.begin(), run.end());
        return run;
    }

    const std::vector<SectionLine>& Old;
    const StringList& New;
    std::vector<int>& Out;
};

} // namespace

std::vector<int> CarryLines(const std::vector<SectionLine>& oldLines, const StringList& newLines) {
    std::vector<int> out(newLines.size(), -1);
    Matcher matcher(oldLines, newLines, out);
    matcher.Run({0, oldLines.size(), 0, newLines.size()});
    matcher.Moved(matcher.OldUsed);
    return out;
}
