#pragma once
// The ".vlt" container layout: an 88-byte header, one frame per record (type, body size,
// ciphertext), the CRC-32 of the plaintext bodies and the end marker. All integers are signed
// 32-bit little-endian; texts are UTF-16LE with a two-byte NUL, their length fields counting bytes
// including the NUL. The body codecs here check every length against the bytes really present:
// a body that does not fit is refused, never read past.

#include <array>
#include <cstdint>
#include <span>

#include "engine/crypto/SecureBuffer.h"
#include "engine/vault/Records.h"

namespace vlt {

inline constexpr std::size_t kHeaderSize = 88;
inline constexpr std::size_t kTrailerSize = 10;  // CRC-32 and "VLTEOF"
inline constexpr std::size_t kMinimumContainerSize = 95;
inline constexpr std::int32_t kMaxRounds = 10'000'000;
inline constexpr std::size_t kMinimumBodySize = 16;
inline constexpr std::size_t kFrameSize = 8;  // record type and body size

enum RecordType : std::int32_t { kGroupRecord = 0, kEntryRecord = 1, kAttachmentRecord = 2 };

struct ContainerHeader {
    std::int32_t SaveTime = 0;
    std::int32_t GroupCount = 0;
    std::int32_t EntryCount = 0;
    std::int32_t AttachmentCount = 0;
    std::int32_t Rounds = 0;
    std::array<std::uint8_t, 32> IV1{};
    std::array<std::uint8_t, 32> IV2{};
};

// Little-endian helpers.
std::int32_t readInt32(const std::uint8_t* at);
void putInt32(std::uint8_t* at, std::int32_t value);

// The checksum of two runs of bytes from the checksums of each.
std::uint32_t joinChecksums(std::uint32_t first, std::uint32_t second, std::uint64_t secondBytes);

void EncodeHeader(const ContainerHeader& header, std::uint8_t out[kHeaderSize]);
// Reads the header fields at offsets 4..87 of a file of at least kHeaderSize bytes.
ContainerHeader DecodeHeader(std::span<const std::uint8_t> file);
// At least one group, counts not negative and rounds within 1..kMaxRounds.
bool HeaderIsSane(const ContainerHeader& header);

// Plaintext bodies. A body's size may pass the format's 32-bit limit (kMaxBodySize): such a
// record cannot be stored. PutBody writes exactly BodySize bytes at out.
inline constexpr std::int64_t kMaxBodySize = 0x7FFFFFFF;
std::int64_t BodySize(const Group& group);
std::int64_t BodySize(const Entry& entry);
std::int64_t BodySize(const Attachment& attachment);
void PutBody(const Group& group, std::uint8_t* out);
void PutBody(const Entry& entry, std::uint8_t* out);
void PutBody(const Attachment& attachment, std::uint8_t* out);

// Decoding fills the record from a body; false when any length does not fit the body.
bool DecodeGroupBody(std::span<const std::uint8_t> body, Group& group);
bool DecodeEntryBody(std::span<const std::uint8_t> body, Entry& entry);
bool DecodeAttachmentBody(std::span<const std::uint8_t> body, Attachment& attachment);

}  // namespace vlt
