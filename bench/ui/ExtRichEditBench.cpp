// A section of 10,000 lines must show in the source editor well under 0.1 s, and the
// document must get its lines back as fast when it commits them.

#include "ui/ExtRichEdit.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

StringList LongSection(int count) {
    StringList lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back("                ADD(TOTAL" + std::to_string(i % 97) +
                        ":AMOUNT:TOTAL)  {N10 20}  // running sum");
    return lines;
}

void ShowSection(benchmark::State& state) {
    TExtRichEdit edit;
    edit.resize(800, 600);
    edit.show();
    StringList lines = LongSection(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        edit.SetLines(lines);
        QApplication::processEvents();
        benchmark::DoNotOptimize(edit.LineCount());
    }
}
BENCHMARK(ShowSection)->Arg(10000)->Unit(benchmark::kMillisecond);

void ReadSectionBack(benchmark::State& state) {
    TExtRichEdit edit;
    edit.SetLines(LongSection(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        StringList lines = edit.Lines();
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(ReadSectionBack)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
