#pragma once
// The optional trace log "VLT.log": one line per step of the program's procedures, appended
// across sessions, UTF-8 without a byte-order mark, CR LF line ends. Plugin threads trace too,
// so every line is written whole under a lock. Secrets never go into trace messages.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/text/DateText.h"

namespace vlt {

class TraceLog {
  public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Whether tracing is on; asked on every Trace call so that switching the setting off takes
    // effect at once.
    void setEnabled(std::function<bool()> enabled) { enabled_ = std::move(enabled); }
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Opens (creating when missing) the file for appending. 1 when open, 0 otherwise.
    int Log_Open(const std::string& path);
    // Blank line, "<<< text >>>", blank line. 1, or -1 without a log.
    int Log_Banner(std::u16string_view text);
    // A trace line "#dd/mm/yy hh:ii:ss text", or a blank line for an empty text. 1, or -1.
    int Log_Write(std::u16string_view text);
    // "procedure() -> message" ("Main() -> " without a procedure) when tracing is on. Returns 0.
    int Trace(std::u16string_view message, std::string_view procedure = {});
    // Blank line and "<<< Session ended >>>". 1, or -1 without a log.
    int Log_End();
    // Flushes and closes. 1 when a log was open, else 0.
    int Log_Close();

    bool isOpen() const;
    // Whether a Trace call would write a line now. Loops that trace per record ask once, so that
    // with tracing off they build no text at all.
    bool tracing() const;

  private:
    void writeLines(std::string_view text);

    mutable std::mutex lock_;
    std::FILE* file_ = nullptr;
    std::function<bool()> enabled_;
    Clock clock_;
};

}  // namespace vlt
