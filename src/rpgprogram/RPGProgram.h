#pragma once

#include "calvex/Calvex.h"
#include "document/EditProgram.h"
#include "rpgprogram/GenRPGOptions.h"

#include <string>

// The RPG/400 program document: the generic tree-program document with the sections,
// folders and grouping nodes of an RPG program, its default properties, new/open/save of
// ".RPG" files and a compiled-section area in the file that keeps each section's
// fixed-column lines between sessions. Import, build and the flag cross-reference are
// further operations of this class, in their own source files.
//
// Members named like the generic document's replace them for this document only; the generic
// operations keep calling their own versions (closing saves without the compiled area).
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
    // Opens a program file; false (after an error box) when it cannot be read.
    bool LoadFromFile(const std::string& fileName);
    // Both return FilePath + FileName as they stand afterwards.
    std::string Save();
    std::string SaveAs();
    // Writes the tree text and, when SaveComp is on, the compiled area.
    bool SaveToFile(const std::string& fileName);
    void WriteCompiledBlocks();
    void ReadCompiledBlocks(int start);

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
};

inline constexpr const char* kBeginOfCompiled = "[Begin Of Compiled Section]";
inline constexpr const char* kEndOfCompiled = "[End Of Compiled Section]";
