#include "host/PluginThreads.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
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

void PluginThreads::waitFor(std::int32_t number) const {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        while (isRunning(number)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [this, number, &loop] {
        if (!isRunning(number)) {
            loop.quit();
        }
    });
    poll.start(5);
    if (isRunning(number)) {
        loop.exec();
    }
}

}  // namespace vlt
