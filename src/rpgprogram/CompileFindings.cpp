#include "CompileFindings.h"

#include "CrossReference.h"
#include "RPGProgram.h"

#include <algorithm>

namespace {

std::string_view LeftTrimmed(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && static_cast<unsigned char>(s[n]) <= 32)
        ++n;
    return s.substr(n);
}

// The one warning the compile writes before the line of its statement instead of in its place.
constexpr std::string_view kExtraParameter = "**WARNING: Extra parameter not allowed";

// Tree order of the sections: the position of each section node in a pre-order walk.
int TreeOrder(const TRPGProgram& doc, const TreeNode* node) {
    int order = 0;
    for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n), ++order)
        if (n == node)
            return order;
    return -1;
}

std::vector<int> CountedStatements(const TRPGProgram& doc, const TEDITSection& s, char form) {
    std::vector<int> from(s.CompiledCount(), -1);
    if (form == 0 || s.Lines().empty())
        return from;
    const TCompileOptions& o = doc.CompileOptions;
    size_t k =
        (o.LComm ? 2u : 0u) + (o.SDesc ? 1u : 0u) + (o.CDate ? 1u : 0u) + (o.UDate ? 1u : 0u);
    for (size_t i = 0; i < s.Lines().size() && k < from.size(); ++i) {
        std::string_view text = LeftTrimmed(s.Lines()[i].Text);
        if (text.empty() && !o.BLines)
            continue;
        if (text.starts_with("/*") && !o.LComm)
            continue;
        if (LeftTrimmed(s.CompiledText(k)).starts_with(kExtraParameter) && k + 1 < from.size())
            from[k++] = static_cast<int>(i);
        from[k++] = static_cast<int>(i);
    }
    return from;
}

} // namespace

bool IsCompileError(std::string_view compiledLine) {
    return LeftTrimmed(compiledLine).starts_with("**ERROR");
}

bool IsCompileWarning(std::string_view compiledLine) {
    return LeftTrimmed(compiledLine).starts_with("**WARNING");
}

std::vector<int> CompiledStatements(const TRPGProgram& doc, const TreeNode* node) {
    const TEDITSection* s = node ? node->Section() : nullptr;
    if (!s)
        return {};
    // The compile's own record, when it kept one for these lines.
    if (s->CompiledCount() > 0 && s->CompiledLinked()) {
        std::vector<int> from;
        from.reserve(s->CompiledCount());
        for (const CompiledLine& line : s->Compiled())
            from.push_back(line.From);
        return from;
    }
    char form = SectionFormType(doc, node);
    if (doc.ArraysNode && node->Parent() == doc.ArraysNode) {
        // An array's compiled lines are its separator and then its records, one per line.
        std::vector<int> from(s->CompiledCount(), -1);
        for (size_t k = 1; k < from.size(); ++k)
            if (k - 1 < s->Lines().size() && !IsCompileWarning(s->CompiledText(k)))
                from[k] = static_cast<int>(k - 1);
        return from;
    }
    return CountedStatements(doc, *s, form);
}

std::vector<TCompileFinding> SectionFindings(const TRPGProgram& doc, TreeNode* node) {
    std::vector<TCompileFinding> findings;
    const TEDITSection* s = node ? node->Section() : nullptr;
    if (!s || !s->CompiledValid)
        return findings;
    std::vector<int> from;
    for (size_t k = 0; k < s->CompiledCount(); ++k) {
        const std::string& line = s->CompiledText(k);
        bool error = IsCompileError(line);
        if (!error && !IsCompileWarning(line))
            continue;
        if (from.empty())
            from = CompiledStatements(doc, node);
        TCompileFinding f;
        f.Node = node;
        f.CompiledLine = static_cast<int>(k);
        f.Statement = k < from.size() ? from[k] : -1;
        f.Error = error;
        f.Message = std::string(LeftTrimmed(line));
        findings.push_back(std::move(f));
    }
    return findings;
}

std::vector<TCompileFinding> ProgramFindings(const TRPGProgram& doc) {
    std::vector<TCompileFinding> all;
    for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        if (!n->Section())
            continue;
        std::vector<TCompileFinding> some = SectionFindings(doc, n);
        all.insert(all.end(), std::make_move_iterator(some.begin()),
                   std::make_move_iterator(some.end()));
    }
    return all;
}

int StepFinding(const TRPGProgram& doc, const std::vector<TCompileFinding>& findings,
                const TreeNode* node, int line, int step, int current) {
    if (findings.empty())
        return -1;
    const int count = static_cast<int>(findings.size());
    // Several findings on one statement are stepped through one by one.
    if (current >= 0 && current < count && findings[static_cast<size_t>(current)].Node == node &&
        findings[static_cast<size_t>(current)].Statement == line)
        return ((current + (step > 0 ? 1 : -1)) % count + count) % count;
    const int here = TreeOrder(doc, node);
    // Findings come in tree order already; a place compares by section, then by line.
    auto after = [&](const TCompileFinding& f) {
        int order = f.Node == node ? here : TreeOrder(doc, f.Node);
        return order > here || (order == here && f.Statement > line);
    };
    auto before = [&](const TCompileFinding& f) {
        int order = f.Node == node ? here : TreeOrder(doc, f.Node);
        return order < here || (order == here && f.Statement >= 0 && f.Statement < line);
    };
    if (step > 0) {
        for (int i = 0; i < count; ++i)
            if (after(findings[static_cast<size_t>(i)]))
                return i;
        return 0;
    }
    for (int i = count - 1; i >= 0; --i)
        if (before(findings[static_cast<size_t>(i)]))
            return i;
    return count - 1;
}
