#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vlt {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

bool syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

}  // namespace

std::function<bool(std::size_t)>& AtomicFile::writeHook() {
    static std::function<bool(std::size_t)> hook;
    return hook;
}

AtomicFile::AtomicFile(std::string targetPath, unsigned newFileMode)
    : target_(std::move(targetPath)), mode_(newFileMode) {}

AtomicFile::~AtomicFile() {
    abandon();
}

bool AtomicFile::open() {
    abandon();
    failed_ = false;
    written_ = 0;
    buffered_ = 0;
    resolved_ = target_;
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists) {
        if (char* real = ::realpath(target_.c_str(), nullptr)) {
            resolved_ = real;
            std::free(real);
        }
        // A file its owner made read-only is not replaced behind their back.
        if (::access(resolved_.c_str(), W_OK) != 0) {
            return false;
        }
    }
    const std::string dir = folderOf(resolved_);
    const auto slash = resolved_.rfind('/');
    const std::string name = resolved_.substr(slash == std::string::npos ? 0 : slash + 1);
    temp_ = dir + "/." + name + ".XXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : mode_;
    if (::fchmod(fd_, mode) != 0) {
        abandon();
        return false;
    }
    if (buffer_.size() != kBufferSize) {
        buffer_ = SecureBuffer(kBufferSize);
    }
    return true;
}

bool AtomicFile::writeThrough(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::flushBuffer() {
    const bool ok = writeThrough(buffer_.data(), buffered_);
    wipeBytes(buffer_.data(), buffered_);
    buffered_ = 0;
    return ok;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) {
        return false;
    }
    auto& hook = writeHook();
    if (hook && !hook(written_)) {
        failed_ = true;
        return false;
    }
    written_ += size;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (buffered_ + size > kBufferSize && !flushBuffer()) {
        return false;
    }
    if (size >= kBufferSize) {
        return writeThrough(bytes, size);
    }
    std::memcpy(buffer_.data() + buffered_, bytes, size);
    buffered_ += size;
    return true;
}

bool AtomicFile::writeInt32(std::int32_t value) {
    std::uint8_t bytes[4];
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
    return write(bytes, 4);
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failed_ || !flushBuffer() || ::fsync(fd_) != 0) {
        abandon();
        return false;
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        abandon();
        return false;
    }
    fd_ = -1;
    if (::rename(temp_.c_str(), resolved_.c_str()) != 0) {
        abandon();
        return false;
    }
    temp_.clear();
    syncFolder(folderOf(resolved_));
    return true;
}

void AtomicFile::abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    wipeBytes(buffer_.data(), buffered_);
    buffered_ = 0;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         unsigned newFileMode) {
    AtomicFile file(path, newFileMode);
    return file.open() && file.write(bytes) && file.commit();
}

bool writeFileAtomically(const std::string& path, const std::string& bytes, unsigned newFileMode) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        newFileMode);
}

}  // namespace vlt
