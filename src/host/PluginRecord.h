#pragma once
// One loaded plugin library: who it says it is, its open handle and its last thread.

#include <QImage>
#include <cstdint>
#include <string>

#include "host/PluginFaults.h"

namespace vlt {

enum PluginType : std::int32_t { Tool = 0, Importer = 1, Exporter = 2, Previewer = 3 };

struct VLTPlg {
    std::int32_t ID = 0;  // from the shared ID registry
    std::string Path;     // the library file as it was loaded
    std::u16string Name;
    std::u16string Version;
    std::u16string Description;
    std::u16string Author;
    std::int32_t Icon = 0;  // number of IconImage, 0 when the plugin has no icon
    QImage IconImage;
    void* Handle = nullptr;  // dlopen handle; null once the library is closed
    std::int32_t Type = Tool;
    std::int32_t Thread = -1;         // number of the last thread started for it, -1 before any
    PluginFaultHandler FaultHandler;  // what the library installed for faults on its threads
};

}  // namespace vlt
