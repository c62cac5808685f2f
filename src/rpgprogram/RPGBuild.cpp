// Build into RPG/400 source: each section is compiled on its own by the conversion library,
// which keeps the fixed-column lines in the section; the source is their concatenation in
// specification order.

#include "RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

using orvale::CompileStatistics;

namespace orvale {

std::string ErrorListLine(const std::string& sectionName, int warnings, int errors) {
    std::string line = sectionName;
    if (line.size() < 17)
        line.append(17 - line.size(), ' ');
    line += "Warnings: ";
    std::string count = std::to_string(warnings);
    line += count;
    if (count.size() < 4)
        line.append(4 - count.size(), ' ');
    line += " Errors: ";
    line += std::to_string(errors);
    return line;
}

} // namespace orvale

void TRPGProgram::ReadCompileOptions() {
    CompileRPG3GetPreComp(PreCompilerSection, PreCompilerNames, ProgramDir);
    const TFormGenRPG& form = Options();
    if (!form.EditPrefix.empty())
        IndicatorPrefix = form.EditPrefix.substr(0, 2);
    TCompileOptions& o = CompileOptions;
    o.PrgProp = form.PrgProp;
    o.PrgDesc = form.PrgDesc;
    o.PrgHist = form.PrgHist;
    o.PreComp = form.PreComp;
    o.SDesc = form.SDesc;
    o.CDate = form.CDate;
    o.UDate = form.UDate;
    o.LComm = form.LComm;
    o.CComm = form.CComm;
    o.BLines = form.BLines;
    std::string prefix = IndicatorPrefix.substr(0, 2);
    o.PrefixLength = static_cast<std::uint8_t>(prefix.size());
    o.Prefix[0] = o.Prefix[1] = ' ';
    std::memcpy(o.Prefix, prefix.data(), prefix.size());
}

void TRPGProgram::CompileSection(TreeNode* node, bool batch, TCompileResult& result) {
    if (!batch)
        ReadCompileOptions();
    std::memset(&result, 0, sizeof result);
    TEDITSection* s = node ? node->Section() : nullptr;
    if (!s)
        return;
    const TCompileOptions& o = CompileOptions;
    const std::string& prefix = IndicatorPrefix;
    auto spec = [&](bool wanted) {
        if (wanted)
            CompileRPG3Spec(&result, *s, prefix, batch);
    };
    const TFormGenRPG& form = Options();
    auto source = [&](char letter, const TreeNode* arrays = nullptr) {
        CompileRPG3Source(&result, arrays, *s, PreCompilerNames, letter, o, batch);
        ApplyChangeTag(*s, form.ChangeTag, form.ChangeTagLeft);
    };
    const TreeNode* parent = node->Parent();
    if (s == &PropertySection)
        spec(o.PrgProp);
    else if (s == &HistorySection)
        spec(o.PrgHist);
    else if (s == &DescriptionSection)
        spec(o.PrgDesc);
    else if (s == &PreCompilerSection)
        spec(o.PreComp);
    else if (s == &HeaderSection)
        source('H');
    else if (s == &ExtensionSection)
        source('E', ArraysNode);
    else if (s == &LineCountSection)
        source('L');
    else if (s == &InputSection)
        source('I');
    else if (s == &LogicalSection || s == &DisplaySection || s == &PrinterSection ||
             s == &SpecialSection)
        source('F');
    else if (s == &MainRoutineSection || s == &InitSubRoutineSection)
        source('C');
    else if (parent && parent == SubRoutinesNode)
        source('C');
    else if (parent && parent == OutputNode)
        source('O');
    else if (parent && parent == ArraysNode) {
        CompileRPG3Array(&result, ExtensionSection, *s, prefix, batch);
        ApplyChangeTag(*s, form.ChangeTag, form.ChangeTagLeft);
    }
}

namespace {

// The sections of a build shared by two threads: each section is compiled by the one that
// claims it first, the main thread going forward and the other backward until they meet.
// A section's result is read only once its state says it is done (release and acquire), and
// a section's compile reads its own text and the extension's and writes its own compiled
// lines only, so the two never touch the same data.
class SharedBuild {
public:
    SharedBuild(TRPGProgram& program, const std::vector<TreeNode*>& nodes)
        : Program(program), Nodes(nodes), Results(nodes.size()), States(nodes.size()) {}

    // The result of section K, compiled here unless the other thread has claimed it.
    const TCompileResult& Take(size_t k) {
        if (!Compile(k))
            for (int state = States[k].load(std::memory_order_acquire); state != kDone;
                 state = States[k].load(std::memory_order_acquire))
                States[k].wait(state, std::memory_order_acquire);
        return Results[k];
    }

    // The other thread's part: from the last section back to the first one already claimed.
    void CompileFromTheEnd() {
        for (size_t k = Nodes.size(); k-- > 0 && !Stopped.load(std::memory_order_relaxed);)
            if (!Compile(k))
                return;
    }

    // Ends the other thread's part after the section it is compiling.
    void Stop() { Stopped.store(true, std::memory_order_relaxed); }

private:
    static constexpr int kFree = 0, kClaimed = 1, kDone = 2;

    bool Compile(size_t k) {
        int free = kFree;
        if (!States[k].compare_exchange_strong(free, kClaimed, std::memory_order_acq_rel))
            return false;
        Program.CompileSection(Nodes[k], true, Results[k]);
        States[k].store(kDone, std::memory_order_release);
        States[k].notify_all();
        return true;
    }

    TRPGProgram& Program;
    const std::vector<TreeNode*>& Nodes;
    std::vector<TCompileResult> Results;
    std::vector<std::atomic<int>> States;
    std::atomic<bool> Stopped{false};
};

} // namespace

namespace {

// Whether a build must compile S: its compiled lines are out of date, or were read from a file
// or an import without knowing which statement each came from, which the order of the source
// needs for a section of an imported member (cheap: its unedited lines are copied).
// A dated member numbers each line by the statement it comes from, so every section of one is
// compiled unless its lines know their statements.
bool NeedsCompile(const TEDITSection& s, bool dated) {
    return !s.CompiledValid || ((s.TracksOrigins() || dated) && !s.CompiledLinked());
}

} // namespace

bool TRPGProgram::CompileAllSections(bool all, CompileStatistics* statistics) {
    BusyCursor busy(*this);
    CommitCurrent();
    ReadCompileOptions();
    // A stop asked for during an earlier build does not end this one.
    CompileStopRequested = false;
    int totalLines = 0;
    int totalWarnings = 0;
    int totalErrors = 0;
    bool clean = true;
    // Counts a compiled section and shows its figures; false when a stop has been asked for.
    auto counted = [&](const TEDITSection* s, const TCompileResult& result) {
        totalLines += result.Lines;
        totalWarnings += result.Warnings;
        totalErrors += result.Errors;
        bool findings = result.Warnings > 0 || result.Errors > 0;
        if (findings)
            clean = false;
        if (statistics) {
            statistics->SetSectionLines(std::to_string(result.Lines));
            statistics->SetTotalLines(std::to_string(totalLines));
            statistics->SetWarnings(std::to_string(totalWarnings));
            statistics->SetErrors(std::to_string(totalErrors));
            if (findings)
                statistics->AddErrorLine(
                    orvale::ErrorListLine(s->Properties.Name, result.Warnings, result.Errors));
            statistics->ProcessMessages();
        }
        // A stopped build has not compiled everything, so it cannot count as clean: an
        // export waiting on it must not go on.
        return !CompileStopRequested;
    };

    if (!CompileAhead || std::thread::hardware_concurrency() < 2) {
        for (TreeNode* n = Tree.First(); n; n = TProgramTree::Next(n)) {
            TEDITSection* s = n->Section();
            if (!s || (!all && !NeedsCompile(*s, Dated)))
                continue;
            TCompileResult result;
            CompileSection(n, true, result);
            if (!counted(s, result))
                return false;
        }
        return clean;
    }

    std::vector<TreeNode*> nodes;
    for (TreeNode* n = Tree.First(); n; n = TProgramTree::Next(n)) {
        TEDITSection* s = n->Section();
        if (s && (all || NeedsCompile(*s, Dated)))
            nodes.push_back(n);
    }
    SharedBuild shared(*this, nodes);
    std::thread ahead;
    try {
        ahead = std::thread([&shared] { shared.CompileFromTheEnd(); });
    } catch (const std::system_error&) {
        // No second thread: every section is compiled here.
    }
    // The other thread ends once it meets a section claimed here, or at once when the loop
    // is left early; it is joined on every way out.
    struct Joiner {
        SharedBuild& Shared;
        std::thread& Thread;
        ~Joiner() {
            Shared.Stop();
            if (Thread.joinable())
                Thread.join();
        }
    } joiner{shared, ahead};
    for (size_t k = 0; k < nodes.size(); ++k)
        if (!counted(nodes[k]->Section(), shared.Take(k)))
            return false;
    return clean;
}

void TRPGProgram::AssembleSource() {
    std::vector<TSourceRun> runs = SourceRuns();
    size_t lines = 0;
    for (const TSourceRun& run : runs)
        lines += run.End - run.First;
    NameList.clear();
    NameList.reserve(lines);
    for (const TSourceRun& run : runs)
        for (size_t k = run.First; k < run.End; ++k)
            NameList.push_back(run.Section->CompiledText(k));
}

bool TRPGProgram::WriteSource(const std::string& fileName) {
    BusyCursor busy(*this);
    CommitCurrent();
    // The sections' lines go to the file as they stand, without first being copied into one
    // list (AssembleSource): for a large program that copy was the build's largest use of memory.
    StringList().swap(NameList);
    std::vector<TSourceRun> runs = SourceRuns();
    // An error line is no line of a member: the host compiler would read it as code.
    std::vector<std::string> failed = SectionsWithDiagnostics(runs, true);
    if (!failed.empty()) {
        Box.Error(NotWrittenMessage(failed));
        return false;
    }
    if (Dated)
        return WriteDatedSource(runs, fileName);
    orvale::SafeFileWriter writer(fileName);
    for (const TSourceRun& run : runs) {
        // Warning lines stand beside the line they warn of, or in place of a statement that
        // gives no line: the member is written without them.
        for (size_t k = run.First; k < run.End; ++k)
            if (!IsDiagnosticLine(*run.Section, k))
                writer.WriteLine(run.Section->CompiledText(k));
    }
    std::string error;
    bool written = writer.Commit(orvale::SourceBackupPath(fileName), &error);
    if (!written)
        Box.Error(error);
    return written;
}
