#include "engine/vault/AttachmentFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/RegularFile.h"
#include "common/Utf.h"
#include "engine/text/Text.h"

namespace vlt {

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

std::int64_t AttachableFileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    return static_cast<std::int64_t>(info.st_size);
}

std::int32_t FileAttributeBits(const std::string& path) {
    struct stat info {};
    const bool readOnly = ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
    return kAttributeArchive | (readOnly ? kAttributeReadOnly : 0);
}

bool ReadFileInto(const std::string& path, SecureBuffer& block) {
    // A FIFO or device put in the file's place since its size was read is refused, not read.
    const int fd = OpenRegularFile(path, O_RDONLY, 0, nullptr);
    if (fd < 0) {
        return false;
    }
    const bool whole = ReadFullyAt(fd, 0, block.data(), block.size());
    ::close(fd);
    return whole;
}

std::optional<std::string> SafeFileName(std::u16string_view storedName) {
    const std::u16string name = fileNamePart(storedName);
    if (name.empty() || name == u"." || name == u"..") {
        return std::nullopt;
    }
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
    }
    return toUtf8(name);
}

bool PathTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool WriteAttachmentFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::int32_t attributes) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        const bool readOnlyFile = S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0;
        if (S_ISDIR(existing.st_mode) || readOnlyFile) {
            return false;
        }
    }
    const std::size_t slash = path.rfind('/');
    std::string temp = path.substr(0, slash + 1) + ".vlt-extract-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const mode_t mode = (attributes & kAttributeReadOnly) != 0 ? 0400 : 0600;
    bool ok =
        writeAll(fd, bytes.data(), bytes.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

}  // namespace vlt
