#pragma once
// Where a container reader takes its bytes from: a file read a stretch at a time (so that a file
// far larger than memory is never loaded whole) or bytes already in memory. Reads at an offset do
// not move any shared position, so several threads may read from one source at once.

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

// A regular file opened read-only. Its size is taken once, when it is opened.
class FileSource : public ByteSource {
  public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // False when the file cannot be opened for reading or is not a regular file.
    bool open(const std::string& path);
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) const override;

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace vlt
