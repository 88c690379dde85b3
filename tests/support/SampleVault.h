#pragma once
// Vaults for container tests: nested groups, awkward texts, dates on both sides of 1970 and
// attachments around the cipher's block size, and a field-by-field comparison.

#include <string>
#include <vector>

#include "engine/vault/Vault.h"

namespace vlt::test {

// Groups at depths 1, 2, 3, 1 (one with an empty name), entries with empty, non-BMP and long
// texts and negative dates, and one attachment per size given.
Vault SampleVault(const std::vector<std::size_t>& attachmentSizes = {0, 15, 16, 17});

// Adds one attachment of `size` patterned bytes to the entry.
void AddAttachment(Vault& vault, std::int32_t id, std::int32_t entryId, std::size_t size);

// Adds an attachment as a container could carry it: the given name and bytes, and the given
// digest, or the bytes' own MD5 when md5 is empty. The ID is not registered.
void AddStoredAttachment(Vault& vault, std::int32_t id, std::int32_t entryId, std::u16string name,
                         const std::string& bytes, std::u16string md5 = {});

// Gtest failures for every field that differs, naming the record.
void ExpectSameVault(const Vault& expected, const Vault& actual);

}  // namespace vlt::test
