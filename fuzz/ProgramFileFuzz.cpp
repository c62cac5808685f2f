// The program-file reader: any bytes opened as a ".RPG" file, tree part, compiled area and line
// origins, into an RPG document. What it read is written back and opened again, which must then
// read without a complaint and write the very same text: a file the program wrote itself has to
// open cleanly. Opened without keeping its text, the same file must give the same document.

#include "support/FuzzInput.h"
#include "support/QuietPrompter.h"
#include "support/ScratchDir.h"

#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/FakeProgramView.h"

#include <cstdint>
#include <cstdio>
#include <string>

using orvale::fuzz::QuietPrompter;

namespace {

StringList WrittenText(TRPGProgram& doc) {
    StringList text;
    ProgramTextWriter out(text);
    WriteTreeText(doc, out);
    WriteCompiledArea(doc, out);
    WriteOriginArea(doc, out, true);
    return text;
}

// The text with every date-time line masked: a moment the file does not give is the time the
// section was made, which differs between two documents read a second apart.
StringList WithoutMoments(StringList text) {
    const orvale::RegionalSettings& regional = orvale::RegionalSettings::Current();
    for (std::string& line : text)
        if (line.size() > 2 && line.front() == '[' && line.back() == ']' &&
            regional.ParseDateTime(std::string_view(line).substr(1, line.size() - 2)))
            line = "[moment]";
    return text;
}

// A text the file format cannot carry back, whatever the reader does: a folder child named
// like the folder marker reads back as a folder block.
bool ReadsBackAmbiguously(const TRPGProgram& doc) {
    bool ambiguous = false;
    doc.ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section())
            ambiguous = s->Properties.Name == "SectionFolder";
        return !ambiguous;
    });
    return ambiguous;
}

// What reading back a text this program wrote may find: nothing, or the warning of the dates it
// keeps as their text because no format reads them.
bool ReadsBackCleanly(const TRPGProgram& doc, const orvale::Diagnostics& found) {
    int kept = 0;
    doc.ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section())
            kept +=
                !s->Properties.UnreadCreatedOn.empty() + !s->Properties.UnreadLastUpdate.empty();
        return true;
    });
    if (kept == 0)
        return found.Empty();
    return found.All() == std::vector<orvale::Diagnostic>{
                              {orvale::Diagnostic::Kind::Warning, UnreadDatesWarning(kept)}};
}

// Shows the text that did not read back cleanly before the run is ended.
void Report(const StringList& text, const orvale::Diagnostics& found) {
    std::fprintf(stderr, "written text (%zu lines), read back with %zu diagnostics, first: %s\n",
                 text.size(), found.All().size(),
                 found.Empty() ? "" : found.All().front().Text.c_str());
    for (size_t k = 0; k < text.size(); ++k)
        std::fprintf(stderr, "%4zu|%s\n", k, text[k].c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::SilenceDefaultPrompter();
    std::string path = orvale::fuzz::WriteScratchFile(
        "FUZZ.RPG", std::string_view(reinterpret_cast<const char*>(data), size));

    QuietPrompter box;
    orvale::test::FakeProgramView view;
    TRPGProgram doc(box);
    doc.BindView(&view);
    orvale::Diagnostics found;
    if (!doc.LoadFromFile(path, found))
        return 0;
    StringList first = WrittenText(doc);

    // Opening without keeping the file text moves the lines out of it instead of copying
    // them: the document must come out the same, damage and messages included.
    QuietPrompter movedBox;
    TRPGProgram moved(movedBox);
    moved.KeepOpen = false;
    orvale::Diagnostics movedFound;
    FUZZ_CHECK(moved.LoadFromFile(path, movedFound));
    FUZZ_CHECK(movedFound.All() == found.All());
    FUZZ_CHECK(WithoutMoments(WrittenText(moved)) == WithoutMoments(first));

    if (ReadsBackAmbiguously(doc))
        return 0;

    std::string again = orvale::fuzz::WriteScratchFile("AGAIN.RPG", orvale::JoinTextLines(first));
    QuietPrompter box2;
    TRPGProgram reread(box2);
    orvale::Diagnostics foundAgain;
    bool loaded = reread.LoadFromFile(again, foundAgain);
    StringList second = WrittenText(reread);
    bool clean = ReadsBackCleanly(reread, foundAgain);
    if (!loaded || !clean || second != first)
        Report(first, foundAgain);
    FUZZ_CHECK(loaded && clean);
    FUZZ_CHECK(second == first);
    return 0;
}
