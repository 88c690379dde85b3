#include "host/PluginLibrary.h"

#include <dlfcn.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "common/Utf.h"

namespace vlt {
namespace {

// Links followed on one path before it counts as a loop, as the kernel does.
constexpr int kMaxLinks = 40;

bool ownedByUsOrRoot(const struct stat& info) {
    return info.st_uid == ::geteuid() || info.st_uid == 0;
}

// Whether `owner` is the only user in `group`, by primary group or by membership: the private
// group many systems give each user (and root's own group). What that group may write, only its
// owner may.
bool ownersPrivateGroup(uid_t owner, gid_t group) {
    static std::map<std::pair<uid_t, gid_t>, bool> known;  // plugins load on one thread
    const auto [cached, isNew] = known.try_emplace({owner, group}, false);
    if (!isNew) {
        return cached->second;
    }
    std::vector<char> buffer(16384);
    struct passwd user {};
    struct passwd* foundUser = nullptr;
    struct group entry {};
    struct group* foundGroup = nullptr;
    if (::getpwuid_r(owner, &user, buffer.data(), buffer.size() / 2, &foundUser) != 0 ||
        foundUser == nullptr ||
        ::getgrgid_r(group, &entry, buffer.data() + buffer.size() / 2, buffer.size() / 2,
                     &foundGroup) != 0 ||
        foundGroup == nullptr) {
        return false;
    }
    bool ownerIn = user.pw_gid == group;
    for (char** member = entry.gr_mem; *member != nullptr; ++member) {
        if (std::strcmp(*member, user.pw_name) != 0) {
            return false;
        }
        ownerIn = true;
    }
    ::setpwent();
    while (const struct passwd* other = ::getpwent()) {
        if (other->pw_gid == group && other->pw_uid != owner) {
            ownerIn = false;
            break;
        }
    }
    ::endpwent();
    return cached->second = ownerIn;
}

// Whether anyone but the owner may write the file or folder.
bool writableByOthers(const struct stat& info) {
    return (info.st_mode & S_IWOTH) != 0 ||
           ((info.st_mode & S_IWGRP) != 0 && !ownersPrivateGroup(info.st_uid, info.st_gid));
}

// Whoever can write a folder can swap the names in it, unless the sticky bit keeps others to
// their own names (as in /tmp).
std::u16string folderRefusal(const std::filesystem::path& folder, const struct stat& info) {
    if (!ownedByUsOrRoot(info)) {
        return u"folder " + fromUtf8(folder.string()) + u" owned by another user";
    }
    if (writableByOthers(info) && (info.st_mode & S_ISVTX) == 0) {
        return u"folder " + fromUtf8(folder.string()) + u" writable by others";
    }
    return {};
}

std::u16string systemError(int error) {
    return fromUtf8(std::strerror(error));
}

}  // namespace

std::u16string pluginFileRefusal(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return fromUtf8(error.message());
    }
    // The path is resolved name by name as the kernel would, links followed, so that every
    // folder a name is looked up in is checked at its real path.
    const fs::path relative = absolute.relative_path();
    std::deque<fs::path> names(relative.begin(), relative.end());
    fs::path folder = absolute.root_path();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return systemError(errno);
    }
    if (std::u16string refusal = folderRefusal(folder, info); !refusal.empty()) {
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
            const fs::path target = fs::read_symlink(next, error);
            if (error) {
                return fromUtf8(error.message());
            }
            if (target.is_absolute()) {
                folder = target.root_path();
            }
            const fs::path targetNames = target.relative_path();
            names.insert(names.begin(), targetNames.begin(), targetNames.end());
            continue;
        }
        if (names.empty()) {
            found = true;
            break;
        }
        if (!S_ISDIR(info.st_mode)) {
            return systemError(ENOTDIR);
        }
        if (std::u16string refusal = folderRefusal(next, info); !refusal.empty()) {
            return refusal;
        }
        folder = next;
    }
    if (!found || !S_ISREG(info.st_mode)) {
        return u"not a regular file";
    }
    if (!ownedByUsOrRoot(info)) {
        return u"owned by another user";
    }
    if (writableByOthers(info)) {
        return u"writable by others";
    }
    return {};
}

void* openPluginLibrary(const std::string& path, std::string* error,
                        PluginFaultHandler* faultHandler) {
    routePluginFaults();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const PluginFaultHandler installed = reclaimPluginFaults();
    if (faultHandler != nullptr) {
        *faultHandler = installed;
    }
    if (handle == nullptr && error != nullptr) {
        const char* reason = ::dlerror();
        *error = reason != nullptr ? reason : "";
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
