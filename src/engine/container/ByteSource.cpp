#include "engine/container/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include "common/RegularFile.h"

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
    close();
}

FileSource::FileSource(FileSource&& other) noexcept : fd_(other.fd_), info_(other.info_) {
    other.fd_ = -1;
    other.info_ = {};
}

FileSource& FileSource::operator=(FileSource&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        info_ = std::exchange(other.info_, {});
    }
    return *this;
}

void FileSource::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    info_ = {};
}

bool FileSource::open(const std::string& path, int flags) {
    close();
    struct stat info {};
    const int fd = OpenRegularFile(path, O_RDONLY | flags, 0, nullptr, &info);
    if (fd < 0) {
        return false;
    }
    fd_ = fd;
    info_ = info;
    return true;
}

bool FileSource::readAt(std::uint64_t offset, void* out, std::size_t n) const {
    // A file that became shorter while it was read fails the read.
    return fd_ >= 0 && offset <= size() && n <= size() - offset && ReadFullyAt(fd_, offset, out, n);
}

}  // namespace vlt
