#include "engine/container/RescueCopy.h"

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
#include "engine/container/ByteSource.h"

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

bool sameContent(const std::string& a, const std::string& b) {
    FileSource first;
    FileSource second;
    if (!first.open(a) || !second.open(b) || first.size() != second.size()) {
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
            // The data folder's own folder of copies, as private as the copies in it.
            ::mkdir(FolderOf(path).c_str(), 0700);
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

std::string FindRescueCopy(const std::string& target, const std::string& dataFolder) {
    struct stat file {};
    const uid_t targetOwner = ::stat(target.c_str(), &file) == 0 ? file.st_uid : ::geteuid();
    std::string newest;
    struct timespec newestTime {};
    for (const std::string& path : RescueCopyPaths(target, dataFolder)) {
        struct stat info {};
        // Made by this user or by the file's owner, never planted by a third.
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            (info.st_uid != ::geteuid() && info.st_uid != targetOwner) ||
            sameContent(path, target)) {
            continue;
        }
        const auto& time = info.st_mtim;
        if (newest.empty() || time.tv_sec > newestTime.tv_sec ||
            (time.tv_sec == newestTime.tv_sec && time.tv_nsec > newestTime.tv_nsec)) {
            newest = path;
            newestTime = time;
        }
    }
    return newest;
}

void RemoveRescueCopies(const std::string& target, const std::string& dataFolder) {
    for (const std::string& path : RescueCopyPaths(target, dataFolder)) {
        if (::unlink(path.c_str()) == 0) {
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
