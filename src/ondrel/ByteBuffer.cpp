#include "ByteBuffer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrel {

bool ReadWholeFile(const std::string& path, ByteBuffer& buffer, std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        error = path + ": " + std::strerror(err);
        return false;
    }
    buffer = ByteBuffer(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < buffer.Length()) {
        ssize_t n = ::read(fd, buffer.Data() + got, buffer.Length() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            error = path + ": " + std::strerror(err);
            return false;
        }
        if (n == 0)
            break; // the file became shorter since it was opened
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    buffer.Shrink(got);
    return true;
}

} // namespace ondrel
