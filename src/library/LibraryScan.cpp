#include "library/LibraryScan.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale::library {

namespace {

std::int64_t TimeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

std::string Reason(int error) {
    switch (error) {
    case ELOOP:
        return "symbolic link loop";
    case ENOENT:
        return "broken symbolic link or removed while read";
    case EACCES:
    case EPERM:
        return "permission denied";
    default:
        return std::strerror(error);
    }
}

class Walker {
public:
    Walker(TLibraryScan& scan, int rootFd, bool times) : Scan(scan), RootFd(rootFd), Times(times) {}

    // Walks the folder Fd (owned) whose path relative to the library is Prefix.
    void Walk(int fd, const std::string& prefix, int depth) {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            Skip(prefix, errno);
            ::close(fd);
            return;
        }
        std::vector<std::string> folders;
        while (dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            std::string path = prefix.empty() ? std::string(name) : prefix + '/' + name;
            // A search needs no size and time: a regular file is taken as the folder lists it.
            if (!Times && entry->d_type == DT_REG) {
                Scan.Files.push_back({std::move(path), 0, 0});
                continue;
            }
            struct stat st {};
            // Links are followed: a library may gather source files from elsewhere.
            if (::fstatat(::dirfd(dir), name, &st, 0) != 0) {
                Skip(path, errno);
                continue;
            }
            if (S_ISDIR(st.st_mode)) {
                if (!Visited.insert({st.st_dev, st.st_ino}).second) {
                    Scan.Skipped.push_back({path, "folder already walked (symbolic link loop)"});
                    continue;
                }
                if (depth >= kMaxDepth) {
                    Scan.Skipped.push_back({path, "folders nested too deep"});
                    continue;
                }
                Scan.Folders.push_back({path, 0, TimeOf(st)});
                folders.push_back(std::move(path));
            } else if (S_ISREG(st.st_mode)) {
                Scan.Files.push_back(
                    {std::move(path), static_cast<std::uint64_t>(st.st_size), TimeOf(st)});
            } else {
                Scan.Skipped.push_back({path, "not a regular file"});
            }
        }
        ::closedir(dir);
        // Subfolders once the folder is closed, each opened when its turn comes: a folder of
        // thousands of folders holds no descriptor for each.
        for (const std::string& path : folders) {
            int sub = ::openat(RootFd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (sub < 0) {
                Skip(path, errno);
                continue;
            }
            Walk(sub, path, depth + 1);
        }
    }

    std::set<std::pair<dev_t, ino_t>> Visited;

private:
    static constexpr int kMaxDepth = 64;

    void Skip(const std::string& path, int error) { Scan.Skipped.push_back({path, Reason(error)}); }

    TLibraryScan& Scan;
    int RootFd;
    bool Times;
};

} // namespace

std::int64_t PathTime(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? TimeOf(st) : -1;
}

std::string CanonicalLibrary(const std::string& root, std::string& error) {
    char resolved[PATH_MAX];
    if (!::realpath(root.c_str(), resolved)) {
        error = root + ": " + std::strerror(errno);
        return {};
    }
    struct stat st {};
    if (::stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = root + ": not a folder";
        return {};
    }
    return resolved;
}

bool ScanLibrary(const std::string& root, TLibraryScan& scan, std::string& error, bool times) {
    scan = {};
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = root + ": " + (errno == ENOTDIR ? std::string("not a folder") : Reason(errno));
        return false;
    }
    struct stat st {};
    ::fstat(fd, &st);
    int rootFd = ::dup(fd);
    Walker walker(scan, rootFd, times);
    walker.Visited.insert({st.st_dev, st.st_ino});
    scan.Folders.push_back({"", 0, TimeOf(st)});
    walker.Walk(fd, {}, 0);
    ::close(rootFd);
    std::sort(scan.Files.begin(), scan.Files.end(),
              [](const TScannedFile& a, const TScannedFile& b) { return a.Path < b.Path; });
    std::sort(scan.Skipped.begin(), scan.Skipped.end(),
              [](const TSkippedPath& a, const TSkippedPath& b) { return a.Path < b.Path; });
    return true;
}

char* TFileBuffer::Reserve(size_t size) {
    if (size > Capacity) {
        size_t capacity = std::max(size, Capacity * 2);
        Data.reset(new char[capacity]);
        Capacity = capacity;
    }
    return Data.get();
}

int ReadLibraryFile(const std::string& root, const std::string& path, TFileBuffer& text,
                    TScannedFile& read) {
    read.Path = path;
    std::string full = root + '/' + path;
    // The access time of a member is the owner's business: reading must leave no trace.
    int fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int result = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        struct stat before {};
        if (::fstat(fd, &before) != 0) {
            result = errno;
            break;
        }
        size_t size = static_cast<size_t>(before.st_size);
        if (size > kMaxMemberBytes) {
            result = EFBIG;
            break;
        }
        char* data = text.Reserve(size);
        size_t got = 0;
        result = 0;
        while (got < size) {
            ssize_t n = ::pread(fd, data + got, size - got, static_cast<off_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result = errno;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        text.SetSize(got);
        if (result != 0)
            break;
        char probe = 0;
        bool grew = ::pread(fd, &probe, 1, static_cast<off_t>(got)) > 0;
        struct stat after {};
        ::fstat(fd, &after);
        read.Size = got;
        read.Time = TimeOf(before);
        // Written to while read: read it again, and keep a time that the next refresh sees as
        // changed when it never settles.
        if (!grew && TimeOf(after) == TimeOf(before) &&
            static_cast<std::uint64_t>(after.st_size) == got)
            break;
        read.Time = 0;
    }
    ::close(fd);
    return result;
}

} // namespace orvale::library
