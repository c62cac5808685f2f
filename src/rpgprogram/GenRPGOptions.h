#pragma once

#include <string>

// The compiler options of the "Generate RPG/400 Source" form, as plain values. The form
// window holds one of these; the program documents read it. One flag per check box.
struct TFormGenRPG {
    bool PrgProp = true; // compile and include the program properties
    bool PrgDesc = true; // ... the program description
    bool PrgHist = true; // ... the history log
    bool PreComp = true; // ... the pre-compiler directives
    bool SDesc = true;   // section description banner line
    bool CDate = true;   // creation banner line
    bool UDate = true;   // last-update banner line
    bool LComm = true;   // banner frame lines, comment lines compiled
    bool CComm = true;   // trailing comments of statements kept
    bool BLines = true;  // empty lines turned into comment lines
    // Keep each section's compiled lines in the program file / read them back at open.
    bool SaveComp = true;
    bool LoadComp = true;
    // Indicator prefix; an empty text keeps the document's own.
    std::string EditPrefix = "&%";
    // The change tag new lines get in a build (at most 6 characters; none when empty), in
    // columns 75-80 or, with ChangeTagLeft, in columns 1-5.
    std::string ChangeTag;
    bool ChangeTagLeft = false;
    // The date (YYMMDD) a build of a dated member gives the lines it changes; empty: today by
    // the clock.
    std::string ChangeDate;
    // Number a dated member anew from 1.00 by 1.00 when new lines find no room between the
    // numbers of their neighbours (the dates stay); otherwise such a build is not written.
    bool RenumberDated = false;
};
