#include "common/AtomicFile.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "common/Folders.h"
#include "common/RegularFile.h"
#include "common/TemporaryFile.h"

namespace vlt {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kRewritePiece = 64 << 10;  // between two checks of a rewrite in place
constexpr int kMaxLinkHops = 40;                 // as the kernel's own limit

// The path a write to `path` lands on: every symbolic link at its end followed, a dangling one
// as well (its target does not exist yet). False on a loop or an unreadable link.
bool followLinks(std::string path, std::string& real) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            real = std::move(path);
            return true;
        }
        char link[4096];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) {
            return false;
        }
        const std::string named(link, static_cast<std::size_t>(length));
        path = named.front() == '/' ? named : FolderOf(path) + "/" + named;
    }
    return false;
}

// Gives a new file the owner, group and mode of the file it replaces. 0, or the error number
// (EPERM when this user may not give that owner or group away).
int takeOver(int fd, const struct stat& existing) {
    struct stat created {};
    if (::fstat(fd, &created) != 0) {
        return errno;
    }
    if ((created.st_uid != existing.st_uid || created.st_gid != existing.st_gid) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        return errno;
    }
    // After fchown, which clears the set-user and set-group bits.
    return ::fchmod(fd, existing.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath, const FileWriter& writer, unsigned newFileMode)
    : target_(std::move(targetPath)), writer_(writer), mode_(newFileMode) {}

AtomicFile::~AtomicFile() {
    abandon();
    if (buffer_) {
        OPENSSL_cleanse(buffer_.get(), capacity_);
    }
}

bool AtomicFile::fail(int error) {
    if (error_ == 0) {
        error_ = error != 0 ? error : EIO;
    }
    return false;
}

std::string AtomicFile::errorText() const {
    if (error_ == 0) {
        return {};
    }
    char text[256];
    return ::strerror_r(error_, text, sizeof text);
}

// Finds the file really written and whether it exists; false when it may not be written.
bool AtomicFile::resolveTarget(bool& exists, struct stat& existing) {
    resolved_ = target_;
    // A file of the program's own gets a fresh file renamed over its name: whatever lies there
    // (a link, a FIFO, a file someone else planted) is never opened nor followed.
    if (renameOnly_ || newOnly_) {
        exists = false;
        if (::lstat(target_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
            return fail(EISDIR);
        }
        return true;
    }
    if (followDangling_ &&
        (target_.empty() || target_.back() == '/' || !followLinks(target_, resolved_))) {
        return fail(EINVAL);
    }
    exists = ::stat(resolved_.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return fail(errno);
    }
    if (exists) {
        // A FIFO or socket where the file belongs holds nothing to keep, and opening it could
        // block: it is renamed over like a missing file. Folders and devices are refused, and
        // an export written through links refuses anything but a regular file.
        const bool special =
            !followDangling_ && (S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode));
        if (!S_ISREG(existing.st_mode) && !special) {
            return fail(S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
        }
        if (char* real = ::realpath(resolved_.c_str(), nullptr)) {
            resolved_ = real;
            std::free(real);
        }
        exists = !special;
    }
    // A file its owner made read-only is not replaced behind their back, not even by root, for
    // whom access() always grants writing.
    if (exists && (existing.st_mode & S_IWUSR) == 0) {
        return fail(EACCES);
    }
    if (exists && ::access(resolved_.c_str(), W_OK) != 0) {
        return fail(errno);
    }
    return true;
}

bool AtomicFile::open() {
    abandon();
    error_ = 0;
    damaged_ = false;
    written_ = 0;
    struct stat existing {};
    bool exists = false;
    if (!resolveTarget(exists, existing) || !reserve(kBufferSize)) {
        return false;
    }
    // A rename would leave the file's other names with the old content.
    if (exists && existing.st_nlink > 1 && !renameOnly_) {
        return openInPlace();
    }

    const std::string folder = FolderOf(resolved_);
    const std::string prefix = TemporaryPrefix(resolved_);
    SweepLeftovers(folder, prefix);
    fd_ = CreateTemporary(folder, prefix, writer_.unnamedTemporaries, temp_);
    int result = errno;
    if (fd_ >= 0) {
        method_ = temp_.empty() ? Method::Unnamed : Method::Named;
        result = exists && !renameOnly_ && !newFileModeAlways_
                     ? takeOver(fd_, existing)
                     : (::fchmod(fd_, mode_) == 0 ? 0 : errno);
        if (result == 0) {
            return true;
        }
        abandon();
    }
    // The folder cannot be written, or the owner cannot be kept: the file is rewritten.
    if (exists && !renameOnly_ && (result == EACCES || result == EPERM)) {
        return openInPlace();
    }
    return fail(result);
}

bool AtomicFile::openInPlace() {
    fd_ = ::open(resolved_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        return fail(errno);
    }
    method_ = Method::InPlace;
    return true;
}

bool AtomicFile::writeThrough(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::flushBuffer() {
    const bool ok = writeThrough(buffer_.get(), buffered_);
    OPENSSL_cleanse(buffer_.get(), buffered_);
    buffered_ = 0;
    return ok;
}

// Makes the buffer hold at least `size` bytes, keeping what it holds.
bool AtomicFile::reserve(std::size_t size) {
    if (capacity_ >= size) {
        return true;
    }
    try {
        const std::size_t capacity = std::max(size, 2 * capacity_);
        auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (buffer_) {
            std::memcpy(larger.get(), buffer_.get(), buffered_);
            OPENSSL_cleanse(buffer_.get(), capacity_);
        }
        buffer_ = std::move(larger);
        capacity_ = capacity;
        return true;
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM);
    }
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (method_ == Method::None || error_ != 0) {
        return false;
    }
    if (writer_.writeFault) {
        if (const int error = writer_.writeFault(written_); error != 0) {
            return fail(error);
        }
    }
    if (size == 0) {
        return true;
    }
    written_ += size;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (buffered_ + size > capacity_) {
        // In place, nothing reaches the file before the whole content is known.
        if (method_ == Method::InPlace) {
            if (!reserve(buffered_ + size)) {
                return false;
            }
        } else if (!flushBuffer()) {
            return false;
        } else if (size >= capacity_) {
            return writeThrough(bytes, size);
        }
    }
    std::memcpy(buffer_.get() + buffered_, bytes, size);
    buffered_ += size;
    return true;
}

bool AtomicFile::commitReplacing() {
    if (!flushBuffer()) {
        return false;
    }
    if (::fsync(fd_) != 0) {
        return fail(errno);
    }
    // Named only now that it is complete; the lock keeps sweeps away until the rename.
    if (method_ == Method::Unnamed) {
        if (const int error = NameTemporary(fd_, resolved_, temp_); error != 0) {
            return fail(error);
        }
    }
    if (newOnly_ ? !renameIntoFreeName() : ::rename(temp_.c_str(), resolved_.c_str()) != 0) {
        return fail(errno);
    }
    temp_.clear();
    SyncFolder(FolderOf(resolved_));
    return true;
}

// Gives the temporary file the target's name only while nothing has it. Where the filesystem
// cannot rename that way, a hard link does the same: it too fails on a name that is taken.
bool AtomicFile::renameIntoFreeName() {
    if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, resolved_.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::link(temp_.c_str(), resolved_.c_str()) != 0) {
        return false;
    }
    ::unlink(temp_.c_str());
    return true;
}

bool AtomicFile::commitInPlace() {
    const std::size_t size = buffered_;
    // Reserving the space first finds a full disk before a byte of the old file has changed.
    if (size > 0 && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return fail(errno);
    }
    if (guard_) {
        if (const int error = guard_(resolved_, std::span(buffer_.get(), size)); error != 0) {
            return fail(error);
        }
    }
    if (!rewrite(size)) {
        return false;
    }
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0 || ::fsync(fd_) != 0) {
        damaged_ = true;
        return fail(errno);
    }
    return true;
}

// Writes the collected content over the target, a piece at a time.
bool AtomicFile::rewrite(std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        if (const int error = writer_.rewriteFault ? writer_.rewriteFault(done) : 0; error != 0) {
            damaged_ = done > 0;
            return fail(error);
        }
        const ssize_t n = ::pwrite(fd_, buffer_.get() + done, std::min(size - done, kRewritePiece),
                                   static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            damaged_ = done > 0;
            return fail(n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    bool ok = false;
    if (method_ == Method::None) {
        fail(EBADF);
    } else if (error_ == 0) {
        ok = method_ == Method::InPlace ? commitInPlace() : commitReplacing();
    }
    if (ok && committed_) {
        committed_(resolved_);
    }
    abandon();  // closes the file, and wipes what is left in memory
    return ok;
}

void AtomicFile::abandon() {
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());  // still locked, so no sweep races for it
        temp_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    method_ = Method::None;
    if (buffer_) {
        OPENSSL_cleanse(buffer_.get(), buffered_);
    }
    buffered_ = 0;
    if (capacity_ > kBufferSize) {  // a whole file's image, collected for an in-place write
        OPENSSL_cleanse(buffer_.get(), capacity_);
        buffer_.reset();
        capacity_ = 0;
    }
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         const FileWriter& writer, unsigned newFileMode) {
    AtomicFile file(path, writer, newFileMode);
    return file.open() && file.write(bytes) && file.commit();
}

bool writeFileAtomically(const std::string& path, const std::string& bytes,
                         const FileWriter& writer, unsigned newFileMode) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), writer,
        newFileMode);
}

int copyToNewFile(const std::string& from, const std::string& to, const FileWriter& writer) {
    struct stat source {};
    const int in = OpenRegularFile(from, O_RDONLY, 0, nullptr, &source);
    if (in < 0) {
        return errno;
    }
    int error = 0;
    try {
        std::vector<std::uint8_t> chunk(kBufferSize);
        AtomicFile out(to, writer, source.st_mode & 0600);
        out.createNewOnly();
        if (out.open()) {
            for (;;) {
                const ssize_t n = ::read(in, chunk.data(), chunk.size());
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n < 0) {
                    error = errno;
                    break;
                }
                if (n == 0) {
                    out.commit();
                    break;
                }
                if (!out.write(chunk.data(), static_cast<std::size_t>(n))) {
                    break;
                }
            }
        }
        if (error == 0) {
            error = out.error();
        }
        OPENSSL_cleanse(chunk.data(), chunk.size());
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    ::close(in);
    return error;
}

}  // namespace vlt
