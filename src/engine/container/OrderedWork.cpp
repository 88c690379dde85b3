#include "engine/container/OrderedWork.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace vlt {

namespace {

constexpr std::uint64_t kLargestBatch = std::uint64_t{2} << 20;
constexpr std::uint64_t kSmallestBatch = std::uint64_t{64} << 10;
constexpr unsigned kBatchesPerThread = 8;
constexpr auto kIdleEvery = std::chrono::milliseconds(16);

// What the calling thread and the workers share.
class Run {
  public:
    Run(std::size_t count, std::size_t ahead, const std::function<void(std::size_t)>& prepare)
        : count_(count), ahead_(ahead), prepare_(prepare), ready_(count, 0) {}

    // A worker: claims the next batch once it is within reach of the taker, until none is left.
    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            canStart_.wait(lock,
                           [this] { return stop_ || next_ >= count_ || next_ < taken_ + ahead_; });
            if (stop_ || next_ >= count_) {
                return;
            }
            const std::size_t batch = next_++;
            lock.unlock();
            try {
                prepare_(batch);
            } catch (...) {
                lock.lock();
                fail(std::current_exception());
                return;
            }
            lock.lock();
            ready_[batch] = 1;
            batchReady_.notify_all();
        }
    }

    // Waits until `batch` is prepared; false when the run was stopped first.
    bool waitFor(std::size_t batch, const std::function<void()>& idle) {
        std::unique_lock lock(mutex_);
        while (ready_[batch] == 0 && !stop_) {
            if (batchReady_.wait_for(lock, kIdleEvery) == std::cv_status::timeout && idle) {
                lock.unlock();
                idle();
                lock.lock();
            }
        }
        return ready_[batch] != 0;
    }

    void taken(std::size_t batch) {
        std::lock_guard lock(mutex_);
        taken_ = batch + 1;
        canStart_.notify_all();
    }

    void stop() {
        std::lock_guard lock(mutex_);
        stop_ = true;
        canStart_.notify_all();
        batchReady_.notify_all();
    }

    void fail(std::exception_ptr error) {
        if (!error_) {
            error_ = error;
        }
        stop_ = true;
        canStart_.notify_all();
        batchReady_.notify_all();
    }

    std::exception_ptr error() {
        std::lock_guard lock(mutex_);
        return error_;
    }

  private:
    const std::size_t count_;
    const std::size_t ahead_;
    const std::function<void(std::size_t)>& prepare_;
    std::mutex mutex_;
    std::condition_variable canStart_;
    std::condition_variable batchReady_;
    std::vector<char> ready_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    bool stop_ = false;
    std::exception_ptr error_;
};

// Joins the workers however the calling thread leaves.
class Workers {
  public:
    explicit Workers(Run& run) : run_(run) {}
    ~Workers() {
        run_.stop();
        for (auto& thread : threads_) {
            thread.join();
        }
    }
    // Starts up to n workers; fewer when the system refuses more threads.
    std::size_t start(unsigned n) {
        for (unsigned i = 0; i < n; ++i) {
            try {
                threads_.emplace_back([this] { run_.work(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        return threads_.size();
    }

  private:
    Run& run_;
    std::vector<std::thread> threads_;
};

bool runHere(std::size_t count, const std::function<void(std::size_t)>& prepare,
             const std::function<bool(std::size_t)>& take) {
    for (std::size_t batch = 0; batch < count; ++batch) {
        prepare(batch);
        if (!take(batch)) {
            return false;
        }
    }
    return true;
}

}  // namespace

unsigned WorkerThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

std::vector<std::size_t> PlanBatches(std::size_t count,
                                     const std::function<std::uint64_t(std::size_t)>& sizeOf,
                                     unsigned threads) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        total += sizeOf(i);
    }
    const std::uint64_t batches = std::uint64_t{std::max(threads, 1u)} * kBatchesPerThread;
    const std::uint64_t bytesEach = std::clamp(total / batches, kSmallestBatch, kLargestBatch);
    // Parsing costs per record as well as per byte: many small records are spread out too.
    const std::size_t itemsEach = std::max<std::size_t>(1, (count + batches - 1) / batches);

    std::vector<std::size_t> starts;
    std::uint64_t bytes = 0;
    std::size_t items = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (items == 0) {
            starts.push_back(i);
        }
        bytes += sizeOf(i);
        if (++items >= itemsEach || bytes >= bytesEach) {
            items = 0;
            bytes = 0;
        }
    }
    starts.push_back(count);
    return starts;
}

bool RunInOrder(std::size_t count, unsigned threads,
                const std::function<void(std::size_t)>& prepare,
                const std::function<bool(std::size_t)>& take, const std::function<void()>& idle) {
    if (threads <= 1 || count <= 1) {
        return runHere(count, prepare, take);
    }
    Run run(count, std::size_t{threads} + 2, prepare);
    bool completed = true;
    {
        Workers workers(run);
        if (workers.start(threads) == 0) {
            return runHere(count, prepare, take);
        }
        auto lastIdle = std::chrono::steady_clock::now();
        for (std::size_t batch = 0; batch < count && completed; ++batch) {
            if (!run.waitFor(batch, idle)) {
                completed = false;
                break;
            }
            completed = take(batch);
            run.taken(batch);
            // Batches that come quickly still leave the windows a moment to paint.
            const auto now = std::chrono::steady_clock::now();
            if (idle && now - lastIdle >= kIdleEvery) {
                idle();
                lastIdle = now;
            }
        }
    }  // every worker has stopped here, also when take() threw
    if (auto error = run.error()) {
        std::rethrow_exception(error);
    }
    return completed;
}

}  // namespace vlt
