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
// is paired line by line (lines edited in place).
class Matcher {
public:
    Matcher(const StringList& oldLines, const std::vector<LineOrigin>& oldOrigins,
            const StringList& newLines, std::vector<LineOrigin>& out)
        : Old(oldLines), Origins(oldOrigins), New(newLines), Out(out) {}

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
                size_t pairs = std::min(s.OldEnd - s.OldFirst, s.NewEnd - s.NewFirst);
                for (size_t k = 0; k < pairs; ++k)
                    Out[s.NewFirst + k] = Origins[s.OldFirst + k];
                continue;
            }
            size_t oldFrom = s.OldFirst;
            size_t newFrom = s.NewFirst;
            for (auto [o, n] : anchors) {
                Out[n] = Origins[o];
                todo.push_back({oldFrom, o, newFrom, n});
                oldFrom = o + 1;
                newFrom = n + 1;
            }
            todo.push_back({oldFrom, s.OldEnd, newFrom, s.NewEnd});
        }
    }

private:
    // Takes the equal lines at both ends of S.
    void Trim(Stretch& s) {
        while (s.OldFirst < s.OldEnd && s.NewFirst < s.NewEnd && Old[s.OldFirst] == New[s.NewFirst])
            Out[s.NewFirst++] = Origins[s.OldFirst++];
        while (s.OldFirst < s.OldEnd && s.NewFirst < s.NewEnd &&
               Old[s.OldEnd - 1] == New[s.NewEnd - 1])
            Out[--s.NewEnd] = Origins[--s.OldEnd];
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
            Count& c = counts[Old[k]];
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

    const StringList& Old;
    const std::vector<LineOrigin>& Origins;
    const StringList& New;
    std::vector<LineOrigin>& Out;
};

} // namespace

std::vector<LineOrigin> CarryOrigins(const StringList& oldLines,
                                     const std::vector<LineOrigin>& oldOrigins,
                                     const StringList& newLines) {
    if (oldOrigins.empty() || oldOrigins.size() != oldLines.size())
        return {};
    std::vector<LineOrigin> out(newLines.size());
    Matcher(oldLines, oldOrigins, newLines, out).Run({0, oldLines.size(), 0, newLines.size()});
    return out;
}
