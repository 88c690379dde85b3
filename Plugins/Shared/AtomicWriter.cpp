#include "AtomicWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vlt::plugin {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

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
        path = named.front() == '/' ? named : folderOf(path) + "/" + named;
    }
    return false;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicWriter::~AtomicWriter() {
    abandon();
}

void AtomicWriter::abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool AtomicWriter::open(const std::string& target) {
    abandon();
    if (target.empty() || target.back() == '/' || !followLinks(target, target_)) {
        return false;
    }
    // A file this user could not write to is not replaced behind its back either.
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target_.c_str(), W_OK) != 0)) {
        return false;
    }
    // A new file renamed over this one would leave its other names with the old content.
    if (exists && existing.st_nlink > 1) {
        return openInPlace();
    }
    const auto slash = target_.rfind('/');
    std::string name = folderOf(target_) + "/." +
                       target_.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-XXXXXX";
    // mkostemp creates the file with mode 0600 whatever the umask.
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0) {
        temporary_ = std::move(name);
        return true;
    }
    // No new file can be made in the folder, yet the file in it may still be written.
    if (exists && (errno == EACCES || errno == EPERM)) {
        return openInPlace();
    }
    return false;
}

bool AtomicWriter::openInPlace() {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    return fd_ >= 0;
}

bool AtomicWriter::commit(std::string_view content) {
    if (fd_ < 0) {
        return false;
    }
    const bool committed = temporary_.empty() ? commitInPlace(content) : commitReplacing(content);
    abandon();
    return committed;
}

bool AtomicWriter::commitReplacing(std::string_view content) {
    const bool flushed = writeAll(fd_, content) && ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return false;
    }
    temporary_.clear();
    syncFolder(folderOf(target_));
    return true;
}

bool AtomicWriter::commitInPlace(std::string_view content) {
    const auto size = static_cast<off_t>(content.size());
    if (size > 0 && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS) {
        return false;
    }
    return ::lseek(fd_, 0, SEEK_SET) == 0 && writeAll(fd_, content) &&
           ::ftruncate(fd_, size) == 0 && ::fsync(fd_) == 0;
}

}  // namespace vlt::plugin
