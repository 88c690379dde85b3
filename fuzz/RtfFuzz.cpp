// libFuzzer target for the previewer's RTF reader: whatever the bytes, the mode test and the
// reader must finish without reading out of bounds, and the reader always gives a paragraph.
// The bytes are fed as Latin-1 text, so every code the reader can meet below U+0100 is reached.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PreviewMode.h"
#include "RtfDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)vlt::peekpane::DetectPreviewMode(data, size);
    const std::u16string text(data, data + size);
    const vlt::peekpane::RtfDocument document = vlt::peekpane::ReadRtf(text);
    if (document.paragraphs.empty()) {
        std::abort();
    }
    return 0;
}
