#include "RawContainer.h"
#include "RecordEncoding.h"

#include <cstring>

#include "engine/crypto/Crc32.h"
#include "engine/crypto/KeyTransform.h"
#include "engine/crypto/RecordCipher.h"
#include "engine/log/Logging.h"

namespace vlt::test {

RawContainer::RawContainer() {
    header.Rounds = 5120;
    for (int i = 0; i < 32; ++i) {
        header.IV1[i] = static_cast<std::uint8_t>(0x20 + i);
        header.IV2[i] = static_cast<std::uint8_t>(i);
    }
}

void RawContainer::addVault(const Vault& vault) {
    auto add = [this](std::int32_t type, const SecureBuffer& body) {
        frames.push_back(
            {type, std::vector<std::uint8_t>(body.data(), body.data() + body.size()), {}});
    };
    for (const Group& g : vault.Groups) {
        add(kGroupRecord, EncodeGroupBody(g));
    }
    for (const Entry& e : vault.Entries) {
        add(kEntryRecord, EncodeEntryBody(e));
    }
    for (const Attachment& a : vault.Attachments) {
        add(kAttachmentRecord, EncodeAttachmentBody(a));
    }
    header.GroupCount += vault.Groups.count();
    header.EntryCount += vault.Entries.count();
    header.AttachmentCount += vault.Attachments.count();
}

SecureBuffer KeyFor(const std::u16string& password, const ContainerHeader& header) {
    TraceLog quiet;
    return DeriveContainerKey(quiet, SecureText(password), header.IV2.data(), header.Rounds, {});
}

SecureBuffer RawContainer::key() const {
    return KeyFor(password, header);
}

std::vector<std::uint8_t> RawContainer::bytes() const {
    std::vector<std::uint8_t> out(kHeaderSize);
    EncodeHeader(header, out.data());
    SecureBuffer k = key();
    RecordCipher cipher(k.data(), header.IV1.data());
    std::uint32_t crc = 0;
    for (const RawFrame& frame : frames) {
        std::uint8_t head[8];
        putInt32(head, frame.type);
        putInt32(head + 4,
                 frame.declaredSize.value_or(static_cast<std::int32_t>(frame.body.size())));
        out.insert(out.end(), head, head + 8);
        std::vector<std::uint8_t> cipherText(frame.body.size());
        crc = Crc32Update(crc, frame.body.data(), frame.body.size());
        if (frame.body.size() >= 16) {
            cipher.encrypt(frame.body.data(), cipherText.data(), frame.body.size());
        }
        out.insert(out.end(), cipherText.begin(), cipherText.end());
    }
    std::uint8_t tail[kTrailerSize];
    putInt32(tail, static_cast<std::int32_t>(crc));
    std::memcpy(tail + 4, "VLTEOF", 6);
    out.insert(out.end(), tail, tail + kTrailerSize);
    return out;
}

std::string RawContainer::text() const {
    auto b = bytes();
    return std::string(b.begin(), b.end());
}

}  // namespace vlt::test
