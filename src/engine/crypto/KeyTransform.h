#pragma once
// Random header material and the slow key transformation: the container key is the password's
// digest enciphered thousands of times under a random key stored in the file, so every password
// guess costs thousands of block encryptions.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "engine/crypto/Random.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/crypto/SecureText.h"
#include "engine/log/Logging.h"

namespace vlt {

// Fills n bytes from a cryptographically strong source; false when the source failed.
using RandomBytes = std::function<bool(std::uint8_t*, std::size_t)>;

// The operating system's strong source (through the crypto library).
RandomBytes systemRandomBytes();

// min(a, b) + a value drawn uniformly from 0..|b - a|; the order of the bounds does not matter.
std::int32_t CreateRandomNumberL(TraceLog& log, const NumberSource& source, std::int32_t a,
                                 std::int32_t b);

// n random bytes from the strong source. When that source fails, every byte comes from the
// ordinary generator instead, in 1..254.
SecureBuffer CreateIV(TraceLog& log, const NumberSource& source, std::size_t n,
                      const RandomBytes& strong = systemRandomBytes());

// Called about every 16 ms while the transformation runs, so the user interface stays live.
using RoundCallback = std::function<void()>;

// rounds times AES-256-ECB of the two 16-byte blocks of input32 under key32, each round reading
// the previous round's result. 32 zero bytes for rounds <= 0; empty when the cipher could not be
// set up or either input is null (a digest that failed). input32 is not changed.
SecureBuffer EncryptKey256(TraceLog& log, const std::uint8_t* input32, const std::uint8_t* key32,
                           std::int32_t rounds, const RoundCallback& progress);
// The inverse of EncryptKey256 with the same key and round count.
SecureBuffer DecryptKey256(TraceLog& log, const std::uint8_t* input32, const std::uint8_t* key32,
                           std::int32_t rounds, const RoundCallback& progress);

// The container key: PasswordHash of the password, transformed rounds times under iv2_32. When
// hashOut is given it receives the hash, which the writer's self-test compares against.
SecureBuffer DeriveContainerKey(TraceLog& log, const SecureText& password,
                                const std::uint8_t* iv2_32, std::int32_t rounds,
                                const RoundCallback& progress, SecureBuffer* hashOut = nullptr);

}  // namespace vlt
