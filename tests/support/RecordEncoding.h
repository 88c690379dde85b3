#pragma once
// The writer's bytes of one record body or of a whole vault, in memory, for tests that check the
// format byte by byte or feed a reader without a file.

#include <cstdint>
#include <vector>

#include "engine/container/ContainerFormat.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/vault/Vault.h"

namespace vlt::test {

// A record's plaintext body as the writer puts it; empty when it is too large for the format.
SecureBuffer EncodeGroupBody(const Group& group);
SecureBuffer EncodeEntryBody(const Entry& entry);
SecureBuffer EncodeAttachmentBody(const Attachment& attachment);

// The whole container file the writer makes of `vault`; empty when it cannot be written.
std::vector<std::uint8_t> EncodeContainer(const Vault& vault, const ContainerHeader& header,
                                          const SecureBuffer& key);

}  // namespace vlt::test
