#pragma once
// Small text helpers of the readers: wiping, numbers as the INI and old container layouts write
// them, and the UTF-16LE decoding of CSV files.

#include <cstdint>
#include <string>
#include <string_view>

namespace vlt::import {

// Overwrites the characters (file contents and fields hold passwords) and empties the text.
void wipe(std::string& text);
void wipe(std::u16string& text);

// Wipes a text when it goes out of scope.
template <typename Text>
class WipeOnExit {
  public:
    explicit WipeOnExit(Text& text) : text_(text) {}
    ~WipeOnExit() { wipe(text_); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

  private:
    Text& text_;
};

// UTF-16LE bytes to text; an odd last byte is half a character and is dropped (as U+FFFD it
// would make a record of its own after the file's last line end).
std::u16string fromUtf16Le(std::string_view bytes);

}  // namespace vlt::import
