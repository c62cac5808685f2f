#include "access/CryptoNiteText.h"

std::string TCryptoNiteText::Key() const {
    TCryptoNiteCoder coder;
    coder.PrepareKey({});
    return coder.Decipher(StoredKey_);
}

void TCryptoNiteText::SetKey(std::string_view clearKey) {
    if (Key() == clearKey)
        return;
    Coder.PrepareKey({});
    StoredKey_ = Coder.Encipher(clearKey);
}

void TCryptoNiteText::SetClearText(std::string_view text) {
    if (text == ClearText_)
        return;
    ClearText_ = text;
    Coder.PrepareKey(Key());
    CryptoText_ = Coder.Encipher(ClearText_);
}

void TCryptoNiteText::SetCryptoText(std::string_view text) {
    if (text == CryptoText_)
        return;
    CryptoText_ = text;
    Coder.PrepareKey(Key());
    ClearText_ = Coder.Decipher(CryptoText_);
}

void TCryptoNiteText::SetMarkerSource(TCryptoNiteCoder::MarkerSource source) {
    Coder.SetMarkerSource(std::move(source));
}
