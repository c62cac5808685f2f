#pragma once

#include "access/CryptoNiteText.h"

#include <string>
#include <string_view>

// The program's cipher component for the user key file: a TCryptoNiteText holding the
// program's own key, which the source keeps only in its stored (enciphered) form.
TCryptoNiteText MakeEncrypter();

// Clear text of a cipher text read from the key file.
std::string DecipherText(TCryptoNiteText& encrypter, std::string_view cipherText);

// A cipher text of ClearText that the key file can hold as a key or a value and that
// deciphers back to ClearText. Encipherment starts with a random byte, so it is retried (at
// most 100 times) until the text qualifies; empty when it never does, which happens for an
// empty text and for texts holding control characters.
std::string EncipherKeyText(TCryptoNiteText& encrypter, std::string_view clearText);

// Whether a key-file line could carry Text on either side of its "=" and give it back: not
// empty, no "=", blank, tab, CR, LF or zero byte (the reader splits at "=", trims blanks and
// tabs, ends lines at CR and LF and text at a zero byte), and no leading ";" or "[" (a comment
// or a section header).
bool IsStorableKeyText(std::string_view text);
