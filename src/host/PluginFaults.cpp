#include "host/PluginFaults.h"

#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <mutex>

namespace vlt {
namespace {

// Plugin threads that can be told apart at once; a thread beyond them is treated as the host's.
constexpr std::size_t kThreadSlots = 64;

struct ThreadSlot {
    std::atomic<pid_t> thread{0};  // 0: free; -1: being filled
    PluginFaultHandler handler;
};

std::array<ThreadSlot, kThreadSlots> slots;
PluginFaultHandler original;  // what the process had before the first plugin
std::once_flag routed;

// Only async-signal-safe calls from here to the end of route().
void deliver(const struct sigaction& action, int signal, siginfo_t* info, void* context) {
    if ((action.sa_flags & SA_SIGINFO) != 0) {
        action.sa_sigaction(signal, info, context);
    } else if (action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN) {
        action.sa_handler(signal);
    } else {
        // The signal's own action ends the process once this handler returns.
        ::sigaction(signal, &action, nullptr);
        ::raise(signal);
    }
}

void route(int signal, siginfo_t* info, void* context) {
    std::size_t index = 0;
    while (index < kPluginFaultSignals.size() && kPluginFaultSignals[index] != signal) {
        ++index;
    }
    if (index == kPluginFaultSignals.size()) {
        return;
    }
    const pid_t self = ::gettid();
    for (const ThreadSlot& slot : slots) {
        if (slot.thread.load(std::memory_order_acquire) == self) {
            deliver(slot.handler.actions[index], signal, info, context);
            return;
        }
    }
    deliver(original.actions[index], signal, info, context);
}

struct sigaction routerAction() {
    struct sigaction action {};
    action.sa_sigaction = route;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    return action;
}

}  // namespace

void routePluginFaults() {
    std::call_once(routed, [] {
        const struct sigaction action = routerAction();
        for (std::size_t i = 0; i < kPluginFaultSignals.size(); ++i) {
            ::sigaction(kPluginFaultSignals[i], &action, &original.actions[i]);
        }
    });
}

PluginFaultHandler reclaimPluginFaults() {
    routePluginFaults();
    PluginFaultHandler taken = original;
    taken.present = false;
    const struct sigaction action = routerAction();
    for (std::size_t i = 0; i < kPluginFaultSignals.size(); ++i) {
        struct sigaction installed {};
        ::sigaction(kPluginFaultSignals[i], &action, &installed);
        if ((installed.sa_flags & SA_SIGINFO) != 0 && installed.sa_sigaction == route) {
            continue;
        }
        taken.actions[i] = installed;
        taken.present = true;
    }
    return taken;
}

PluginFaultScope::PluginFaultScope(const PluginFaultHandler& handler) {
    if (!handler.present) {
        return;
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        pid_t free = 0;
        if (slots[i].thread.compare_exchange_strong(free, -1)) {
            slots[i].handler = handler;
            slots[i].thread.store(::gettid(), std::memory_order_release);
            slot_ = static_cast<int>(i);
            return;
        }
    }
}

PluginFaultScope::~PluginFaultScope() {
    if (slot_ >= 0) {
        slots[static_cast<std::size_t>(slot_)].thread.store(0, std::memory_order_release);
    }
}

}  // namespace vlt
