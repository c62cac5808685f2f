// The program-file reader: any bytes opened as a ".RPG" file, tree part, compiled area and line
// origins, into an RPG document. What it read is written back and opened again, which must then read
// without a complaint and write the very same text: a file the program wrote itself has to
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
    doc.WriteLines();
    doc.WriteCompiledBlocks();
    doc.WriteOriginBlocks(true);
    return doc.SaveLines;
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

// Shows the text that did not read back cleanly before the run is ended.
void Report(const StringList& text, const QuietPrompter& box) {
    std::fprintf(stderr, "written text (%zu lines), read back with %d boxes, first: %s\n",
                 text.size(), box.Shown, box.First.c_str());
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
    if (!doc.LoadFromFile(path))
        return 0;
    StringList first = WrittenText(doc);

    // Opening without keeping the file text moves the lines out of it instead of copying
    // them: the document must come out the same, damage and messages included.
    QuietPrompter movedBox;
    TRPGProgram moved(movedBox);
    moved.KeepOpen = false;
    FUZZ_CHECK(moved.LoadFromFile(path));
    FUZZ_CHECK(movedBox.Shown == box.Shown);
    FUZZ_CHECK(WithoutMoments(WrittenText(moved)) == WithoutMoments(first));

    if (ReadsBackAmbiguously(doc))
        return 0;

    std::string again = orvale::fuzz::WriteScratchFile("AGAIN.RPG", orvale::JoinTextLines(first));
    QuietPrompter box2;
    TRPGProgram reread(box2);
    bool loaded = reread.LoadFromFile(again);
    StringList second = WrittenText(reread);
    if (!loaded || box2.Shown != 0 || second != first)
        Report(first, box2);
    FUZZ_CHECK(loaded && box2.Shown == 0);
    FUZZ_CHECK(second == first);
    return 0;
}
