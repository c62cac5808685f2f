// Opening a program file must stay linear in its size: a 100,000-line file has to show its
// root well within half a second. The files are made by the document itself: subroutines of
// 40 text lines, each with a compiled cache of the same length.

#include "BigProgram.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"

#include "support/FakeProgramView.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

namespace {

using orvale::bench::MakeProgram;

void BM_LoadProgram(benchmark::State& state) {
    orvale::test::TempDir dir;
    std::string path = MakeProgram(dir, static_cast<int>(state.range(0)));
    StringList lines;
    orvale::ReadTextFile(path, lines);
    for (auto _ : state) {
        orvale::ScriptedPrompter box;
        orvale::test::FakeProgramView view;
        TRPGProgram doc(box);
        doc.BindView(&view);
        orvale::Diagnostics found;
        doc.LoadFromFile(path, found);
        if (!found.Empty() || !box.Messages.empty() || view.Items.empty())
            state.SkipWithError("the program did not load cleanly");
        benchmark::DoNotOptimize(doc.Tree.Root());
    }
    state.counters["file_lines"] = static_cast<double>(lines.size());
    state.SetComplexityN(static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_LoadProgram)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_SaveProgram(benchmark::State& state) {
    orvale::test::TempDir dir;
    std::string path = MakeProgram(dir, static_cast<int>(state.range(0)));
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    orvale::Diagnostics found;
    doc.LoadFromFile(path, found);
    for (auto _ : state)
        doc.SaveToFile(path);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveProgram)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
