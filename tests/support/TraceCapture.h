#pragma once
// A switched-on trace log writing into a scratch file, so tests can check which steps a
// procedure traced.

#include <string>

#include "TempDir.h"
#include "engine/log/Logging.h"

namespace vlt::test {

class TraceCapture {
  public:
    TraceCapture() : TraceCapture(own_) {}
    // Captures what an existing log (an engine's) traces from now on.
    explicit TraceCapture(TraceLog& log) : log_(log) {
        log_.setEnabled([] { return true; });
        log_.setClock([] { return 0; });
        log_.Log_Open(path_);
    }

    TraceLog& log() { return log_; }

    // Everything traced so far, as "procedure() -> message" lines joined by '\n' (the date
    // stamps and CR LF line ends left out).
    std::string lines() const {
        std::string raw = readFile(path_);
        std::string out;
        std::size_t pos = 0;
        while (pos < raw.size()) {
            std::size_t end = raw.find("\r\n", pos);
            if (end == std::string::npos) {
                end = raw.size();
            }
            std::string line = raw.substr(pos, end - pos);
            // "#dd/mm/yy hh:ii:ss " is 19 characters.
            out += line.size() > 19 && line[0] == '#' ? line.substr(19) : line;
            out += '\n';
            pos = end + 2;
        }
        return out;
    }

  private:
    TempDir dir_;
    std::string path_ = dir_.file("VLT.log");
    TraceLog own_;
    TraceLog& log_;
};

}  // namespace vlt::test
