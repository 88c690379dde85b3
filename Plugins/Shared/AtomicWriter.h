#pragma once
// Writes a file whole or not at all: the bytes go to a temporary file beside the target, created
// owner-only (export files hold passwords in clear), and only a complete, flushed copy is renamed
// over the target. Every write is checked; a failure removes the temporary file and leaves the
// target as it was.

#include <string>
#include <string_view>

namespace vlt::plugin {

class AtomicWriter {
  public:
    AtomicWriter() = default;
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter();

    // Creates the temporary file for `target`. False when it cannot be made, or the target is a
    // folder or a file this user may not write to.
    bool open(const std::string& target);
    bool write(std::string_view bytes);
    // Flushes, closes and renames the temporary file over the target.
    bool commit();

  private:
    void abandon();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
};

}  // namespace vlt::plugin
