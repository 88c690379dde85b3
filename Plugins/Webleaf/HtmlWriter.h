#pragma once
// The HTML listing: one page with a ten-column table, one row per entry.

#include "ExportWalk.h"

namespace vlt::plugin {

inline constexpr char16_t kWebleafVersion[] = u"1.1";

// Writes a field for an HTML page: CR LF, a lone CR and a lone LF each become "<br>", the four
// markup characters and U+00A0..U+00FF their entities; control characters (but tab) become
// U+FFFD, like the lone surrogates; every other character is copied.
void HTMLEncode(ExportOutput& out, std::u16string_view text);

void ExportHTML(ExportJob& job);

}  // namespace vlt::plugin
