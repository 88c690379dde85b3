#include "host/PluginThreads.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <system_error>
#include <thread>

namespace vlt {

std::int32_t PluginThreads::start(std::function<void()> body) {
    auto flag = std::make_shared<std::atomic<bool>>(true);
    std::int32_t number = 0;
    {
        std::lock_guard guard(lock_);
        running_.push_back(flag);
        number = static_cast<std::int32_t>(running_.size());
    }
    try {
        std::thread([flag, body = std::move(body)] {
            body();
            flag->store(false);
        }).detach();
    } catch (const std::system_error&) {
        flag->store(false);
        return 0;
    }
    return number;
}

bool PluginThreads::isRunning(std::int32_t number) const {
    std::lock_guard guard(lock_);
    if (number < 1 || static_cast<std::size_t>(number) > running_.size()) {
        return false;
    }
    return running_[static_cast<std::size_t>(number) - 1]->load();
}

bool PluginThreads::anyRunning() const {
    std::lock_guard guard(lock_);
    return std::any_of(running_.begin(), running_.end(),
                       [](const std::shared_ptr<std::atomic<bool>>& flag) { return flag->load(); });
}

void PluginThreads::waitFor(std::int32_t number) const {
    waitUntil(number, std::chrono::steady_clock::time_point::max());
}

bool PluginThreads::waitFor(std::int32_t number, std::chrono::milliseconds limit) const {
    return waitUntil(number, std::chrono::steady_clock::now() + limit);
}

bool PluginThreads::waitUntil(std::int32_t number,
                              std::chrono::steady_clock::time_point deadline) const {
    const auto ended = [this, number, deadline] {
        return !isRunning(number) || std::chrono::steady_clock::now() >= deadline;
    };
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        while (!ended()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return !isRunning(number);
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&ended, &loop] {
        if (ended()) {
            loop.quit();
        }
    });
    poll.start(5);
    if (!ended()) {
        loop.exec();
    }
    return !isRunning(number);
}

}  // namespace vlt
