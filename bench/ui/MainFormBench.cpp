// Opening a program through the main frame, as File/Open does: the window is made, the file
// read, the options applied and the root shown in the tree. A 100,000-line program has to be
// on the screen within half a second (scripts/time-open checks it). The files are made by the
// document itself: subroutines of 40 text lines, each with a compiled cache of the same length.

#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/FrameUser.h"
#include "ui/MainForm.h"
#include "ui/ProgramTreeView.h"

#include <QApplication>
#include <QMdiSubWindow>

#include <cstdlib>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLinesPerRoutine = 40;

std::string MakeProgram(const orvale::test::TempDir& dir, int lines) {
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    doc.NewProgram();
    int routines = lines / (2 * kLinesPerRoutine + 14);
    for (int r = 0; r < routines; ++r) {
        std::string name = "SR" + std::to_string(r);
        TEDITSection* s = doc.AddSubRoutine(name, "Routine " + name);
        s->Lines.reserve(kLinesPerRoutine);
        s->Lines.push_back("                Begsr(" + name + ")");
        for (int i = 2; i < kLinesPerRoutine; ++i)
            s->Lines.push_back("                  ADD(TOTAL " + std::to_string(i) + " TOTAL)");
        s->Lines.push_back("                Endsr()");
        s->Compiled.assign(kLinesPerRoutine,
                           "     C                     ADD  1         TOTAL            " + name);
        s->CompiledValid = true;
    }
    std::string path = dir.File("BIG.RPG");
    doc.SaveToFile(path);
    return path;
}

// A frame started and logged in, as the user leaves it before opening a program.
struct Frame {
    explicit Frame(const std::string& programDir) : Form(Box, User.Services()) {
        orvale::test::AddUser(programDir, "BENCH", "BENCH");
        User.Dialogs.push_back(orvale::test::FrameUser::Login("BENCH", "BENCH"));
        Form.ProgramDir = programDir;
        Form.resize(1000, 700);
        Form.show();
        Form.Startup();
        QApplication::processEvents();
    }
    orvale::ScriptedPrompter Box;
    orvale::test::FrameUser User;
    TMainForm Form;
};

void BM_OpenProgramInFrame(benchmark::State& state) {
    orvale::test::TempDir dir;
    std::string path = MakeProgram(dir, static_cast<int>(state.range(0)));
    StringList lines;
    orvale::ReadTextFile(path, lines);
    Frame frame(dir.Path() + "/");
    for (auto _ : state) {
        frame.Form.OpenProgramFile(path);
        // The root on the screen: the tree painted with the program's node selected.
        QApplication::processEvents();
        TEditorsHolder* window = frame.Form.ActiveWindow();
        if (!window || !window->Document->Tree.Root() ||
            window->Document->Tree.Selected() != window->Document->Tree.Root()) {
            state.SkipWithError("the program did not open at its root");
            break;
        }
        state.PauseTiming();
        frame.Form.SubWindowOf(window)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    if (!frame.Box.Messages.empty())
        state.SkipWithError(frame.Box.Messages.front().Text.c_str());
    state.counters["file_lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_OpenProgramInFrame)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    orvale::test::QtApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
