#pragma once
// Writing a file so that a crash, a full disk or a failed write never leaves a torn or empty
// file behind, and so that the file keeps its owner, group, mode and hard links.
//
// The usual way: the bytes go to an unnamed temporary file in the target's folder, are flushed
// to disk, and only then get a name and are renamed over the target, so a crash leaves nothing
// beside the target. Where the filesystem has no unnamed files, the temporary file is named
// ".<target name>.tmp-XXXXXX" and held locked while in use; every save sweeps the unlocked
// ones of its target, so what a crash left behind goes with the next save.
//
// Where a rename would change the file's identity (the folder cannot be written, the target
// has other hard links, or its owner and group cannot be given to a new file), the whole new
// content is collected in memory first and then written over the target in place, every write
// checked. Only that way can a failure damage the target, and targetDamaged() then says so. A
// caller can have a copy of the new content made durable elsewhere before the first byte of the
// target changes (guardRewrite), so that even a crash mid-rewrite leaves one whole copy.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "common/FileWriter.h"

namespace vlt {

class AtomicFile {
  public:
    // Is asked with the file really written and its whole new content before that file is
    // rewritten in place: 0 lets the rewrite go on, an error number fails the write untouched.
    using RewriteGuard =
        std::function<int(const std::string& file, std::span<const std::uint8_t> content)>;
    // Is told the file really written once a write has put it in place.
    using CommitHook = std::function<void(const std::string& file)>;

    // Permissions for a new target; an existing target keeps its own. The file keeps using
    // `writer`, which must outlive it (so it cannot be a temporary).
    AtomicFile(std::string targetPath, const FileWriter& writer, unsigned newFileMode = 0600);
    AtomicFile(std::string, const FileWriter&&, unsigned = 0600) = delete;
    ~AtomicFile();  // abandons the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Called before open(): `guard` runs before an in-place rewrite, `committed` after every
    // successful commit().
    void guardRewrite(RewriteGuard guard, CommitHook committed) {
        guard_ = std::move(guard);
        committed_ = std::move(committed);
    }
    // For a file of the program's own, such as a rescue copy: always replaced by a rename and
    // given the new-file mode, never rewritten in place; a link at its name is replaced, not
    // followed.
    void replaceByRenameOnly() { renameOnly_ = true; }
    // For a file that must be new, such as a backup copy: it is renamed into a free name only,
    // never over anything; commit() fails with EEXIST when something (a link included) lies
    // there by then. The file gets the new-file mode.
    void createNewOnly() { newOnly_ = true; }
    // For a file that may hold secrets in clear, such as an export: a replaced file gets the
    // new-file mode too, rather than keeping its owner, group and mode.
    void replaceWithNewFileMode() { newFileModeAlways_ = true; }
    // A dangling symbolic link gets the file it names made where it points, rather than being
    // replaced by the file (and a path that is empty or ends in "/" names no file).
    void followDanglingLinks() { followDangling_ = true; }

    // Prepares the writing (a symbolic link is followed, so the file it points to is the one
    // replaced; a FIFO or socket in the file's place is replaced too, never opened). False when
    // neither a temporary file nor the target can be written, or an existing target may not be
    // written, or the target is a folder or a device.
    bool open();
    // Appends bytes; false (and the file is doomed) once any write fails.
    bool write(const void* data, std::size_t size);
    bool write(std::span<const std::uint8_t> bytes) { return write(bytes.data(), bytes.size()); }
    // Puts the bytes in place and syncs them to disk. False when any step failed; the target
    // is then untouched unless targetDamaged().
    bool commit();
    // Drops what was written; the target is untouched.
    void abandon();

    const std::string& targetPath() const { return target_; }
    // The system's error number of the first failure since open(), 0 when none.
    int error() const { return error_; }
    // That failure in words ("No space left on device"), empty when none.
    std::string errorText() const;
    // True when a failed commit() had begun rewriting the target in place: the file on disk may
    // now be damaged.
    bool targetDamaged() const { return damaged_; }

  private:
    enum class Method { None, Unnamed, Named, InPlace };

    bool resolveTarget(bool& exists, struct stat& existing);
    bool openInPlace();
    bool fail(int error);
    bool reserve(std::size_t size);
    bool flushBuffer();
    bool writeThrough(const std::uint8_t* data, std::size_t size);
    bool commitReplacing();
    bool renameIntoFreeName();
    bool commitInPlace();
    bool rewrite(std::size_t size);

    std::string target_;    // as given
    std::string resolved_;  // the file really replaced
    std::string temp_;      // the temporary file's name, once it has one
    const FileWriter& writer_;
    unsigned mode_;
    Method method_ = Method::None;
    int fd_ = -1;
    int error_ = 0;
    bool damaged_ = false;
    bool renameOnly_ = false;
    bool newOnly_ = false;
    bool newFileModeAlways_ = false;
    bool followDangling_ = false;
    RewriteGuard guard_;
    CommitHook committed_;
    std::size_t written_ = 0;
    // What is written may be secret: wiped before its memory is given back.
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t buffered_ = 0;
};

// Writes a whole file atomically. False on any failure, the old file then untouched.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         const FileWriter& writer, unsigned newFileMode = 0600);
bool writeFileAtomically(const std::string& path, const std::string& bytes,
                         const FileWriter& writer, unsigned newFileMode = 0600);

// Copies a file of any size chunk by chunk into a new file `to` (see createNewOnly), which gets
// the source's permissions, but no more than owner-only. 0, or the error number (EEXIST when the
// name is taken); `to` is then neither made nor anything at its name touched.
int copyToNewFile(const std::string& from, const std::string& to, const FileWriter& writer);

}  // namespace vlt
