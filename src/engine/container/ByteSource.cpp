#include "engine/container/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vlt {

bool MemorySource::readAt(std::uint64_t offset, void* out, std::size_t n) const {
    if (offset > bytes_.size() || n > bytes_.size() - offset) {
        return false;
    }
    if (n != 0) {
        std::memcpy(out, bytes_.data() + offset, n);
    }
    return true;
}

FileSource::~FileSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileSource::open(const std::string& path) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool FileSource::readAt(std::uint64_t offset, void* out, std::size_t n) const {
    if (fd_ < 0 || offset > size_ || n > size_ - offset) {
        return false;
    }
    auto* bytes = static_cast<std::uint8_t*>(out);
    while (n != 0) {
        const ssize_t got = ::pread(fd_, bytes, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;  // an error, or the file became shorter while it was read
        }
        bytes += got;
        offset += static_cast<std::uint64_t>(got);
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace vlt
