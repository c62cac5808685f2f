#include "platform/Iconv.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace orvale {

namespace {

iconv_t Cd(void* handle) {
    return static_cast<iconv_t>(handle);
}

constexpr size_t Failed = static_cast<size_t>(-1);

} // namespace

IconvConverter::~IconvConverter() {
    if (Handle)
        ::iconv_close(Cd(Handle));
}

bool IconvConverter::Open(const std::string& to, const std::string& from, std::string& error) {
    iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        error = errno == EINVAL ? "not known to this system's converters" : std::strerror(errno);
        return false;
    }
    if (Handle)
        ::iconv_close(Cd(Handle));
    Handle = cd;
    return true;
}

IconvConverter::Result IconvConverter::Convert(std::string_view in, std::string& out) {
    ::iconv(Cd(Handle), nullptr, nullptr, nullptr, nullptr);
    // A character of the code pages used here takes at most four bytes, and a shift one more.
    out.resize(in.size() * 5 + 8);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    Result result = Result::Ok;
    Irreversible_ = ::iconv(Cd(Handle), &inPtr, &inLeft, &outPtr, &outLeft);
    if (Irreversible_ == Failed)
        result = errno == EINVAL ? Result::Incomplete : Result::Invalid;
    else if (::iconv(Cd(Handle), nullptr, nullptr, &outPtr, &outLeft) == Failed)
        result = Result::Invalid;
    if (result != Result::Ok)
        Irreversible_ = 0;
    out.resize(out.size() - outLeft);
    return result;
}

IconvConverter::Result IconvConverter::ConvertOne(std::string_view in, char32_t& character,
                                                  size_t& used) {
    ::iconv(Cd(Handle), nullptr, nullptr, nullptr, nullptr);
    unsigned char out[4];
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    // Room for one character: the conversion stops after it (E2BIG) or at the end of In.
    Irreversible_ = ::iconv(Cd(Handle), &inPtr, &inLeft, &outPtr, &outLeft);
    if (Irreversible_ == Failed) {
        Irreversible_ = 0;
        if (errno != E2BIG)
            return errno == EINVAL ? Result::Incomplete : Result::Invalid;
    }
    if (outLeft != 0)
        return Result::Incomplete; // only a shift, or nothing
    used = in.size() - inLeft;
    character = static_cast<char32_t>(out[0]) << 24 | static_cast<char32_t>(out[1]) << 16 |
                static_cast<char32_t>(out[2]) << 8 | out[3];
    return Result::Ok;
}

std::string Ucs4(char32_t character) {
    return {static_cast<char>(character >> 24), static_cast<char>(character >> 16 & 0xFF),
            static_cast<char>(character >> 8 & 0xFF), static_cast<char>(character & 0xFF)};
}

} // namespace orvale
