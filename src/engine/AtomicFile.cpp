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

AtomicFile::~AtomicFile() { abandon(); }

bool AtomicFile::open() {
    abandon();
    failed_ = false;
    written_ = 0;
    buffer_.clear();
    std::string dir = folderOf(target_);
    std::string name = target_.substr(target_.rfind('/') == std::string::npos ? 0 : target_.rfind('/') + 1);
    temp_ = dir + "/." + name + ".XXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    struct stat existing {};
    mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : mode_;
    if (::fchmod(fd_, mode) != 0) {
        abandon();
        return false;
    }
    buffer_.reserve(kBufferSize);
    return true;
}

bool AtomicFile::flushBuffer() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failed_ = true;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    return !failed_;
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
    if (buffer_.size() + size > kBufferSize && !flushBuffer()) {
        return false;
    }
    if (size >= kBufferSize) {
        buffer_.assign(static_cast<const char*>(data), size);
        return flushBuffer();
    }
    buffer_.append(static_cast<const char*>(data), size);
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
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        abandon();
        return false;
    }
    temp_.clear();
    syncFolder(folderOf(target_));
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
    // The buffer may hold ciphertext or settings; clear it before the memory goes back.
    std::memset(buffer_.data(), 0, buffer_.size());
    buffer_.clear();
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
