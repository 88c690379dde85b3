#include "FaultHandler.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstring>

namespace vlt::sdk {
namespace {

constexpr std::array kSignals{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
std::array<struct sigaction, kSignals.size()> previous{};
bool installed = false;
char reportName[256] = "";

const char* describe(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "Invalid memory access";
        case SIGBUS:
            return "Bus error";
        case SIGFPE:
            return "Arithmetic fault";
        case SIGILL:
            return "Illegal instruction";
        case SIGABRT:
            return "Program aborted";
        default:
            return "Fatal signal";
    }
}

void put(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, text, left);
        if (n <= 0) {
            return;
        }
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Only async-signal-safe calls from here on: no allocation, no locks, no stdio.
void onFault(int signal) {
    put("Plugin error\r\n");
    put("The following error has been encountered:\r\n");
    put("Plugin name: ");
    put(reportName);
    put("\r\nError file: unknown\r\nError line: 0\r\nError message: ");
    put(describe(signal));
    put("\r\n");
    // End the process the way the signal itself would have.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);
}

}  // namespace

void installFaultHandler() {
    struct sigaction action {};
    action.sa_handler = onFault;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
    }
    installed = true;
}

void uninstallFaultHandler() {
    if (!installed) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction current {};
        sigaction(kSignals[i], nullptr, &current);
        // A plugin loaded later owns the handler now; it restores ours when it goes.
        if (current.sa_handler == onFault) {
            sigaction(kSignals[i], &previous[i], nullptr);
        }
    }
    installed = false;
}

void setFaultReportName(const std::u16string& name) {
    // UTF-8, cut at a whole character so the report stays valid text.
    std::size_t out = 0;
    for (char16_t c : name) {
        char bytes[3];
        std::size_t n = 0;
        if (c < 0x80) {
            bytes[n++] = static_cast<char>(c);
        } else if (c < 0x800) {
            bytes[n++] = static_cast<char>(0xC0 | (c >> 6));
            bytes[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            // Surrogate halves are shown as the replacement character.
            const char16_t v = (c >= 0xD800 && c <= 0xDFFF) ? char16_t(0xFFFD) : c;
            bytes[n++] = static_cast<char>(0xE0 | (v >> 12));
            bytes[n++] = static_cast<char>(0x80 | ((v >> 6) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | (v & 0x3F));
        }
        if (out + n >= sizeof reportName) {
            break;
        }
        std::memcpy(reportName + out, bytes, n);
        out += n;
    }
    reportName[out] = '\0';
}

}  // namespace vlt::sdk
