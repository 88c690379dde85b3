#include "common/RegularFile.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace vlt {

int OpenRegularFile(const std::string& path, int flags, mode_t mode, FileRefusal* why,
                    struct stat* info) {
    FileRefusal ignored;
    FileRefusal& reason = why != nullptr ? *why : ignored;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
        // A FIFO without a reader (or a socket) refuses a non-blocking open for writing with
        // ENXIO, a folder with EISDIR.
        reason = errno == ENXIO || errno == EISDIR ? FileRefusal::NotRegular : FileRefusal::Missing;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        reason = FileRefusal::NotRegular;
        errno = EINVAL;
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) {
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    if (info != nullptr) {
        *info = st;
    }
    reason = FileRefusal::None;
    return fd;
}

bool ReadFullyAt(int fd, std::uint64_t offset, void* out, std::size_t size) {
    auto* bytes = static_cast<char*>(out);
    while (size != 0) {
        const ssize_t got = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        bytes += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

FileRefusal ReadRegularFile(const std::string& path, std::string& out, std::uint64_t maxSize) {
    out.clear();
    FileRefusal why = FileRefusal::None;
    struct stat info {};
    const int fd = OpenRegularFile(path, O_RDONLY, 0, &why, &info);
    if (fd < 0) {
        return why;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxSize) {
        why = FileRefusal::TooLarge;
    } else {
        try {
            out.resize(static_cast<std::size_t>(size));
            if (!ReadFullyAt(fd, 0, out.data(), out.size())) {
                why = FileRefusal::ReadFailed;
            }
        } catch (const std::bad_alloc&) {
            why = FileRefusal::NoMemory;
        }
    }
    ::close(fd);
    if (why != FileRefusal::None) {
        OPENSSL_cleanse(out.data(), out.size());
        out.clear();
    }
    return why;
}

}  // namespace vlt
