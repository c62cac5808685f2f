#include "CodePageTables.h"

#include "TranslationTable.h"

#include "platform/Iconv.h"
#include "platform/TextFile.h"

#include <cstdio>
#include <cstring>

namespace ondrel {

namespace {

constexpr const char* PcCharset = "ISO-8859-1";

bool PrintableLatin1(int byte) {
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA0 && byte <= 0xFF);
}

// Converts every byte on its own from one charset to the other, keeping the single-byte
// results for which Keep(source, target) holds.
template <typename Keep>
bool MapBytes(const std::string& to, const std::string& from, ByteMap& map, Keep keep,
              std::string& error) {
    map.fill(-1);
    orvale::IconvConverter converter;
    if (!converter.Open(to, from, error)) {
        error = "code page " + (from == PcCharset ? to : from) + ": " + error;
        return false;
    }
    std::string out;
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        if (converter.Convert(std::string_view(&in, 1), out) !=
                orvale::IconvConverter::Result::Ok ||
            out.size() != 1)
            continue;
        int target = static_cast<unsigned char>(out[0]);
        if (keep(byte, target))
            map[static_cast<size_t>(byte)] = target;
    }
    return true;
}

std::string Hex2(int byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte & 0xFF);
    return text;
}

} // namespace

bool BuildCodePageMaps(const std::string& codePage, CodePageMaps& maps, std::string& error) {
    if (codePage.empty()) {
        error = "no code page given";
        return false;
    }
    if (!MapBytes(
            PcCharset, codePage, maps.HostToPc,
            [](int, int target) { return PrintableLatin1(target); }, error))
        return false;
    if (!MapBytes(
            codePage, PcCharset, maps.PcToHost,
            [](int source, int) { return PrintableLatin1(source); }, error))
        return false;
    // Blank, digits and capital A stand at the same place in every EBCDIC code page.
    bool ebcdic = maps.HostToPc[EbcdicBlank] == AsciiBlank && maps.HostToPc[0xC1] == 'A';
    for (int digit = 0; digit < 10; ++digit)
        ebcdic = ebcdic && maps.HostToPc[static_cast<size_t>(0xF0 + digit)] == '0' + digit;
    if (!ebcdic) {
        error = "code page " + codePage + ": not an EBCDIC code page";
        return false;
    }
    return true;
}

StringList TranslationFileLines(const ByteMap& map, const std::string& comment) {
    StringList lines;
    lines.push_back("; " + comment);
    lines.push_back(std::string("[") + XlateSection + "]");
    for (int byte = 0; byte < 256; ++byte) {
        int target = map[static_cast<size_t>(byte)];
        if (target >= 0)
            lines.push_back(Hex2(byte) + "=" + Hex2(target));
    }
    return lines;
}

bool WriteCodePageTables(const std::string& codePage, const std::string& dir, std::string& error) {
    CodePageMaps maps;
    if (!BuildCodePageMaps(codePage, maps, error))
        return false;
    std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    StringList hostToPc = TranslationFileLines(
        maps.HostToPc, "EBCDIC " + codePage + " to " + PcCharset + ", derived from iconv");
    StringList pcToHost = TranslationFileLines(
        maps.PcToHost, std::string(PcCharset) + " to EBCDIC " + codePage + ", derived from iconv");
    return orvale::WriteTextFile(folder + HostToPcFile, hostToPc, &error) &&
           orvale::WriteTextFile(folder + PcToHostFile, pcToHost, &error);
}

} // namespace ondrel
