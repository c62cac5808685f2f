// The program document's import of a generated 100,000-line member through the conversion
// library, and its build back into a member: every section compiled, the source assembled.
// Both are counted in member lines a second. The import is also timed at 100,000 and 1,000,000
// lines of both generated members, the second with some 14,000 subroutines at the larger size:
// a time per line that grows with the size means a step that costs more the more it has made.
// Both sizes are timed on memory the process already holds (freed memory kept and room made
// in huge pages, as the command-line tool does, and a first conversion left out): a single first
// run at a million lines would otherwise time the system clearing fresh pages, which the runs at
// the smaller size, reusing the memory of the one before, do not.

#include "GeneratedMember.h"
#include "RoutineMember.h"
#include "platform/LargeHeap.h"
#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

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
        {
            orvale::Diagnostics found;
            doc->ConvertSourceLines(nullptr, found);
        }
        benchmark::DoNotOptimize(doc->MainRoutineSection.Lines().data());
        // Freeing the program belongs to closing its window, not to the import.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kMemberLines);
}
BENCHMARK(BM_ImportMember)->Unit(benchmark::kMillisecond);

// One member at a time: two of a million lines would hold a quarter of a gigabyte.
const StringList& SizedMember(bool routines, int lines) {
    static std::pair<bool, int> made{false, 0};
    static StringList member;
    if (made != std::pair{routines, lines}) {
        StringList().swap(member);
        member = routines ? orvale::bench::GenerateRoutineMember(lines)
                          : orvale::bench::GenerateMember(lines);
        made = {routines, lines};
    }
    return member;
}

// The heap as the command-line tool has it: freed memory kept for the next run, and room for
// the program in huge pages.
void PrepareHeap(int64_t lines) {
    orvale::ReserveHeap(static_cast<size_t>(lines) * 400);
}

void ImportAtSize(benchmark::State& state, bool routines) {
    PrepareHeap(state.range(0));
    const StringList& member = SizedMember(routines, static_cast<int>(state.range(0)));
    orvale::ScriptedPrompter box;
    size_t subroutines = 0;
    {
        auto first = std::make_unique<TRPGProgram>(box);
        first->SourceLines = member;
        first->BuildTree();
        {
            orvale::Diagnostics found;
            first->ConvertSourceLines(nullptr, found);
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<TRPGProgram>(box);
        doc->SourceLines = member;
        state.ResumeTiming();
        doc->BuildTree();
        {
            orvale::Diagnostics found;
            doc->ConvertSourceLines(nullptr, found);
        }
        benchmark::DoNotOptimize(doc->MainRoutineSection.Lines().data());
        state.PauseTiming();
        subroutines = static_cast<size_t>(doc->SubRoutinesNode->Count());
        doc.reset();
        state.ResumeTiming();
    }
    if (!box.Messages.empty())
        state.SkipWithError(box.Messages.front().Text.c_str());
    const double lines = static_cast<double>(member.size());
    state.counters["subroutines"] = static_cast<double>(subroutines);
    // Seconds per line, shown by the counter as a rate inverted: ns per line.
    state.counters["ns_per_line"] = benchmark::Counter(
        lines * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(member.size()));
}

void BM_ImportBenchMember(benchmark::State& state) {
    ImportAtSize(state, false);
}
BENCHMARK(BM_ImportBenchMember)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

void BM_ImportRoutineMember(benchmark::State& state) {
    ImportAtSize(state, true);
}
BENCHMARK(BM_ImportRoutineMember)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// The program imported from Member, its member text released.
void ImportForBuild(TRPGProgram& doc, const StringList& member) {
    doc.SourceLines = member;
    doc.BuildTree();
    {
        orvale::Diagnostics found;
        doc.ConvertSourceLines(nullptr, found);
    }
    StringList().swap(doc.SourceLines);
}

// Times the build of Doc, every section compiled and the source assembled; the number of
// member lines it made.
int64_t TimeBuild(benchmark::State& state, TRPGProgram& doc) {
    int64_t lines = 0;
    for (auto _ : state) {
        doc.CompileAllSections(true);
        doc.AssembleSource();
        lines = static_cast<int64_t>(doc.NameList.size());
        benchmark::DoNotOptimize(doc.NameList.data());
    }
    state.SetItemsProcessed(state.iterations() * lines);
    return lines;
}

void BM_BuildProgram(benchmark::State& state) {
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    ImportForBuild(doc, Member());
    int64_t lines = TimeBuild(state, doc);
    if (!box.Messages.empty())
        state.SkipWithError("the build reported a message");
    state.counters["member_lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_BuildProgram)->Unit(benchmark::kMillisecond);

// The build of the member of many subroutines at two sizes: the member order, the change tags
// and the diagnostics check go through every section, and a step that looks sections up
// among all the others shows here as a time per line that grows with the size.
void BM_BuildRoutineMember(benchmark::State& state) {
    PrepareHeap(state.range(0));
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    ImportForBuild(doc, SizedMember(true, static_cast<int>(state.range(0))));
    doc.CompileAllSections(true);
    doc.AssembleSource();
    int64_t lines = TimeBuild(state, doc);
    if (!box.Messages.empty())
        state.SkipWithError(box.Messages.front().Text.c_str());
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(lines) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BuildRoutineMember)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

} // namespace
