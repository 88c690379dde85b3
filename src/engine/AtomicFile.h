#pragma once
// Writing a file so that a crash, a full disk or a failed write never leaves a torn or empty
// file behind: the bytes go to a temporary file in the target's folder, are flushed to disk, and
// only then renamed over the target. Files holding secrets are created owner-only.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "SecureBuffer.h"

namespace vlt {

class AtomicFile {
  public:
    // Permissions for a new target; an existing target keeps its own.
    explicit AtomicFile(std::string targetPath, unsigned newFileMode = 0600);
    ~AtomicFile();  // abandons the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside the real target (a symbolic link is followed, so the
    // file it points to is the one replaced). False when the folder cannot be written or an
    // existing target may not be written.
    bool open();
    // Appends bytes; false (and the file is doomed) once any write fails.
    bool write(const void* data, std::size_t size);
    bool write(std::span<const std::uint8_t> bytes) { return write(bytes.data(), bytes.size()); }
    bool writeInt32(std::int32_t value);
    // Flushes, syncs and renames over the target. False when any step failed; the target is
    // then untouched.
    bool commit();
    // Removes the temporary file; the target is untouched.
    void abandon();

    const std::string& targetPath() const { return target_; }

    // Tests inject write failures here: called before each write with the bytes written so
    // far; returning false fails that write.
    static std::function<bool(std::size_t written)>& writeHook();

  private:
    bool flushBuffer();
    bool writeThrough(const std::uint8_t* data, std::size_t size);

    std::string target_;    // as given
    std::string resolved_;  // the file really replaced
    std::string temp_;
    unsigned mode_;
    int fd_ = -1;
    bool failed_ = false;
    std::size_t written_ = 0;
    SecureBuffer buffer_;  // what is written may be secret: wiped when freed
    std::size_t buffered_ = 0;
};

// Writes a whole file atomically. False on any failure, the old file then untouched.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         unsigned newFileMode = 0600);
bool writeFileAtomically(const std::string& path, const std::string& bytes,
                         unsigned newFileMode = 0600);

}  // namespace vlt
