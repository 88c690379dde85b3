#include "engine/crypto/SHA256.h"

#include <algorithm>
#include <cstring>

#include "engine/crypto/Sha256Block.h"

namespace vlt {

Sha256::~Sha256() {
    wipeBytes(chain_, sizeof chain_);
    wipeBytes(block_, sizeof block_);
    wipeBytes(&bitCount_, sizeof bitCount_);
}

void Sha256::reset() {
    std::memcpy(chain_, kSha256InitialChain, sizeof chain_);
    bitCount_ = 0;
    buffered_ = 0;
    std::memset(block_, 0, sizeof block_);
}

void Sha256::compress(const std::uint8_t* block) {
    Sha256Compress(chain_, block);
}

void Sha256::update(const void* data, std::size_t length) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    bitCount_ += static_cast<std::uint64_t>(length) * 8;
    if (buffered_ != 0) {
        std::size_t take = std::min(length, sizeof block_ - buffered_);
        std::memcpy(block_ + buffered_, in, take);
        buffered_ += take;
        in += take;
        length -= take;
        if (buffered_ < sizeof block_) {
            return;
        }
        compress(block_);
        buffered_ = 0;
    }
    for (; length >= sizeof block_; in += sizeof block_, length -= sizeof block_) {
        compress(in);
    }
    if (length != 0) {
        std::memcpy(block_, in, length);
        buffered_ = length;
    }
}

void Sha256::final(std::uint8_t out[kDigestSize]) {
    const std::uint64_t bits = bitCount_;
    block_[buffered_++] = 0x80;
    if (buffered_ > 56) {
        std::memset(block_ + buffered_, 0, sizeof block_ - buffered_);
        compress(block_);
        buffered_ = 0;
    }
    std::memset(block_ + buffered_, 0, 56 - buffered_);
    for (int i = 0; i < 8; ++i) {
        block_[56 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    }
    compress(block_);
    for (int i = 0; i < 8; ++i) {
        out[4 * i] = static_cast<std::uint8_t>(chain_[i] >> 24);
        out[4 * i + 1] = static_cast<std::uint8_t>(chain_[i] >> 16);
        out[4 * i + 2] = static_cast<std::uint8_t>(chain_[i] >> 8);
        out[4 * i + 3] = static_cast<std::uint8_t>(chain_[i]);
    }
    reset();
}

SecureBuffer SHA256Fingerprint(TraceLog& log, const void* data, std::size_t length) {
    constexpr std::string_view kProc = "SHA256Fingerprint";
    SecureBuffer digest(Sha256::kDigestSize);
    log.Trace(u"Memory allocated", kProc);
    Sha256 state;
    state.update(data, length);
    state.final(digest.data());
    log.Trace(u"Returning", kProc);
    return digest;
}

SecureBuffer PasswordHash(TraceLog& log, const SecureText& password) {
    const std::u16string_view text = password.view();
    SecureBuffer bytes(2 * (text.size() + 1));  // zero-filled: the terminator is already there
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return SHA256Fingerprint(log, bytes.data(), bytes.size());
}

}  // namespace vlt
