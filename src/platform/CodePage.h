#pragma once

// The code page of a program's text: which characters its bytes stand for. The documents and
// libraries keep text as bytes of the program's code page (one byte one column; in a double-byte
// code page one character of two bytes takes two columns), and only the edge where text meets
// the window system turns it into Unicode and back, through one of these.

#include <memory>
#include <string>
#include <string_view>

namespace orvale {

class CodePage {
public:
    virtual ~CodePage() = default;

    // The name the code page is known by ("ISO-8859-1").
    virtual const std::string& Name() const = 0;

    // The most UTF-16 units Count bytes can give; ToUnicode writes no more than this.
    virtual size_t MaxUnits(size_t count) const { return count; }
    // Writes the characters of Bytes into Out as UTF-16 and returns the number of units written.
    // Every byte gives something: one that stands for no character gives U+FFFD.
    virtual size_t ToUnicode(std::string_view bytes, char16_t* out) const = 0;
    // Appends the bytes of Text to Out; a character the code page cannot hold gives a "?".
    virtual void FromUnicode(std::u16string_view text, std::string& out) const = 0;
    // Index in Text of the first character the code page cannot hold, or npos.
    virtual size_t FirstUnmappable(std::u16string_view text) const = 0;

    // ISO-8859-1, the code page of the programs for now: every byte is the character of that
    // number, and every character up to U+00FF is its byte.
    static const CodePage& Latin1();
    // The code page of that name, or null for a name this program does not know.
    static std::unique_ptr<CodePage> Named(std::string_view name);
};

} // namespace orvale
