#pragma once
// Who besides a file's owner belongs to a group, as far as the user database tells.

#include <sys/types.h>

namespace vlt {

// Whether no user other than `owner` is in `group`, neither as a member nor by primary group:
// the private group many systems give each user, root's own group, or a group nobody is in.
// What such a group may write, only its owner may.
bool groupHasNoOtherUsers(uid_t owner, gid_t group);

}  // namespace vlt
