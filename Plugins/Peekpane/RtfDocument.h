#pragma once
// A small RTF reader, without Qt: it turns RTF source into paragraphs of formatted runs, with the
// document's font and colour tables. It reads what a preview needs (groups, fonts, colours,
// bold, italic, underline, strike-out, sizes, paragraphs and line breaks, \'hh in Windows-1252,
// \uN with \ucN) and skips destinations it does not show. Any input is accepted: unbalanced
// braces are tolerated, numbers are clamped and nesting beyond a limit keeps the outer state.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vlt::peekpane {

struct RtfColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    // The table's "auto" entry (nothing between two semicolons): the default text colour.
    bool automatic = true;
};

struct RtfFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = -1;        // a number of the font table; -1 for the default font
    int halfPoints = 24;  // size in half points
    int color = 0;        // an index of the colour table; 0 or a missing entry means auto
    bool operator==(const RtfFormat&) const = default;
};

struct RtfRun {
    RtfFormat format;
    std::u16string text;  // line breaks inside a paragraph are U+2028
};

struct RtfParagraph {
    std::vector<RtfRun> runs;
};

struct RtfDocument {
    std::map<int, std::u16string> fonts;  // font number -> face name
    std::vector<RtfColor> colors;
    std::vector<RtfParagraph> paragraphs;  // at least one
};

// Groups nested deeper than this share the state of the group at the limit.
constexpr int kMaxRtfDepth = 256;

// Reads RTF source. The source is text: bytes outside ASCII have been decoded already.
RtfDocument ReadRtf(std::u16string_view source);

}  // namespace vlt::peekpane
