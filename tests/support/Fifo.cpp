#include "Fifo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace vlt::test {

Fifo::Fifo(std::string path, std::chrono::milliseconds grace) : path_(std::move(path)) {
    // A released writer may write after the watchdog's reader has gone again.
    std::signal(SIGPIPE, SIG_IGN);
    if (::mkfifo(path_.c_str(), 0600) != 0) {
        ADD_FAILURE() << "mkfifo " << path_;
    }
    watchdog_ = std::thread([this, grace] { watch(grace); });
}

Fifo::~Fifo() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    watchdog_.join();
}

bool Fifo::blocked() const {
    std::lock_guard guard(lock_);
    return blocked_;
}

void Fifo::watch(std::chrono::milliseconds grace) {
    std::unique_lock guard(lock_);
    if (wake_.wait_for(guard, grace, [this] { return stopping_; })) {
        return;
    }
    while (!wake_.wait_for(guard, std::chrono::milliseconds(20), [this] { return stopping_; })) {
        guard.unlock();
        release();
        guard.lock();
    }
}

namespace {

// The FIFO opened without blocking, or -1 when the name now holds something else.
int openFifo(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

void Fifo::release() {
    // Marked before the blocked code is let go, so that the test sees it once that code returns.
    auto mark = [this] {
        std::lock_guard guard(lock_);
        blocked_ = true;
    };
    // A non-blocking open for writing succeeds only when somebody has the FIFO open for reading.
    const int output = openFifo(path_, O_WRONLY);
    if (output >= 0) {
        mark();
        ::close(output);
    }
    const int input = openFifo(path_, O_RDONLY);
    if (input >= 0) {
        pollfd wait{input, POLLIN, 0};
        char sink[4096];
        while (::poll(&wait, 1, 20) > 0 && ::read(input, sink, sizeof sink) > 0) {
            mark();
        }
        ::close(input);
    }
}

}  // namespace vlt::test
