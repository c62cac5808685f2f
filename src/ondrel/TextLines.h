#pragma once

// The lines of a text file as the conversions read them: CR, LF or CR LF end a line, a zero
// byte ends the whole text, and a final line end does not make an extra empty line.

#include <cstring>
#include <string_view>

namespace ondrel {

// The text up to its first zero byte, which ends a text file's text.
inline std::string_view UpToZero(std::string_view text) {
    size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

// Calls Line(first, length) for each line of Text in order, until it returns false. Line
// ends are found with memchr, a whole record's worth of bytes at a time: a line feed, and
// before it possibly a carriage return (alone, or the first of a CR LF pair).
template <class F> bool ForEachLine(std::string_view text, F&& line) {
    text = UpToZero(text);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const auto* lf =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const auto* cr =
            static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p)));
        const char* q = cr ? cr : stop;
        if (!line(p, static_cast<size_t>(q - p)))
            return false;
        if (q == end)
            break;
        q += *q == '\r' && q + 1 < end && q[1] == '\n' ? 2 : 1;
        p = q;
    }
    return true;
}

} // namespace ondrel
