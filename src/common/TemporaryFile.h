#pragma once
// The temporary files an atomic write fills beside its target. Unnamed where the filesystem has
// them, so that a crash leaves nothing; else named ".<target name>.tmp-XXXXXX" and held locked
// while in use, so that a later write of the same target can sweep what a crash left behind.

#include <string>

namespace vlt {

// The name every temporary file of `target` starts with: "." + its file name + ".tmp-".
std::string TemporaryPrefix(const std::string& target);

// Removes this user's temporary files of one target that no write holds locked any more: what a
// crash left behind. Temporaries of other targets, and of writes under way, stay.
void SweepLeftovers(const std::string& folder, const std::string& prefix);

// A locked temporary file in `folder`: unnamed where allowed and the filesystem has them (`name`
// left empty), else named with `prefix`. -1 with errno set when none can be created.
int CreateTemporary(const std::string& folder, const std::string& prefix, bool unnamed,
                    std::string& name);

// Gives the unnamed temporary file `fd` a name beside `target`, in `name`. 0, or the error number.
int NameTemporary(int fd, const std::string& target, std::string& name);

}  // namespace vlt
