#pragma once

#include "document/TreeNode.h"

#include <array>
#include <string>

// One row of the indicator cross-reference: where an indicator is first used.
struct TFlagUse {
    std::string Flag;
    TreeNode* Node = nullptr; // the node of the section it was found in
    int Line = 0;             // 0-based line index within the section
    int Column = 0;           // 1-based character position of the match
};

// The texts of the flag group nodes under "All Flags", in tree order.
inline constexpr std::array<const char*, 5> kFlagGroups{"Indicators", "Comm Keys", "Break Level",
                                                        "System Flag", "Output Flag"};
