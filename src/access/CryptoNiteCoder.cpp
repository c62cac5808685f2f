#include "access/CryptoNiteCoder.h"

#include <cerrno>
#include <random>
#include <sys/random.h>

std::uint8_t SystemRandomMarker() {
    for (;;) {
        unsigned char b = 0;
        ssize_t n = ::getrandom(&b, 1, 0);
        if (n == 1) {
            if (b != 0)
                return b;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    // Kernels without getrandom: the library's device source reads /dev/urandom.
    static thread_local std::random_device device;
    return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(device));
}

TCryptoNiteCoder::TCryptoNiteCoder() : Marker(SystemRandomMarker) {}

void TCryptoNiteCoder::SetMarkerSource(MarkerSource source) {
    Marker = source ? std::move(source) : MarkerSource(SystemRandomMarker);
}

void TCryptoNiteCoder::PrepareKey(std::string_view key) {
    if (key.empty())
        key = " ";
    const size_t n = key.size();
    // The key is walked cyclically, each new lap multiplying its bytes by one more, so that a
    // short key still fills the buffer with distinct bytes.
    for (size_t i = 0; i < KeyBuffer.size(); ++i) {
        unsigned m = static_cast<unsigned>(i / n) + 1;
        KeyBuffer[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(key[i % n]) * m);
    }
    // Bytes beyond the 32nd are folded into the buffer.
    for (size_t j = KeyBuffer.size(); j < n; ++j) {
        size_t i = (j - KeyBuffer.size()) % KeyBuffer.size();
        KeyBuffer[i] = static_cast<std::uint8_t>(KeyBuffer[i] + static_cast<std::uint8_t>(key[j]));
    }
    G1.Seed(KeyBuffer);
    for (int i = TPseudoRandomGen::StateSize - 1; i >= 0; --i) {
        KeyBuffer[static_cast<size_t>(i)] = G1.Output();
        G1.Output();
    }
    G2.Seed(KeyBuffer);
}

void TCryptoNiteCoder::SetMarker(std::uint8_t value) {
    R = value;
    for (int k = 0; k < 4; ++k)
        Rotation[static_cast<size_t>(k)] = (value >> (2 * k)) & 3u;
}

std::uint8_t TCryptoNiteCoder::Rotate(std::uint8_t b, int k) const {
    unsigned v = b;
    for (unsigned i = 0; i <= Rotation[static_cast<size_t>(k)]; ++i)
        v = ((v >> 1) | (v << 7)) & 0xFFu;
    return static_cast<std::uint8_t>(v);
}

std::uint8_t TCryptoNiteCoder::Add(std::uint8_t c, unsigned steps) {
    if (c == 9)
        return 15;
    unsigned v = c;
    for (unsigned i = 0; i < steps; ++i)
        v = v == 255 ? 32 : v + 1;
    return static_cast<std::uint8_t>(v);
}

std::uint8_t TCryptoNiteCoder::Subtract(std::uint8_t c, unsigned steps) {
    if (c == 15)
        return 9;
    unsigned v = c;
    for (unsigned i = 0; i < steps; ++i) {
        v = (v - 1) & 0xFFu;
        if (v == 31)
            v = 255;
    }
    return static_cast<std::uint8_t>(v);
}

std::string TCryptoNiteCoder::Encipher(std::string_view clear) {
    std::string out;
    if (clear.empty())
        return out;
    out.reserve(clear.size() + 1);
    std::uint8_t marker = Marker();
    if (marker == 0)
        marker = 1;
    SetMarker(marker);
    out += static_cast<char>(marker);
    int k = 0;
    for (size_t p = 0; p < clear.size(); ++p) {
        std::uint8_t plain = static_cast<std::uint8_t>(clear[p]);
        std::uint8_t c = Add(plain, Rotate(G1.Output(), k));
        c = Add(c, G2.Output());
        out += static_cast<char>(c);
        k = (k + 1) % 4;
        if (p > 0 && plain == R)
            SetMarker(static_cast<std::uint8_t>(clear[p - 1]));
    }
    return out;
}

std::string TCryptoNiteCoder::Decipher(std::string_view cipher) {
    std::string out;
    if (cipher.size() < 2)
        return out;
    out.reserve(cipher.size() - 1);
    SetMarker(static_cast<std::uint8_t>(cipher[0]));
    int k = 0;
    for (size_t q = 1; q < cipher.size(); ++q) {
        std::uint8_t c = Subtract(static_cast<std::uint8_t>(cipher[q]), G2.Output());
        c = Subtract(c, Rotate(G1.Output(), k));
        out += static_cast<char>(c);
        k = (k + 1) % 4;
        if (q > 1 && c == R)
            SetMarker(static_cast<std::uint8_t>(out[out.size() - 2]));
    }
    return out;
}
