#include "AtomicWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vlt::plugin {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
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
    // A file this user could not write to is not replaced behind its back either.
    struct stat existing {};
    if (target.empty() || target.back() == '/' ||
        (::stat(target.c_str(), &existing) == 0 &&
         (S_ISDIR(existing.st_mode) || ::access(target.c_str(), W_OK) != 0))) {
        return false;
    }
    target_ = target;
    const auto slash = target.rfind('/');
    std::string name = folderOf(target) + "/." +
                       target.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-XXXXXX";
    // mkostemp creates the file with mode 0600 whatever the umask.
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        return false;
    }
    temporary_ = std::move(name);
    return true;
}

bool AtomicWriter::write(std::string_view bytes) {
    if (fd_ < 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            abandon();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicWriter::commit() {
    if (fd_ < 0) {
        return false;
    }
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        abandon();
        return false;
    }
    temporary_.clear();
    syncFolder(folderOf(target_));
    return true;
}

}  // namespace vlt::plugin
