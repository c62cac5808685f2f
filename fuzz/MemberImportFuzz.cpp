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
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // A member with a zero byte is refused with one error and the document is not opened; the
    // text before the byte is then walked like any other member.
    if (size_t zero = text.find('\0'); zero != std::string_view::npos) {
        QuietPrompter box;
        TRPGProgram doc(box);
        orvale::Diagnostics refused;
        FUZZ_CHECK(!doc.ImportFromFile(orvale::fuzz::WriteScratchFile("FUZZ.RP3", text), refused));
        FUZZ_CHECK(refused.All().size() == 1 && refused.Errors() == 1 && !doc.Opened);
        FUZZ_CHECK(box.Shown == 0);
        text = text.substr(0, zero);
    }
    std::string member = orvale::fuzz::WriteScratchFile("FUZZ.RP3", text);

    QuietPrompter box;
    TRPGProgram doc(box);
    orvale::Diagnostics found;
    // A member that shows a line only RPG IV has is refused with one error naming the line,
    // and the document is not opened; any other text is imported without an error.
    if (!doc.ImportFromFile(member, found)) {
        FUZZ_CHECK(found.All().size() == 1 && found.Errors() == 1 && !doc.Opened);
        FUZZ_CHECK(
            found.All().front().Text.starts_with("ERROR: FUZZ.RP3 is an RPG IV member: line "));
        FUZZ_CHECK(box.Shown == 0);
        return 0;
    }
    FUZZ_CHECK(found.Errors() == 0);
    FUZZ_CHECK(doc.SourceLines.empty());
    doc.CompileAllSections(true);
    doc.AssembleSource();
    for (const char* group : kFlagGroups)
        doc.FlagUses(group);

    QuietPrompter box2;
    TRPGProgram again(box2);
    again.SourceLines = doc.NameList;
    again.BuildTree();
    orvale::Diagnostics foundAgain;
    again.ConvertSourceLines(nullptr, foundAgain);
    return 0;
}
