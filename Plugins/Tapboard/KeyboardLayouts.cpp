#include "KeyboardLayouts.h"

#include "common/IniLines.h"
#include "common/IniNumber.h"
#include "common/RegularFile.h"
#include "common/Trim.h"

namespace tapboard {

namespace {

// The file is a small hand-written table; anything this large is not one.
constexpr std::uint64_t kMaxFileSize = 4 * 1024 * 1024;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string latin1ToUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (char c : in) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// The key number of "Button<n>": n in 0..78 in decimal without leading zeros, else -1.
int buttonNumber(std::string_view key) {
    constexpr std::string_view kPrefix = "button";
    if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 2 ||
        !equalsIgnoringCase(key.substr(0, kPrefix.size()), kPrefix)) {
        return -1;
    }
    const std::string_view digits = key.substr(kPrefix.size());
    if (digits.size() > 1 && digits.front() == '0') {
        return -1;
    }
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        n = n * 10 + (c - '0');
    }
    return n < kKeyCount ? n : -1;
}

// What one group has seen so far, so that the first of two equal keys wins.
struct GroupReader {
    KeyboardLayout layout;
    bool nameSeen = false;
    std::array<bool, kKeyCount> buttonSeen{};

    void take(std::string_view key, std::string_view value) {
        if (equalsIgnoringCase(key, "LayoutName")) {
            if (!nameSeen) {
                layout.LayoutName = std::string(value);
                nameSeen = true;
            }
            return;
        }
        const int n = buttonNumber(key);
        if (n < 0 || buttonSeen[static_cast<std::size_t>(n)]) {
            return;
        }
        buttonSeen[static_cast<std::size_t>(n)] = true;
        // Whatever follows ";" is a note for the reader of the file.
        const std::string_view code =
            vlt::trimBlanks(value.substr(0, value.find(';')), vlt::Blanks::Spaces);
        layout.Button[static_cast<std::size_t>(n)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(ReadLayoutNumber(code)) & 0xFF);
    }
};

}  // namespace

std::int32_t ReadLayoutNumber(std::string_view text) {
    return vlt::IniNumber(text, vlt::NumberOverflow::Wrap);
}

std::vector<KeyboardLayout> ParseKeyboardLayouts(std::string_view content) {
    std::string text;
    if (vlt::skipByteOrderMark(content)) {
        text = std::string(content);
    } else {
        text = latin1ToUtf8(content);
    }

    std::vector<KeyboardLayout> layouts;
    std::optional<GroupReader> group;
    auto finish = [&] {
        if (group) {
            layouts.push_back(std::move(group->layout));
        }
    };

    for (const vlt::IniLine<char>& line : vlt::readIniLines(
             text,
             vlt::IniSyntax{vlt::IniSyntax::LineEnds::Lf, vlt::IniSyntax::SectionClose::None})) {
        if (line.kind == vlt::IniLineKind::Section) {
            finish();
            group.emplace();
            group->layout.ID = ReadLayoutNumber(line.name);
        } else if (line.kind == vlt::IniLineKind::Entry && group) {
            group->take(line.name, vlt::trimLeadingBlanks(line.value, vlt::Blanks::SpacesAndTabs));
        }
    }
    finish();
    return layouts;
}

std::optional<std::vector<KeyboardLayout>> LoadKeyboardLayouts(const std::string& path) {
    // Only a regular file: a FIFO would block the keyboard's thread, a device never end.
    std::string content;
    if (vlt::ReadRegularFile(path, content, kMaxFileSize) != vlt::FileRefusal::None) {
        return std::nullopt;
    }
    std::vector<KeyboardLayout> layouts = ParseKeyboardLayouts(content);
    if (layouts.empty()) {
        return std::nullopt;
    }
    return layouts;
}

}  // namespace tapboard
