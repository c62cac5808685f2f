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

// Writes into a new temporary file next to Path what Fill hands to its Put(std::string_view)
// (which returns false once a write failed) and returns the file's name, or an empty string
// with Error set.
template <class Fill>
std::string WriteTemporaryWith(const std::string& path, mode_t mode, std::string* error,
                               Fill&& fill) {
    std::string pattern = ExtractFilePath(path) + "." + ExtractFileName(path) + ".XXXXXX";
    std::string name = pattern;
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        if (error)
            *error = Reason(path, errno);
        return {};
    }
    int failure = 0;
    auto put = [&](std::string_view content) {
        const char* p = content.data();
        size_t left = content.size();
        // Large contents go out in pieces: one write of tens of megabytes costs the kernel
        // several times what the same bytes cost a megabyte at a time.
        constexpr size_t Piece = 1 << 20;
        while (left > 0 && failure == 0) {
            ssize_t n = ::write(fd, p, left < Piece ? left : Piece);
            if (n < 0) {
                if (errno != EINTR)
                    failure = errno;
                continue;
            }
            p += n;
            left -= static_cast<size_t>(n);
        }
        return failure == 0;
    };
    fill(put);
    if (failure == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0))
        failure = errno;
    if (failure != 0) {
        ::close(fd);
        ::unlink(name.c_str());
        if (error)
            *error = Reason(path, failure);
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

std::string WriteTemporary(const std::string& path, std::string_view content, mode_t mode,
                           std::string* error) {
    return WriteTemporaryWith(path, mode, error, [&](auto& put) { put(content); });
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

namespace {

// Makes BackupPath hold the file at Path as it is now. The file is never written to (it is
// replaced by a rename), so a second name for it is as good as a copy and costs nothing however
// large the file is; a file system without such names gets a copy. An older backup is replaced
// only once the new one is whole.
bool BackUp(const std::string& path, const std::string& backupPath, std::string* error) {
    std::string name = ExtractFilePath(backupPath) + "." + ExtractFileName(backupPath) + ".XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd >= 0) {
        ::close(fd);
        ::unlink(name.c_str());
        if (::link(path.c_str(), name.c_str()) == 0) {
            if (::rename(name.c_str(), backupPath.c_str()) == 0)
                return true;
            ::unlink(name.c_str());
        }
    }
    return CopyFileSafely(path, backupPath, error);
}

// The replacement of WriteFileSafely, with the content handed out by Fill as in
// WriteTemporaryWith.
template <class Fill>
bool ReplaceFile(const std::string& path, const std::string& backupPath, std::string* error,
                 unsigned mode, Fill&& fill) {
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        if (error)
            *error = Reason(path, EISDIR);
        return false;
    }
    mode_t fileMode = exists ? (old.st_mode & 07777) : CreationMode(mode);
    std::string temporary = WriteTemporaryWith(path, fileMode, error, fill);
    if (temporary.empty())
        return false;
    if (exists && !backupPath.empty() && !BackUp(path, backupPath, error)) {
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

} // namespace

bool WriteFileSafely(const std::string& path, std::string_view content,
                     const std::string& backupPath, std::string* error, unsigned mode) {
    return ReplaceFile(path, backupPath, error, mode, [&](auto& put) { put(content); });
}

bool WriteLinesSafely(const std::string& path, const StringList& lines,
                      const std::string& backupPath, std::string* error, unsigned mode) {
    return ReplaceFile(path, backupPath, error, mode, [&](auto& put) {
        // A megabyte at a time, so that a large list never exists a second time as one text.
        constexpr size_t Piece = 1 << 20;
        std::string buffer;
        buffer.reserve(Piece + 512);
        for (const std::string& line : lines) {
            buffer += line;
            buffer += "\r\n";
            if (buffer.size() >= Piece) {
                if (!put(buffer))
                    return;
                buffer.clear();
            }
        }
        put(buffer);
    });
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
