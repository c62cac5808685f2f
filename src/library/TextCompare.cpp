#include "library/TextCompare.h"

#include <algorithm>
#include <functional>

namespace orvale::library {

namespace {

enum class Edit : char { Keep, Delete, Insert };

// Beyond this many differences the middle of two texts is shown as all changed: the shortest
// edit would take time and memory growing with its square.
constexpr long kMaxDifferences = 2000;

// The shortest edit script from A (N items) to B (M items), by Myers' greedy walk over the
// diagonals. False when it needs more than kMaxDifferences edits.
template <class Equal> bool ShortestEdit(long n, long m, Equal equal, std::vector<Edit>& edits) {
    const long max = std::min(n + m, kMaxDifferences);
    const long offset = max + 1;
    std::vector<long> v(static_cast<size_t>(2 * max + 3), 0);
    // The diagonals reached after each step d: the 2d+1 of them that step could reach.
    std::vector<std::vector<int>> trace;
    long found = -1;
    for (long d = 0; d <= max && found < 0; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x;
            if (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                x = v[offset + k + 1];
            else
                x = v[offset + k - 1] + 1;
            long y = x - k;
            while (x < n && y < m && equal(x, y)) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
        trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
    }
    if (found < 0)
        return false;
    // Back from the end along the diagonals each step came from.
    edits.clear();
    long x = n, y = m;
    for (long d = found; d > 0; --d) {
        const std::vector<int>& prev = trace[static_cast<size_t>(d - 1)];
        auto at = [&](long k) { return static_cast<long>(prev[static_cast<size_t>(k + d - 1)]); };
        long k = x - y;
        bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        long prevK = down ? k + 1 : k - 1;
        long prevX = at(prevK);
        long prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            edits.push_back(Edit::Keep);
            --x;
            --y;
        }
        edits.push_back(down ? Edit::Insert : Edit::Delete);
        x = prevX;
        y = prevY;
    }
    while (x > 0 && y > 0) {
        edits.push_back(Edit::Keep);
        --x;
        --y;
    }
    std::reverse(edits.begin(), edits.end());
    return true;
}

// The edits from A to B: common ends kept, the middle by the shortest edit, or (when that is
// too long) all of it deleted and inserted.
template <class Equal> std::vector<Edit> Edits(long n, long m, Equal equal) {
    long prefix = 0;
    while (prefix < n && prefix < m && equal(prefix, prefix))
        ++prefix;
    long suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && equal(n - 1 - suffix, m - 1 - suffix))
        ++suffix;
    std::vector<Edit> edits(static_cast<size_t>(prefix), Edit::Keep);
    std::vector<Edit> middle;
    long mn = n - prefix - suffix, mm = m - prefix - suffix;
    auto shifted = [&](long a, long b) { return equal(a + prefix, b + prefix); };
    if (!ShortestEdit(mn, mm, shifted, middle)) {
        middle.assign(static_cast<size_t>(mn), Edit::Delete);
        middle.insert(middle.end(), static_cast<size_t>(mm), Edit::Insert);
    }
    edits.insert(edits.end(), middle.begin(), middle.end());
    edits.insert(edits.end(), static_cast<size_t>(suffix), Edit::Keep);
    return edits;
}

// What of a line is compared: without its trailing blanks, and without columns 1-5 and 75-80
// when they are left out.
std::string_view CompareKey(std::string_view line, const TCompareOptions& options) {
    if (options.IgnoreSequenceAndTags)
        line = line.size() > 5 ? line.substr(5, 69) : std::string_view();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::vector<TDiffRow> CompareLines(const std::vector<std::string>& left,
                                   const std::vector<std::string>& right,
                                   const TCompareOptions& options) {
    std::vector<std::string_view> a, b;
    std::vector<size_t> ha, hb;
    for (const std::string& l : left) {
        a.push_back(CompareKey(l, options));
        ha.push_back(std::hash<std::string_view>{}(a.back()));
    }
    for (const std::string& l : right) {
        b.push_back(CompareKey(l, options));
        hb.push_back(std::hash<std::string_view>{}(b.back()));
    }
    auto equal = [&](long i, long j) {
        return ha[static_cast<size_t>(i)] == hb[static_cast<size_t>(j)] &&
               a[static_cast<size_t>(i)] == b[static_cast<size_t>(j)];
    };
    std::vector<Edit> edits =
        Edits(static_cast<long>(a.size()), static_cast<long>(b.size()), equal);

    std::vector<TDiffRow> rows;
    int x = 0, y = 0;
    for (size_t i = 0; i < edits.size();) {
        if (edits[i] == Edit::Keep) {
            rows.push_back({x++, y++, TDiffKind::Same});
            ++i;
            continue;
        }
        // A hunk: its deletions beside its insertions.
        std::vector<int> removed, added;
        for (; i < edits.size() && edits[i] != Edit::Keep; ++i)
            (edits[i] == Edit::Delete ? removed : added)
                .push_back(edits[i] == Edit::Delete ? x++ : y++);
        size_t pairs = std::min(removed.size(), added.size());
        for (size_t k = 0; k < pairs; ++k)
            rows.push_back({removed[k], added[k], TDiffKind::Changed});
        for (size_t k = pairs; k < removed.size(); ++k)
            rows.push_back({removed[k], -1, TDiffKind::Removed});
        for (size_t k = pairs; k < added.size(); ++k)
            rows.push_back({-1, added[k], TDiffKind::Added});
    }
    return rows;
}

void CompareChars(std::string_view left, std::string_view right, const TCompareOptions& options,
                  std::vector<TCharRange>& inLeft, std::vector<TCharRange>& inRight) {
    inLeft.clear();
    inRight.clear();
    // Compared columns only; the ranges are given in the whole line's columns.
    int leftStart = 0, rightStart = 0;
    std::string_view a = CompareKey(left, options), b = CompareKey(right, options);
    if (options.IgnoreSequenceAndTags) {
        leftStart = left.size() > 5 ? 5 : static_cast<int>(left.size());
        rightStart = right.size() > 5 ? 5 : static_cast<int>(right.size());
    }
    auto equal = [&](long i, long j) {
        return a[static_cast<size_t>(i)] == b[static_cast<size_t>(j)];
    };
    std::vector<Edit> edits =
        Edits(static_cast<long>(a.size()), static_cast<long>(b.size()), equal);
    int x = 0, y = 0;
    auto add = [](std::vector<TCharRange>& ranges, int at) {
        if (!ranges.empty() && ranges.back().To == at)
            ++ranges.back().To;
        else
            ranges.push_back({at, at + 1});
    };
    for (Edit e : edits) {
        if (e == Edit::Keep) {
            ++x;
            ++y;
        } else if (e == Edit::Delete) {
            add(inLeft, leftStart + x++);
        } else {
            add(inRight, rightStart + y++);
        }
    }
}

std::vector<size_t> DifferenceStarts(const std::vector<TDiffRow>& rows) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Kind != TDiffKind::Same && (i == 0 || rows[i - 1].Kind == TDiffKind::Same))
            starts.push_back(i);
    return starts;
}

} // namespace orvale::library
