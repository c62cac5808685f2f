#pragma once

#include "calvex/Calvex.h"
#include "document/EditProgram.h"
#include "rpgprogram/CompileStatistics.h"
#include "rpgprogram/FlagReport.h"
#include "rpgprogram/GenRPGOptions.h"
#include "rpgprogram/ImportProgress.h"
#include "rpgprogram/SectionSearch.h"

#include <optional>
#include <string>
#include <vector>

// The RPG/400 program document: the generic tree-program document with the sections,
// folders and grouping nodes of an RPG program, its default properties, new/open/save of
// ".RPG" files and a compiled-section area in the file that keeps each section's
// fixed-column lines between sessions. Import, build and the flag cross-reference are
// further operations of this class, in their own source files.
//
// Members named like the generic document's replace them for this document only; the generic
// operations keep calling their own versions (closing saves without the compiled area).
// Lines First to End (exclusive) of a section's compiled lines: a stretch of the built source.
struct TSourceRun {
    const TEDITSection* Section = nullptr;
    size_t First = 0;
    size_t End = 0;
};

class TRPGProgram : public TEDITProgram {
public:
    explicit TRPGProgram(orvale::Prompter& prompter);

    TEDITSection ExtensionSection{"Extension", "Extension Specifications"};
    TEDITSection LineCountSection{"Line Count", "Line Count Specifications"};
    TEDITSection InputSection{"Input", "Input Specifications"};
    TEDITSection SpecialSection{"Special", "Special Files"};
    TEDITSection LogicalSection{"Logical", "Disk Logical or Phisical Files"};
    TEDITSection DisplaySection{"Display", "Workstation Display Files"};
    TEDITSection PrinterSection{"Printer", "Printer Files"};
    TEDITSection InitSubRoutineSection{"Init SubRoutine", "Initialisation Routine"};
    TEDITFolder ArraysFolder{"Arrays", "Folder of the Arrays"};
    TEDITFolder OutputFolder{"OutPut", "Folder of the Output Specifications"};
    // Names defined by the pre-compiler directives (build).
    StringList PreCompilerNames;
    // Names filled by the conversion library during import; the assembled source in a build.
    StringList NameList;
    TCompileOptions CompileOptions{};
    TreeNode* ArraysNode = nullptr;
    TreeNode* FilesNode = nullptr;
    TreeNode* OutputNode = nullptr;
    TreeNode* AllFlagsNode = nullptr;
    // Indentation width of nested calculation blocks, from the window.
    int TabSpaces = 2;
    bool ImportCancelled = false;
    bool CompileStopRequested = false;
    // A second thread compiles sections from the last one back while CompileAllSections goes
    // from the first, for a caller that never stops a build (the command-line tool): a stop
    // would find sections past it compiled already. The counts and error lines still come in
    // the order of the sections.
    bool CompileAhead = false;
    // The compiler-options form the window hands in; none means all defaults.
    TFormGenRPG* FormGenRPG = nullptr;
    std::string IndicatorPrefix = "&%";
    // The program directory, with its trailing separator.
    std::string ProgramDir;

    const TFormGenRPG& Options() const;

    // Rebuilds the whole RPG tree, selects the root and makes it the current node.
    void BuildTree();
    void InitProperties(const std::string& sourceLib, const std::string& sourceFile);
    // Turns the document into a new, unnamed program; false when closing the open one was
    // cancelled (or its save failed), leaving it as it was.
    bool NewProgram();
    // Opens a program file; false when it cannot be read. What the file holds that is wrong goes
    // to Found, for the window to show.
    bool LoadFromFile(const std::string& fileName, orvale::Diagnostics& found);
    // Both return FilePath + FileName as they stand afterwards.
    std::string Save();
    std::string SaveAs();
    // Writes the tree text, the compiled area when SaveComp is on, and the line origins.
    bool SaveToFile(const std::string& fileName);

    TEDITSection* AddArray(const std::string& name, const std::string& description);
    TEDITSection* AddOutput(const std::string& name, const std::string& description);
    void DeleteArray(const std::string& name) { DeleteSectionByName(ArraysNode, name); }
    void DeleteOutput(const std::string& name) { DeleteSectionByName(OutputNode, name); }
    void DeleteSelectedArray() { DeleteSelectedSection(ArraysNode); }
    void DeleteSelectedOutput() { DeleteSelectedSection(OutputNode); }

    void ShowSelected();
    // Fills the object list with the cross-reference of one flag group node.
    void ShowFlagReport(TreeNode* groupNode);

    // One of the fixed sections that this document adds to the generic ones.
    bool IsRpgSection(const TEDITSection* section) const;

    // -- Import of an RPG/400 source member (RPGImport.cpp)
    // Reads the member and converts it into the sections; the document ends up modified and
    // named after the member with ".RPG". False when nothing was converted: a file that cannot
    // be read (the document is left as it was) or a name that does not end in "3" (the
    // document keeps its empty layout); Found says why, and what the member holds that could
    // not be converted.
    bool ImportFromFile(const std::string& fileName, orvale::Diagnostics& found,
                        orvale::ImportProgress* progress = nullptr);
    // The conversion proper over SourceLines, whose lines are moved into the statements'
    // origins (SourceLines is left holding empty lines).
    void ConvertSourceLines(orvale::ImportProgress* progress, orvale::Diagnostics& found);
    void ShowImportProgress(int index, orvale::ImportProgress* progress);
    // Converts the extension lines of every run that starts at Starts, with the compile-time
    // data that starts at Data, filling NameList with the arrays to create.
    void ConvertExtensionRuns(const std::vector<int>& starts, int data, const std::string& prefix);
    // Keeps member line Index, which no conversion takes, as a raw statement of the section
    // that took the lines before it.
    void CarryLine(int index);
    // Gives each origin left without its text during the walks its member line, moving the
    // line out of SourceLines: the member is not read again once the walks are done.
    void TakeOriginTexts();
    // Gives each line of a dated member its record (from SourceRecords, by its place).
    void TakeRecords();
    // How the next import reads a member whose lines may begin with the host's records.
    DatedReading ReadDated = DatedReading::Auto;
    // The records of the member being imported, by line (none for an undated member).
    std::vector<HostRecord> SourceRecords;
    // The dates of a member built on another machine: one warning for those no format reads
    // (they keep their text), and the history log's moments in the current formats.
    void ReadMemberDates(orvale::Diagnostics& found);

    // -- Build into RPG/400 source (RPGBuild.cpp)
    // Reads the pre-compiler definitions, the indicator prefix and the compile options.
    void ReadCompileOptions();
    // Compiles the section the node carries; a node whose section is not compiled (a folder,
    // or a program-level section whose option is off) leaves Result empty.
    void CompileSection(TreeNode* node, bool batch, TCompileResult& result);
    // Compiles every section (or only those whose compiled lines are out of date); true when
    // no compiled section reported a warning or an error and no stop was requested.
    bool CompileAllSections(bool all, orvale::CompileStatistics* statistics = nullptr);
    // Fills NameList with the whole source.
    void AssembleSource();
    // Assembles the source and writes it, keeping the old file as a backup; false (after an
    // error box) when it cannot be written.
    bool WriteSource(const std::string& fileName);
    // The dated member of a program imported from one (WriteSource), numbered and dated by
    // the rules of SequencePlan; false (after an error box) when it is not written, as when new
    // lines find no room between the numbers of their neighbours and renumbering was not agreed.
    bool WriteDatedSource(const std::vector<TSourceRun>& runs, const std::string& fileName);
    // The lines WriteDatedSource would write, without writing them (the lines keep their
    // member lines); false (after an error box) when it would write none.
    bool DatedSourceLines(StringList& lines);
    // The date a build gives the lines it changes: the options' change date, or the clock's.
    std::int32_t ChangeDateOfBuild() const;
    // When new lines of a dated member find no room, ask the user whether to renumber it (a
    // window sets it; a command goes by the options alone).
    bool AskToRenumber = false;
    // The sections whose compiled lines make up the source, in the program's layout.
    std::vector<const TEDITSection*> SourceOrder() const;
    // The stretches of compiled lines that make up the source, in the order they are written
    // (SourceOrder.cpp): the member's order of the lines they came from.
    std::vector<TSourceRun> SourceRuns() const;

    // -- Indicator and flag cross-reference (FlagReport.cpp)
    // The first use of Text in tree order, among the sections the report searches; none when
    // there is none. Line is 0-based, Column 1-based.
    TreeNode* FindFirstFlagUse(const std::string& text, bool definitionMode, bool includeOutput,
                               bool includeFiles, int& line, int& column) const;
    // The rows of the cross-reference of the group node with that text, in report order.
    std::vector<TFlagUse> FlagUses(const std::string& groupText) const;
    void AddFlagRow(const std::string& flag, TreeNode* node, int column, int line, int image);

    // -- Find across sections (SectionSearch.cpp)
    // Walks the sections after Start in tree order to the first whose text holds the searched
    // text and counts for the search (the program properties and the history log never do),
    // commits the editor's pending text and selects that node for the window to show. None when
    // no later section qualifies: the walk does not wrap around to the top.
    TreeNode* FindNextSection(const TSectionSearch& search, TreeNode* start);
    // A match in one of the three folders counts only when the search includes that folder.
    bool SearchCounts(const TreeNode* node, const TSectionSearch& search) const;
};

// Whether compiled line K of S is an error or warning line of the compile rather than a line
// of the member.
bool IsDiagnosticLine(const TEDITSection& s, size_t k);
// The names of the sections of Runs that hold error lines (ErrorsOnly) or any diagnostic line.
std::vector<std::string> SectionsWithDiagnostics(const std::vector<TSourceRun>& runs,
                                                 bool errorsOnly);
// "The source was not written" naming Sections.
std::string NotWrittenMessage(const std::vector<std::string>& sections);
// Gives the compiled lines of the statements S's member did not have (new lines) the user's
// change tag, in columns 75-80 or (LeftColumns) 1-5.
void ApplyChangeTag(TEDITSection& s, const std::string& tag, bool leftColumns);
