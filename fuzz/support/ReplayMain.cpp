// Runs a fuzz target over stored inputs without the fuzzing engine, so that the seeds and the
// regression inputs of every finding run with the ordinary tests. Arguments are files or
// directories (every regular file inside, in name order); a directory that does not exist is
// skipped, so that seeds read from an optional folder do not fail the run. Finding no input at
// all is a failure: a mistyped seed path must not pass unnoticed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

bool ReadAll(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void Collect(const fs::path& path, std::vector<fs::path>& inputs, bool& missingFile) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::is_regular_file(path, ec)) {
        inputs.push_back(path);
    } else if (!fs::exists(path, ec) && path.has_extension()) {
        // A file named explicitly must be there; a folder may be absent.
        missingFile = true;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    bool missingFile = false;
    for (int k = 1; k < argc; ++k)
        Collect(argv[k], inputs, missingFile);
    if (missingFile) {
        std::fprintf(stderr, "replay: an input file named on the command line is missing\n");
        return 1;
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs found\n");
        return 1;
    }
    std::string bytes;
    for (const fs::path& path : inputs) {
        if (!ReadAll(path, bytes)) {
            std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
            return 1;
        }
        // Logged before the run, so that a crash names its input.
        std::fprintf(stderr, "replay: %s\n", path.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replay: %zu inputs ran clean\n", inputs.size());
    return 0;
}
