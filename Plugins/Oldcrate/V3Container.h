#pragma once
// The reader of version-3 containers (".vlk"):
//
//   0  "VLK" | 3  MD5 of the plaintext, 32 lowercase hex digits | 35 int32 L, stream length |
//   39 int32 version (3) | 43 four ignored int32 | 59 L bytes of stream | end-6 "EOFVLK"
//
// The plaintext (Windows-1252) holds the groups, the byte 8, then the entries. A group record
// ends in byte 5 and holds name, icon, ID and depth separated by byte 4; an entry record ends in
// byte 7 and holds group name, account, user, password, two unused fields, ID, group ID and
// comment separated by byte 6. Text after the last separator of a part is not a record.

#include <cstdint>
#include <string>
#include <string_view>

#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

// Hands the groups and entries of a decrypted plaintext to the sink, with progress.
void ImportV3_HandOver(std::string_view plaintext, ImportSink& sink);
// The whole file in memory (fuzzing, tests).
ImportResult ImportV3_ReadBytes(std::string_view file, std::u16string_view password,
                                ImportSink& sink);
// The file at path: its size is checked against the header before the stream is read.
ImportResult ImportV3_ReadContainer(std::u16string_view password, const std::string& path,
                                    ImportSink& sink);

}  // namespace vlt::import
