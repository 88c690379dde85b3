#include "engine/container/ContainerFlow.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/text/Text.h"
#include "engine/vault/FreeMemory.h"

namespace vlt {

namespace {

// Frames between two event pumps when the progress value does not change.
constexpr int kPumpEvery = 256;

}  // namespace

std::string nativePath(const std::u16string& path) {
    return toUtf8(path);
}

std::int64_t regularFileSize(const std::u16string& path) {
    std::error_code error;
    auto native = std::filesystem::path(nativePath(path));
    if (!std::filesystem::is_regular_file(native, error)) {
        return -1;
    }
    auto size = std::filesystem::file_size(native, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

std::u16string inQuotes(const std::u16string& text) {
    return u"\"" + text + u"\"";
}

void refuse(Engine& engine, const char16_t* text) {
    engine.desktop.Message(u"Error", text, MessageIcon::Error);
}

std::u16string withReason(std::u16string_view text, const std::string& reason) {
    std::u16string message(text);
    if (!reason.empty()) {
        message += u"\r\n" + fromUtf8(reason);
    }
    return message;
}

void showContainerName(Engine& engine, const std::u16string& path) {
    engine.desktop.SetContainerLabel(fileNamePart(path));
    engine.desktop.SetWindowTitle(ContainerTitle(path));
}

void showContainerPath(Engine& engine, const std::u16string& path) {
    if (path.empty()) {
        engine.desktop.SetStatusField(2, u"No container open");
        engine.desktop.SetContainerLabel(u"New container");
        engine.desktop.SetWindowTitle(NoContainerTitle());
        return;
    }
    engine.desktop.SetStatusField(2, u"Container: " + path);
    showContainerName(engine, path);
}

FlowObserver::FlowObserver(Engine& engine, std::string_view procedure, std::u16string title,
                           std::u16string text)
    : engine_(engine),
      procedure_(procedure),
      title_(std::move(title)),
      text_(std::move(text)),
      tracing_(engine.log.tracing()) {}

FlowObserver::~FlowObserver() {
    if (open_) {  // a run cut short by an exception still closes its window
        engine_.desktop.Progress_Close();
    }
}

void FlowObserver::trace(std::u16string_view message) {
    engine_.log.Trace(message, procedure_);
}

void FlowObserver::release(SecureBuffer& buffer) {
    FreeMemoryEx(engine_.log, buffer);
}

void FlowObserver::begin(int) {
    engine_.desktop.Progress_Open(title_, text_);
    open_ = true;
}

void FlowObserver::recordDone(int done, int total) {
    int value = static_cast<int>(std::lround(std::abs(100.0 * done / total)));
    if (value != lastValue_ || done % kPumpEvery == 0) {
        lastValue_ = value;
        engine_.desktop.Progress_Update(value);
    }
}

void FlowObserver::end() {
    engine_.desktop.Progress_Update(0);
    engine_.desktop.Progress_Close();
    open_ = false;
}

void FlowObserver::idle() {
    engine_.desktop.ProcessPendingEvents();
}

}  // namespace vlt
