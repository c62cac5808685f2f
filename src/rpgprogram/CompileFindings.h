#pragma once

// The errors and warnings of the last compile, each tied to the statement it came from, so
// that the editor can mark the statement and the user can step from one to the next.

#include <string>
#include <string_view>
#include <vector>

class TRPGProgram;
class TreeNode;

struct TCompileFinding {
    TreeNode* Node = nullptr;
    int CompiledLine = 0; // index into the section's compiled lines
    int Statement = -1;   // index into its text lines; -1 when no statement is known
    bool Error = false;   // an error; a warning otherwise
    std::string Message;  // the compiled line without its leading blanks
};

// "**ERROR" and "**WARNING" lines of compiled text.
bool IsCompileError(std::string_view compiledLine);
bool IsCompileWarning(std::string_view compiledLine);

// For each compiled line of the section, the index of the text line it came from (-1 for
// banner lines and lines no statement wrote). Uses the record the compile keeps when there is
// one; otherwise the lines are counted as the compile writes them: the banner first, then for
// every statement its messages and its line, with empty and comment lines left out as the
// compile options of the last compile said.
std::vector<int> CompiledStatements(const TRPGProgram& doc, const TreeNode* node);

// The findings of one section, in compiled order; none when its compiled lines are not current.
std::vector<TCompileFinding> SectionFindings(const TRPGProgram& doc, TreeNode* node);
// The findings of every section, in tree order.
std::vector<TCompileFinding> ProgramFindings(const TRPGProgram& doc);

// The finding to go to from (Node, Line) in the direction Step (+1 next, -1 previous): the
// first one after / before that place in tree and line order, wrapping around at the ends.
// Current is the finding gone to last (-1 for none): while the place is still its statement,
// the step goes on from it. -1 when there are no findings.
int StepFinding(const TRPGProgram& doc, const std::vector<TCompileFinding>& findings,
                const TreeNode* node, int line, int step, int current = -1);
