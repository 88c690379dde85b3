#pragma once
// What the plugin loader left behind: the trace line after an attempt, and whether a library is
// still mapped.

#include <dlfcn.h>

#include <string>

namespace vlt::test {

// The trace line that follows the last attempt to load `path`.
inline std::string lineAfterAttempt(const std::string& lines, const std::string& path) {
    const std::string attempt = "VLT_Plugin_Load() -> Trying to load plugin: " + path + "\n";
    const std::size_t at = lines.rfind(attempt);
    if (at == std::string::npos) {
        return "(no attempt)";
    }
    const std::size_t from = at + attempt.size();
    return lines.substr(from, lines.find('\n', from) - from);
}

inline bool stillLoaded(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) {
        ::dlclose(handle);
    }
    return handle != nullptr;
}

inline const std::string kNotLoaded = "VLT_Plugin_Load() -> Plugin not loaded: ";

}  // namespace vlt::test
