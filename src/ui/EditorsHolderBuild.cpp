// The program editor window's commands that convert and compile: the import of an RPG/400
// source member, the compile with its statistics, the RPG/400 page and the print-layout aid.

#include "ui/EditorsHolder.h"

#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/CompileFindings.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ColumnRuler.h"
#include "ui/ExtRichEdit.h"
#include "ui/FormCompileStat.h"
#include "ui/FormConvProgress.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QTextCursor>

namespace {

constexpr const char* kErrorsOrWarnings = "Sorry, There are some Error or Warning!";

// Progress and statistics windows stand on their own, so that disabling the editor window
// during the long command leaves their Cancel buttons working; they open over it.
void PlaceOver(QWidget& window, const QWidget& owner) {
    window.adjustSize();
    QPoint centre = owner.mapToGlobal(owner.rect().center());
    window.move(centre - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace

std::string FindingsSummary(const std::vector<TCompileFinding>& findings) {
    size_t errors = 0;
    for (const TCompileFinding& f : findings)
        errors += f.Error ? 1 : 0;
    size_t warnings = findings.size() - errors;
    if (findings.empty())
        return "Compiled: no error or warning.";
    auto count = [](size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return "Compiled: " + count(errors, "error", "errors") + ", " +
           count(warnings, "warning", "warnings") + "; F8 goes to the next one.";
}

void TEditorsHolder::ImportSource(const std::string& fileName) {
    setEnabled(false);
    orvale::Diagnostics found;
    {
        TFormConvProgress progress(*Document);
        progress.Edge = Edge;
        PlaceOver(progress, *this);
        progress.show();
        QApplication::processEvents();
        // The tree view is told of the import once, as one reset at its end. Told of every
        // section as it is added, it would lay out the whole growing folder again at each
        // progress step, which for a member of thousands of subroutines costs the square of
        // their number.
        Document->Tree.BeginUpdate();
        Document->ImportFromFile(fileName, found, &progress);
        Document->Tree.EndUpdate();
        progress.hide();
    }
    setEnabled(true);
    found.ShowIn(Box);
    ShowCodePage();
    // The document has shown its new root; the tool bar follows.
    TreeProgramChange();
}

bool TEditorsHolder::OpenProgram(const std::string& fileName) {
    orvale::Diagnostics found;
    bool read = Document->LoadFromFile(fileName, found);
    found.ShowIn(Box);
    ShowCodePage();
    return read;
}

bool TEditorsHolder::CompileProgram(bool buildAll) {
    setEnabled(false);
    bool ok = false;
    {
        TFormCompileStat statistics(*Document, Edge.ToQt(Document->FileName));
        statistics.Edge = Edge;
        statistics.ListErrors->clear();
        PlaceOver(statistics, *this);
        statistics.show();
        QApplication::processEvents();
        ok = Document->CompileAllSections(buildAll, &statistics);
        statistics.hide();
        AddFindingLines(statistics);
        ShowCompileMarks();
        // What the message panel said of an older compile (a finding gone to, an error line)
        // gives way to what this one found.
        StatusPanel(MessagePanel)->setText(Edge.ToQt(FindingsSummary(ProgramFindings(*Document))));
        // The figures stay up until the user has read them; a line of the list leads to its
        // section and statement meanwhile.
        statistics.Finish();
        connect(&statistics, &TFormCompileStat::RowActivated, this,
                &TEditorsHolder::CompileRowActivated);
        Services.RunDialog(statistics);
    }
    setEnabled(true);
    return ok;
}

void TEditorsHolder::AddFindingLines(TFormCompileStat& statistics) {
    // Only the sections this compile listed; the others' findings are older.
    QSet<QString> listed;
    for (int i = 0; i < statistics.ListErrors->count(); ++i)
        listed.insert(TFormCompileStat::RowSection(statistics.ListErrors->item(i)));
    for (const TCompileFinding& f : ProgramFindings(*Document)) {
        if (!listed.contains(Edge.ToQt(f.Node->Text)))
            continue;
        QString where = f.Statement >= 0 ? QString("line %1: ").arg(f.Statement + 1) : QString();
        statistics.AddFindingLine(Edge.ToQt(f.Node->Text), f.Statement,
                                  where + Edge.ToQt(f.Message));
    }
}

void TEditorsHolder::ShowRpgView() {
    TRPGProgram& doc = *Document;
    TreeNode* node = SelectedNode();
    TEDITSection* section = node ? node->Section() : nullptr;
    if (!section)
        return;
    if (doc.EditorModified)
        doc.CommitCurrent();
    if (!section->CompiledValid) {
        TCompileResult statistics{};
        doc.CompileSection(node, false, statistics);
        MemoRPGView->SetLines(section->CompiledTexts());
        ShowCompileMarks();
    } else if (section != LastRpgViewSection) {
        MemoRPGView->SetLines(section->CompiledTexts());
    }
    ShowRpgViewRecords(*section);
    MemoRPGView->ScrollToLine(RichEditSource->FirstVisibleLine());
    LastRpgViewSection = section;
    RulerRPGView->Refresh();
}

void TEditorsHolder::SpeedBtnPrnAidClick() {
    TRPGProgram& doc = *Document;
    TreeNode* node = SelectedNode();
    if (!node || !node->Section())
        return;
    int topLine = RichEditSource->FirstVisibleLine();
    doc.CommitCurrent();
    TCompileResult statistics{};
    doc.CompileSection(node, false, statistics);
    if (statistics.Errors + statistics.Warnings != 0) {
        Box.Message(kErrorsOrWarnings);
        return;
    }
    StringList lines = RichEditSource->Lines();
    if (!Services.PrintDesign(lines, Edge.Page()))
        return;
    // The designed lines replace the text as one edit, so that the commit below stores them
    // (and the user can undo them).
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    QTextCursor all = RichEditSource->textCursor();
    all.select(QTextCursor::Document);
    all.insertText(Edge.ToQt(text));
    doc.CommitCurrent();
    StatusPanel(ModifiedPanel)->clear();
    doc.CompileSection(node, false, statistics);
    RichEditSource->ScrollToLine(topLine);
}
