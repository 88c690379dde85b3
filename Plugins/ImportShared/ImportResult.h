#pragma once
// What a reader tells the user when it is done: the window shows the message, whatever the
// result.

#include <cstdint>
#include <string>

namespace vlt::import {

// Message box icons.
enum : int { kIconError = 16, kIconWarning = 48, kIconInformation = 64 };

struct ImportResult {
    std::int32_t Ok = 0;  // 1 imported, 0 refused
    std::u16string Caption;
    std::u16string Text;
    int Icon = kIconError;
};

inline ImportResult importedSuccessfully() {
    return {1, u"Information", u"File imported successfully!", kIconInformation};
}
inline ImportResult fileLocked() {
    return {0, u"Error", u"The file is locked and could not be read.", kIconError};
}
inline ImportResult refused(std::u16string caption, std::u16string text, int icon) {
    return {0, std::move(caption), std::move(text), icon};
}

}  // namespace vlt::import
