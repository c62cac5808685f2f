// The indicator cross-reference of every group, and the find dialog's walk over all sections,
// on the program imported from a generated 20,000-line member. The whole cross-reference
// (five groups) has to stay well under a tenth of a second.

#include "GeneratedMember.h"
#include "platform/Prompter.h"
#include "rpgprogram/FlagReport.h"
#include "rpgprogram/RPGProgram.h"
#include "rpgprogram/SectionSearch.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kMemberLines = 20000;

// One program for all runs: the cross-reference and the search only read it.
TRPGProgram& Program() {
    static orvale::ScriptedPrompter box;
    static TRPGProgram* doc = [] {
        auto* d = new TRPGProgram(box);
        d->SourceLines = orvale::bench::GenerateMember(kMemberLines);
        d->BuildTree();
        {
            orvale::Diagnostics found;
            d->ConvertSourceLines(nullptr, found);
        }
        d->SourceLines.clear();
        return d;
    }();
    return *doc;
}

void BM_FlagReportAllGroups(benchmark::State& state) {
    TRPGProgram& doc = Program();
    size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const char* group : kFlagGroups)
            rows += doc.FlagUses(group).size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FlagReportAllGroups)->Unit(benchmark::kMillisecond);

// Every section that holds the text, from the top of the tree to the end, as repeated Find
// Next commands step through them; a text found nowhere walks every section once.
void FindThroughAllSections(benchmark::State& state, const char* text) {
    TRPGProgram& doc = Program();
    TSectionSearch search;
    search.Text = text;
    search.Global = search.IncludeArrays = search.IncludeSubRoutines = search.IncludeOutput = true;
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (TreeNode* node = doc.Tree.Root(); (node = doc.FindNextSection(search, node));)
            ++found;
        benchmark::DoNotOptimize(found);
    }
    state.counters["sections_found"] = found;
}
void BM_FindNextEverySection(benchmark::State& state) {
    FindThroughAllSections(state, "CUSTMAST");
}
void BM_FindNextNowhere(benchmark::State& state) {
    FindThroughAllSections(state, "NOWHERE");
}
BENCHMARK(BM_FindNextEverySection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextNowhere)->Unit(benchmark::kMillisecond);

} // namespace
