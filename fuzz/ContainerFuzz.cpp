// libFuzzer target for the container reader: whatever the bytes, the reader must refuse or load
// them without reading out of bounds. The first byte picks what is fed: a whole file (decrypted
// with a fixed key, so the frame walk, the checksum and the record decoders all run, record by
// record as when traced or in batches on worker threads, and the loaded IDs are made unique) or
// one plaintext body for each body decoder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/container/ContainerCodec.h"
#include "engine/container/ContainerFormat.h"
#include "engine/vault/UniqueIds.h"

namespace {

// Wants the step texts, so that records are read one by one.
struct Tracing : vlt::RecordObserver {
    bool tracing() const override { return true; }
};

const vlt::SecureBuffer& fixedKey() {
    static const vlt::SecureBuffer key = [] {
        vlt::SecureBuffer k(32);
        for (std::size_t i = 0; i < 32; ++i) {
            k[i] = static_cast<std::uint8_t>(i * 13 + 1);
        }
        return k;
    }();
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    std::span<const std::uint8_t> input(data + 1, size - 1);
    if (mode % 2 == 0) {
        if (input.size() < vlt::kMinimumContainerSize) {
            return 0;
        }
        const vlt::MemorySource file(input);
        const vlt::ContainerHeader header = vlt::DecodeHeader(input);
        std::vector<vlt::RecordFrame> frames;
        if (!vlt::CheckFrames(file, header, frames)) {
            return 0;
        }
        vlt::Vault vault;
        Tracing traced;
        vlt::RecordObserver quiet;
        vlt::RecordObserver& observer =
            mode % 4 == 0 ? static_cast<vlt::RecordObserver&>(traced) : quiet;
        if (vlt::ReadRecords(file, frames, header, fixedKey(), &vault, observer, 2).status ==
            vlt::ReadStatus::kRead) {
            vlt::IdRegistry ids;
            vlt::MakeIdsUnique(vault, ids);
        }
    } else {
        vlt::Group group;
        vlt::Entry entry;
        vlt::Attachment attachment;
        (void)vlt::DecodeGroupBody(input, group);
        (void)vlt::DecodeEntryBody(input, entry);
        (void)vlt::DecodeAttachmentBody(input, attachment);
    }
    return 0;
}
