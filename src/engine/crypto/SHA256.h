#pragma once
// SHA-256, the digest behind the container key, computed by the crypto library.

#include <cstddef>
#include <cstdint>

#include "engine/crypto/SecureBuffer.h"
#include "engine/crypto/SecureText.h"
#include "engine/log/Logging.h"

namespace vlt {

inline constexpr std::size_t kSha256DigestSize = 32;

// The 32-byte SHA-256 digest of length bytes at data; empty when the crypto library failed.
SecureBuffer SHA256Fingerprint(TraceLog& log, const void* data, std::size_t length);

// The digest of the password's UTF-16LE characters followed by a two-byte NUL, so the hashed
// length is 2 x (characters + 1) bytes: the first step of the container key.
SecureBuffer PasswordHash(TraceLog& log, const SecureText& password);

}  // namespace vlt
