#include "platform/DesktopEntry.h"

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

// The string rules of every desktop-entry value, applied on top of the Exec rules: a reader
// undoes them first.
std::string entryString(const std::string& text) {
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

}  // namespace

std::string DesktopExecValue(const std::string& program, std::string_view arguments) {
    std::string value = entryString(quotedArgument(program));
    if (!arguments.empty()) {
        value += ' ';
        value += arguments;
    }
    return value;
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
