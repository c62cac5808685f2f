// The program document's import of a generated 100,000-line member through the conversion
// library, and its build back into a member: every section compiled, the source assembled.
// Both are counted in member lines a second.

#include "GeneratedMember.h"
#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kMemberLines = 100000;

const StringList& Member() {
    static const StringList member = orvale::bench::GenerateMember(kMemberLines);
    return member;
}

void BM_ImportMember(benchmark::State& state) {
    orvale::ScriptedPrompter box;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<TRPGProgram>(box);
        doc->SourceLines = Member();
        state.ResumeTiming();
        doc->BuildTree();
        doc->ConvertSourceLines(nullptr);
        benchmark::DoNotOptimize(doc->MainRoutineSection.Lines.data());
        // Freeing the program belongs to closing its window, not to the import.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kMemberLines);
}
BENCHMARK(BM_ImportMember)->Unit(benchmark::kMillisecond);

void BM_BuildProgram(benchmark::State& state) {
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    doc.SourceLines = Member();
    doc.BuildTree();
    doc.ConvertSourceLines(nullptr);
    doc.SourceLines.clear();
    int64_t lines = 0;
    for (auto _ : state) {
        doc.CompileAllSections(true);
        doc.AssembleSource();
        lines = static_cast<int64_t>(doc.NameList.size());
        benchmark::DoNotOptimize(doc.NameList.data());
    }
    if (!box.Messages.empty())
        state.SkipWithError("the build reported a message");
    state.counters["member_lines"] = static_cast<double>(lines);
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_BuildProgram)->Unit(benchmark::kMillisecond);

} // namespace
