#include "ImportSink.h"

#include <cmath>
#include <random>

#include "ImportText.h"

namespace vlt::import {

EntryRecord::~EntryRecord() {
    wipe(Password);
}

void ImportSink::progressOf(std::size_t done, std::size_t total) {
    if (total == 0) {
        return;
    }
    const double percent =
        std::nearbyint(100.0 * static_cast<double>(done) / static_cast<double>(total));
    progress(static_cast<int>(percent));
}

namespace {

// The text as the host takes it: NUL-terminated, so an inner NUL becomes U+FFFD.
class HostText {
  public:
    explicit HostText(const std::u16string& text) : text_(text) {
        for (char16_t& c : text_) {
            if (c == u'\0') {
                c = u'\uFFFD';
            }
        }
    }
    ~HostText() { wipe(text_); }
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;
    const char16_t* get() const { return text_.c_str(); }

  private:
    std::u16string text_;
};

}  // namespace

CallbackSink::CallbackSink(VLT_AddGroupFn addGroup, VLT_AddEntryFn addEntry)
    : addGroup_(addGroup), addEntry_(addEntry) {}

void CallbackSink::addGroup(const GroupRecord& g) {
    addGroup_(HostText(g.Name).get(), g.Icon, g.GroupID, g.Depth);
}

void CallbackSink::addEntry(const EntryRecord& e) {
    addEntry_(e.ID, e.GroupID, HostText(e.GroupName).get(), HostText(e.Account).get(),
              HostText(e.User).get(), HostText(e.Password).get(), HostText(e.URL).get(),
              HostText(e.Comment).get(), e.Expires, e.CustomForeground, e.ForegroundColor,
              e.CustomBackground, e.BackgroundColor, e.CreationDate, e.AccessDate,
              e.ModificationDate, e.ExpirationDate);
}

std::int32_t CallbackSink::drawGroupId() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<std::int32_t>(0, 99'999'999)(generator);
}

}  // namespace vlt::import
