#pragma once
// The file side of attachments: reading a file whole to attach it, and writing an attachment's
// content back into a folder without letting a name stored in a container reach outside it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {

// Attribute bits stored with an attachment, numbered as the container format keeps them.
inline constexpr std::int32_t kAttributeReadOnly = 0x01;
inline constexpr std::int32_t kAttributeArchive = 0x20;

// Size fields are int32: a file must be smaller than 2 GiB to be attached.
inline constexpr std::int64_t kMaxAttachmentSize = 0x7fffffff;

// Size of the regular file at `path` (symbolic links followed); -1 for a folder, a missing or
// otherwise unreadable path.
std::int64_t AttachableFileSize(const std::string& path);

// The attribute bits of the file at `path`: archive, and read-only when its owner may not write.
std::int32_t FileAttributeBits(const std::string& path);

// Reads exactly `size` bytes of the file into `block` (already `size` long). False when the file
// cannot be opened or ends early: a short read is an error, never zero padding.
bool ReadFileInto(const std::string& path, SecureBuffer& block);

// The stored name as a file name in the target folder: only its last component (after the last
// '/' or '\'); none for "", "." and "..", and for names holding control characters.
std::optional<std::string> SafeFileName(std::u16string_view storedName);

// Whether anything, a dangling symbolic link included, has this name.
bool PathTaken(const std::string& path);

// Writes `bytes` as the file `path`: to a temporary file in the same folder first, then renamed
// over the name, so a symbolic link of that name is replaced, never followed, and no half file
// is left. A read-only file is not replaced, nor is a folder. The mode is owner-only, read-only
// when `attributes` say so. False when the file could not be written.
bool WriteAttachmentFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::int32_t attributes);

}  // namespace vlt
