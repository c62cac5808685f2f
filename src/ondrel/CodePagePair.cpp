#include "CodePagePair.h"

#include <algorithm>
#include <cctype>

namespace ondrel {

namespace {

constexpr const char* Ucs = "UCS-4BE";

bool Control(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

size_t PairIndex(unsigned char first, unsigned char second) {
    return static_cast<size_t>(first) << 8 | second;
}

// The number of an IBM code page name ("IBM937", "IBM-937", "CP937", "937"), or 0.
int PageNumber(const std::string& name) {
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* prefix : {"IBM-", "IBM", "CP"})
        if (upper.rfind(prefix, 0) == 0) {
            upper.erase(0, std::string(prefix).size());
            break;
        }
    if (upper.empty() || upper.size() > 5 ||
        !std::all_of(upper.begin(), upper.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(upper);
}

} // namespace

std::string ConverterName(const std::string& codePage) {
    bool number = !codePage.empty() && std::all_of(codePage.begin(), codePage.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
    return number ? "IBM" + codePage : codePage;
}

std::string DefaultPcCodePage(const std::string& host) {
    switch (PageNumber(host)) {
    case 930:
    case 939:
    case 1390:
    case 1399:
        return "CP932";
    case 937:
    case 1371:
        return "BIG5";
    case 935:
    case 1388:
        return "GBK";
    case 933:
    case 1364:
        return "CP949";
    default:
        return {};
    }
}

bool CodePagePair::Open(const std::string& host, const std::string& pc, std::string& error) {
    Host = ConverterName(host);
    Pc = ConverterName(pc.empty() ? DefaultPcCodePage(host) : pc);
    std::string reason;
    if (Host.empty()) {
        error = "no host code page given";
        return false;
    }
    if (!HostToUcs.Open(Ucs, Host, reason) || !UcsToHost.Open(Host, Ucs, reason)) {
        error = "code page " + host + ": " + reason;
        return false;
    }
    // A mixed page takes shift-out as a change of state, not as a character.
    char32_t character = 0;
    size_t used = 0;
    IsMixed = HostToUcs.ConvertOne(std::string(1, static_cast<char>(ShiftOut)), character, used) ==
              Converter::Result::Incomplete;
    if (Pc.empty() && IsMixed) {
        error = "code page " + host + ": name the PC code page of its double-byte text";
        return false;
    }
    if (Pc.empty())
        Pc = "ISO-8859-1";
    if (!PcToUcs.Open(Ucs, Pc, reason) || !UcsToPc.Open(Pc, Ucs, reason)) {
        error = "PC code page " + Pc + ": " + reason;
        return false;
    }
    if (!BuildSingles(error))
        return false;
    if (IsMixed)
        HostDoubles.assign(65536, HostDouble{});
    DoubleBlank = "  ";
    std::string blank;
    if (IsMixed && UcsToPc.Convert(Ucs4(0x3000), blank) == Converter::Result::Ok &&
        blank.size() == 2) {
        PcChar back = FromPc(blank.data(), blank.size());
        if (back.What == PcChar::Double && back.Host[0] == 0x40 && back.Host[1] == 0x40)
            DoubleBlank = blank;
    }
    return true;
}

bool CodePagePair::BuildSingles(std::string& error) {
    for (int byte = 0; byte < 256; ++byte) {
        const char pc = static_cast<char>(byte);
        char32_t character = 0;
        size_t used = 0;
        switch (PcToUcs.ConvertOne(std::string_view(&pc, 1), character, used)) {
        case Converter::Result::Ok:
            PcSingle[static_cast<size_t>(byte)] = Classify(character, &pc, 1);
            break;
        case Converter::Result::Incomplete:
            PcSingle[static_cast<size_t>(byte)] = {PcChar::Lead, 1, {0, 0}};
            break;
        case Converter::Result::Invalid:
            PcSingle[static_cast<size_t>(byte)] = {PcChar::Invalid, 1, {0, 0}};
            break;
        }
    }
    HostSingle.fill(-1);
    for (int byte = 0; byte < 256; ++byte) {
        if (IsMixed && (byte == ShiftOut || byte == ShiftIn))
            continue;
        char32_t character = 0;
        if (!HostCharacter(std::string(1, static_cast<char>(byte)), character) ||
            Control(character))
            continue;
        if (UcsToPc.Convert(Ucs4(character), Scratch) != Converter::Result::Ok ||
            Scratch.size() != 1)
            continue;
        const PcChar& back = PcSingle[static_cast<unsigned char>(Scratch[0])];
        if (back.What == PcChar::Single && back.Host[0] == byte)
            HostSingle[static_cast<size_t>(byte)] = static_cast<unsigned char>(Scratch[0]);
    }
    // Blank, digits and capital A stand at the same place in every EBCDIC code page, and the
    // PC's text must hold them as ASCII does, with its line ends.
    bool ebcdic = HostSingle[0x40] == ' ' && HostSingle[0xC1] == 'A';
    bool ascii = true;
    for (int digit = 0; digit < 10; ++digit)
        ebcdic = ebcdic && HostSingle[static_cast<size_t>(0xF0 + digit)] == '0' + digit;
    for (char c : {' ', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '\r', '\n'}) {
        char32_t character = 0;
        size_t used = 0;
        ascii =
            ascii &&
            PcToUcs.ConvertOne(std::string_view(&c, 1), character, used) == Converter::Result::Ok &&
            character == static_cast<char32_t>(c);
    }
    if (!ascii) {
        error = "PC code page " + Pc + ": its blank, digits or line ends are not those of ASCII";
        return false;
    }
    if (!ebcdic) {
        error = "code page " + Host + ": not an EBCDIC code page";
        return false;
    }
    return true;
}

bool CodePagePair::HostCharacter(const std::string& bytes, char32_t& character) {
    size_t used = 0;
    return HostToUcs.ConvertOne(bytes, character, used) == Converter::Result::Ok &&
           used == bytes.size();
}

// Pairs the PC character of Length bytes at Pc with its host character, when each converts
// back to the other.
PcChar CodePagePair::Classify(char32_t character, const char* pc, size_t length) {
    PcChar result{PcChar::Lost, static_cast<unsigned char>(length), {0, 0}};
    if (Control(character) || UcsToHost.Convert(Ucs4(character), Scratch) != Converter::Result::Ok)
        return result;
    std::string host = Scratch;
    if (host.size() == 1 && !(IsMixed && (host[0] == ShiftOut || host[0] == ShiftIn))) {
        result.What = PcChar::Single;
        result.Host[0] = static_cast<unsigned char>(host[0]);
    } else if (IsMixed && host.size() == 4 && host[0] == ShiftOut && host[3] == ShiftIn) {
        result.What = PcChar::Double;
        result.Host[0] = static_cast<unsigned char>(host[1]);
        result.Host[1] = static_cast<unsigned char>(host[2]);
        host.pop_back(); // read back from inside a run
    } else {
        return result;
    }
    char32_t back = 0;
    if (!HostCharacter(host, back) || back != character ||
        UcsToPc.Convert(Ucs4(character), Scratch) != Converter::Result::Ok ||
        Scratch != std::string_view(pc, length))
        result.What = PcChar::Lost;
    return result;
}

PcChar CodePagePair::FromPc(const char* text, size_t size) {
    const PcChar& single = PcSingle[static_cast<unsigned char>(text[0])];
    if (single.What != PcChar::Lead)
        return single;
    if (size < 2)
        return {PcChar::Invalid, 1, {0, 0}};
    if (PcPairs.empty())
        PcPairs.assign(65536, PcChar{});
    PcChar& pair = PcPairs[PairIndex(static_cast<unsigned char>(text[0]),
                                     static_cast<unsigned char>(text[1]))];
    if (pair.What == PcChar::Unknown) {
        char32_t character = 0;
        size_t used = 0;
        switch (PcToUcs.ConvertOne(std::string_view(text, 2), character, used)) {
        case Converter::Result::Ok:
            pair = Classify(character, text, 2);
            break;
        case Converter::Result::Incomplete:
            pair = {PcChar::Longer, 2, {0, 0}};
            break;
        case Converter::Result::Invalid:
            pair = {PcChar::Invalid, 2, {0, 0}};
            break;
        }
    }
    if (pair.What != PcChar::Longer)
        return pair;
    // Characters of more than two bytes (GB18030 has some) are rare enough to look up each time.
    char32_t character = 0;
    size_t used = 0;
    if (PcToUcs.ConvertOne(std::string_view(text, std::min<size_t>(size, 4)), character, used) !=
        Converter::Result::Ok)
        return {PcChar::Invalid, 2, {0, 0}};
    return Classify(character, text, used);
}

const HostDouble& CodePagePair::FromHostDouble(unsigned char first, unsigned char second) {
    HostDouble& entry = HostDoubles[PairIndex(first, second)];
    if (entry.What != HostDouble::Unknown)
        return entry;
    const std::string bytes{static_cast<char>(ShiftOut), static_cast<char>(first),
                            static_cast<char>(second)};
    char32_t character = 0;
    if (first == ShiftOut || first == ShiftIn || !HostCharacter(bytes, character)) {
        entry.What = HostDouble::Invalid;
        return entry;
    }
    entry.What = HostDouble::Lost;
    if (Control(character) || UcsToPc.Convert(Ucs4(character), Scratch) != Converter::Result::Ok ||
        Scratch.empty() || Scratch.size() > sizeof entry.Pc)
        return entry;
    const std::string pc = Scratch;
    PcChar back = FromPc(pc.data(), pc.size());
    if (back.What != PcChar::Double || back.Length != pc.size() || back.Host[0] != first ||
        back.Host[1] != second)
        return entry;
    entry.What = HostDouble::Paired;
    entry.Length = static_cast<unsigned char>(pc.size());
    std::copy(pc.begin(), pc.end(), entry.Pc);
    return entry;
}

} // namespace ondrel
