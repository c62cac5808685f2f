// The member import: any text taken as an RPG/400 source member and imported into an RPG
// document, which walks it through every Convert function in the import's order. The program
// so made is built back (every section compiled, the source assembled), its indicator
// cross-reference taken for every group, and the member it built imported once more. An import
// that loops without end shows as a timeout.

#include "support/FuzzInput.h"
#include "support/QuietPrompter.h"
#include "support/ScratchDir.h"

#include "rpgprogram/FlagReport.h"
#include "rpgprogram/RPGProgram.h"

#include <cstdint>
#include <string>

using orvale::fuzz::QuietPrompter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::SilenceDefaultPrompter();
    std::string member = orvale::fuzz::WriteScratchFile(
        "FUZZ.RP3", std::string_view(reinterpret_cast<const char*>(data), size));

    QuietPrompter box;
    TRPGProgram doc(box);
    FUZZ_CHECK(doc.ImportFromFile(member));
    FUZZ_CHECK(doc.SourceLines.empty());
    doc.CompileAllSections(true);
    doc.AssembleSource();
    for (const char* group : kFlagGroups)
        doc.FlagUses(group);

    QuietPrompter box2;
    TRPGProgram again(box2);
    again.SourceLines = doc.NameList;
    again.BuildTree();
    again.ConvertSourceLines(nullptr);
    return 0;
}
