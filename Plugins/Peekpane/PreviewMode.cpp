#include "PreviewMode.h"

#include <algorithm>
#include <cstring>

namespace vlt::peekpane {

PreviewMode DetectPreviewMode(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kProbe = 5;
    if (data == nullptr || size < kProbe || std::memcmp(data, "{\\rtf", kProbe) != 0) {
        return TextMode;
    }
    const std::uint8_t* tail = data + size - kProbe;
    return std::find(tail, data + size, '}') != data + size ? RtfMode : TextMode;
}

const char16_t* PreviewTitle(PreviewMode mode) {
    return mode == RtfMode ? u"Preview Text Plugin (VLT)  - RTF Mode"
                           : u"Preview Text Plugin (VLT)  - Simple Text Mode";
}

}  // namespace vlt::peekpane
