#pragma once
// Writes a file whole or not at all. A symbolic link is followed (a dangling one too), so the
// file it names is the one written and the link stays. The bytes go to a temporary file beside
// that file, created owner-only (export files hold passwords in clear), and only a complete,
// flushed copy is renamed over it. Every write is checked; a failure removes the temporary file
// and leaves the target as it was.
//
// Where a rename would change which file the name stands for (the file has other hard links, or
// its folder cannot be written), the existing file is rewritten in place instead: its space is
// reserved first so that a full disk is found before a byte of it changes.

#include <string>
#include <string_view>

namespace vlt::plugin {

class AtomicWriter {
  public:
    AtomicWriter() = default;
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter();

    // Prepares the writing of `target`. False when it cannot be made, or the target is a folder,
    // not a regular file, or a file this user may not write to.
    bool open(const std::string& target);
    // Writes the whole new content and puts it in place, flushed to disk.
    bool commit(std::string_view content);

  private:
    bool openInPlace();
    bool commitReplacing(std::string_view content);
    bool commitInPlace(std::string_view content);
    void abandon();

    std::string target_;     // the file really written, links followed
    std::string temporary_;  // empty when rewriting in place
    int fd_ = -1;
};

}  // namespace vlt::plugin
