#pragma once

// One direction of the system's character converters (iconv), opened once and used one
// character at a time. Shared by the code page conversions of this library.

#include <string>
#include <string_view>

namespace ondrel {

class Converter {
public:
    enum class Result {
        Ok,
        Invalid,    // the input is not text of the source code page, or has no target character
        Incomplete, // the input ends inside a character
    };

    Converter() = default;
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // False with Error set when the system does not know one of the two code pages.
    bool Open(const std::string& to, const std::string& from, std::string& error);

    // Converts In whole, from the initial shift state and back to it at the end (a stateful
    // target closes an open shift), into Out.
    Result Convert(std::string_view in, std::string& out);

    // Converts the first character of In only, from the initial shift state, and tells how
    // many bytes of In it took. The target must be UCS-4BE (one character is four bytes).
    Result ConvertOne(std::string_view in, char32_t& character, size_t& used);

private:
    void* Handle = nullptr;
};

// The four bytes of Character in UCS-4BE, the form the converters exchange characters in.
std::string Ucs4(char32_t character);

} // namespace ondrel
