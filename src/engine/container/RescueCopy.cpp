#include "engine/container/RescueCopy.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Folders.h"

namespace vlt {

namespace {

constexpr char kRescueFolder[] = "Rescue";
constexpr std::size_t kKeyBytes = 16;  // 128 bits of the path's digest name its copy
constexpr std::size_t kCompareChunk = 1 << 20;

// The file really rewritten: links resolved where the file exists, else made absolute.
std::string absoluteTarget(const std::string& target) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
        std::string resolved = real;
        std::free(real);
        return resolved;
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(target, error);
    return error ? target : absolute.lexically_normal().string();
}

std::string pathKey(const std::string& absolute) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(absolute.data(), absolute.size(), out, &length, EVP_sha256(), nullptr) != 1 ||
        length < kKeyBytes) {
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key;
    for (std::size_t i = 0; i < kKeyBytes; ++i) {
        key += kHex[out[i] >> 4];
        key += kHex[out[i] & 15];
    }
    return key;
}

bool sameContent(const FileSource& first, const FileSource& second) {
    if (first.size() != second.size()) {
        return false;
    }
    std::vector<std::uint8_t> left(kCompareChunk);
    std::vector<std::uint8_t> right(kCompareChunk);
    for (std::uint64_t at = 0; at < first.size(); at += kCompareChunk) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCompareChunk, first.size() - at));
        if (!first.readAt(at, left.data(), n) || !second.readAt(at, right.data(), n) ||
            !std::equal(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(n),
                        right.begin())) {
            return false;
        }
    }
    return true;
}

// The owner of the file a copy belongs to; this user when it cannot be told.
uid_t ownerOf(const std::string& target) {
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 ? info.st_uid : ::geteuid();
}

// The data folder's folder of copies is as private as the copies in it: made owner-only, and not
// used (an error number) when it is a link, no folder, or belongs to neither this user nor
// `owner`, the owner of the file whose copies it holds.
int checkRescueFolder(const std::string& folder, uid_t owner) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    int error = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (error == 0 && info.st_uid != ::geteuid() && info.st_uid != owner) {
        error = EPERM;
    } else if (error == 0 && info.st_uid == ::geteuid() && (info.st_mode & 077) != 0 &&
               ::fchmod(fd, 0700) != 0) {
        error = errno;
    }
    ::close(fd);
    return error;
}

}  // namespace

std::vector<std::string> RescueCopyPaths(const std::string& target, const std::string& dataFolder) {
    const std::string absolute = absoluteTarget(target);
    const auto slash = absolute.rfind('/');
    std::vector<std::string> paths{absolute.substr(0, slash + 1) + "." +
                                   absolute.substr(slash + 1) + ".rescue"};
    const std::string key = pathKey(absolute);
    if (!dataFolder.empty() && !key.empty()) {
        paths.push_back(dataFolder + kRescueFolder + "/" + key + ".vlt");
    }
    return paths;
}

int WriteRescueCopy(const std::string& target, const std::string& dataFolder,
                    std::span<const std::uint8_t> image, const FileWriter& writer) {
    int error = ENOENT;
    const std::vector<std::string> paths = RescueCopyPaths(target, dataFolder);
    for (const std::string& path : paths) {
        if (&path != &paths.front()) {
            ::mkdir(FolderOf(path).c_str(), 0700);
            if (const int refused = checkRescueFolder(FolderOf(path), ::geteuid()); refused != 0) {
                error = refused;
                continue;
            }
        }
        AtomicFile copy(path, writer, 0600);
        copy.replaceByRenameOnly();
        if (copy.open() && copy.write(image) && copy.commit()) {
            return 0;
        }
        error = copy.error();
    }
    return error;
}

FoundCopy FindRescueCopy(const std::string& target, const std::string& dataFolder) {
    FileSource file;
    const bool fileOpen = file.open(target);
    const uid_t targetOwner = fileOpen ? file.info().st_uid : ::geteuid();
    FoundCopy newest;
    const std::vector<std::string> paths = RescueCopyPaths(target, dataFolder);
    for (const std::string& path : paths) {
        FileSource copy;
        if ((&path != &paths.front() && checkRescueFolder(FolderOf(path), targetOwner) != 0) ||
            !copy.open(path, O_NOFOLLOW)) {
            continue;
        }
        // Made by this user or by the file's owner, never planted by a third.
        const struct stat& info = copy.info();
        if ((info.st_uid != ::geteuid() && info.st_uid != targetOwner) ||
            (fileOpen && sameContent(copy, file))) {
            continue;
        }
        const auto& time = info.st_mtim;
        const auto& newestTime = newest.file.info().st_mtim;
        if (newest.path.empty() || time.tv_sec > newestTime.tv_sec ||
            (time.tv_sec == newestTime.tv_sec && time.tv_nsec > newestTime.tv_nsec)) {
            newest.path = path;
            newest.file = std::move(copy);
        }
    }
    return newest;
}

void RemoveRescueCopies(const std::string& target, const std::string& dataFolder) {
    const std::vector<std::string> paths = RescueCopyPaths(target, dataFolder);
    for (const std::string& path : paths) {
        if ((&path == &paths.front() || checkRescueFolder(FolderOf(path), ownerOf(target)) == 0) &&
            ::unlink(path.c_str()) == 0) {
            SyncFolder(FolderOf(path));
        }
    }
}

void KeepRescueCopy(AtomicFile& file, const std::string& dataFolder, const FileWriter& writer) {
    file.guardRewrite(
        [dataFolder, &writer](const std::string& target, std::span<const std::uint8_t> content) {
            return WriteRescueCopy(target, dataFolder, content, writer);
        },
        [dataFolder](const std::string& target) { RemoveRescueCopies(target, dataFolder); });
}

}  // namespace vlt
