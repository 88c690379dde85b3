#include "engine/container/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "common/RegularFile.h"
#include "engine/container/RescueCopy.h"

namespace vlt {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kRewritePiece = 64 << 10;  // between two checks of a rewrite in place
constexpr std::size_t kSuffixLength = 6;         // as mkostemp's XXXXXX
constexpr int kNameAttempts = 8;

// Temporary files of "a.vlt" are named ".a.vlt.tmp-" and six letters or digits.
std::string temporaryPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    // Appended piece by piece: GCC 12 at -O3 warns a false -Wrestrict on "." + text.
    std::string prefix(1, '.');
    prefix += std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    prefix += ".tmp-";
    return prefix;
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kSuffixLength || !name.starts_with(prefix)) {
        return false;
    }
    for (char c : name.substr(prefix.size())) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char noise[kSuffixLength] = {};
    if (::getrandom(noise, sizeof noise, 0) != static_cast<ssize_t>(sizeof noise)) {
        const auto fallback = static_cast<unsigned long>(::getpid()) ^ std::rand();
        for (std::size_t i = 0; i < kSuffixLength; ++i) {
            noise[i] = static_cast<unsigned char>(fallback >> (5 * i));
        }
    }
    std::string suffix;
    for (unsigned char n : noise) {
        suffix += kLetters[n % (sizeof kLetters - 1)];
    }
    return suffix;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Locks a temporary file just created under `name` for as long as it is open. False when a
// sweep by another save took the name away between its creation and the lock.
bool lockIfStillNamed(int fd, const std::string& name) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        return false;
    }
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
           sameFile(opened, named);
}

// Removes this user's temporary files of one target that no save holds locked any more: what
// a crash left behind. Temporaries of other targets, and of saves under way, stay.
void sweepLeftovers(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name, prefix)) {
            continue;
        }
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(opened, named)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// An unnamed file gets its name through /proc, or directly where the process may do that.
bool canNameUnnamed() {
    return ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
}

// A locked temporary file in `folder`: unnamed where allowed and the filesystem has them (`name`
// left empty), else named with `prefix`. -1 with errno set when none can be created.
int createTemporary(const std::string& folder, const std::string& prefix, bool unnamed,
                    std::string& name) {
    name.clear();
    if (unnamed && canNameUnnamed()) {
        const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);  // nobody else can reach it yet
            return fd;
        }
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate = folder + "/" + prefix + std::string(kSuffixLength, 'X');
        const int fd = ::mkostemp(candidate.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        if (lockIfStillNamed(fd, candidate)) {
            name = std::move(candidate);
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
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

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

AtomicFile::AtomicFile(std::string targetPath, const FileWriter& writer, unsigned newFileMode)
    : target_(std::move(targetPath)), writer_(writer), mode_(newFileMode) {}

AtomicFile::~AtomicFile() {
    abandon();
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

bool AtomicFile::open() {
    abandon();
    error_ = 0;
    damaged_ = false;
    written_ = 0;
    resolved_ = target_;
    struct stat existing {};
    bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return fail(errno);
    }
    if (exists) {
        // A FIFO or socket where the file belongs holds nothing to keep, and opening it could
        // block: it is renamed over like a missing file. Folders and devices are refused.
        const bool special = S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode);
        if (!S_ISREG(existing.st_mode) && !special) {
            return fail(S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
        }
        if (char* real = ::realpath(target_.c_str(), nullptr)) {
            resolved_ = real;
            std::free(real);
        }
        exists = !special;
    }
    // A file its owner made read-only is not replaced behind their back.
    if (exists && ::access(resolved_.c_str(), W_OK) != 0) {
        return fail(errno);
    }
    try {
        if (buffer_.size() != kBufferSize) {
            buffer_ = SecureBuffer(kBufferSize);
        }
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM);
    }
    // A rename would leave the file's other names with the old content.
    if (exists && existing.st_nlink > 1 && !renameOnly_) {
        return openInPlace();
    }

    const std::string folder = FolderOf(resolved_);
    const std::string prefix = temporaryPrefix(resolved_);
    sweepLeftovers(folder, prefix);
    fd_ = createTemporary(folder, prefix, writer_.unnamedTemporaries, temp_);
    int result = errno;
    if (fd_ >= 0) {
        method_ = temp_.empty() ? Method::Unnamed : Method::Named;
        result = exists && !renameOnly_ ? takeOver(fd_, existing)
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
    const bool ok = writeThrough(buffer_.data(), buffered_);
    wipeBytes(buffer_.data(), buffered_);
    buffered_ = 0;
    return ok;
}

bool AtomicFile::grow(std::size_t needed) {
    try {
        SecureBuffer larger(std::max(needed, 2 * buffer_.size()));
        std::memcpy(larger.data(), buffer_.data(), buffered_);
        buffer_ = std::move(larger);  // the old block is wiped as it goes
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
    if (buffered_ + size > buffer_.size()) {
        // In place, nothing reaches the file before the whole content is known.
        if (method_ == Method::InPlace) {
            if (!grow(buffered_ + size)) {
                return false;
            }
        } else if (!flushBuffer()) {
            return false;
        } else if (size >= buffer_.size()) {
            return writeThrough(bytes, size);
        }
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

bool AtomicFile::linkUnnamed() {
    const std::string folder = FolderOf(resolved_);
    const std::string prefix = temporaryPrefix(resolved_);
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = folder + "/" + prefix + randomSuffix();
        int result = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno != EEXIST) {
            result = ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        }
        if (result == 0) {
            temp_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            return fail(errno);
        }
    }
    return fail(EEXIST);
}

bool AtomicFile::commitReplacing() {
    if (!flushBuffer()) {
        return false;
    }
    if (::fsync(fd_) != 0) {
        return fail(errno);
    }
    // Named only now that it is complete; the lock keeps sweeps away until the rename.
    if (method_ == Method::Unnamed && !linkUnnamed()) {
        return false;
    }
    if (::rename(temp_.c_str(), resolved_.c_str()) != 0) {
        return fail(errno);
    }
    temp_.clear();
    SyncFolder(FolderOf(resolved_));
    return true;
}

bool AtomicFile::commitInPlace() {
    const std::size_t size = buffered_;
    // Reserving the space first finds a full disk before a byte of the old file has changed.
    if (size > 0 && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return fail(errno);
    }
    if (rescue_) {
        const int error =
            WriteRescueCopy(resolved_, rescueFolder_, std::span(buffer_.data(), size), writer_);
        if (error != 0) {
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
        const ssize_t n = ::pwrite(fd_, buffer_.data() + done, std::min(size - done, kRewritePiece),
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
    if (ok && rescue_) {
        RemoveRescueCopies(resolved_, rescueFolder_);
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
    wipeBytes(buffer_.data(), buffered_);
    buffered_ = 0;
    if (buffer_.size() > kBufferSize) {
        buffer_.release();  // a whole file's image, collected for an in-place write
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

bool copyFileAtomically(const std::string& from, const std::string& to, const FileWriter& writer,
                        unsigned newFileMode) {
    const int in = OpenRegularFile(from, O_RDONLY, 0, nullptr);
    if (in < 0) {
        return false;
    }
    bool copied = false;
    try {
        SecureBuffer chunk(kBufferSize);
        AtomicFile out(to, writer, newFileMode);
        if (out.open()) {
            for (;;) {
                const ssize_t n = ::read(in, chunk.data(), chunk.size());
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n == 0) {
                    copied = out.commit();
                }
                if (n <= 0 || !out.write(chunk.data(), static_cast<std::size_t>(n))) {
                    break;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        copied = false;
    }
    ::close(in);
    return copied;
}

}  // namespace vlt
