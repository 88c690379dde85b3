#include "common/TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "common/Folders.h"

namespace vlt {

namespace {

constexpr std::size_t kSuffixLength = 6;  // as mkostemp's XXXXXX
constexpr int kNameAttempts = 8;

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

// An unnamed file gets its name through /proc, or directly where the process may do that.
bool canNameUnnamed() {
    return ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
}

}  // namespace

// Temporary files of "a.vlt" are named ".a.vlt.tmp-" and six letters or digits.
std::string TemporaryPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    // Appended piece by piece: GCC 12 at -O3 warns a false -Wrestrict on "." + text.
    std::string prefix(1, '.');
    prefix += std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    prefix += ".tmp-";
    return prefix;
}

void SweepLeftovers(const std::string& folder, const std::string& prefix) {
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

int CreateTemporary(const std::string& folder, const std::string& prefix, bool unnamed,
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

int NameTemporary(int fd, const std::string& target, std::string& name) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate = folder + "/" + prefix + randomSuffix();
        int result =
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno != EEXIST) {
            result = ::linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
        }
        if (result == 0) {
            name = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

}  // namespace vlt
