#pragma once
// Vault <-> container bytes, given the key material. Kept apart from the open and save flows so
// that it can be tested against golden files, fuzzed and benchmarked on its own. The flows watch
// it through a RecordObserver: the step texts go to their trace log, the record counts to their
// progress window.
//
// Records are independent (each is enciphered from the same IV), so when nobody reads the step
// texts, the records are split into batches that worker threads encrypt or decrypt and checksum
// (the batches' checksums are joined in file order); the calling thread alone talks to the
// observer. When the steps are traced, records go one by one, each in buffers of its own, as the
// log describes them.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/container/ByteSource.h"
#include "engine/container/ContainerFormat.h"
#include "engine/container/OrderedWork.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/vault/Vault.h"

namespace vlt {

class RecordObserver {
  public:
    virtual ~RecordObserver() = default;
    // Whether step texts are wanted; asked once per run. With false no step text is built.
    virtual bool tracing() const { return false; }
    virtual void trace(std::u16string_view /*message*/) {}
    // Gives back one of a traced record's buffers.
    virtual void release(SecureBuffer& buffer) { buffer.release(); }
    // The record loop starts (total records) and ends; records done are reported in order.
    virtual void begin(int /*total*/) {}
    virtual void recordDone(int /*done*/, int /*total*/) {}
    virtual void end() {}
    // Called on the calling thread about every 16 ms while worker threads run.
    virtual void idle() {}
};

// Receives the file's bytes in order; false stops the writer.
using ByteSink = std::function<bool(const void* data, std::size_t size)>;

// Writes the header (counts taken from the vault), every record, the checksum and the end
// marker. False when the sink refused a write or a record is too large for the format; running
// out of memory throws std::bad_alloc, which the save flow turns into a failed save.
bool WriteContainer(const Vault& vault, const ContainerHeader& header, const SecureBuffer& key,
                    const ByteSink& sink, RecordObserver& observer,
                    unsigned threads = WorkerThreads());

// Where one record's body lies in the file.
struct RecordFrame {
    std::uint64_t bodyAt;
    std::uint32_t size;
    RecordType kind;
};

// The records' frames, read and checked before any is decrypted: every type as expected, every
// body at least 16 bytes and inside the file, and the last one ending exactly at the checksum.
// False for a file that does not have that shape or cannot be read.
bool CheckFrames(const ByteSource& file, const ContainerHeader& header,
                 std::vector<RecordFrame>& frames);

enum class ReadStatus { kRead, kUnparsable, kUnreadable };

struct RecordsRead {
    std::uint32_t checksum = 0;  // CRC-32 of every plaintext body, in file order
    ReadStatus status = ReadStatus::kRead;
};

// Decrypts every record once and checksums the plaintexts. With `into`, the records are also
// decoded and appended to it (in file order, IDs as stored) and progress is reported; after a
// body that does not parse, the rest is still checksummed (so that a wrong password can be told
// from a damaged file) and `into` must be discarded. With status kUnreadable the checksum is
// meaningless.
RecordsRead ReadRecords(const ByteSource& file, const std::vector<RecordFrame>& frames,
                        const ContainerHeader& header, const SecureBuffer& key, Vault* into,
                        RecordObserver& observer, unsigned threads = WorkerThreads());

// The stored checksum at end - 10.
std::uint32_t StoredChecksum(std::span<const std::uint8_t> file);

}  // namespace vlt
