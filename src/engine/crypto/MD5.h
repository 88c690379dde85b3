#pragma once
// MD5 digests of attachment contents, as the vault stores them: 32 lowercase hexadecimal digits.

#include <cstdint>
#include <span>
#include <string>

namespace vlt {

std::u16string MD5Hex(std::span<const std::uint8_t> bytes);

// The digest of the file as it lies on disk; "" when it cannot be read to its end, or is not a
// regular file (a FIFO is never opened for reading, so it cannot block the caller).
std::u16string FileMD5Hex(const std::string& path);
// The digest of the open file `fd`, read from its start; "" when it cannot be read to its end.
std::u16string FileMD5Hex(int fd);

}  // namespace vlt
