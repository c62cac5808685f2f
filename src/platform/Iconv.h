#pragma once

// One direction of the system's character converters (iconv), opened once and used for a text
// or one character at a time: the program's code pages and the EBCDIC conversions build on it.

#include <string>
#include <string_view>

namespace orvale {

class IconvConverter {
public:
    enum class Result {
        Ok,
        Invalid,    // the input is not text of the source code page, or has no target character
        Incomplete, // the input ends inside a character
    };

    IconvConverter() = default;
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // False with Error set when the system does not know one of the two code pages.
    bool Open(const std::string& to, const std::string& from, std::string& error);
    bool IsOpen() const { return Handle != nullptr; }

    // Converts In whole, from the initial shift state and back to it at the end (a stateful
    // target closes an open shift), into Out.
    Result Convert(std::string_view in, std::string& out);

    // Converts the first character of In only, from the initial shift state, and tells how
    // many bytes of In it took. The target must be UCS-4BE (one character is four bytes).
    Result ConvertOne(std::string_view in, char32_t& character, size_t& used);

    // How many characters the last Ok conversion could only approximate: a target without the
    // character, or a one-way mapping of the system's tables.
    size_t Irreversible() const { return Irreversible_; }

private:
    void* Handle = nullptr;
    size_t Irreversible_ = 0;
};

// The four bytes of Character in UCS-4BE, the form the converters exchange characters in.
std::string Ucs4(char32_t character);

} // namespace orvale
