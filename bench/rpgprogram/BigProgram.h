#pragma once

// The large program file that loading and saving are timed on.

#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"
#include "support/TempDir.h"

#include <string>

namespace orvale::bench {

inline constexpr int kLinesPerRoutine = 40;

// Writes a program of about Lines file lines, in subroutines of forty lines each with its
// compiled lines, and returns its path.
inline std::string MakeProgram(const orvale::test::TempDir& dir, int lines) {
    orvale::ScriptedPrompter box;
    TRPGProgram doc(box);
    doc.NewProgram();
    int routines = lines / (2 * kLinesPerRoutine + 14);
    for (int r = 0; r < routines; ++r) {
        std::string name = "SR" + std::to_string(r);
        TEDITSection* s = doc.AddSubRoutine(name, "Routine " + name);
        StringList text;
        text.reserve(kLinesPerRoutine);
        text.push_back("                Begsr(" + name + ")");
        for (int i = 2; i < kLinesPerRoutine; ++i)
            text.push_back("                  ADD(TOTAL " + std::to_string(i) + " TOTAL)");
        text.push_back("                Endsr()");
        s->AssignLines(std::move(text));
        s->AssignCompiled(
            StringList(kLinesPerRoutine,
                       "     C                     ADD  1         TOTAL            " + name));
        s->CompiledValid = true;
    }
    std::string path = dir.File("BIG.RPG");
    doc.SaveToFile(path);
    return path;
}

} // namespace orvale::bench
