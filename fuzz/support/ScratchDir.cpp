#include "ScratchDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace orvale::fuzz {

namespace {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvale-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("orvale-fuzz: scratch directory");
            std::abort();
        }
        Path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path;
};

const ScratchDir& Dir() {
    static const ScratchDir dir;
    return dir;
}

} // namespace

std::string ScratchFile(std::string_view name) {
    return Dir().Path + "/" + std::string(name);
}

std::string WriteScratchFile(std::string_view name, std::string_view bytes) {
    std::string path = ScratchFile(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "orvale-fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
    return path;
}

} // namespace orvale::fuzz
