// The indicator and flag cross-reference of the "All Flags" group nodes.

#include "RPGProgram.h"

// PLACEHOLDER, to be replaced by the cross-reference itself: for now a group node shows an
// empty object list.
void TRPGProgram::ShowFlagReport(TreeNode* groupNode) {
    (void)groupNode;
    if (View)
        View->ClearObjectList();
}
