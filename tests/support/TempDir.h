#pragma once

#include <filesystem>
#include <string>

#include <csignal>
#include <sys/resource.h>

namespace orvale::test {

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvale-XXXXXX").string();
        Path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(Path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Path of a file inside the directory.
    std::string File(const std::string& name) const { return Path_ + "/" + name; }
    const std::string& Path() const { return Path_; }

private:
    std::string Path_;
};

// While alive, any file write beyond Bytes fails as it would on a full disk (also for root,
// who is not stopped by a read-only folder).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &Saved);
        Previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = Saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, Previous);
    }

private:
    rlimit Saved{};
    void (*Previous)(int) = nullptr;
};

} // namespace orvale::test
