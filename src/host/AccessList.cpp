#include "host/AccessList.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace vlt {
namespace {

constexpr const char* kName = "system.posix_acl_access";
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kEntrySize = 8;  // tag (16 bits), permissions (16), id (32)

// Entry tags and the write permission, as the kernel stores them.
constexpr std::uint16_t kUserObj = 0x01, kUser = 0x02, kGroupObj = 0x04, kGroup = 0x08,
                        kMask = 0x10, kOther = 0x20;
constexpr std::uint16_t kWrite = 0x02;

// The stored list is little-endian whatever the machine.
std::uint32_t little(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// getxattr through `get`, growing the buffer while the list grows under it.
template <typename Get>
std::optional<AccessListWriters> readWith(Get get) {
    std::string stored(256, '\0');
    for (;;) {
        const ssize_t size = get(stored.data(), stored.size());
        if (size >= 0) {
            stored.resize(static_cast<std::size_t>(size));
            return parseAccessList(stored);
        }
        if (errno == ENODATA || errno == ENOTSUP) {
            return AccessListWriters{};
        }
        if (errno != ERANGE || stored.size() > (1u << 20)) {
            return std::nullopt;
        }
        stored.resize(stored.size() * 4);
    }
}

}  // namespace

std::optional<AccessListWriters> parseAccessList(std::string_view stored) {
    if (stored.size() < 4 || (stored.size() - 4) % kEntrySize != 0 ||
        little(stored, 0, 4) != kVersion) {
        return std::nullopt;
    }
    AccessListWriters writers;
    std::uint16_t mask = 0x07;  // without a mask entry nothing is masked
    for (std::size_t at = 4; at < stored.size(); at += kEntrySize) {
        if (little(stored, at, 2) == kMask) {
            mask = static_cast<std::uint16_t>(little(stored, at + 2, 2));
        }
    }
    for (std::size_t at = 4; at < stored.size(); at += kEntrySize) {
        const auto tag = static_cast<std::uint16_t>(little(stored, at, 2));
        const bool writes = (little(stored, at + 2, 2) & mask & kWrite) != 0;
        const std::uint32_t id = little(stored, at + 4, 4);
        switch (tag) {
            case kUser:
                writers.present = true;
                if (writes) {
                    writers.users.push_back(static_cast<uid_t>(id));
                }
                break;
            case kGroup:
                writers.present = true;
                if (writes) {
                    writers.groups.push_back(static_cast<gid_t>(id));
                }
                break;
            case kGroupObj:
                writers.groupWrites = writes;
                break;
            case kMask:
                writers.present = true;
                break;
            case kUserObj:
            case kOther:
                break;
            default:
                return std::nullopt;
        }
    }
    return writers;
}

std::optional<AccessListWriters> readAccessList(int fd) {
    return readWith(
        [fd](char* out, std::size_t size) { return ::fgetxattr(fd, kName, out, size); });
}

std::optional<AccessListWriters> readAccessList(const char* path) {
    return readWith(
        [path](char* out, std::size_t size) { return ::lgetxattr(path, kName, out, size); });
}

}  // namespace vlt
