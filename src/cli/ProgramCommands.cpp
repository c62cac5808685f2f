// import, build, check, xref: the program commands of the editor, for scripts and pipelines.
// They run the same program document the editor windows own; the messages it would show in a
// box go to standard error with their kind.

#include "Commands.h"

#include "frame/Options.h"
#include "platform/CodePage.h"
#include "platform/LargeHeap.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "rpgprogram/RoundTripCheck.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvale::cli {

namespace {

constexpr const char* ImportHelp =
    "Imports an RPG/400 source member (a text file of fixed-column lines whose name ends in 3, "
    "such as X.RP3) into a program file with its compiled area, by default X.RPG beside it. "
    "A member whose lines begin with the 12 digits of the host's sequence number and change "
    "date is read as dated (--dated and --undated decide it): the statements are read from the "
    "columns after them, and every line keeps its number and date. "
    "Every line keeps the member line it came from, so that a build gives back the lines not "
    "edited exactly as they were. Exits 0 when the program is written, 1 when it is written but "
    "lines of the member are not RPG III specifications (a warning names the first; they are "
    "kept as written), 2 with a one-line message otherwise.";

constexpr const char* BuildHelp =
    "Compiles the sections of a program file whose compiled lines are out of date (all of them "
    "with --all), prints the error list, what the compile found beside it and the totals, "
    "writes the source member (by default the program's name with .RP3; an existing one is "
    "kept as .~P3) in the order of the member it was imported from, and saves the program with "
    "its refreshed compiled area. Lines not edited come back as they were, in every column; an "
    "edited line keeps its tags; new lines get the change tag of the options. A program "
    "imported from a dated member writes a dated member: an unedited line keeps its sequence "
    "number and date; an edited line keeps its number and takes today's date (--today); new "
    "lines take today's date and numbers between their neighbours (the largest step of 1.00, "
    "0.10 or 0.01 that fits them all); a line moved keeps its date and takes a number at its "
    "new place; banner lines are left out where they find no room. Exits 0 when "
    "nothing was reported, 1 when a section reported errors or warnings (with an error no "
    "member is written, since an error line would become a line of it; warning lines are left "
    "out of it), 2 when a file cannot be read or written or the program file is damaged (then "
    "nothing is written).";

constexpr const char* CheckHelp =
    "Imports each member in memory, builds it back with every compile option on and compares "
    "the result with the member line by line, in order and in every column (trailing blanks "
    "aside); the banner lines the build adds are left out. Prints one line per member, the "
    "first differing lines indented below it, and a total line 'N passed, M failed'. Exits 0 "
    "when every member came back, 1 when any line differs, 2 when a member cannot be read.";

constexpr const char* XrefHelp =
    "Prints the indicator cross-reference of a program file: for every indicator of a group "
    "that the program uses, the section, line, column and text of its first use. All five "
    "groups unless --group names one.";

int Fail(const std::string& message) {
    std::cerr << "orvale-cli: " << message << '\n';
    return Failure;
}

std::string LoginName() {
    if (const passwd* entry = ::getpwuid(::geteuid()))
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

bool IsMemberName(const std::string& path) {
    return !path.empty() && path.back() == '3';
}

std::string NotMember(const std::string& path) {
    return path + ": not an RPG III member (its name must end in 3)";
}

// A program document that lives to the end of the process. Freeing a large program string by
// string takes as long as a good part of its import, and the process ends right after the
// command; the pointer stays reachable, so leak checkers do not count it. It is volatile
// because nothing reads it: the optimiser would otherwise drop the store, and the program
// with it from the leak checker's view.
TRPGProgram* volatile LastProgram = nullptr;
TRPGProgram& ProgramForCommand(Prompter& box) {
    LastProgram = new TRPGProgram(box);
    return *LastProgram;
}

// The compile options: the options file's or the defaults, then each flag that was given.
struct CompilerSettings {
    struct Switch {
        const char* Flags;
        bool TFormGenRPG::*Field;
        const char* Help;
        bool Value = true;
        CLI::Option* Given = nullptr;
    };

    std::string OptionsFile;
    std::string Prefix;
    int TabSpaces = 0; // 0: the options file's or the default
    std::vector<Switch> Switches;

    // Fills Form and the tab width; false with Error when the options file cannot be read.
    bool Resolve(TFormGenRPG& form, int& tabSpaces, std::string& error) const {
        TOptions options;
        if (!OptionsFile.empty()) {
            if (!FileExists(OptionsFile)) {
                error = OptionsFile + ": No such file or directory";
                return false;
            }
            if (!LoadOptionsFile(OptionsFile, options, form, &error))
                return false;
        }
        tabSpaces = TabSpaces > 0 ? TabSpaces : options.Editor.TabSpaces;
        for (const Switch& s : Switches)
            if (s.Given && s.Given->count() > 0)
                form.*s.Field = s.Value;
        if (!Prefix.empty())
            form.EditPrefix = Prefix;
        return true;
    }
};

enum OptionSet { ImportOptions, BuildOptions };

void AddCompilerOptions(CLI::App* command, CompilerSettings& settings, OptionSet set) {
    command->add_option("--options", settings.OptionsFile,
                        "Options file (Orvale.DEF) whose \"Compiler Options\" are used instead "
                        "of the defaults");
    command
        ->add_option("--prefix", settings.Prefix,
                     "Indicator prefix of banner lines and non-standard data indicators, 1 or "
                     "2 characters (default &%)")
        ->check([](const std::string& text) {
            return text.empty() || text.size() > 2 ? std::string("1 or 2 characters")
                                                   : std::string();
        });
    if (set == ImportOptions)
        command
            ->add_option("--tab-spaces", settings.TabSpaces,
                         "Indentation of nested calculation blocks, 2 to 10 (default 2)")
            ->check(CLI::Range(2, 10));
    using F = TFormGenRPG;
    if (set == BuildOptions)
        settings.Switches = {
            {"--prg-prop,!--no-prg-prop", &F::PrgProp, "Program properties in the source"},
            {"--prg-desc,!--no-prg-desc", &F::PrgDesc, "Program description in the source"},
            {"--prg-hist,!--no-prg-hist", &F::PrgHist, "History log in the source"},
            {"--pre-comp,!--no-pre-comp", &F::PreComp, "Pre-compiler directives in the source"},
            {"--sec-desc,!--no-sec-desc", &F::SDesc, "Section description banner lines"},
            {"--crt-date,!--no-crt-date", &F::CDate, "Creation date banner lines"},
            {"--upd-date,!--no-upd-date", &F::UDate, "Last update banner lines"},
            {"--line-comm,!--no-line-comm", &F::LComm, "Banner frames and comment lines"},
            {"--code-comm,!--no-code-comm", &F::CComm, "Trailing comments of statements"},
            {"--blank-lines,!--no-blank-lines", &F::BLines, "Empty lines as comment lines"},
            {"--load-comp,!--no-load-comp", &F::LoadComp,
             "Read the compiled lines kept in the program file"},
        };
    settings.Switches.push_back({"--save-comp,!--no-save-comp", &F::SaveComp,
                                 "Keep the compiled lines in the program file"});
    for (CompilerSettings::Switch& s : settings.Switches)
        s.Given = command->add_flag(s.Flags, s.Value, s.Help);
}

// The progress of a large import as a bar on a terminal's standard error.
class ProgressBar : public ImportProgress {
public:
    static constexpr int kLargeMember = 20000; // lines

    void SetMaximum(int maximum) override {
        Maximum = maximum;
        Shown = Maximum >= kLargeMember && ::isatty(STDERR_FILENO);
    }
    void SetPosition(int position) override {
        if (!Shown || Maximum <= 0)
            return;
        int percent = static_cast<int>(100LL * position / Maximum);
        if (percent == Percent)
            return;
        Percent = percent;
        int filled = percent / 4;
        std::cerr << "\rimporting " << std::string(static_cast<size_t>(filled), '#')
                  << std::string(static_cast<size_t>(25 - filled), '.') << ' ' << percent << "% of "
                  << Maximum << " lines" << std::flush;
    }
    void SetCaption(const std::string&) override {}
    void ProcessMessages() override {}

    void Finish() {
        if (Shown && Percent >= 0)
            std::cerr << "\r\033[K" << std::flush;
    }

private:
    int Maximum = 0;
    int Percent = -1;
    bool Shown = false;
};

// The totals and error list of a build, on standard output.
class StatisticsPrinter : public CompileStatistics {
public:
    int Compiled = 0;
    std::string TotalLines = "0", Warnings = "0", Errors = "0";

    void SetSectionLines(const std::string&) override { ++Compiled; }
    void SetTotalLines(const std::string& text) override { TotalLines = text; }
    void SetWarnings(const std::string& text) override { Warnings = text; }
    void SetErrors(const std::string& text) override { Errors = text; }
    void AddErrorLine(const std::string& line) override { std::cout << line << '\n'; }
    void ProcessMessages() override {}
};

struct ImportArgs {
    std::string Member, Output, User, CodePage;
    bool Dated = false, Undated = false;
    CompilerSettings Settings;
};

std::string JoinedCodePages() {
    std::string names;
    for (const std::string& name : orvale::CodePage::Offered())
        names += (names.empty() ? "" : ", ") + name;
    return names;
}

int RunImport(const ImportArgs& a) {
    static TFormGenRPG form; // read by the program to the end
    int tabSpaces = 2;
    std::string error;
    if (!a.Settings.Resolve(form, tabSpaces, error))
        return Fail(error);
    if (!IsMemberName(a.Member))
        return Fail(NotMember(a.Member));
    // An imported program takes six to seven times the member's size in memory, and its save
    // a little more.
    ReserveHeap(8 * FileSize(a.Member));
    static CountingPrompter box(Prompter::Default());
    TRPGProgram& doc = ProgramForCommand(box);
    doc.FormGenRPG = &form;
    doc.TabSpaces = tabSpaces;
    doc.UserName = a.User.empty() ? LoginName() : a.User;
    std::string codePage = orvale::CodePage::Canonical(a.CodePage);
    doc.TextCodePage = codePage == "ISO-8859-1" ? std::string() : codePage;
    // A command keeps no restore points; the memory goes to the member.
    doc.SetUndoOptions(false, false, false);
    doc.ReadDated = a.Dated     ? DatedReading::Dated
                    : a.Undated ? DatedReading::Undated
                                : DatedReading::Auto;
    ProgressBar bar;
    Diagnostics found;
    bool imported = doc.ImportFromFile(a.Member, found, &bar);
    bar.Finish();
    found.ShowIn(box);
    if (!imported)
        return Failure;
    std::string target = a.Output.empty() ? doc.FilePath + doc.FileName : a.Output;
    if (!doc.SaveToFile(target))
        return Failure;
    // The program holds what could be converted; a script must still learn that lines are
    // missing from it.
    return box.Warnings > 0 ? Findings : Success;
}

// Opens a program file for a command; false when it cannot be used (the reason is shown).
bool OpenProgram(TRPGProgram& doc, CountingPrompter& box, const std::string& path) {
    std::string absolute = std::filesystem::absolute(path).string();
    doc.ProgramDir = ExtractFilePath(absolute);
    Diagnostics found;
    bool read = doc.LoadFromFile(path, found);
    found.ShowIn(box);
    if (!read)
        return false;
    if (box.Errors > 0) {
        Fail(path + ": not a program file, or a damaged one");
        return false;
    }
    // Only the sections before the damage were read: a build would write a member without
    // the others and save the program over the file that still holds them.
    if (!doc.ReadWhole) {
        Fail(path + ": a damaged program file, of which only a part could be read; nothing was "
                    "written (open it in Orvale to see what is left)");
        return false;
    }
    return true;
}

struct BuildArgs {
    std::string Program, Output, Today;
    bool All = false, Renumber = false;
    CompilerSettings Settings;
};

int RunBuild(const BuildArgs& a) {
    static TFormGenRPG form; // read by the program to the end
    int tabSpaces = 2;
    std::string error;
    if (!a.Settings.Resolve(form, tabSpaces, error))
        return Fail(error);
    // A build of every section never reads the compiled lines kept in the file: they are not
    // loaded at all, which spares holding a second copy of the member.
    if (a.All)
        form.LoadComp = false;
    if (!a.Today.empty())
        form.ChangeDate = a.Today;
    if (a.Renumber)
        form.RenumberDated = true;
    // An opened program takes about twice its file's size, and its build a little more.
    ReserveHeap(3 * FileSize(a.Program));
    static CountingPrompter box(Prompter::Default());
    TRPGProgram& doc = ProgramForCommand(box);
    doc.FormGenRPG = &form;
    doc.TabSpaces = tabSpaces;
    doc.UserName = LoginName();
    doc.SetUndoOptions(false, false, false);
    // The program file is saved again for the compiled lines it keeps, which come out the
    // same when nothing was edited since the last build.
    doc.SkipUnchangedSave = true;
    if (!OpenProgram(doc, box, a.Program))
        return Failure;
    // A damaged compiled area is rebuilt from the tree, but the build is not a clean one.
    const int openWarnings = box.Warnings;
    // Nothing stops a build of the tool once begun, so a second thread may compile ahead.
    doc.CompileAhead = true;
    StatisticsPrinter statistics;
    bool clean = doc.CompileAllSections(a.All, &statistics);
    // What the compile found that is no line of the member (a data block of another size than
    // its table declares).
    doc.ForEachNode([](TreeNode* n) {
        if (const TEDITSection* s = n->Section())
            for (const std::string& note : s->CompileNotes)
                std::cout << s->Properties.Name << ": " << note << '\n';
        return true;
    });
    std::cout << "Sections compiled: " << statistics.Compiled
              << "  Lines: " << statistics.TotalLines << "  Warnings: " << statistics.Warnings
              << "  Errors: " << statistics.Errors << '\n';
    std::string target = a.Output.empty() ? ChangeFileExt(a.Program, ".RP3") : a.Output;
    // A member holding an error line is not written (its compiled lines are still kept).
    std::vector<std::string> failed = SectionsWithDiagnostics(doc.SourceRuns(), true);
    if (!failed.empty())
        std::cerr << ChangeFileExt(a.Program, ".RP3") << ": " << NotWrittenMessage(failed) << '\n';
    else if (!doc.WriteSource(target))
        return Failure;
    // The compiled lines are kept in the program file only when that option is on.
    // A dated member's lines take what was written as their member lines: kept with the program,
    // or the next build would date them again.
    bool keep = (statistics.Compiled > 0 && form.SaveComp) || (doc.Dated && doc.Modified);
    if (keep && !doc.SaveToFile(a.Program))
        return Failure;
    return clean && openWarnings == 0 ? Success : Findings;
}

struct CheckArgs {
    std::vector<std::string> Members;
    std::string Prefix = "&%";
    int TabSpaces = 2;
    int Show = 5;
};

void PrintDifferences(const TRoundTripReport& report, int limit) {
    int shown = 0;
    for (const calvex::LineDifference& d : report.Differences) {
        if (shown++ == limit) {
            std::cout << "  ... " << report.Differences.size() - static_cast<size_t>(limit)
                      << " more\n";
            return;
        }
        if (d.SourceIndex < 0)
            std::cout << "  a line the member does not have\n";
        else
            std::cout << "  line " << d.SourceIndex + 1 << "\n    member: [" << d.Source << "]\n";
        std::cout << "    built:  [" << d.Compiled << "]\n";
    }
}

int RunCheck(const CheckArgs& a) {
    int passed = 0, failed = 0;
    long long lines = 0, unchanged = 0;
    bool unreadable = false;
    for (const std::string& member : a.Members) {
        TRoundTripReport report =
            CheckMemberRoundTrip(member, a.Prefix, a.TabSpaces, Prompter::Default());
        if (!report.Checked) {
            Fail(report.Error);
            std::cout << member << ": failed, not checked\n";
            ++failed;
            unreadable = true;
            continue;
        }
        lines += report.Lines;
        unchanged += report.Unchanged;
        if (report.Passed())
            ++passed;
        else
            ++failed;
        std::cout << member << ": " << (report.Passed() ? "passed" : "failed") << ", "
                  << report.Unchanged << " of " << report.Lines << " lines unchanged";
        if (report.CompileErrors + report.CompileWarnings > 0)
            std::cout << ", the compile reported " << report.CompileErrors << " errors and "
                      << report.CompileWarnings << " warnings";
        std::cout << '\n';
        PrintDifferences(report, a.Show);
    }
    std::cout << passed << " passed, " << failed << " failed (" << unchanged << " of " << lines
              << " lines unchanged)\n";
    if (unreadable)
        return Failure;
    return failed > 0 ? Findings : Success;
}

struct XrefArgs {
    std::string Program, Group;
};

int RunXref(const XrefArgs& a) {
    TFormGenRPG form;
    form.LoadComp = false; // the report reads the statements only
    CountingPrompter box(Prompter::Default());
    TRPGProgram doc(box);
    doc.FormGenRPG = &form;
    doc.SetUndoOptions(false, false, false);
    if (!OpenProgram(doc, box, a.Program))
        return Failure;
    struct Row {
        std::string Group;
        TFlagUse Use;
    };
    std::vector<Row> rows;
    for (const char* group : kFlagGroups)
        if (a.Group.empty() || a.Group == group)
            for (TFlagUse& use : doc.FlagUses(group))
                rows.push_back({group, std::move(use)});
    size_t sectionWidth = 7;
    for (const Row& row : rows)
        sectionWidth = std::max(sectionWidth, row.Use.Node->Text.size());
    auto pad = [](std::string text, size_t width) {
        if (text.size() < width)
            text.append(width - text.size(), ' ');
        return text;
    };
    auto right = [](std::string text, size_t width) {
        return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
    };
    std::cout << pad("Group", 11) << "  Flag  " << pad("Section", sectionWidth)
              << "   Line  Col.  Code\n";
    for (const Row& row : rows) {
        const TEDITSection* section = row.Use.Node->Section();
        std::string code(TrimRightView(section->GetLine(row.Use.Line)));
        std::cout << pad(row.Group, 11) << "  " << pad(row.Use.Flag, 4) << "  "
                  << pad(row.Use.Node->Text, sectionWidth) << "  "
                  << right(std::to_string(row.Use.Line + 1), 5) << "  "
                  << right(std::to_string(row.Use.Column), 4) << "  " << code << '\n';
    }
    return Success;
}

} // namespace

void AddProgramCommands(CLI::App& app, int& status) {
    auto import = std::make_shared<ImportArgs>();
    auto* importCommand = app.add_subcommand("import", ImportHelp);
    importCommand->add_option("MEMBER", import->Member, "Source member (.RP3)")->required();
    importCommand->add_option("-o,--output", import->Output,
                              "Program file to write (default: the member's name with .RPG)");
    importCommand->add_option("--user", import->User,
                              "User name for the history log (default: the login name)");
    importCommand
        ->add_option("--codepage", import->CodePage,
                     "Code page of the member's text (default ISO-8859-1), one of: " +
                         JoinedCodePages())
        ->check([](const std::string& name) {
            return orvale::CodePage::Shared(name)
                       ? std::string()
                       : "not a code page this system can convert: " + name;
        });
    auto* dated = importCommand->add_flag(
        "--dated", import->Dated,
        "Read every line as beginning with the 12 digits of its sequence number and change "
        "date (by default a member is read so when every line that reads as a line of it does)");
    importCommand
        ->add_flag("--undated", import->Undated,
                   "Read the lines as they stand, whatever digits they begin with")
        ->excludes(dated);
    AddCompilerOptions(importCommand, import->Settings, ImportOptions);
    importCommand->callback([import, &status] { status = RunImport(*import); });

    auto build = std::make_shared<BuildArgs>();
    auto* buildCommand = app.add_subcommand("build", BuildHelp);
    buildCommand->add_option("PROGRAM", build->Program, "Program file (.RPG)")->required();
    buildCommand->add_option("-o,--output", build->Output,
                             "Source member to write (default: the program's name with .RP3)");
    buildCommand->add_flag("--all", build->All, "Compile every section, not only changed ones");
    buildCommand
        ->add_option("--today", build->Today,
                     "The date YYMMDD that a dated member's changed and new lines take "
                     "(default: today by the clock)")
        ->check([](const std::string& text) {
            return ParseHostDate(text) > 0 ? std::string()
                                           : std::string("6 digits YYMMDD of a calendar day");
        });
    buildCommand->add_flag("--renumber", build->Renumber,
                           "Number a dated member anew from 1.00 by 1.00 when new lines find no "
                           "room between the sequence numbers around them (the dates stay); "
                           "without it such a member is not written");
    AddCompilerOptions(buildCommand, build->Settings, BuildOptions);
    buildCommand->callback([build, &status] { status = RunBuild(*build); });

    auto check = std::make_shared<CheckArgs>();
    auto* checkCommand = app.add_subcommand("check", CheckHelp);
    checkCommand->add_option("MEMBER", check->Members, "Source members (.RP3)")->required();
    checkCommand
        ->add_option("--prefix", check->Prefix, "Indicator prefix, 1 or 2 characters (default &%)")
        ->check([](const std::string& text) {
            return text.empty() || text.size() > 2 ? std::string("1 or 2 characters")
                                                   : std::string();
        });
    checkCommand
        ->add_option("--tab-spaces", check->TabSpaces,
                     "Indentation of nested calculation blocks, 2 to 10 (default 2)")
        ->check(CLI::Range(2, 10));
    checkCommand->add_option("--show", check->Show, "Differing lines listed per member (default 5)")
        ->check(CLI::NonNegativeNumber);
    checkCommand->callback([check, &status] { status = RunCheck(*check); });

    auto xref = std::make_shared<XrefArgs>();
    auto* xrefCommand = app.add_subcommand("xref", XrefHelp);
    xrefCommand->add_option("PROGRAM", xref->Program, "Program file (.RPG)")->required();
    xrefCommand->add_option("--group", xref->Group, "Indicator group")
        ->check(CLI::IsMember(std::vector<std::string>(kFlagGroups.begin(), kFlagGroups.end())));
    xrefCommand->callback([xref, &status] { status = RunXref(*xref); });
}

} // namespace orvale::cli
