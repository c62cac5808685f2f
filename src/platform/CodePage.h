#pragma once

// The code page of a program's text: which characters its bytes stand for. The documents and
// libraries keep text as bytes of the program's code page (one byte one column; in a double-byte
// code page one character of two bytes takes two columns), and only the edge where text meets
// the window system turns it into Unicode and back, through one of these.
//
// What is shown must keep every byte in its column and give it back unchanged. So a byte that
// shows nothing (a control byte, the soft hyphen, a byte the code page leaves undefined, the
// lead byte of a double-byte character without a valid second byte) is shown as a visible
// stand-in of its own (see StandIn), which turns back into the same byte; and a character is
// shown as itself only when turning it back gives the bytes it came from.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class CodePage {
public:
    virtual ~CodePage() = default;

    // The name the code page is known by ("ISO-8859-1", "BIG5").
    virtual const std::string& Name() const = 0;
    // Some characters take two bytes (and two columns).
    virtual bool DoubleByte() const { return false; }

    // The most UTF-16 units Count bytes can give; ToUnicode writes no more than this.
    virtual size_t MaxUnits(size_t count) const { return count; }
    // Writes the characters of Bytes into Out as UTF-16 and returns the number of units written.
    // Every byte gives something: one that shows nothing gives its stand-in.
    virtual size_t ToUnicode(std::string_view bytes, char16_t* out) const = 0;
    // Appends the bytes of Text to Out; a stand-in gives its byte back, and a character the
    // code page cannot hold gives a "?".
    virtual void FromUnicode(std::u16string_view text, std::string& out) const = 0;
    // Index in Text of the first character the code page cannot hold, or npos.
    virtual size_t FirstUnmappable(std::u16string_view text) const = 0;
    // How many bytes (columns) the character C takes: 2 for a double-byte character, else 1
    // (a character the code page cannot hold turns into one "?").
    virtual int Columns(char16_t c) const {
        (void)c;
        return 1;
    }

    // The stand-in shown for Byte where it shows nothing, and the byte a stand-in stands for
    // (-1 for any other character). Stand-ins are taken from the private use area, which no
    // code page here gives for a byte it shows.
    static char16_t StandIn(unsigned char byte) { return static_cast<char16_t>(kStandIns + byte); }
    static int StoodFor(char16_t c) {
        return c >= kStandIns && c < kStandIns + 256 ? static_cast<int>(c - kStandIns) : -1;
    }

    // ISO-8859-1, the code page of a program that names none: every byte is the character of
    // that number, and every character up to U+00FF is its byte.
    static const CodePage& Latin1();
    // A new code page of that name (any case, with or without "-" or "_"), or null for a name
    // this program does not know or the system cannot convert.
    static std::unique_ptr<CodePage> Named(std::string_view name);
    // One code page of that name kept for the life of the program (for the widgets, which hold
    // it), or null as for Named.
    static const CodePage* Shared(std::string_view name);
    // The names of the code pages a program can be given, those the system can convert.
    static std::vector<std::string> Offered();
    // The name Offered spells Name with, or empty when it is none of them.
    static std::string Canonical(std::string_view name);

private:
    static constexpr char16_t kStandIns = 0xF700;
};

} // namespace orvale
