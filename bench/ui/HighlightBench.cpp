// Typing in a 24,000-line section with the statement colouring on must stay as quick as
// without it: a keystroke colours its own line again, not the section. The time per keystroke
// includes the repaint of the view.

#include "ui/ExtRichEdit.h"
#include "ui/SourceHighlighter.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

namespace {

// Statement lines as an imported member has them: conditioned operations, literals, raw lines
// and comments.
StringList Section(int count) {
    const char* shapes[] = {"{|L1| 01N02}    Add(TOTAL%,AMOUNT,TOTAL%)",
                            "                Move('ABC %',FIELD%)          /* copy the name */",
                            "/* ---- step % of the run ---- */",
                            "                Comp(COUNT%,100,10,20,30)",
                            "                RPG(C                     MOVEL'%'       TEXT   )"};
    StringList lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string line = shapes[i % 5];
        size_t mark;
        while ((mark = line.find('%')) != std::string::npos)
            line.replace(mark, 1, std::to_string(i % 97));
        lines.push_back(line);
    }
    return lines;
}

void Key(QWidget& target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
}

void TypeInSection(benchmark::State& state, bool coloured) {
    TExtRichEdit edit;
    if (coloured)
        edit.SetHighlighter(new TSourceHighlighter(TSourceHighlighter::Language::Statements));
    edit.resize(900, 700);
    edit.show();
    const int lines = static_cast<int>(state.range(0));
    edit.SetLines(Section(lines));
    edit.SetCaretPos(20, lines / 2);
    edit.centerCursor();
    QApplication::processEvents();
    for (auto _ : state) {
        // One character typed and taken back, each with its repaint.
        Key(edit, Qt::Key_X, "X");
        QApplication::processEvents();
        Key(edit, Qt::Key_Backspace, QString());
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void TypeColoured(benchmark::State& state) {
    TypeInSection(state, true);
}
void TypePlain(benchmark::State& state) {
    TypeInSection(state, false);
}
BENCHMARK(TypeColoured)->Arg(1000)->Arg(24000)->Unit(benchmark::kMicrosecond);
BENCHMARK(TypePlain)->Arg(24000)->Unit(benchmark::kMicrosecond);

void ShowColouredSection(benchmark::State& state) {
    TExtRichEdit edit;
    edit.SetHighlighter(new TSourceHighlighter(TSourceHighlighter::Language::Statements));
    edit.resize(900, 700);
    edit.show();
    StringList lines = Section(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        edit.SetLines(lines);
        QApplication::processEvents();
    }
}
BENCHMARK(ShowColouredSection)->Arg(24000)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The same keystrokes without their repaint: what the colouring itself costs.
void TypeColouredUnpainted(benchmark::State& state) {
    TExtRichEdit edit;
    edit.SetHighlighter(new TSourceHighlighter(TSourceHighlighter::Language::Statements));
    const int lines = static_cast<int>(state.range(0));
    edit.SetLines(Section(lines));
    edit.SetCaretPos(20, lines / 2);
    for (auto _ : state) {
        Key(edit, Qt::Key_X, "X");
        Key(edit, Qt::Key_Backspace, QString());
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(TypeColouredUnpainted)->Arg(24000)->Unit(benchmark::kMicrosecond);

} // namespace
