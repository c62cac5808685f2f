// The index's readers of members: any text classified and read as every kind (RPG III, RPG IV,
// data description, control language), its description taken, its uses grouped and encoded
// for the index and read back, and searched as Find in Library searches it. Every use must
// stand on a line of the text with a name, the encoding must give back what was grouped, and
// every hit of a search must be a line that holds the text.

#include "support/FuzzInput.h"

#include "library/ClReader.h"
#include "library/DdsReader.h"
#include "library/LibraryFind.h"
#include "library/MemberAnalysis.h"
#include "library/MemberClassify.h"
#include "library/RpgIVReader.h"
#include "library/RpgReader.h"
#include "library/UseCodec.h"

#include <cstdint>
#include <string>

using namespace orvale::library;

namespace {

void CheckUses(TMemberFacts& facts, std::string_view text) {
    const int lines = CountLines(text);
    for (const TUse& u : facts.Uses) {
        FUZZ_CHECK(!u.Name.empty());
        FUZZ_CHECK(u.Line >= 1 && u.Line <= lines);
    }
    std::vector<TUse> uses = facts.Uses;
    TPackedUses packed = PackUses(uses, text);
    size_t decoded = 0;
    ForEachPacked(packed.Packed, [&](std::string_view, std::string_view encoded) {
        std::vector<TStoredUse> back = DecodeUses(encoded);
        for (size_t i = 1; i < back.size(); ++i)
            FUZZ_CHECK(back[i - 1].Line <= back[i].Line && back[i - 1].Offset <= back[i].Offset);
        for (const TStoredUse& u : back)
            FUZZ_CHECK(u.Offset <= text.size());
        decoded += back.size();
    });
    FUZZ_CHECK(decoded == facts.Uses.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::FuzzInput input(data, size);
    std::uint8_t options = input.Byte();
    std::string_view text = input.Rest();

    std::string type;
    ClassifyContent(text, type);
    DdsType(text);
    for (MemberKind kind :
         {MemberKind::RpgIII, MemberKind::RpgIV, MemberKind::Dds, MemberKind::Cl}) {
        TMemberFacts facts;
        switch (kind) {
        case MemberKind::RpgIII:
            ReadRpgIII(text, facts);
            break;
        case MemberKind::RpgIV:
            ReadRpgIV(text, facts);
            break;
        case MemberKind::Dds:
            ReadDds(text, "FUZZ", "PF", facts);
            break;
        default:
            ReadCl(text, facts);
            break;
        }
        CheckUses(facts, text);
        MemberDescription(text, "FUZZ", kind);
    }
    TMemberRecord record;
    TMemberFacts facts;
    AnalyseMember("QRPGSRC/FUZZ.txt", text, record, facts);

    // A search for a piece of the text itself.
    TFindOptions find;
    find.Text = std::string(text.substr(text.size() / 2, (options & 7) + 1));
    find.IgnoreCase = options & 8;
    find.Word = options & 16;
    if (options & 32) {
        find.FromColumn = 1 + (options & 3);
        find.ToColumn = find.FromColumn + 20;
    }
    std::string error;
    if (!CheckFindOptions(find, error))
        return 0;
    for (const TFindHit& hit : FindInText(text, find)) {
        FUZZ_CHECK(hit.Line >= 1 && hit.Line <= CountLines(text));
        FUZZ_CHECK(hit.Column >= 1 && static_cast<size_t>(hit.Column) <= hit.Text.size() + 1);
        if (!find.IgnoreCase)
            FUZZ_CHECK(hit.Text.find(find.Text) != std::string::npos);
    }
    return 0;
}
