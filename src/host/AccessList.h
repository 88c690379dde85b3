#pragma once
// The POSIX access list of a file or folder, as far as it says who may write it. With a list,
// the mode's group bits are only its mask: users and groups named in the list may write a file
// whose mode shows no one but its owner able to.

#include <sys/types.h>

#include <optional>
#include <string_view>
#include <vector>

namespace vlt {

struct AccessListWriters {
    bool present = false;       // the file has a list beyond its mode bits
    bool groupWrites = false;   // the owning group may write, the mask applied
    std::vector<uid_t> users;   // named users who may write, the mask applied
    std::vector<gid_t> groups;  // named groups that may write, the mask applied
};

// Reads the list as the kernel stores it ("system.posix_acl_access"); nullopt when it is not a
// well-formed list.
std::optional<AccessListWriters> parseAccessList(std::string_view stored);

// The list of an open file, or of the file or folder at `path` (a final link not followed);
// without a list, `present` is false; nullopt when it cannot be read or understood.
std::optional<AccessListWriters> readAccessList(int fd);
std::optional<AccessListWriters> readAccessList(const char* path);

}  // namespace vlt
