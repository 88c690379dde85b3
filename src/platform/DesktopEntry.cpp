#include "platform/DesktopEntry.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"

namespace vlt {

namespace {

// One argument as the Exec rules quote it: in double quotes, the four characters that keep a
// meaning inside quotes behind a backslash, and '%' doubled, which is no field code then.
std::string quotedArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// A string value as a desktop reads it: "\s", "\n", "\t", "\r" and "\\" undone.
std::string unescapedString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char next = value[++i];
        text += next == 's'   ? ' '
                : next == 'n' ? '\n'
                : next == 't' ? '\t'
                : next == 'r' ? '\r'
                              : next;
    }
    return text;
}

}  // namespace

// The string rules of every desktop-entry value, applied on top of the Exec rules: a reader
// undoes them first.
std::string DesktopStringValue(const std::string& text) {
    std::string value;
    for (char c : text) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\r':
                value += "\\r";
                break;
            case '\t':
                value += "\\t";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string DesktopExecValue(const std::string& program, std::string_view arguments) {
    std::string value = DesktopStringValue(quotedArgument(program));
    if (!arguments.empty()) {
        value += ' ';
        value += arguments;
    }
    return value;
}

std::string DesktopEntryValue(std::string_view fileText, std::string_view key) {
    bool inEntry = false;
    while (!fileText.empty()) {
        const std::size_t end = std::min(fileText.find('\n'), fileText.size());
        std::string_view line = fileText.substr(0, end);
        fileText.remove_prefix(std::min(end + 1, fileText.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.starts_with(key)) {
            continue;
        }
        // Blanks around "=" do not count.
        line.remove_prefix(key.size());
        line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        if (line.starts_with('=')) {
            line.remove_prefix(1);
            return std::string(line.substr(std::min(line.find_first_not_of(' '), line.size())));
        }
    }
    return {};
}

std::string DesktopExecProgram(std::string_view execValue) {
    const std::string value = unescapedString(execValue);
    const bool quoted = value.starts_with('"');
    std::string program;
    for (std::size_t i = quoted ? 1 : 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted ? c == '"' : c == ' ' || c == '\t') {
            break;
        }
        if ((quoted && c == '\\') || (c == '%' && i + 1 < value.size() && value[i + 1] == '%')) {
            ++i;
        }
        if (i < value.size()) {
            program += value[i];
        }
    }
    return program;
}

bool WriteDesktopFile(const std::string& path, std::string_view text) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error) {
        return false;
    }
    const FileWriter writer;
    return writeFileAtomically(path, std::string(text), writer, 0644);
}

}  // namespace vlt
