#include "host/PluginLibrary.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <set>
#include <system_error>

#include "common/Utf.h"
#include "host/AccessList.h"
#include "host/ElfImage.h"
#include "host/GroupUsers.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

// Links followed on one path before it counts as a loop, as the kernel does.
constexpr int kMaxLinks = 40;

bool ownedByUsOrRoot(const struct stat& info) {
    return info.st_uid == ::geteuid() || info.st_uid == 0;
}

// Whether anyone but the owner may write the file or folder, by its mode or its access list (a
// list that cannot be read counts as one that lets others write).
bool writableByOthers(const struct stat& info, const std::optional<AccessListWriters>& list) {
    if ((info.st_mode & S_IWOTH) != 0 || !list) {
        return true;
    }
    const bool groupWrites = list->present ? list->groupWrites : (info.st_mode & S_IWGRP) != 0;
    if (groupWrites && !groupHasNoOtherUsers(info.st_uid, info.st_gid)) {
        return true;
    }
    for (const uid_t user : list->users) {
        if (user != info.st_uid) {
            return true;
        }
    }
    for (const gid_t group : list->groups) {
        if (!groupHasNoOtherUsers(info.st_uid, group)) {
            return true;
        }
    }
    return false;
}

// Whoever can write a folder can swap the names in it, unless the sticky bit keeps others to
// their own names (as in /tmp). `writable` tells whether others may write it.
std::u16string folderRefusal(const fs::path& folder, const struct stat& info, bool writable) {
    if (!ownedByUsOrRoot(info)) {
        return u"folder " + fromUtf8(folder.string()) + u" owned by another user";
    }
    if (writable && (info.st_mode & S_ISVTX) == 0) {
        return u"folder " + fromUtf8(folder.string()) + u" writable by others";
    }
    return {};
}

std::u16string systemError(int error) {
    return fromUtf8(std::strerror(error));
}

// Resolves `path` name by name as the kernel would, links followed, so that every folder a name
// is looked up in is checked at its real path, and so is every link: one that others could
// replace (in a folder they may write, owned by someone else) could point anywhere by the time
// it is followed. On success `resolved` is the file's real path and `info` its lstat.
std::u16string pathRefusal(const std::string& path, fs::path& resolved, struct stat& info) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return fromUtf8(error.message());
    }
    const fs::path relative = absolute.relative_path();
    std::deque<fs::path> names(relative.begin(), relative.end());
    fs::path folder = absolute.root_path();
    struct stat folderInfo {};
    bool folderWritable = false;
    // Looks up the facts of `folder` after a move to a folder checked before (the root, or a
    // parent on the way down).
    const auto lookUpFolder = [&] {
        if (::stat(folder.c_str(), &folderInfo) != 0) {
            return false;
        }
        folderWritable = writableByOthers(folderInfo, readAccessList(folder.c_str()));
        return true;
    };
    if (!lookUpFolder()) {
        return systemError(errno);
    }
    if (std::u16string refusal = folderRefusal(folder, folderInfo, folderWritable);
        !refusal.empty()) {
        return refusal;
    }
    bool found = false;  // whether info describes what the whole path names
    int links = 0;
    while (!names.empty()) {
        const fs::path name = names.front();
        names.pop_front();
        found = false;
        if (name.empty() || name == ".") {
            continue;
        }
        if (name == "..") {
            folder = folder.parent_path();
            if (!lookUpFolder()) {
                return systemError(errno);
            }
            continue;
        }
        const fs::path next = folder / name;
        if (::lstat(next.c_str(), &info) != 0) {
            return systemError(errno);
        }
        if (S_ISLNK(info.st_mode)) {
            if (++links > kMaxLinks) {
                return systemError(ELOOP);
            }
            if (folderWritable && !ownedByUsOrRoot(info)) {
                return u"link " + fromUtf8(next.string()) + u" owned by another user";
            }
            const fs::path target = fs::read_symlink(next, error);
            if (error) {
                return fromUtf8(error.message());
            }
            if (target.is_absolute()) {
                folder = target.root_path();
                if (!lookUpFolder()) {
                    return systemError(errno);
                }
            }
            const fs::path targetNames = target.relative_path();
            names.insert(names.begin(), targetNames.begin(), targetNames.end());
            continue;
        }
        if (names.empty()) {
            found = true;
            resolved = next;
            break;
        }
        if (!S_ISDIR(info.st_mode)) {
            return systemError(ENOTDIR);
        }
        folderWritable = writableByOthers(info, readAccessList(next.c_str()));
        if (std::u16string refusal = folderRefusal(next, info, folderWritable); !refusal.empty()) {
            return refusal;
        }
        folder = next;
        folderInfo = info;
    }
    if (!found || !S_ISREG(info.st_mode)) {
        return u"not a regular file";
    }
    return {};
}

// Why the open plugin file may not be loaded, "" when it may.
std::u16string openFileRefusal(int fd, const struct stat& checked) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return systemError(errno);
    }
    if (info.st_dev != checked.st_dev || info.st_ino != checked.st_ino || !S_ISREG(info.st_mode)) {
        return u"the file was replaced while it was checked";
    }
    if (!ownedByUsOrRoot(info)) {
        return u"owned by another user";
    }
    if (writableByOthers(info, readAccessList(fd))) {
        return u"writable by others";
    }
    return elfImageRefusal(fd);
}

// The loader knows a library by the name it was opened under, and a name that named another
// library before, even one closed since, may give back that one: each load gets a descriptor
// number never used for one before.
int freshDescriptor(int fd) {
    static std::set<int> used;  // plugins load on one thread
    for (int from = 0;;) {
        const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, from);
        if (copy < 0 || used.insert(copy).second) {
            return copy;
        }
        ::close(copy);
        from = copy + 1;
    }
}

}  // namespace

int openPluginFile(const std::string& path, std::u16string& refusal) {
    fs::path resolved;
    struct stat checked {};
    refusal = pathRefusal(path, resolved, checked);
    if (!refusal.empty()) {
        return -1;
    }
    // The real path is opened without following anything, and what is open is checked again: it
    // is this descriptor that is loaded.
    const int fd =
        ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        refusal = systemError(errno);
        return -1;
    }
    refusal = openFileRefusal(fd, checked);
    if (!refusal.empty()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void* openPluginLibrary(int fd, const std::string& path, std::string* error,
                        PluginFaultHandler* faultHandler) {
    const int named = freshDescriptor(fd);
    if (named < 0) {
        if (error != nullptr) {
            *error = std::strerror(errno);
        }
        return nullptr;
    }
    const std::string name = "/proc/self/fd/" + std::to_string(named);
    routePluginFaults();
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    const PluginFaultHandler installed = reclaimPluginFaults();
    ::close(named);
    if (faultHandler != nullptr) {
        *faultHandler = installed;
    }
    if (handle == nullptr && error != nullptr) {
        const char* reason = ::dlerror();
        *error = reason != nullptr ? reason : "";
        // The reason names the file as it was opened; the user knows it by its path.
        for (std::size_t at = error->find(name); at != std::string::npos;
             at = error->find(name, at + path.size())) {
            error->replace(at, name.size(), path);
        }
    }
    return handle;
}

void closePluginLibrary(void* handle) {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
}

void* pluginExport(void* handle, const char* name) {
    return handle == nullptr ? nullptr : ::dlsym(handle, name);
}

}  // namespace vlt
