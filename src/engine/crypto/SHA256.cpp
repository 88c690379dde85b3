#include "engine/crypto/SHA256.h"

#include <algorithm>
#include <cstring>

namespace vlt {
namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t kInitialChain[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t rotr(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

std::uint32_t loadBigEndian(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

}  // namespace

Sha256::~Sha256() {
    wipeBytes(chain_, sizeof chain_);
    wipeBytes(block_, sizeof block_);
    wipeBytes(&bitCount_, sizeof bitCount_);
}

void Sha256::reset() {
    std::memcpy(chain_, kInitialChain, sizeof chain_);
    bitCount_ = 0;
    buffered_ = 0;
    std::memset(block_, 0, sizeof block_);
}

void Sha256::compress(const std::uint8_t* block) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
        w[i] = loadBigEndian(block + 4 * i);
    }
    for (int i = 16; i < 64; ++i) {
        std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = chain_[0], b = chain_[1], c = chain_[2], d = chain_[3];
    std::uint32_t e = chain_[4], f = chain_[5], g = chain_[6], h = chain_[7];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t s1 = rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25);
        std::uint32_t ch = (e & f) ^ (~e & g);
        std::uint32_t t1 = h + s1 + ch + kRoundConstants[i] + w[i];
        std::uint32_t s0 = rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22);
        std::uint32_t maj = (a & b) ^ (a & c) ^ (b & c);
        std::uint32_t t2 = s0 + maj;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    chain_[0] += a;
    chain_[1] += b;
    chain_[2] += c;
    chain_[3] += d;
    chain_[4] += e;
    chain_[5] += f;
    chain_[6] += g;
    chain_[7] += h;
    // The schedule holds words of the (secret) message.
    wipeBytes(w, sizeof w);
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
