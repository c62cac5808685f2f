#include "SafeSave.h"

#include "TextFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale {

namespace {

std::string Reason(const std::string& path, int err) {
    return path + ": " + std::strerror(err);
}

std::atomic<bool> UnnamedAllowed{true};

// A temporary file of a save of Path is named Stem + six letters or digits, as mkstemp makes
// them, in the folder of Path.
std::string TemporaryStem(const std::string& path) {
    return ExtractFilePath(path) + "." + ExtractFileName(path) + ".";
}

bool IsTemporaryOf(std::string_view entry, std::string_view stemName) {
    if (entry.size() != stemName.size() + 6 || !entry.starts_with(stemName))
        return false;
    return std::all_of(entry.end() - 6, entry.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

std::string FolderOf(const std::string& path) {
    std::string folder = ExtractFilePath(path);
    return folder.empty() ? std::string(".") : folder;
}

bool SameFile(int fd, const std::string& name) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A writer holds a lock on its temporary file for as long as it lives (the system lets it go
// when the writer's process dies), so a temporary that can be locked belongs to no one.
void RemoveIfStale(const std::string& name) {
    int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        SameFile(fd, name))
        ::unlink(name.c_str());
    ::close(fd);
}

// Removes what saves of Path (and of its backup) that were killed left beside it.
void RemoveStaleTemporaries(const std::string& path, const std::string& backupPath) {
    const std::string stem = "." + ExtractFileName(path) + ".";
    const std::string backupStem =
        backupPath.empty() ? std::string() : "." + ExtractFileName(backupPath) + ".";
    const std::string folder = ExtractFilePath(path);
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (IsTemporaryOf(name, stem) || (!backupStem.empty() && IsTemporaryOf(name, backupStem)))
            stale.push_back(folder + std::string(name));
    }
    ::closedir(dir);
    for (const std::string& name : stale)
        RemoveIfStale(name);
}

// Six characters of the kind mkstemp uses.
std::string RandomSuffix() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::string suffix(6, 'X');
    for (char& c : suffix)
        c = kChars[random() % (sizeof(kChars) - 1)];
    return suffix;
}

mode_t CreationMode(unsigned requested) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(requested) & ~mask;
}

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

// Large contents go out in pieces of a quarter megabyte. The page cache takes a write into
// pages as large as the write itself, and large blocks of free memory are the ones the kernel
// (or, in a virtual machine, the host) has to prepare afresh: a megabyte at a time cost the
// kernel five to eight times what the same bytes cost in quarter-megabyte writes, and one write
// of tens of megabytes more still.
constexpr size_t kPiece = 1 << 18;

// Writes Content to Fd a piece at a time, counting in Done what went out: 0, or the error number.
int WriteAll(int fd, std::string_view content, size_t& done) {
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left < kPiece ? left : kPiece);
        if (n < 0) {
            if (errno != EINTR)
                return errno;
            continue;
        }
        p += n;
        left -= static_cast<size_t>(n);
        done += static_cast<size_t>(n);
    }
    return 0;
}

// How much is written before the disk is asked to start on it.
constexpr size_t kEarlyWrite = 8 << 20;

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

SafeFileWriter::SafeFileWriter(std::string path, unsigned mode, bool keepMode)
    : Path(std::move(path)) {
    // A symbolic link stays a link: the file it leads to is the one replaced (and backed up),
    // as an editor writing through the link would. A link that leads nowhere is replaced.
    struct stat entry {};
    if (::lstat(Path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
        if (char* target = ::realpath(Path.c_str(), nullptr)) {
            Path = target;
            std::free(target);
        }
    }
    struct stat old {};
    Exists = ::stat(Path.c_str(), &old) == 0;
    if (Exists && S_ISDIR(old.st_mode)) {
        Failure = EISDIR;
        return;
    }
    Mode = Exists && keepMode ? (old.st_mode & 07777) : CreationMode(mode);
    OpenTemporary();
}

void SetUnnamedTemporaries(bool allowed) {
    UnnamedAllowed = allowed;
}

void SafeFileWriter::OpenTemporary() {
#if defined(O_TMPFILE)
    // The file gets its name only once it is whole (NameTemporary), through its entry in
    // /proc/self/fd; a save killed before that leaves nothing on the disk.
    if (UnnamedAllowed && ::access("/proc/self/fd", X_OK) == 0) {
        Fd = ::open(FolderOf(Path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (Fd >= 0) {
            ::flock(Fd, LOCK_EX);
            return;
        }
    }
#endif
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name = TemporaryStem(Path) + "XXXXXX";
        int fd = ::mkstemp(name.data());
        if (fd < 0) {
            Failure = errno;
            return;
        }
        // Held until the writer ends. Another save that found the file before the lock was
        // taken may have removed it as stale: then another name is made.
        if (::flock(fd, LOCK_EX) != 0 || SameFile(fd, name)) {
            Fd = fd;
            Temporary = std::move(name);
            return;
        }
        ::close(fd);
    }
    Failure = EEXIST;
}

// Gives the unnamed temporary file a name beside Path, to be renamed over it.
bool SafeFileWriter::NameTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(Fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = TemporaryStem(Path) + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            Temporary = std::move(name);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

void SafeFileWriter::KeepIfUnchanged() {
    if (Failure != 0 || !Exists || Written > 0 || Old >= 0)
        return;
    Old = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
}

// True while Content is what the old file holds at this place.
bool SafeFileWriter::Compare(std::string_view content) {
    OldPiece.resize(std::min(kPiece, content.size()));
    for (size_t done = 0; done < content.size();) {
        const size_t want = std::min(kPiece, content.size() - done);
        ssize_t n = ::pread(Old, OldPiece.data(), want, static_cast<off_t>(Written + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 ||
            std::memcmp(OldPiece.data(), content.data() + done, static_cast<size_t>(n)) != 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The new content differs from the old file after Written bytes: those are copied from the
// old file into the temporary one, and what comes next is written.
void SafeFileWriter::StopComparing() {
    const size_t same = Written;
    off_t from = 0;
    size_t copied = 0;
    while (copied < same && Failure == 0) {
        ssize_t n = ::copy_file_range(Old, &from, Fd, nullptr, same - copied, 0);
        if (n > 0) {
            copied += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Not offered between these files (or the old file ended early): copied by hand.
        OldPiece.resize(kPiece);
        ssize_t r = ::pread(Old, OldPiece.data(), std::min(kPiece, same - copied), from);
        if (r <= 0) {
            Failure = r < 0 ? errno : EIO;
            break;
        }
        size_t put = 0;
        Failure = WriteAll(Fd, std::string_view(OldPiece.data(), static_cast<size_t>(r)), put);
        from += r;
        copied += static_cast<size_t>(r);
    }
    ::close(Old);
    Old = -1;
    std::string().swap(OldPiece);
}

void SafeFileWriter::Discard() {
    if (Old >= 0)
        ::close(Old);
    Old = -1;
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
    if (!Temporary.empty())
        ::unlink(Temporary.c_str());
    Temporary.clear();
}

bool SafeFileWriter::Put(std::string_view content) {
    if (Old >= 0 && Failure == 0) {
        if (Compare(content)) {
            Written += content.size();
            return true;
        }
        StopComparing();
    }
    if (Failure == 0)
        Failure = WriteAll(Fd, content, Written);
#if defined(__linux__)
    // The disk starts on what has been written while the rest is still being made, so that
    // the sync of Commit waits for the last stretch only, not for the whole file. This only
    // starts the writing; whether it succeeded is still what the sync reports.
    if (Failure == 0 && Written - Started >= kEarlyWrite) {
        ::sync_file_range(Fd, static_cast<off_t>(Started), static_cast<off_t>(Written - Started),
                          SYNC_FILE_RANGE_WRITE);
        Started = Written;
    }
#endif
    return Failure == 0;
}

bool SafeFileWriter::Write(std::string_view content) {
    if (!Buffer.empty() && Put(Buffer))
        Buffer.clear();
    return Put(content);
}

bool SafeFileWriter::WriteLines(const StringList& lines, size_t first, size_t end) {
    for (size_t k = first; k < end && k < lines.size(); ++k)
        if (!WriteLine(lines[k]))
            return false;
    return Failure == 0;
}

bool SafeFileWriter::WriteLine(std::string_view line) {
    if (Buffer.capacity() < kPiece)
        Buffer.reserve(kPiece + 512);
    Buffer += line;
    Buffer += "\r\n";
    if (Buffer.size() >= kPiece) {
        if (!Put(Buffer))
            return false;
        Buffer.clear();
    }
    return Failure == 0;
}

bool SafeFileWriter::Add(std::string_view text) {
    if (Buffer.capacity() < kPiece)
        Buffer.reserve(kPiece + 512);
    Buffer += text;
    if (Buffer.size() >= kPiece) {
        if (!Put(Buffer))
            return false;
        Buffer.clear();
    }
    return Failure == 0;
}

bool SafeFileWriter::Commit(const std::string& backupPath, std::string* error) {
    if (Failure == 0 && !Buffer.empty() && Put(Buffer))
        Buffer.clear();
    if (Old >= 0 && Failure == 0) {
        // The same bytes so far: the same file if it holds no more of them.
        struct stat old {};
        if (::fstat(Old, &old) == 0 && static_cast<size_t>(old.st_size) == Written) {
            Discard();
            SameAsOld = true;
            RemoveStaleTemporaries(Path, backupPath);
            return true;
        }
        StopComparing();
    }
    if (Failure == 0 && (::fchmod(Fd, Mode) != 0 || ::fsync(Fd) != 0))
        Failure = errno;
    if (Failure == 0 && Temporary.empty() && !NameTemporary())
        Failure = errno;
    if (Failure != 0) {
        Discard();
        if (error)
            *error = Reason(Path, Failure);
        return false;
    }
    if (Exists && !backupPath.empty() && !BackUp(Path, backupPath, error)) {
        Discard();
        return false;
    }
    if (::rename(Temporary.c_str(), Path.c_str()) != 0) {
        int err = errno;
        Discard();
        if (error)
            *error = Reason(Path, err);
        return false;
    }
    Temporary.clear();
    // Closed only now: the lock on the file keeps other saves from taking it for a stale one
    // until it has its place. Its content was on the disk before the rename.
    ::close(Fd);
    Fd = -1;
    RemoveStaleTemporaries(Path, backupPath);
    return true;
}

bool WriteFileSafely(const std::string& path, std::string_view content,
                     const std::string& backupPath, std::string* error, unsigned mode) {
    SafeFileWriter writer(path, mode);
    writer.Write(content);
    return writer.Commit(backupPath, error);
}

bool WriteLinesSafely(const std::string& path, const StringList& lines,
                      const std::string& backupPath, std::string* error, unsigned mode) {
    SafeFileWriter writer(path, mode);
    writer.WriteLines(lines);
    return writer.Commit(backupPath, error);
}

bool CopyFileSafely(const std::string& from, const std::string& to, std::string* error) {
    std::string bytes;
    if (!ReadFileBytes(from, bytes, error))
        return false;
    struct stat st {};
    mode_t mode = ::stat(from.c_str(), &st) == 0 ? (st.st_mode & 07777) : CreationMode(0666);
    // The copy takes the mode of what it copies, not of the file it replaces.
    SafeFileWriter writer(to, mode, false);
    writer.Write(bytes);
    return writer.Commit({}, error);
}

} // namespace orvale
