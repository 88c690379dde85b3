#include "host/GroupUsers.h"

#include <grp.h>
#include <pwd.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace vlt {

bool groupHasNoOtherUsers(uid_t owner, gid_t group) {
    static std::map<std::pair<uid_t, gid_t>, bool> known;  // plugins load on one thread
    const auto [cached, isNew] = known.try_emplace({owner, group}, false);
    if (!isNew) {
        return cached->second;
    }
    // A name that cannot be looked up could be anyone's: only a group that is known counts.
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return false;
    }
    std::vector<char> userBuffer(16384);
    struct passwd user {};
    struct passwd* foundUser = nullptr;
    const bool ownerKnown =
        ::getpwuid_r(owner, &user, userBuffer.data(), userBuffer.size(), &foundUser) == 0 &&
        foundUser != nullptr;
    for (char** member = entry.gr_mem; *member != nullptr; ++member) {
        if (!ownerKnown || std::strcmp(*member, user.pw_name) != 0) {
            return false;
        }
    }
    bool alone = true;
    ::setpwent();
    while (const struct passwd* other = ::getpwent()) {
        if (other->pw_gid == group && other->pw_uid != owner) {
            alone = false;
            break;
        }
    }
    ::endpwent();
    return cached->second = alone;
}

}  // namespace vlt
