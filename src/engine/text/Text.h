#pragma once
// Text helpers shared by the whole program: the vault keeps UTF-16, files are UTF-8 or, for old
// formats, the Windows-1252 code page.

#include <cstdint>
#include <string>
#include <string_view>

namespace vlt {

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
// UTF-8 to UTF-16; invalid or overlong sequences become U+FFFD.
std::u16string fromUtf8(std::string_view text);
// Windows-1252 bytes to UTF-16 (the five unassigned bytes map to the C1 code points).
std::u16string fromWindows1252(std::string_view text);
// UTF-16 to Windows-1252 bytes; a character the code page lacks becomes '?'.
std::string toWindows1252(std::u16string_view text);
// Plain ASCII (or UTF-8) literal to UTF-16, for messages built from narrow strings.
inline std::u16string u16(std::string_view text) {
    return fromUtf8(text);
}

// Removes leading and trailing blanks (U+0020 only).
std::u16string trimBlanks(std::u16string_view text);
// Lower-cases A-Z only.
std::u16string lowerAscii(std::u16string_view text);
bool endsWithIgnoreCase(std::u16string_view text, std::u16string_view suffix);
// Every line break (CR LF, a lone LF or a lone CR) as CR LF, the way stored texts hold them.
std::u16string crLfLineBreaks(std::u16string_view text);

// Decimal text of a number.
std::u16string decimal(std::int64_t value);
// Upper-case hexadecimal text of the 32 bits of value, without leading zeros.
std::u16string hexText(std::uint32_t value);
// A number as the settings and other INI files store it: leading blanks skipped, an optional sign,
// "$" introduces hexadecimal and "%" binary digits, else decimal digits up to the first other
// character. No digits give 0; a value beyond the int32 range gives the nearest limit.
std::int32_t IniNumber(std::u16string_view text);

// The file name part of a path (after the last '/' or '\').
std::u16string fileNamePart(std::u16string_view path);
// The folder part of a path, with its trailing separator ("" when there is none).
std::u16string folderPart(std::u16string_view path);
// The extension after the last '.' of the file name part, without the dot ("" when none).
std::u16string extensionPart(std::u16string_view path);

}  // namespace vlt
