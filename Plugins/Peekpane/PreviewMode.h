#pragma once
// How the previewer shows an attachment, decided from its bytes alone.

#include <cstddef>
#include <cstdint>

namespace vlt::peekpane {

enum PreviewMode { RtfMode = 0, TextMode = 1 };

// RTF when the data starts with "{\rtf" and its last five bytes hold a "}"; anything shorter
// than five bytes is text.
PreviewMode DetectPreviewMode(const std::uint8_t* data, std::size_t size);

// The window title for the mode.
const char16_t* PreviewTitle(PreviewMode mode);

}  // namespace vlt::peekpane
