#pragma once
// Crash reports that name the right plugin. Each plugin built with the SDK installs a handler for
// the fatal signals of the whole process as it is loaded, so the last one loaded would report
// every fault under its own name. Only the host knows which plugin a thread runs: it keeps a
// handler of its own on top, takes each library's handler as the library is opened, and passes a
// fault on a plugin's thread to that plugin's handler. A fault on any other thread goes to what
// the process had before the first plugin was loaded.

#include <signal.h>

#include <array>

namespace vlt {

// The signals a plugin's handler reports.
inline constexpr std::array kPluginFaultSignals{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// What one library installed for those signals.
struct PluginFaultHandler {
    std::array<struct sigaction, kPluginFaultSignals.size()> actions{};
    bool present = false;  // false: the library installed none
};

// Puts the host's handler in place (once per process); call it before a library is opened.
void routePluginFaults();
// After a library was opened: puts the host's handler back on top and returns what the library
// installed in its place.
PluginFaultHandler reclaimPluginFaults();

// While it lives, a fault on the thread that made it goes to `handler`.
class PluginFaultScope {
  public:
    explicit PluginFaultScope(const PluginFaultHandler& handler);
    ~PluginFaultScope();
    PluginFaultScope(const PluginFaultScope&) = delete;
    PluginFaultScope& operator=(const PluginFaultScope&) = delete;

  private:
    int slot_ = -1;
};

}  // namespace vlt
