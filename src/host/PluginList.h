#pragma once
// The loaded plugins, in load order, with one current-record cursor: the start-up scan fills
// it, and menus, launchers and the exit find plugins only through it. GUI thread only.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/PluginRecord.h"
#include "host/PluginThreads.h"

namespace vlt {

class IdRegistry;
class TraceLog;

class PluginList {
  public:
    PluginList(IdRegistry& ids, TraceLog& log);
    PluginList(const PluginList&) = delete;
    PluginList& operator=(const PluginList&) = delete;

    // Loads every "*.so" file of folder, in name order. Returns 0.
    int VLT_Plugin_LoadFolder(const std::string& folder);
    // 1 when the library was accepted and appended (it becomes current), else 0.
    int VLT_Plugin_Load(const std::string& path);
    // 1 when the open library's signature is exactly "VLTPlugin_v4.0", else 0.
    static int VLT_Plugin_IsValid(void* library);

    // Rewinds (no current record) and returns the number of records.
    int VLT_Plugin_Count();
    // Makes the next record current; 1 while there is one, 0 after the last.
    int VLT_Plugin_Next();
    int VLT_Plugin_GetCurrent() const;
    // Makes record `index` current; -1 leaves the cursor alone. Returns 1.
    int VLT_Plugin_Select(int index);

    // Fields of the current record ("" / 0 / -1 without one).
    std::int32_t VLT_Plugin_GetID() const;
    std::u16string VLT_Plugin_GetName() const;
    std::u16string VLT_Plugin_GetVersion() const;
    std::u16string VLT_Plugin_GetDescription() const;
    std::u16string VLT_Plugin_GetAuthor() const;
    std::int32_t VLT_Plugin_GetIcon() const;
    void* VLT_Plugin_GetHandle() const;
    std::int32_t VLT_Plugin_GetType() const;
    std::int32_t VLT_Plugin_GetThread() const;
    int VLT_Plugin_SetThread(std::int32_t thread);

    int VLT_Plugin_CountPreviewers();
    // Signals every plugin that exports Plugin_QuitSignal and waits for its running thread, as
    // long as quitWait says; the others are left to end with the process. Returns 0.
    int VLT_Plugin_SendQuitSignal();

    // How the quit walk waits for a signalled plugin: `patience` at a time, then it asks
    // keepWaiting, with the plugin's name, whether to wait that long again; false gives that
    // plugin up and goes on with the next. Without keepWaiting it waits as long as it takes.
    struct QuitWait {
        std::chrono::milliseconds patience{10'000};
        std::function<bool(const std::u16string& plugin)> keepWaiting;
    };
    QuitWait quitWait;

    // Asks the record at `index` to quit, waits for its thread, closes its library and drops the
    // record. False, with everything left as it was, when the plugin runs and cannot be asked to
    // quit: its code must not be unmapped under its thread.
    bool unload(int index);
    // Index of the record with that ID, -1 when none.
    int indexOf(std::int32_t id) const;

    // An export of the current record's library; null when missing or the library is closed.
    void* currentExport(const char* name) const;
    const std::vector<VLTPlg>& records() const { return records_; }
    PluginThreads& threads() { return threads_; }

  private:
    const VLTPlg* current() const;
    std::int32_t newPluginId();

    IdRegistry& ids_;
    TraceLog& log_;
    std::vector<VLTPlg> records_;
    int current_ = -1;
    std::int32_t iconCount_ = 0;
    PluginThreads threads_;
};

}  // namespace vlt
