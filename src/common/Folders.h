#pragma once
// The folder a file lies in, and making what changed in a folder survive a crash.

#include <string>

namespace vlt {

// The folder of a path ("." for a bare name; "/" for a file in the root).
std::string FolderOf(const std::string& path);
// Syncs a folder, so that a rename or removal in it survives a crash.
void SyncFolder(const std::string& folder);

}  // namespace vlt
