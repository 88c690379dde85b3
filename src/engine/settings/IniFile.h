#pragma once
// One INI document in memory: the settings file, the recent-files file and the other small
// key = value files. Lines are kept in file order, so that comments and lines this program does
// not know survive a rewrite untouched; only the lines of written keys change.
//
// Format: UTF-8 with an optional byte-order mark, lines ending in CR LF or LF, "[Group]" lines
// and "Key = Value" lines. Group and key names match without regard to (ASCII) case; values are
// read with surrounding blanks and tabs removed. Lines before the first group line belong to
// the group named "". Where a group or a key appears twice, the first one counts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/FileWriter.h"

namespace vlt {

class IniFile {
  public:
    // A new, empty document; saving it creates the file.
    IniFile();
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads the file. False when it cannot be opened or is larger than 1 MiB (1,048,576 bytes),
    // which is not read at all; the document is then new and empty.
    bool load(const std::string& path);

    std::u16string readString(std::u16string_view group, std::u16string_view key,
                              std::u16string_view defaultValue = {}) const;
    // The value converted by IniNumber; a missing key converts the default's decimal text.
    std::int32_t readNumber(std::u16string_view group, std::u16string_view key,
                            std::int32_t defaultValue) const;

    // Replaces the key's line in its group, or appends the key to the group; a missing group
    // is appended to the document. Line breaks in the value become blanks, so that a value can
    // never add lines. Writing the value a key already holds changes nothing.
    void writeString(std::u16string_view group, std::u16string_view key, std::u16string_view value);
    void writeNumber(std::u16string_view group, std::u16string_view key, std::int32_t value);

    // Removes every "[group]" line of that name with the lines that follow it up to the next
    // group line.
    void removeGroup(std::u16string_view group);

    // The keys and values of the group, in file order.
    std::vector<std::pair<std::u16string, std::u16string>> entries(std::u16string_view group) const;
    // The names of every group line, in file order.
    std::vector<std::u16string> groups() const;

    // True when the document differs from the file it was read from, or was never read.
    bool changed() const { return changed_; }
    // Writes the document when it changed: as a new owner-only file renamed over the old one (a
    // link at the name is replaced, never written through), CR LF line ends. A document not read
    // from a file starts with the byte-order mark and an empty line. False when the file could not
    // be written; it is then untouched.
    bool save(const std::string& path, const FileWriter& writer);

  private:
    enum class LineKind { Other, Group, Entry };
    struct Line {
        LineKind kind = LineKind::Other;
        std::string text;     // the line as stored, without its line end
        std::u16string name;  // group name or key
        std::u16string value;
    };
    struct Range {
        std::size_t begin;  // first line after the group line
        std::size_t end;    // the next group line, or the end of the document
    };

    void reset();
    std::optional<Range> findGroup(std::u16string_view group) const;
    std::optional<std::size_t> findKey(Range range, std::u16string_view key) const;

    std::vector<Line> lines_;
    bool byteOrderMark_ = true;
    bool changed_ = true;
};

}  // namespace vlt
