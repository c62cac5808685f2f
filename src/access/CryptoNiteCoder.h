#pragma once

#include "access/PseudoRandomGen.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The engine of the text cipher. A key seeds two generators; every clear byte is shifted
// within the printable range 32..255 by a rotated byte of G1 and then by a byte of G2. The
// rotations follow a marker byte that starts random (and is written as the first cipher byte)
// and changes whenever the clear text repeats it, so equal texts encipher differently.
//
// Bytes 32..255 survive a round trip; control bytes are not guaranteed to (a tab is carried
// as byte 15 and comes back as a tab, others may not come back at all).
class TCryptoNiteCoder {
public:
    // Gives the first byte of a cipher text: any value from 1 to 255.
    using MarkerSource = std::function<std::uint8_t()>;

    TCryptoNiteCoder();

    // Seeds both generators from Key; an empty key counts as one blank. Must precede every
    // Encipher and Decipher, which consume the generators.
    void PrepareKey(std::string_view key);

    // The cipher text is one byte longer than the clear text; an empty text stays empty.
    std::string Encipher(std::string_view clear);
    // A cipher text shorter than two bytes gives an empty clear text.
    std::string Decipher(std::string_view cipher);

    // Replaces the system's random source of markers (tests use a fixed sequence); an empty
    // function restores the system source.
    void SetMarkerSource(MarkerSource source);

    // Stepping within the range 32..255: Add wraps from 255 to 32, Subtract from 32 to 255.
    // A tab is carried as 15 and back.
    static std::uint8_t Add(std::uint8_t c, unsigned steps);
    static std::uint8_t Subtract(std::uint8_t c, unsigned steps);

private:
    void SetMarker(std::uint8_t value);
    // Rotates B right by one bit, r[k] + 1 times.
    std::uint8_t Rotate(std::uint8_t b, int k) const;

    TPseudoRandomGen G1;
    TPseudoRandomGen G2;
    TPseudoRandomGen::State KeyBuffer{};
    std::uint8_t R = 0;
    std::array<std::uint8_t, 4> Rotation{};
    MarkerSource Marker;
};

// A byte from 1 to 255 from the operating system's random source.
std::uint8_t SystemRandomMarker();
