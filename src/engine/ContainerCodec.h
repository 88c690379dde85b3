#pragma once
// Vault <-> container bytes, given the key material. Kept apart from the open and save flows so
// that it can be tested against golden files, fuzzed and benchmarked on its own. The flows watch
// it through a RecordObserver: the step texts go to their trace log, the record counts to their
// progress window.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "ContainerFormat.h"
#include "SecureBuffer.h"
#include "Vault.h"

namespace vlt {

class RecordObserver {
public:
    virtual ~RecordObserver() = default;
    virtual void trace(std::u16string_view /*message*/) {}
    // The record loop starts (total records) and ends.
    virtual void begin(int /*total*/) {}
    virtual void recordDone(int /*done*/, int /*total*/) {}
    virtual void end() {}
};

// Receives the file's bytes in order; false stops the writer.
using ByteSink = std::function<bool(const void* data, std::size_t size)>;

// Writes the header (counts taken from the vault), every record, the checksum and the end
// marker. False when the sink refused a write or a record is too large for the format.
bool WriteContainer(const Vault& vault, const ContainerHeader& header, const SecureBuffer& key,
                    const ByteSink& sink, RecordObserver& observer);

// The whole file in memory (tests, tools).
std::vector<std::uint8_t> EncodeContainer(const Vault& vault, const ContainerHeader& header,
                                          const SecureBuffer& key);

// The records' frames, checked against the file before any is decrypted: every type as expected,
// every body at least 16 bytes and inside the file, and the last one ending exactly at the
// checksum. False for a file that does not have that shape.
bool CheckFrames(std::span<const std::uint8_t> file, const ContainerHeader& header);

// First pass: the CRC-32 of all decrypted bodies (the password check). Needs CheckFrames.
std::uint32_t ComputeChecksum(std::span<const std::uint8_t> file, const ContainerHeader& header,
                              const SecureBuffer& key);

// Second pass: decodes every record into `vault` (which should be empty) and lists their IDs in
// file order. False when a body does not parse; `vault` is then partly filled and must be
// discarded. Needs CheckFrames.
bool LoadRecords(std::span<const std::uint8_t> file, const ContainerHeader& header,
                 const SecureBuffer& key, Vault& vault, std::vector<std::int32_t>& ids,
                 RecordObserver& observer);

// The stored checksum at end - 10.
std::uint32_t StoredChecksum(std::span<const std::uint8_t> file);

}  // namespace vlt
