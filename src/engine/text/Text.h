#pragma once
// Text helpers of the engine: numbers as text and the parts of a path. The conversions, trimming
// and case folding the plugins share live in common/.

#include <cstdint>
#include <string>
#include <string_view>

namespace vlt {

bool endsWithIgnoreCase(std::u16string_view text, std::u16string_view suffix);
// Every line break (CR LF, a lone LF or a lone CR) as CR LF, the way stored texts hold them.
std::u16string crLfLineBreaks(std::u16string_view text);

// Decimal text of a number.
std::u16string decimal(std::int64_t value);
// Upper-case hexadecimal text of the 32 bits of value, without leading zeros.
std::u16string hexText(std::uint32_t value);

// The file name part of a path (after the last '/' or '\').
std::u16string fileNamePart(std::u16string_view path);
// The folder part of a path, with its trailing separator ("" when there is none).
std::u16string folderPart(std::u16string_view path);
// The extension after the last '.' of the file name part, without the dot ("" when none).
std::u16string extensionPart(std::u16string_view path);

}  // namespace vlt
