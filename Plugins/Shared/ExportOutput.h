#pragma once
// The bytes of an export file as they are built: UTF-8, lines ended by CR LF. The buffer holds
// passwords in clear, so every copy it leaves behind while growing, and the last one, is wiped.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vlt::plugin {

// The code point at text[i] and how many UTF-16 units it takes; a lone surrogate is U+FFFD.
char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units);

class ExportOutput {
  public:
    ExportOutput() = default;
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;
    ~ExportOutput();

    // Bytes written as they are (the fixed ASCII texts of a layout).
    ExportOutput& operator<<(std::string_view bytes);
    // A stored text, converted to UTF-8.
    ExportOutput& operator<<(std::u16string_view text);
    ExportOutput& operator<<(const char16_t* text) { return *this << std::u16string_view(text); }
    ExportOutput& operator<<(const char* bytes) { return *this << std::string_view(bytes); }
    // A number in signed decimal.
    ExportOutput& operator<<(std::int32_t number);
    void put(char32_t codePoint);
    void endLine() { *this << "\r\n"; }

    const std::string& bytes() const { return bytes_; }

  private:
    void reserveFor(std::size_t more);

    std::string bytes_;
};

// "yyyy/mm/dd hh:ii:ss" of a date stored as seconds since 1970 of the local wall clock, taken
// as it is (no time zone is applied).
std::string DateText(std::int32_t date);

}  // namespace vlt::plugin
