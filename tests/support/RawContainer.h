#pragma once
// Builds container files byte by byte from chosen frames and plaintext bodies, encrypted and
// checksummed like the real writer does, so tests can craft files the writer would never
// produce (odd lengths, wrong types, shifted counts) that still pass the password check.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/container/ContainerFormat.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/vault/Vault.h"

namespace vlt::test {

struct RawFrame {
    std::int32_t type;
    std::vector<std::uint8_t> body;            // plaintext
    std::optional<std::int32_t> declaredSize;  // none: the body's real size
};

struct RawContainer {
    ContainerHeader header;  // counts are written as they stand here
    std::vector<RawFrame> frames;
    std::u16string password = u"abc";

    // Header fields of the golden file: IV1 = 20..3f, IV2 = 00..1f, 5120 rounds, time 0.
    RawContainer();
    // Frames and counts taken from a vault.
    void addVault(const Vault& vault);
    SecureBuffer key() const;
    std::vector<std::uint8_t> bytes() const;
    std::string text() const;
};

// The key of a password under the header's IV2 and rounds.
SecureBuffer KeyFor(const std::u16string& password, const ContainerHeader& header);

}  // namespace vlt::test
