#include "engine/crypto/SecureBuffer.h"

#include <openssl/crypto.h>

#include <cstring>

namespace vlt {

void wipeBytes(void* data, std::size_t size) {
    if (data != nullptr && size != 0) {
        OPENSSL_cleanse(data, size);
    }
}

SecureBuffer::SecureBuffer(std::size_t size)
    : data_(size ? new std::uint8_t[size]() : nullptr), size_(size) {}

SecureBuffer::SecureBuffer(const void* data, std::size_t size)
    : data_(size ? new std::uint8_t[size] : nullptr), size_(size) {
    if (size != 0) {
        std::memcpy(data_.get(), data, size);  // every byte is copied over: no zero fill first
    }
}

SecureBuffer::SecureBuffer(SecureBuffer&& other) noexcept
    : data_(std::move(other.data_)), size_(other.size_) {
    other.size_ = 0;
}

SecureBuffer& SecureBuffer::operator=(SecureBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::move(other.data_);
        size_ = other.size_;
        other.size_ = 0;
    }
    return *this;
}

void SecureBuffer::release() {
    wipeBytes(data_.get(), size_);
    data_.reset();
    size_ = 0;
}

bool operator==(const SecureBuffer& a, const SecureBuffer& b) {
    return a.size() == b.size() &&
           (a.size() == 0 || CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0);
}

}  // namespace vlt
