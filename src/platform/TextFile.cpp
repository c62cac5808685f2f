#include "TextFile.h"

#include "SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale {

namespace {

// Appends the lines of Text to Lines and returns how many bytes they took. Unless Final, a last
// line without its end is left for the caller to complete, and so is a CR at the very end, which
// may be the first half of a CR LF.
size_t AppendTextLines(std::string_view text, bool final, StringList& lines) {
    const char* begin = text.data();
    const char* p = begin;
    const char* end = p + text.size();
    // Lines end in CR LF or LF, so the library's fast search for LF finds the end of a line
    // and a CR is looked for only before it. The LF found is kept: a text of CR line ends has
    // none, and searching it again for every line would go through the rest of it each time.
    const char* lf = nullptr;
    while (p < end) {
        if (!lf || lf < p) {
            const void* found = std::memchr(p, '\n', static_cast<size_t>(end - p));
            lf = found ? static_cast<const char*>(found) : end;
        }
        const void* cr = std::memchr(p, '\r', static_cast<size_t>(lf - p));
        const char* q = cr ? static_cast<const char*>(cr) : lf;
        if (!final && (q == end || (*q == '\r' && q + 1 == end)))
            break;
        lines.emplace_back(p, static_cast<size_t>(q - p));
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n')
            q += 2;
        else if (q < end)
            ++q;
        p = q;
    }
    return static_cast<size_t>(p - begin);
}

// Reads of a text file go through a buffer of this size instead of the whole file: a large
// member would otherwise be held twice, as bytes and as lines, and the memory for the bytes
// taken fresh from the system only to be given back at once.
constexpr size_t kReadPiece = 1 << 18;

// How often C occurs in Text, through the library's fast search (a plain count loop over the
// bytes takes several times as long).
size_t Occurrences(std::string_view text, char c) {
    size_t n = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (const void* found = std::memchr(p, c, static_cast<size_t>(end - p))) {
        ++n;
        p = static_cast<const char*>(found) + 1;
    }
    return n;
}

// The number of lines of a file, near enough to size the list once, read through Fd from its
// start without moving its offset; 0 when it cannot be read. A first piece of a file does not
// tell: a program file's text area has lines far shorter than its compiled and origin areas,
// and a list sized from it is a third larger than the file needs.
size_t CountLines(int fd) {
    std::string piece(kReadPiece, '\0');
    size_t lf = 0, cr = 0;
    off_t at = 0;
    for (;;) {
        ssize_t n = ::pread(fd, piece.data(), piece.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return 0;
        if (n == 0)
            break;
        std::string_view text(piece.data(), static_cast<size_t>(n));
        size_t zero = text.find('\0');
        text = text.substr(0, zero);
        lf += Occurrences(text, '\n');
        if (lf == 0)
            cr += Occurrences(text, '\r');
        if (zero != std::string_view::npos)
            break;
        at += n;
    }
    // CR LF counts once; a text of CR line ends has no LF.
    return (lf > 0 ? lf : cr) + 1;
}

} // namespace

void SplitTextLines(std::string_view text, StringList& lines) {
    lines.clear();
    size_t zero = text.find('\0');
    if (zero != std::string_view::npos)
        text = text.substr(0, zero);
    AppendTextLines(text, true, lines);
}

StringList SplitTextLines(std::string_view text) {
    StringList lines;
    SplitTextLines(text, lines);
    return lines;
}

std::string JoinTextLines(const StringList& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = path + ": " + std::strerror(EISDIR);
        return false;
    }
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            if (error)
                *error = path + ": " + std::strerror(err);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool ReadTextFile(const std::string& path, StringList& lines, std::string* error,
                  size_t* zeroLine) {
    lines.clear();
    if (zeroLine)
        *zeroLine = 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = path + ": " + std::strerror(EISDIR);
        return false;
    }
    const size_t fileSize = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    // A large file is counted first: its list of lines is then made once at its size, instead
    // of being sized from an estimate that may be far too large or copied as it grows.
    bool sized = false;
    if (fileSize >= 4 * kReadPiece) {
        if (size_t count = CountLines(fd)) {
            lines.reserve(count);
            sized = true;
        }
    }
    // The unfinished last line of one piece is moved to the front for the next.
    std::string buffer(kReadPiece, '\0');
    size_t held = 0;     // bytes at the front of Buffer not yet made into lines
    size_t consumed = 0; // bytes of the file made into lines
    bool ended = false;  // a zero byte ended the text; the rest is still read, for its errors
    for (;;) {
        if (buffer.size() - held < kReadPiece / 2)
            buffer.resize(held + kReadPiece);
        ssize_t n = ::read(fd, buffer.data() + held, buffer.size() - held);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            lines.clear();
            if (error)
                *error = path + ": " + std::strerror(err);
            return false;
        }
        if (n == 0 && ended)
            break;
        if (ended)
            continue;
        const size_t size = held + static_cast<size_t>(n);
        std::string_view text(buffer.data(), size);
        size_t zero = text.find('\0', held);
        if (zero != std::string_view::npos) {
            AppendTextLines(text.substr(0, zero), true, lines);
            // The line of the zero byte was made of the text before it, unless none was left.
            bool lineStarts = zero == 0 || text[zero - 1] == '\n' || text[zero - 1] == '\r';
            if (zeroLine)
                *zeroLine = lines.size() + (lineStarts ? 1 : 0);
            ended = true;
            held = 0;
            continue;
        }
        if (n == 0) {
            AppendTextLines(text, true, lines);
            break;
        }
        size_t used = AppendTextLines(text, false, lines);
        consumed += used;
        // The lines of the first piece tell about how many the whole file holds: the list is
        // sized once instead of being copied as it grows. The bound keeps an odd first piece
        // (a run of empty lines) from asking for far more than a text file needs.
        if (!sized && used > 0 && fileSize > consumed) {
            sized = true;
            double perByte = static_cast<double>(lines.size()) / static_cast<double>(consumed);
            size_t estimate = static_cast<size_t>(perByte * static_cast<double>(fileSize) * 1.25);
            lines.reserve(std::min(estimate, fileSize / 8) + 1024);
        }
        held = size - used;
        std::memmove(buffer.data(), buffer.data() + used, held);
    }
    ::close(fd);
    return true;
}

bool WriteTextFile(const std::string& path, const StringList& lines, std::string* error) {
    return WriteFileSafely(path, JoinTextLines(lines), {}, error);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ExtractFilePath(std::string_view path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
    size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    std::string current = ExtractFileExt(path);
    std::string result(path.substr(0, path.size() - current.size()));
    result += ext;
    return result;
}

} // namespace orvale
