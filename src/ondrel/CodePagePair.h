#pragma once

// The characters a host code page (EBCDIC, single-byte or mixed single- and double-byte) and a
// PC code page have in common, from the system's converters. Only characters that come back
// as the same bytes are paired, so that whatever converts one way converts back unchanged; a
// character without such a partner, and every control character, has no counterpart.
//
// On a mixed host page, shift-out (0x0E) begins a run of double-byte characters and shift-in
// (0x0F) ends it. Double-byte characters are looked up as they are met and then kept.

#include "platform/Iconv.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ondrel {

using Converter = orvale::IconvConverter;
using orvale::Ucs4;

inline constexpr unsigned char ShiftOut = 0x0E;
inline constexpr unsigned char ShiftIn = 0x0F;

// A character of the PC's text and what it is on the host.
struct PcChar {
    enum Kind : unsigned char {
        Unknown, // not looked up yet
        Single,  // Host[0]
        Double,  // Host[0], Host[1]: inside a double-byte run
        Lost,    // no counterpart on the host
        Invalid, // not text of the PC code page
        Lead,    // (a byte alone) the first byte of a longer character
        Longer,  // (a byte pair) the first two bytes of a longer character
    };
    Kind What = Unknown;
    unsigned char Length = 0; // bytes on the PC
    unsigned char Host[2] = {0, 0};
};

// A double-byte character of the host and its bytes on the PC.
struct HostDouble {
    enum Kind : unsigned char { Unknown, Paired, Lost, Invalid };
    Kind What = Unknown;
    unsigned char Length = 0; // bytes on the PC
    char Pc[4] = {0, 0, 0, 0};
};

class CodePagePair {
public:
    // Host: an EBCDIC code page as the system's converters name it ("IBM937", "IBM-930", or
    // the number alone); Pc: an ASCII-based code page, or empty for the host page's usual one
    // (DefaultPcCodePage). False with Error set for a page the system does not know, a host
    // page that is not EBCDIC, or a PC page whose blank, digits or line ends are not ASCII's.
    bool Open(const std::string& host, const std::string& pc, std::string& error);

    const std::string& HostName() const { return Host; }
    const std::string& PcName() const { return Pc; }
    bool Mixed() const { return IsMixed; }

    // The PC byte of a single-byte host character, or -1.
    int FromHostSingle(unsigned char byte) const { return HostSingle[byte]; }
    const HostDouble& FromHostDouble(unsigned char first, unsigned char second);

    // What a byte of text is alone (Lead for the first of a longer character).
    const PcChar& FromPcSingle(unsigned char byte) const { return PcSingle[byte]; }

    // The character at the start of Text (Size > 0 bytes). Never Unknown, Lead or Longer.
    PcChar FromPc(const char* text, size_t size);

    // The PC's double-byte blank, which stands for a double-byte character without a
    // counterpart (two blanks when the PC page has none).
    const std::string& PcDoubleBlank() const { return DoubleBlank; }

private:
    PcChar Classify(char32_t character, const char* pc, size_t length);
    bool HostCharacter(const std::string& bytes, char32_t& character);
    bool BuildSingles(std::string& error);

    std::string Host, Pc;
    bool IsMixed = false;
    Converter HostToUcs, UcsToHost, PcToUcs, UcsToPc;
    std::array<int, 256> HostSingle{};
    std::array<PcChar, 256> PcSingle{};
    std::vector<PcChar> PcPairs;         // by first * 256 + second, filled as met
    std::vector<HostDouble> HostDoubles; // likewise
    std::string DoubleBlank;
    std::string Scratch;
};

// The usual PC code page for a mixed host code page: Shift-JIS (CP932) for the Japanese ones,
// Big5 for Traditional Chinese, GBK for Simplified Chinese, CP949 for Korean; empty for any
// other page (Open then takes ISO-8859-1 for a single-byte one).
std::string DefaultPcCodePage(const std::string& host);

// The name the converters know: a code page given by its number alone is IBM's.
std::string ConverterName(const std::string& codePage);

} // namespace ondrel
