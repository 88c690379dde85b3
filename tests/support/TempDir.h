#pragma once
// A scratch folder removed with everything in it when the test ends.

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace vlt::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
// How many names a folder holds.
std::size_t filesIn(const std::filesystem::path& dir);
// What stat() says of a file, the test failing when it fails.
struct stat statOf(const std::string& path);

}  // namespace vlt::test
