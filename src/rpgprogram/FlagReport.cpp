// The indicator and flag cross-reference of the "All Flags" group nodes: for every indicator
// of a group, the first place in the program where it is used.

#include "CrossReference.h"
#include "RPGProgram.h"

#include <cstdint>
#include <string_view>

using orvale::ColumnSort;

namespace {

// How one group is searched: the candidate names, tried in stages (a name found in one stage
// is not looked for in the next), and which sections count.
struct FlagStage {
    std::string Prefix; // text in front of every name of the stage
    bool DefinitionMode = true;
};

struct FlagGroup {
    std::vector<std::string> Names;
    std::vector<FlagStage> Stages;
    bool IncludeFiles = false;
    bool IncludeOutput = false;
};

std::vector<std::string> Sequence(const std::string& prefix, char first, char last) {
    std::vector<std::string> names;
    for (char c = first; c <= last; ++c)
        names.push_back(prefix + c);
    return names;
}

FlagGroup GroupOf(const std::string& text) {
    FlagGroup g;
    if (text == "Indicators") {
        for (int k = 1; k <= 99; ++k)
            g.Names.push_back({static_cast<char>('0' + k / 10), static_cast<char>('0' + k % 10)});
        // "*IN05" first, then the array form "*IN[05", then the bare number as a definition.
        g.Stages = {{"*IN", false}, {"*IN[", false}, {"", true}};
    } else if (text == "Comm Keys") {
        g.Names = Sequence("K", 'A', 'Z');
        g.Stages = {{"", true}};
    } else if (text == "Output Flag") {
        g.Names = Sequence("O", 'A', 'G');
        g.Names.push_back("OV");
        g.Stages = {{"", true}};
        g.IncludeFiles = true;
        g.IncludeOutput = true;
    } else {
        // Break levels, external indicators, and the digits alone for any other text.
        std::string letter = text == "Break Level" ? "L" : text == "System Flag" ? "U" : "";
        g.Names = Sequence(letter, '1', '9');
        g.Stages = {{"", true}};
        g.IncludeOutput = true;
    }
    return g;
}

// Finds, line by line, the first occurrence of every name of a set at once: the names share a
// prefix and have the same length of one or two characters behind it, so each occurrence of
// the prefix is followed by at most one of them, found in a table. Gives the same answer as
// searching each name on its own, in one pass.
class NameScanner {
public:
    NameScanner(const std::string& prefix, const std::vector<std::string>& names,
                const std::vector<int>& wanted)
        : Prefix(prefix) {
        SuffixLength = names.empty() ? 0 : names.front().size();
        Table.assign(size_t{1} << (8 * SuffixLength), -1);
        for (int index : wanted)
            Table[Key(names[static_cast<size_t>(index)])] = static_cast<std::int16_t>(index);
        LineStamp.assign(names.size(), -1);
    }

    // Calls Found(name index, position) for the first occurrence of each name in the code of
    // Line: comments and quoted literals mention names, they do not use them.
    template <class F> void Scan(std::string_view line, int stamp, F&& found) {
        const size_t length = Prefix.size() + SuffixLength;
        if (SuffixLength == 0 || line.size() < length)
            return;
        const size_t last = line.size() - length;
        for (size_t p = 0; p <= last; ++p) {
            if (!Prefix.empty()) {
                p = line.find(Prefix, p);
                if (p == std::string_view::npos || p > last)
                    return;
            }
            int index = Table[Key(line.substr(p + Prefix.size(), SuffixLength))];
            if (index >= 0 && LineStamp[static_cast<size_t>(index)] != stamp &&
                IsCodeText(line, p, length)) {
                LineStamp[static_cast<size_t>(index)] = stamp;
                found(index, p);
            }
        }
    }

private:
    static size_t Key(std::string_view s) {
        size_t k = 0;
        for (char c : s)
            k = (k << 8) | static_cast<unsigned char>(c);
        return k;
    }

    std::string Prefix;
    size_t SuffixLength = 0;
    std::vector<std::int16_t> Table; // name index by the characters behind the prefix, or -1
    std::vector<int> LineStamp;      // the line a name was last seen in, so only its first counts
};

// Whether a hit in the section of Node counts for a group. Arrays, extension, line counter
// and input never do; files and output only when the group includes them.
bool Accepted(const TRPGProgram& doc, const TreeNode* node, bool includeOutput, bool includeFiles) {
    const TreeNode* parent = node->Parent();
    const TEDITSection* s = node->Section();
    if ((doc.ArraysNode && parent == doc.ArraysNode) || s == &doc.ExtensionSection ||
        s == &doc.LineCountSection || s == &doc.InputSection)
        return false;
    if (doc.FilesNode && parent == doc.FilesNode)
        return includeFiles;
    if (doc.OutputNode && parent == doc.OutputNode)
        return includeOutput;
    return true;
}

// The first line of Section whose code holds Text (case as written), and the place of its first
// occurrence there; in definition mode the line counts only when that occurrence stands as a
// definition. As the find of the text search, with comments and quoted literals left out.
bool FindInCode(const TEDITSection& section, const std::string& text, bool definitionMode,
                int& line, int& column) {
    const std::vector<SectionLine>& lines = section.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& current = lines[i].Text;
        size_t pos = current.find(text);
        while (pos != std::string::npos && !IsCodeText(current, pos, text.size()))
            pos = current.find(text, pos + 1);
        if (pos == std::string::npos ||
            (definitionMode && !IsDefinitionMatch(current, pos, text.size())))
            continue;
        line = static_cast<int>(i);
        column = static_cast<int>(pos) + 1;
        return true;
    }
    return false;
}

} // namespace

TreeNode* TRPGProgram::FindFirstFlagUse(const std::string& text, bool definitionMode,
                                        bool includeOutput, bool includeFiles, int& line,
                                        int& column) const {
    if (text.empty())
        return nullptr;
    // The sections of the search for text, in tree order; the first that holds a use answers
    // when the report counts it, and a section it does not count is passed over whole.
    for (TreeNode* n = TProgramTree::Next(Tree.First()); n; n = TProgramTree::Next(n)) {
        const TEDITSection* s = n->Section();
        if (!s || s == &PropertySection || s == &HistorySection || s == &DescriptionSection ||
            s == &PreCompilerSection)
            continue;
        int hitLine = 0;
        int hitColumn = 0;
        if (!FindInCode(*s, text, definitionMode, hitLine, hitColumn) ||
            !Accepted(*this, n, includeOutput, includeFiles))
            continue;
        line = hitLine;
        column = hitColumn;
        return n;
    }
    return nullptr;
}

std::vector<TFlagUse> TRPGProgram::FlagUses(const std::string& groupText) const {
    const FlagGroup group = GroupOf(groupText);
    std::vector<TFlagUse> found(group.Names.size());

    // The sections the report looks into, in tree order. A hit anywhere else is rejected and
    // the search goes on with the next section, so those sections can be left out at once.
    std::vector<TreeNode*> searched;
    for (TreeNode* n = Tree.First(); n; n = TProgramTree::Next(n)) {
        const TEDITSection* s = n->Section();
        if (!s || s == &PropertySection || s == &HistorySection || s == &DescriptionSection ||
            s == &PreCompilerSection)
            continue;
        if (Accepted(*this, n, group.IncludeOutput, group.IncludeFiles))
            searched.push_back(n);
    }

    for (const FlagStage& stage : group.Stages) {
        std::vector<int> wanted;
        for (size_t k = 0; k < found.size(); ++k)
            if (!found[k].Node)
                wanted.push_back(static_cast<int>(k));
        if (wanted.empty())
            break;
        size_t left = wanted.size();
        const size_t length = stage.Prefix.size() + group.Names[0].size();
        NameScanner scanner(stage.Prefix, group.Names, wanted);
        int stamp = 0;
        for (TreeNode* n : searched) {
            const std::vector<SectionLine>& lines = n->Section()->Lines();
            for (size_t i = 0; i < lines.size() && left > 0; ++i, ++stamp) {
                const std::string& text = lines[i].Text;
                scanner.Scan(text, stamp, [&](int index, size_t pos) {
                    TFlagUse& use = found[static_cast<size_t>(index)];
                    if (use.Node || (stage.DefinitionMode && !IsDefinitionMatch(text, pos, length)))
                        return;
                    use.Node = n;
                    use.Line = static_cast<int>(i);
                    use.Column = static_cast<int>(pos) + 1;
                    --left;
                });
            }
            if (left == 0)
                break;
        }
    }

    std::vector<TFlagUse> rows;
    for (size_t k = 0; k < found.size(); ++k) {
        if (!found[k].Node)
            continue;
        found[k].Flag = group.Names[k];
        rows.push_back(std::move(found[k]));
    }
    return rows;
}

void TRPGProgram::AddFlagRow(const std::string& flag, TreeNode* node, int column, int line,
                             int image) {
    if (!node || !View)
        return;
    TEDITSection* section = node->Section();
    orvale::ListItem item;
    item.Caption = flag;
    item.Section = section;
    item.ImageIndex = image;
    std::string code;
    if (section && line >= 0 && line < section->LinesCount())
        code = section->GetLine(line);
    item.SubItems = {node->Text, std::to_string(line + 1), std::to_string(column), code, ""};
    View->AddObjectItem(item);
}

void TRPGProgram::ShowFlagReport(TreeNode* groupNode) {
    if (!View || !groupNode)
        return;
    View->ClearObjectList();
    View->SetObjectColumns({{"Flag", 100, ColumnSort::Text},
                            {"Section", 100, ColumnSort::Text},
                            {"Line", 50, ColumnSort::Integer},
                            {"Col.", 50, ColumnSort::Integer},
                            {"Code", 400, ColumnSort::Text},
                            {"", 0, ColumnSort::Text}});
    for (const TFlagUse& use : FlagUses(groupNode->Text))
        AddFlagRow(use.Flag, use.Node, use.Column, use.Line, groupNode->ImageIndex);
}
