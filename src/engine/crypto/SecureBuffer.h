#pragma once
// An owned block of bytes that is wiped before its memory is given back. Used for keys, hashes
// and attachment contents, so that no secret outlives its use in freed heap memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vlt {

void wipeBytes(void* data, std::size_t size);

class SecureBuffer {
  public:
    SecureBuffer() = default;
    explicit SecureBuffer(std::size_t size);  // zero-filled
    SecureBuffer(const void* data, std::size_t size);
    ~SecureBuffer() { release(); }

    SecureBuffer(SecureBuffer&& other) noexcept;
    SecureBuffer& operator=(SecureBuffer&& other) noexcept;
    SecureBuffer(const SecureBuffer&) = delete;
    SecureBuffer& operator=(const SecureBuffer&) = delete;

    SecureBuffer copy() const { return SecureBuffer(data_.get(), size_); }

    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    std::uint8_t operator[](std::size_t i) const { return data_[i]; }
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }
    std::span<std::uint8_t> bytes() { return {data_.get(), size_}; }

    // Wipes the whole block and frees it; the buffer is empty afterwards.
    void release();

  private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};

bool operator==(const SecureBuffer& a, const SecureBuffer& b);

}  // namespace vlt
