// Convert and compile speed on a generated member of 100,000 lines with file, extension, input,
// calculation (nested IF and DO groups, subroutines) and output specifications.

#include "GeneratedMember.h"
#include "support/MemberWalk.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace calvex::test;

namespace {

constexpr int kMemberLines = 100000;

const StringList& Member() {
    static const StringList member = orvale::bench::GenerateMember(kMemberLines);
    return member;
}

void BM_ConvertMember(benchmark::State& state) {
    const StringList& member = Member();
    for (auto _ : state) {
        auto sections = std::make_unique<MemberSections>();
        ImportMember(member, *sections);
        benchmark::DoNotOptimize(sections->MainRoutine.Lines().data());
        // Freeing the sections is the document's business, not the conversion's.
        state.PauseTiming();
        sections.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(member.size()));
}
BENCHMARK(BM_ConvertMember)->Unit(benchmark::kMillisecond);

void BM_CompileMember(benchmark::State& state) {
    MemberSections sections;
    ImportMember(Member(), sections);
    int64_t statements = 0;
    for (TEDITSection* section : sections.BuildOrder())
        statements += section->LinesCount();
    TCompileOptions options = AllOptions();
    for (auto _ : state) {
        BuildTotals totals = CompileAll(sections, options);
        benchmark::DoNotOptimize(totals);
    }
    state.SetItemsProcessed(state.iterations() * statements);
}
BENCHMARK(BM_CompileMember)->Unit(benchmark::kMillisecond);

} // namespace
