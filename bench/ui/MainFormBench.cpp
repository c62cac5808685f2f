// Opening a program through the main frame, as File/Open does: the window is made, the file
// read, the options applied and the root shown in the tree. A 100,000-line program has to be
// on the screen within half a second (scripts/time-open checks it). The files are made by the
// document itself: subroutines of 40 text lines, each with a compiled cache of the same length.
// A program imported from a 1,000,000-line member of some 14,000 subroutines is timed too, as
// it opens (tree, root object list, first paint), as its Sub Routines folder lists all of them,
// and as it is imported in a window, each beside the same work done without a window.

#include "BigProgram.h"
#include "RoutineMember.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/ColSortListView.h"
#include "ui/EditorsHolder.h"
#include "ui/FrameUser.h"
#include "ui/MainForm.h"
#include "ui/ProgramTreeView.h"

#include <QApplication>
#include <QMdiSubWindow>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {

using orvale::bench::MakeProgram;

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
BENCHMARK(BM_OpenProgramInFrame)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

double MillisecondsOf(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The member of many subroutines as a file, and the program imported from it, made once.
struct RoutineProgram {
    explicit RoutineProgram(int lines) {
        StringList member = orvale::bench::GenerateRoutineMember(lines);
        orvale::WriteTextFile(Member, member);
        orvale::ScriptedPrompter box;
        TRPGProgram doc(box);
        orvale::Diagnostics found;
        ImportMs = MillisecondsOf([&] { doc.ImportFromFile(Member, found); });
        Subroutines = doc.SubRoutinesNode->Count();
        doc.SaveToFile(Program);
        TRPGProgram loaded(box);
        LoadMs = MillisecondsOf([&] { loaded.LoadFromFile(Program, found); });
    }
    static RoutineProgram& Of(int lines) {
        static std::map<int, std::unique_ptr<RoutineProgram>> made;
        auto& p = made[lines];
        if (!p)
            p = std::make_unique<RoutineProgram>(lines);
        return *p;
    }
    orvale::test::TempDir Dir;
    std::string Member = Dir.File("ROUTINES.RP3");
    std::string Program = Dir.File("ROUTINES.RPG");
    int Subroutines = 0;
    // The same work without a window, for comparison.
    double ImportMs = 0;
    double LoadMs = 0;
};

bool AtRoot(TEditorsHolder* window) {
    return window && window->Document->Tree.Root() &&
           window->Document->Tree.Selected() == window->Document->Tree.Root();
}

void CloseWindow(Frame& frame, TEditorsHolder* window) {
    if (window)
        frame.Form.SubWindowOf(window)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// File/Open of the imported program: read, tree filled, root's object list, first paint.
void BM_OpenRoutineProgramInFrame(benchmark::State& state) {
    RoutineProgram& program = RoutineProgram::Of(static_cast<int>(state.range(0)));
    Frame frame(program.Dir.Path() + "/");
    for (auto _ : state) {
        frame.Form.OpenProgramFile(program.Program);
        QApplication::processEvents();
        TEditorsHolder* window = frame.Form.ActiveWindow();
        if (!AtRoot(window)) {
            state.SkipWithError("the program did not open at its root");
            break;
        }
        state.PauseTiming();
        CloseWindow(frame, window);
        state.ResumeTiming();
    }
    state.counters["subroutines"] = program.Subroutines;
    state.counters["load_without_window_ms"] = program.LoadMs;
}
BENCHMARK(BM_OpenRoutineProgramInFrame)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The Sub Routines folder selected: one object-list row per subroutine, then the paint.
void BM_ListSubRoutinesInFrame(benchmark::State& state) {
    RoutineProgram& program = RoutineProgram::Of(static_cast<int>(state.range(0)));
    Frame frame(program.Dir.Path() + "/");
    frame.Form.OpenProgramFile(program.Program);
    QApplication::processEvents();
    TEditorsHolder* window = frame.Form.ActiveWindow();
    if (!AtRoot(window)) {
        state.SkipWithError("the program did not open at its root");
        return;
    }
    TRPGProgram& doc = *window->Document;
    for (auto _ : state) {
        window->SelectNode(doc.SubRoutinesNode);
        QApplication::processEvents();
        state.PauseTiming();
        if (window->ListViewObject->ItemCount() != program.Subroutines)
            state.SkipWithError("the object list does not show every subroutine");
        window->SelectNode(doc.Tree.Root());
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = program.Subroutines;
    CloseWindow(frame, window);
}
BENCHMARK(BM_ListSubRoutinesInFrame)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Program/Import of the member into a new window, up to its root on the screen.
void BM_ImportInFrame(benchmark::State& state) {
    RoutineProgram& program = RoutineProgram::Of(static_cast<int>(state.range(0)));
    Frame frame(program.Dir.Path() + "/");
    for (auto _ : state) {
        TEditorsHolder* window = frame.Form.ImportIntoNewWindow(program.Member, "ROUTINES.RPG");
        QApplication::processEvents();
        if (!AtRoot(window)) {
            state.SkipWithError("the import did not end at the program's root");
            break;
        }
        state.PauseTiming();
        window->DiscardChanges();
        CloseWindow(frame, window);
        state.ResumeTiming();
    }
    state.counters["subroutines"] = program.Subroutines;
    state.counters["import_without_window_ms"] = program.ImportMs;
}
BENCHMARK(BM_ImportInFrame)
    ->Arg(200000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    orvale::test::QtApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
