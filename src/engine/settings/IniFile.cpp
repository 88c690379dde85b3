#include "engine/settings/IniFile.h"

#include <algorithm>
#include <limits>

#include "common/AsciiCase.h"
#include "common/AtomicFile.h"
#include "common/IniLines.h"
#include "common/IniNumber.h"
#include "common/RegularFile.h"
#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/text/Text.h"

namespace vlt {

namespace {

// No settings file comes near this; a larger one would only delay the start and fill memory.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 20;

bool sameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

// Group and key names and values are single-line texts; a line break would split the entry.
std::u16string oneLine(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c == u'\r' || c == u'\n') {
            c = u' ';
        }
    }
    return out;
}

void wipeString(std::string& text) {
    wipeBytes(text.data(), text.size());
    text.clear();
}

void wipeString(std::u16string& text) {
    wipeBytes(text.data(), text.size() * sizeof(char16_t));
    text.clear();
}

}  // namespace

IniFile::IniFile() {
    reset();
}

IniFile::~IniFile() {
    // Settings files can hold a search text; leave none of it in freed memory.
    for (Line& line : lines_) {
        wipeString(line.text);
        wipeString(line.value);
    }
}

void IniFile::reset() {
    lines_.assign(1, Line{});
    byteOrderMark_ = true;
    changed_ = true;
}

bool IniFile::load(const std::string& path) {
    reset();
    // Never blocks: a FIFO or a device where the file belongs is as unreadable as a missing file,
    // and so is a file too large to be one of these, refused before a byte of it is read.
    std::string bytes;
    if (ReadRegularFile(path, bytes, kMaxFileSize) != FileRefusal::None) {
        return false;
    }
    std::string_view rest(bytes);
    byteOrderMark_ = skipByteOrderMark(rest);
    lines_.clear();
    for (const IniLine<char>& read : readIniLines(rest, IniSyntax{})) {
        Line line;
        line.text = read.text;
        if (read.kind == IniLineKind::Section) {
            line.kind = LineKind::Group;
            line.name = fromUtf8(read.name);
        } else if (read.kind == IniLineKind::Entry) {
            line.kind = LineKind::Entry;
            line.name = fromUtf8(read.name);
            line.value = fromUtf8(trimBlanks(read.value, Blanks::SpacesAndTabs));
        }
        lines_.push_back(std::move(line));
    }
    wipeString(bytes);
    changed_ = false;
    return true;
}

std::optional<IniFile::Range> IniFile::findGroup(std::u16string_view group) const {
    std::optional<Range> found;
    if (group.empty()) {
        found = Range{0, lines_.size()};
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != LineKind::Group) {
            continue;
        }
        if (found) {
            found->end = i;
            return found;
        }
        if (sameName(lines_[i].name, group)) {
            found = Range{i + 1, lines_.size()};
        }
    }
    return found;
}

std::optional<std::size_t> IniFile::findKey(Range range, std::u16string_view key) const {
    for (std::size_t i = range.begin; i < range.end; ++i) {
        if (lines_[i].kind == LineKind::Entry && sameName(lines_[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::u16string IniFile::readString(std::u16string_view group, std::u16string_view key,
                                   std::u16string_view defaultValue) const {
    if (auto range = findGroup(group)) {
        if (auto line = findKey(*range, key)) {
            return lines_[*line].value;
        }
    }
    return std::u16string(defaultValue);
}

std::int32_t IniFile::readNumber(std::u16string_view group, std::u16string_view key,
                                 std::int32_t defaultValue) const {
    return IniNumber(readString(group, key, decimal(defaultValue)));
}

void IniFile::writeString(std::u16string_view group, std::u16string_view key,
                          std::u16string_view value) {
    Line entry;
    entry.kind = LineKind::Entry;
    entry.name = trimBlanks(oneLine(key), Blanks::SpacesAndTabs);
    entry.value = trimBlanks(oneLine(value), Blanks::SpacesAndTabs);
    entry.text = toUtf8(entry.name + u" = " + entry.value);

    auto range = findGroup(group);
    if (!range) {
        Line header;
        header.kind = LineKind::Group;
        header.name = trimBlanks(oneLine(group), Blanks::SpacesAndTabs);
        header.text = toUtf8(u"[" + header.name + u"]");
        lines_.push_back(std::move(header));
        range = Range{lines_.size(), lines_.size()};
    }
    if (auto existing = findKey(*range, key)) {
        Line& line = lines_[*existing];
        if (line.value == entry.value) {
            return;
        }
        wipeString(line.text);
        wipeString(line.value);
        line = std::move(entry);
    } else {
        // After the group's last entry, so that blank and comment lines that lead into the
        // next group stay with it.
        std::size_t at = range->begin;
        for (std::size_t i = range->begin; i < range->end; ++i) {
            if (lines_[i].kind == LineKind::Entry) {
                at = i + 1;
            }
        }
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    }
    changed_ = true;
}

void IniFile::writeNumber(std::u16string_view group, std::u16string_view key, std::int32_t value) {
    writeString(group, key, decimal(value));
}

void IniFile::removeGroup(std::u16string_view group) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool removing = false;
    for (Line& line : lines_) {
        if (line.kind == LineKind::Group) {
            removing = sameName(line.name, group);
        }
        if (removing) {
            wipeString(line.text);
            wipeString(line.value);
            changed_ = true;
        } else {
            kept.push_back(std::move(line));
        }
    }
    lines_ = std::move(kept);
}

std::vector<std::pair<std::u16string, std::u16string>> IniFile::entries(
    std::u16string_view group) const {
    std::vector<std::pair<std::u16string, std::u16string>> out;
    if (auto range = findGroup(group)) {
        for (std::size_t i = range->begin; i < range->end; ++i) {
            if (lines_[i].kind == LineKind::Entry) {
                out.emplace_back(lines_[i].name, lines_[i].value);
            }
        }
    }
    return out;
}

std::vector<std::u16string> IniFile::groups() const {
    std::vector<std::u16string> out;
    for (const Line& line : lines_) {
        if (line.kind == LineKind::Group) {
            out.push_back(line.name);
        }
    }
    return out;
}

bool IniFile::save(const std::string& path, const FileWriter& writer) {
    if (!changed_) {
        return true;
    }
    std::string bytes(byteOrderMark_ ? kUtf8ByteOrderMark : std::string_view{});
    for (const Line& line : lines_) {
        bytes += line.text;
        bytes += "\r\n";
    }
    // The program's own file: a link or anything else at its name is replaced, never written
    // through, and the file is owner-only.
    AtomicFile file(path, writer, 0600);
    file.replaceByRenameOnly();
    const bool written = file.open() && file.write(bytes.data(), bytes.size()) && file.commit();
    wipeString(bytes);
    if (written) {
        changed_ = false;
    }
    return written;
}

}  // namespace vlt
