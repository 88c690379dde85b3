#pragma once
// Where a container reader takes its bytes from: a file read a stretch at a time (so that a file
// far larger than memory is never loaded whole) or bytes already in memory. Reads at an offset do
// not move any shared position, so several threads may read from one source at once.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vlt {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly n bytes from offset into out; false when they are not all there or reading failed.
    virtual bool readAt(std::uint64_t offset, void* out, std::size_t n) const = 0;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) const override;

  private:
    std::span<const std::uint8_t> bytes_;
};

// A regular file opened read-only, never blocking (a FIFO or a device in its place is refused,
// not waited for). Its size and the rest of its status are taken once, from the open
// descriptor, so that what is checked is the file that is read.
class FileSource : public ByteSource {
  public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(FileSource&& other) noexcept;
    FileSource& operator=(FileSource&& other) noexcept;

    // False when the file cannot be opened for reading or is not a regular file. `flags` are
    // added to the open (O_NOFOLLOW: a symbolic link at the name is refused).
    bool open(const std::string& path, int flags = 0);
    bool isOpen() const { return fd_ >= 0; }
    // The status of the file opened (fstat).
    const struct stat& info() const { return info_; }
    std::uint64_t size() const override { return static_cast<std::uint64_t>(info_.st_size); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) const override;

  private:
    void close();

    int fd_ = -1;
    struct stat info_ {};
};

}  // namespace vlt
