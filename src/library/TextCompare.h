#pragma once

// The comparison of two members side by side: which lines are the same, changed, only on the
// left or only on the right, and which characters of a changed line differ. Columns 1-5
// (sequence numbers, build directives) and 75-80 (change tags) may be left out, and blanks at
// the end of a line never count.

#include <string>
#include <string_view>
#include <vector>

namespace orvale::library {

struct TCompareOptions {
    bool IgnoreSequenceAndTags = false; // leave columns 1-5 and 75-80 out
};

enum class TDiffKind { Same, Changed, Removed, Added };

// One row of the side-by-side view: a line of the left, of the right, or of both.
struct TDiffRow {
    int Left = -1; // 0-based line of the left text, -1 for none
    int Right = -1;
    TDiffKind Kind = TDiffKind::Same;
};

// Characters [From, To) of a line that differ from the other side's line.
struct TCharRange {
    int From = 0;
    int To = 0;
    bool operator==(const TCharRange&) const = default;
};

// The rows of the comparison of Left and Right, in order. A run of lines removed beside a run
// added pairs them up as changed lines, the rest standing alone.
std::vector<TDiffRow> CompareLines(const std::vector<std::string>& left,
                                   const std::vector<std::string>& right,
                                   const TCompareOptions& options = {});

// The characters of two changed lines that differ, on each side.
void CompareChars(std::string_view left, std::string_view right, const TCompareOptions& options,
                  std::vector<TCharRange>& inLeft, std::vector<TCharRange>& inRight);

// The first row of each difference (a run of rows that are not the same).
std::vector<size_t> DifferenceStarts(const std::vector<TDiffRow>& rows);

} // namespace orvale::library
