// The find dialog's walk on to the next section that holds the searched text.

#include "RPGProgram.h"

#include <algorithm>
#include <vector>

namespace {

// The child indices from the top of the tree down to Node.
std::vector<int> PathOf(const TreeNode* node) {
    std::vector<int> path;
    for (; node && node->Parent(); node = node->Parent())
        path.push_back(node->Index());
    std::reverse(path.begin(), path.end());
    return path;
}

// Whether A comes before B in tree order (a node comes before everything below it).
bool Precedes(const TreeNode* a, const TreeNode* b) {
    return PathOf(a) < PathOf(b);
}

// Whether the text stands on a line changed since the search's date (any line without one).
bool HoldsOnChangedLine(const TEDITSection& section, const TSectionSearch& search) {
    if (search.ChangedSince <= 0)
        return true;
    std::string wanted = search.MatchCase ? search.Text : UpperCase(search.Text);
    for (int k : LinesChangedSince(section, search.ChangedSince)) {
        const std::string& line = section.GetLine(k);
        if ((search.MatchCase ? line : UpperCase(line)).find(wanted) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

bool TRPGProgram::SearchCounts(const TreeNode* node, const TSectionSearch& search) const {
    if (ArraysNode && node->HasAsParent(ArraysNode))
        return search.IncludeArrays;
    if (SubRoutinesNode && node->HasAsParent(SubRoutinesNode))
        return search.IncludeSubRoutines;
    if (OutputNode && node->HasAsParent(OutputNode))
        return search.IncludeOutput;
    return true;
}

TreeNode* TRPGProgram::FindNextSection(const TSectionSearch& search, TreeNode* start) {
    if (search.Text.empty() || !Tree.Contains(start))
        return nullptr;
    // A walk that will pass the section being edited must see its text as the user typed it,
    // not as it was last stored.
    if (EditorModified && CurrentNode && Precedes(start, CurrentNode))
        CommitCurrent();
    int line = 0;
    int column = 0;
    TreeNode* at = start;
    while ((at = TEDITProgram::FindNext(search.Text, at, search.Global, search.MatchCase, false,
                                        line, column))) {
        if (!SearchCounts(at, search) || !HoldsOnChangedLine(*at->Section(), search))
            continue;
        CommitCurrent();
        Tree.Select(at);
        return at;
    }
    return nullptr;
}
