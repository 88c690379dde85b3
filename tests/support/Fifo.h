#pragma once
// A FIFO standing where a test's code expects a file. Code that opens it for real blocks until
// the other end is opened, which never happens by itself in a test: so after a grace period a
// watchdog keeps opening the other end (a writer that closes at once, so a reader sees the end
// of the file; a reader that drains and closes, so a writer goes on), the code under test is
// released, and blocked() tells the test that it had hung.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace vlt::test {

class Fifo {
  public:
    explicit Fifo(std::string path, std::chrono::milliseconds grace = std::chrono::seconds(3));
    ~Fifo();  // stops the watchdog; the FIFO itself stays (its folder goes with the test)
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    const std::string& path() const { return path_; }
    // True once the watchdog found the FIFO opened for reading, or written to.
    bool blocked() const;

  private:
    void watch(std::chrono::milliseconds grace);
    void release();

    std::string path_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool blocked_ = false;
    std::thread watchdog_;
};

}  // namespace vlt::test
