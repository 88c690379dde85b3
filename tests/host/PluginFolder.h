#pragma once
// A scratch plugin folder holding fresh copies of built test plugins. A copy is a new file, so
// each test loads its own instance with its own quit flag and globals.

#include <filesystem>
#include <string>

#include "TempDir.h"

namespace vlt::test {

class PluginFolder {
  public:
    // Copies the built test plugin `plugin` (without ".so") in as `as` (default: the same name).
    std::string add(const std::string& plugin, std::string as = {}) {
        if (as.empty()) {
            as = plugin + ".so";
        }
        const std::string target = dir_.file(as);
        std::filesystem::copy_file(std::string(VLT_TEST_PLUGIN_DIR) + "/" + plugin + ".so", target);
        return target;
    }
    std::string path() const { return dir_.path().string(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

  private:
    TempDir dir_;
};

}  // namespace vlt::test
