#include "RecordEncoding.h"

#include "engine/container/ContainerCodec.h"

namespace vlt::test {

namespace {

template <typename Record>
SecureBuffer encodeBody(const Record& record) {
    const std::int64_t size = BodySize(record);
    if (size > kMaxBodySize) {
        return {};
    }
    SecureBuffer body(static_cast<std::size_t>(size));
    PutBody(record, body.data());
    return body;
}

}  // namespace

SecureBuffer EncodeGroupBody(const Group& group) {
    return encodeBody(group);
}
SecureBuffer EncodeEntryBody(const Entry& entry) {
    return encodeBody(entry);
}
SecureBuffer EncodeAttachmentBody(const Attachment& attachment) {
    return encodeBody(attachment);
}

std::vector<std::uint8_t> EncodeContainer(const Vault& vault, const ContainerHeader& header,
                                          const SecureBuffer& key) {
    std::vector<std::uint8_t> out;
    RecordObserver quiet;
    const bool ok = WriteContainer(
        vault, header, key,
        [&out](const void* data, std::size_t size) {
            auto bytes = static_cast<const std::uint8_t*>(data);
            out.insert(out.end(), bytes, bytes + size);
            return true;
        },
        quiet);
    return ok ? out : std::vector<std::uint8_t>{};
}

}  // namespace vlt::test
