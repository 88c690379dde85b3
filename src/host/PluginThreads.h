#pragma once
// The threads plugin entry exports run on: numbered from 1 in the order they are made, each with
// a running flag the GUI thread can ask about or wait on without blocking its event loop.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace vlt {

class PluginThreads {
  public:
    // Runs body on a new detached thread; its number, or 0 when no thread could be created.
    std::int32_t start(std::function<void()> body);
    // Whether thread `number` has been started and has not ended (false for -1, 0 and unknown).
    bool isRunning(std::int32_t number) const;
    // Returns once thread `number` has ended. On the GUI thread a local event loop keeps the
    // windows alive meanwhile; nothing ever blocks in a join.
    void waitFor(std::int32_t number) const;
    // The same, giving up after `limit`: true when the thread has ended.
    bool waitFor(std::int32_t number, std::chrono::milliseconds limit) const;
    // Whether any thread started here has not ended.
    bool anyRunning() const;

  private:
    bool waitUntil(std::int32_t number, std::chrono::steady_clock::time_point deadline) const;

    mutable std::mutex lock_;
    std::vector<std::shared_ptr<std::atomic<bool>>> running_;  // index = number - 1
};

}  // namespace vlt
