#include "Commands.h"

#include <filesystem>
#include <system_error>

namespace orvale::cli {

size_t FileSize(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<size_t>(size);
}

} // namespace orvale::cli
