// libFuzzer target for the container reader: whatever the bytes, the reader must refuse or load
// them without reading out of bounds. The first byte picks what is fed: a whole file (decrypted
// with a fixed key, so the frame walk, the checksum pass and the record loader all run) or one
// plaintext body for each body decoder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ContainerCodec.h"
#include "ContainerFormat.h"

namespace {

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
        vlt::ContainerHeader header = vlt::DecodeHeader(input);
        if (!vlt::CheckFrames(input, header)) {
            return 0;
        }
        (void)vlt::ComputeChecksum(input, header, fixedKey());
        vlt::Vault vault;
        std::vector<std::int32_t> ids;
        vlt::RecordObserver quiet;
        (void)vlt::LoadRecords(input, header, fixedKey(), vault, ids, quiet);
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
