#include "engine/container/SystemMemory.h"

#include <sys/sysinfo.h>

#include <fstream>
#include <limits>
#include <string>

namespace vlt {

std::uint64_t AvailableMemory() {
    // "MemAvailable" counts the page cache that can be given back, which free memory does not.
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kib = 0;
    std::uint64_t available = 0;
    int found = 0;
    while (found < 2 && meminfo >> key >> kib) {
        if (key == "MemAvailable:" || key == "SwapFree:") {
            available += kib * 1024;
            ++found;
        }
        meminfo.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    if (found == 2) {
        return available;
    }
    struct sysinfo info {};
    if (::sysinfo(&info) == 0) {
        return (std::uint64_t{info.freeram} + info.bufferram + info.freeswap) * info.mem_unit;
    }
    return std::numeric_limits<std::uint64_t>::max();
}

}  // namespace vlt
