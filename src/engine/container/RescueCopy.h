#pragma once
// The rescue copy of a container that is rewritten in place. While the file itself changes, a
// whole copy of its new content lies on disk: beside it as ".<name>.rescue", or where that
// folder cannot be written, in the data folder as "Rescue/" + a digest of the file's absolute
// path + ".vlt". A crash in the middle of the rewrite thus always leaves one whole container,
// and a reader finds that copy from the file's own path. Copies are readable by their owner only,
// and so is the data folder's "Rescue" folder, which is never used when it is a link or belongs to
// another user.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/FileWriter.h"
#include "engine/container/ByteSource.h"

namespace vlt {

// Where rescue copies of `target` may lie: beside it, then in `dataFolder` (ends in "/"; ""
// for none). A symbolic link is followed, so the copies belong to the file it points to.
std::vector<std::string> RescueCopyPaths(const std::string& target, const std::string& dataFolder);

// Writes `image` as the rescue copy of `target`, beside it where possible: complete and synced
// with its folder before this returns, and replacing an older copy by a rename, so that a whole
// copy is there at every moment. 0, or the error number of the last place tried.
int WriteRescueCopy(const std::string& target, const std::string& dataFolder,
                    std::span<const std::uint8_t> image, const FileWriter& writer);

// A rescue copy, open: it is read from the very descriptor its checks were made on, so nothing
// can be swapped in between.
struct FoundCopy {
    std::string path;  // "" when there is none
    FileSource file;
};

// The newest rescue copy of `target` that differs from the target and belongs to this user or
// to the target's owner. Each place is opened once, never through a link and never blocking, and
// anything but a regular file there is no copy.
FoundCopy FindRescueCopy(const std::string& target, const std::string& dataFolder);

// Removes every rescue copy of `target`, and syncs the folders it was in.
void RemoveRescueCopies(const std::string& target, const std::string& dataFolder);

// For a container: before `file` is rewritten in place, a whole copy of the new content is made
// durable beside it or else in `dataFolder`, and the save fails untouched when neither can be
// written. Once a save over the target succeeds, no rescue copy of it is left; a failed one
// keeps them. `writer` must outlive the file. Call before open().
void KeepRescueCopy(AtomicFile& file, const std::string& dataFolder, const FileWriter& writer);

}  // namespace vlt
