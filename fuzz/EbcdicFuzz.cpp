// EBCDIC conversion both ways through arbitrary translation files: the same bytes taken as a
// member of fixed-length records (to text) and as a text file (to a member), at any record
// length, valid or not. A conversion that succeeds must have written exactly the translated
// records (a partial last one padded) or lines, with a warning exactly when a partial record
// was padded or a line lost text to the cut; one that fails must name a reason and leave no
// target behind.
//
// Input: a byte of record length (0 and anything above 255 are refused by the library); the
// translation file; after a "%%" line, the bytes to convert.

#include "support/FuzzInput.h"
#include "support/ScratchDir.h"

#include "ondrel/Ondrel.h"
#include "ondrel/RecordConvert.h"
#include "ondrel/TranslationTable.h"
#include "platform/TextFile.h"

#include <cstdint>
#include <filesystem>
#include <string>

using orvale::fuzz::ScratchFile;
using orvale::fuzz::WriteScratchFile;

namespace {

std::string Translated(std::string_view bytes, const ondrel::TranslationTable& table) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

std::string ExpectedText(std::string_view member, int length,
                         const ondrel::TranslationTable& table) {
    std::string text;
    const size_t l = static_cast<size_t>(length);
    for (size_t at = 0; at < member.size(); at += l) {
        std::string line = Translated(member.substr(at, l), table);
        line.resize(l, ' ');
        text += line + "\r\n";
    }
    return text;
}

std::string ExpectedMember(std::string_view text, int length, const ondrel::TranslationTable& table,
                           bool& cut) {
    std::string member;
    const size_t l = static_cast<size_t>(length);
    cut = false;
    for (const std::string& line : orvale::SplitTextLines(text)) {
        if (line.size() > l && line.find_first_not_of(' ', l) != std::string::npos)
            cut = true;
        std::string record = Translated(std::string_view(line).substr(0, l), table);
        record.resize(l, static_cast<char>(ondrel::EbcdicBlank));
        member += record;
    }
    return member;
}

std::string Contents(const std::string& path) {
    std::string bytes;
    FUZZ_CHECK(orvale::ReadFileBytes(path, bytes));
    return bytes;
}

// After a call: success with exactly Expected in Target, or a failure with a reason and no
// target. Expected is only computed when the table loaded.
void CheckOutcome(const std::string& target, bool tableLoaded, bool lengthValid,
                  const std::string& expected, int warning) {
    std::string message;
    int status = OndrelLastError(message);
    bool exists = std::filesystem::exists(target);
    if (!lengthValid) {
        FUZZ_CHECK(status == OndrelBadRecordLength && !exists);
    } else if (!tableLoaded) {
        FUZZ_CHECK(status == OndrelBadTable && !exists);
    } else {
        FUZZ_CHECK(status == warning && message.empty() == (warning == OndrelOk));
        FUZZ_CHECK(exists && Contents(target) == expected);
    }
    if (status != OndrelOk)
        FUZZ_CHECK(!message.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::FuzzInput in(data, size);
    const int length = in.Byte();
    const bool lengthValid = ondrel::ValidRecordLength(length);
    std::string tableFile = WriteScratchFile("TABLE.xlt", in.Part());
    std::string source = WriteScratchFile("SOURCE", in.Rest());
    std::string target = ScratchFile("TARGET");
    std::string error;

    ondrel::TranslationTable toText;
    bool textTable = ondrel::LoadTranslationTable(tableFile, ondrel::AsciiBlank, toText, error);
    std::filesystem::remove(target);
    bool written = EBCDicToASCII(source, target, tableFile, length, nullptr);
    FUZZ_CHECK(written == (lengthValid && textTable));
    const bool partial = lengthValid && in.Rest().size() % static_cast<size_t>(length) != 0;
    CheckOutcome(target, textTable, lengthValid,
                 textTable && lengthValid ? ExpectedText(in.Rest(), length, toText) : "",
                 partial ? OndrelPartialRecord : OndrelOk);

    ondrel::TranslationTable toMember;
    bool memberTable =
        ondrel::LoadTranslationTable(tableFile, ondrel::EbcdicBlank, toMember, error);
    FUZZ_CHECK(memberTable == textTable);
    std::filesystem::remove(target);
    ASCIIToEBCDic(source, target, tableFile, length, nullptr);
    bool cut = false;
    std::string member =
        memberTable && lengthValid ? ExpectedMember(in.Rest(), length, toMember, cut) : "";
    CheckOutcome(target, memberTable, lengthValid, member, cut ? OndrelLinesCut : OndrelOk);
    return 0;
}
