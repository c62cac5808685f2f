#include "SafeSave.h"

#include "TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale {

namespace {

std::string Reason(const std::string& path, int err) {
    return path + ": " + std::strerror(err);
}

// Writes Content into a new temporary file next to Path and returns its name, or an empty
// string with Error set.
std::string WriteTemporary(const std::string& path, std::string_view content, mode_t mode,
                           std::string* error) {
    std::string pattern = ExtractFilePath(path) + "." + ExtractFileName(path) + ".XXXXXX";
    std::string name = pattern;
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        if (error)
            *error = Reason(path, errno);
        return {};
    }
    const char* p = content.data();
    size_t left = content.size();
    // Large contents go out in pieces: one write of tens of megabytes costs the kernel several
    // times what the same bytes cost a megabyte at a time.
    constexpr size_t Piece = 1 << 20;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left < Piece ? left : Piece);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            ::unlink(name.c_str());
            if (error)
                *error = Reason(path, err);
            return {};
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(name.c_str());
        if (error)
            *error = Reason(path, err);
        return {};
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(name.c_str());
        if (error)
            *error = Reason(path, err);
        return {};
    }
    return name;
}

mode_t CreationMode(unsigned requested) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(requested) & ~mask;
}

} // namespace

std::string ProgramBackupPath(std::string_view path) {
    std::string ext = ExtractFileExt(path);
    std::string tail = ext.size() > 1 ? ext.substr(1, 2) : std::string();
    return ChangeFileExt(path, ".~" + tail);
}

std::string SourceBackupPath(std::string_view path) {
    std::string ext = ExtractFileExt(path);
    if (ext.size() < 2)
        return ChangeFileExt(path, ".~");
    ext[1] = '~';
    return ChangeFileExt(path, ext);
}

bool WriteFileSafely(const std::string& path, std::string_view content,
                     const std::string& backupPath, std::string* error, unsigned mode) {
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        if (error)
            *error = Reason(path, EISDIR);
        return false;
    }
    mode_t fileMode = exists ? (old.st_mode & 07777) : CreationMode(mode);
    std::string temporary = WriteTemporary(path, content, fileMode, error);
    if (temporary.empty())
        return false;
    if (exists && !backupPath.empty() && !CopyFileSafely(path, backupPath, error)) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temporary.c_str());
        if (error)
            *error = Reason(path, err);
        return false;
    }
    return true;
}

bool CopyFileSafely(const std::string& from, const std::string& to, std::string* error) {
    std::string bytes;
    if (!ReadFileBytes(from, bytes, error))
        return false;
    struct stat st {};
    mode_t mode = ::stat(from.c_str(), &st) == 0 ? (st.st_mode & 07777) : CreationMode(0666);
    std::string temporary = WriteTemporary(to, bytes, mode, error);
    if (temporary.empty())
        return false;
    if (::rename(temporary.c_str(), to.c_str()) != 0) {
        int err = errno;
        ::unlink(temporary.c_str());
        if (error)
            *error = Reason(to, err);
        return false;
    }
    return true;
}

} // namespace orvale
