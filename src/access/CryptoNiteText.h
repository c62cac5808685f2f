#pragma once

#include "access/CryptoNiteCoder.h"

#include <string>
#include <string_view>

// Enciphers a short text under a text key and deciphers it again. The key is kept only in
// enciphered form (under the empty key), so that a program holding the component in its
// data never carries the clear key. Every operation reads the clear key afresh and prepares
// the coder with it, so each one starts from freshly seeded generators.
class TCryptoNiteText {
public:
    // The clear key. Setting it stores its enciphered form.
    std::string Key() const;
    void SetKey(std::string_view clearKey);

    // The key as it is stored: taken and given unchanged, already enciphered.
    const std::string& StoredKey() const { return StoredKey_; }
    void SetStoredKey(std::string_view storedKey) { StoredKey_ = storedKey; }

    // Setting a different value enciphers it into CryptoText; setting the current value
    // again does nothing (set an empty text first to force a new cipher text).
    const std::string& ClearText() const { return ClearText_; }
    void SetClearText(std::string_view text);

    // Setting a different value deciphers it into ClearText; the current value does nothing.
    const std::string& CryptoText() const { return CryptoText_; }
    void SetCryptoText(std::string_view text);

    // Source of the first cipher byte; see TCryptoNiteCoder::SetMarkerSource.
    void SetMarkerSource(TCryptoNiteCoder::MarkerSource source);

private:
    TCryptoNiteCoder Coder;
    std::string StoredKey_;
    std::string ClearText_;
    std::string CryptoText_;
};
