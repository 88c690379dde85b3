#pragma once
// What the open and save flows of Container share: their texts, the file checks both make, and
// the observer that turns the codec's steps into trace lines, freed buffers and progress.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/container/ContainerCodec.h"
#include "engine/vault/Engine.h"

namespace vlt {

inline constexpr std::string_view kOpenProc = "OpenContainer";
inline constexpr std::string_view kCloseProc = "CloseContainer";
inline constexpr std::string_view kSaveProc = "SaveContainerAs";
inline constexpr std::string_view kSaveFrontProc = "SaveContainer";
inline constexpr char16_t kContainerPattern[] = u"VLT file (*.vlt)|*.vlt";

std::string nativePath(const std::u16string& path);

// Size of a regular file, -1 when it is missing or not a regular file.
std::int64_t regularFileSize(const std::u16string& path);

std::u16string inQuotes(const std::u16string& text);

// A stop-icon "Error" message box.
void refuse(Engine& engine, const char16_t* text);

// A failure message with the system's reason on a second line, so the user knows what to fix.
std::u16string withReason(std::u16string_view text, const std::string& reason);

// The container's file name in the group tree and the window title.
void showContainerName(Engine& engine, const std::u16string& path);

// Names the file holding the vault in status field 2, the group tree and the window title; an
// empty path names none.
void showContainerPath(Engine& engine, const std::u16string& path);

// Sends the codec's step texts to the trace log, its buffers through FreeMemoryEx and its record
// counts to the progress window.
class FlowObserver : public RecordObserver {
  public:
    FlowObserver(Engine& engine, std::string_view procedure, std::u16string title,
                 std::u16string text);
    ~FlowObserver() override;
    FlowObserver(const FlowObserver&) = delete;
    FlowObserver& operator=(const FlowObserver&) = delete;

    bool tracing() const override { return tracing_; }
    void trace(std::u16string_view message) override;
    void release(SecureBuffer& buffer) override;
    void begin(int) override;
    void recordDone(int done, int total) override;
    void end() override;
    void idle() override;

  private:
    Engine& engine_;
    std::string_view procedure_;
    std::u16string title_;
    std::u16string text_;
    bool tracing_;
    bool open_ = false;
    int lastValue_ = -1;
};

}  // namespace vlt
