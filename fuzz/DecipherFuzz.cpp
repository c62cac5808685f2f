// The text cipher's decipher on any cipher text under any key, also through the component
// whose stored key is itself any bytes. Clear text of bytes 32 to 255 must come back
// unchanged from encipher and decipher, whatever the key and the marker byte.
//
// Input: a byte of key length, the key, a marker byte, then the cipher text.

#include "support/FuzzInput.h"

#include "access/CryptoNiteCoder.h"
#include "access/CryptoNiteText.h"

#include <cstdint>
#include <string>

namespace {

// The text the cipher promises to carry: every byte moved into 32..255.
std::string Printable(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32)
            c = static_cast<char>(c + 32);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    orvale::fuzz::FuzzInput in(data, size);
    const size_t keyLength = in.Byte() % 48;
    std::string key;
    for (size_t k = 0; k < keyLength; ++k)
        key += static_cast<char>(in.Byte());
    const std::uint8_t marker = in.Byte();
    const std::string_view cipher = in.Rest();

    TCryptoNiteCoder coder;
    coder.PrepareKey(key);
    std::string clear = coder.Decipher(cipher);
    FUZZ_CHECK(clear.size() == (cipher.size() < 2 ? 0 : cipher.size() - 1));

    TCryptoNiteText component;
    component.SetStoredKey(key);
    component.SetCryptoText(cipher);

    const std::string text = Printable(cipher);
    coder.SetMarkerSource([marker] { return marker; });
    coder.PrepareKey(key);
    std::string enciphered = coder.Encipher(text);
    FUZZ_CHECK(enciphered.size() == (text.empty() ? 0 : text.size() + 1));
    coder.PrepareKey(key);
    FUZZ_CHECK(coder.Decipher(enciphered) == text);

    const std::string clearKey = Printable(key);
    TCryptoNiteText keyed;
    keyed.SetMarkerSource([marker] { return marker; });
    keyed.SetKey(clearKey);
    FUZZ_CHECK(keyed.Key() == clearKey);
    return 0;
}
