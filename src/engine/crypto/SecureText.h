#pragma once
// The one type for secret texts (passwords). Its characters live in a block of their own that is
// wiped before it is given back, whichever copy, assignment or destruction lets it go; a moved
// text hands its block over and keeps nothing. It is not a string and does not turn into one, so
// a secret cannot be sliced or copied into an unwiped string unnoticed: it is read through
// view(), and a plain copy exists only where code writes one out on purpose.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {

// `Allocator` hands out the character blocks: the standard one in the program, one that inspects
// every block given back in the tests.
template <typename Allocator>
class BasicSecureText {
  public:
    BasicSecureText() = default;
    explicit BasicSecureText(std::u16string_view text)
        : data_(allocate(text.size())), size_(text.size()) {
        if (size_ != 0) {
            std::memcpy(data_, text.data(), size_ * sizeof(char16_t));
        }
    }
    BasicSecureText(const BasicSecureText& other) : BasicSecureText(other.view()) {}
    // `length` characters, all zero, to be filled through data().
    static BasicSecureText withLength(std::size_t length) {
        BasicSecureText text;
        text.data_ = allocate(length);
        text.size_ = length;
        if (length != 0) {
            std::memset(text.data_, 0, length * sizeof(char16_t));
        }
        return text;
    }
    BasicSecureText(BasicSecureText&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ~BasicSecureText() { clear(); }

    BasicSecureText& operator=(const BasicSecureText& other) { return *this = other.view(); }
    BasicSecureText& operator=(BasicSecureText&& other) noexcept {
        if (this != &other) {
            clear();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    // The new text is copied before the old one goes, so `text` may point into this one.
    BasicSecureText& operator=(std::u16string_view text) {
        BasicSecureText replacement(text);
        std::swap(data_, replacement.data_);
        std::swap(size_, replacement.size_);
        return *this;
    }

    std::u16string_view view() const { return {data_, size_}; }
    char16_t* data() { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Wipes the characters and gives their block back; the text is empty afterwards.
    void clear() {
        if (data_ != nullptr) {
            wipeBytes(data_, size_ * sizeof(char16_t));
            Allocator().deallocate(data_, size_);
            data_ = nullptr;
            size_ = 0;
        }
    }

    friend bool operator==(const BasicSecureText& a, const BasicSecureText& b) {
        return a.view() == b.view();
    }
    friend bool operator==(const BasicSecureText& a, std::u16string_view b) {
        return a.view() == b;
    }

  private:
    static char16_t* allocate(std::size_t length) {
        return length != 0 ? Allocator().allocate(length) : nullptr;
    }

    char16_t* data_ = nullptr;
    std::size_t size_ = 0;
};

using SecureText = BasicSecureText<std::allocator<char16_t>>;

}  // namespace vlt
