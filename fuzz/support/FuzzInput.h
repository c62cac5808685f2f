#pragma once

// Taking one fuzz input apart. A target reads a few leading bytes as small numbers and then
// one or more text parts separated by lines that hold only "%%", so that the seeds stay
// readable text files.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace orvale::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, size_t size)
        : Rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, or 0 when the input is used up.
    std::uint8_t Byte() {
        if (Rest_.empty())
            return 0;
        auto b = static_cast<std::uint8_t>(Rest_.front());
        Rest_.remove_prefix(1);
        return b;
    }

    // The text up to the next separator line (without the line end before it), or all the
    // rest when there is none.
    std::string_view Part() {
        size_t at = Rest_.find("\n%%\n");
        std::string_view part = Rest_.substr(0, at);
        Rest_.remove_prefix(at == std::string_view::npos ? Rest_.size() : at + 4);
        return part;
    }

    std::string_view Rest() const { return Rest_; }

private:
    std::string_view Rest_;
};

// A broken invariant: reported and ended like a crash, so that the fuzzer keeps the input and
// the replay fails.
[[noreturn]] inline void Violation(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

} // namespace orvale::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::orvale::fuzz::Violation(#condition, __FILE__, __LINE__);                             \
    } while (false)
