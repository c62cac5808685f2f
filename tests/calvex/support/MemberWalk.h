#pragma once

// A stand-in for the program document in the library's tests: the sections of one program,
// filled by walking a member through the Convert functions in the import's order, and compiled
// back and assembled in the build's order.

#include "calvex/Calvex.h"
#include "document/TreeNode.h"

#include <memory>
#include <string>
#include <vector>

namespace calvex::test {

struct MemberSections {
    MemberSections();

    TEDITSection Property{"Property", "Program's Properties"};
    TEDITSection Description{"Description", "Program's Description"};
    TEDITSection History{"History", "Program's History"};
    TEDITSection PreCompiler{"Pre Compiler", "Pre Compiler Instructions"};
    TEDITSection Header{"Header", "Header's Specifications"};
    TEDITSection Logical{"Logical", "Disk Logical or Phisical Files"};
    TEDITSection Display{"Display", "Workstation Display Files"};
    TEDITSection Printer{"Printer", "Printer Files"};
    TEDITSection Special{"Special", "Special Files"};
    TEDITSection Extension{"Extension", "Extension Specifications"};
    TEDITSection LineCount{"Line Count", "Line Count Specifications"};
    TEDITSection Input{"Input", "Input Specifications"};
    TEDITSection MainRoutine{"Main Routine", "Program's Main Routine"};
    TEDITSection InitSubRoutine{"Init SubRoutine", "Initialisation Routine"};
    std::vector<std::unique_ptr<TEDITSection>> SubRoutines;
    std::vector<std::unique_ptr<TEDITSection>> Outputs;
    std::vector<std::unique_ptr<TEDITSection>> Arrays;
    // The subroutine sections, the initialisation subroutine included, in member order.
    std::vector<TEDITSection*> SubRoutineOrder;
    // The arrays folder's node, whose children name the array sections.
    TreeNode ArraysNode{"Arrays"};

    // Every section in the build's order.
    std::vector<TEDITSection*> BuildOrder();
    // The same, with the initialisation subroutine among the other subroutines where the
    // member had it.
    std::vector<TEDITSection*> MemberOrder();
    // The form type a section compiles as; '\0' for an array, 'S' for a program-level section.
    char FormTypeOf(const TEDITSection* section) const;
    TEDITSection& AddArray(const std::string& name);
};

// Walks Member through the Convert functions: passes of header, files, (extension skipped),
// line counter, input, calculations with their subroutines, and output; then the extension and
// the arrays.
void ImportMember(const StringList& member, MemberSections& sections,
                  const std::string& prefix = "&%", int tabSpaces = 2);

// All compile options on, prefix "&%".
TCompileOptions AllOptions(const std::string& prefix = "&%");

struct BuildTotals {
    int Warnings = 0;
    int Errors = 0;
};

// Compiles every section with the options, silently.
BuildTotals CompileAll(MemberSections& sections, const TCompileOptions& options);

// The compiled lines of the sections, in the given order.
StringList Assemble(const std::vector<TEDITSection*>& order);
// The compiled lines of the sections, each at the place in the member of the line it came from,
// as the program's build orders them.
StringList AssembleByPlace(const std::vector<TEDITSection*>& order);

// The lines of a member read from a file (any line ends, no final one needed).
StringList ReadMember(const std::string& path);

} // namespace calvex::test
