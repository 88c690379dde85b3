#include "engine/log/Logging.h"

#include <fcntl.h>
#include <unistd.h>

#include "common/RegularFile.h"
#include "common/Utf.h"

namespace vlt {

TraceLog::TraceLog() : enabled_([] { return false; }), clock_(LocalNow) {}

TraceLog::~TraceLog() {
    Log_Close();
}

int TraceLog::Log_Open(const std::string& path) {
    if (path.empty()) {
        return 0;
    }
    std::lock_guard guard(lock_);
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    // Append, never truncate; the log may name files and folders, so it is owner-only. A FIFO
    // or device in its place is no log: writing to it could block every traced step. Nor is a
    // link, which could send the lines into someone else's file.
    const int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW, 0600, nullptr);
    if (fd < 0) {
        return 0;
    }
    file_ = ::fdopen(fd, "ab");
    if (file_ == nullptr) {
        ::close(fd);
        return 0;
    }
    return 1;
}

void TraceLog::writeLines(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

int TraceLog::Log_Banner(std::u16string_view text) {
    std::lock_guard guard(lock_);
    if (file_ == nullptr) {
        return -1;
    }
    std::string line = "\r\n<<< ";
    line.append(toUtf8(text)).append(" >>>\r\n\r\n");
    writeLines(line);
    return 1;
}

int TraceLog::Log_Write(std::u16string_view text) {
    std::lock_guard guard(lock_);
    if (file_ == nullptr) {
        return -1;
    }
    if (text.empty()) {
        writeLines("\r\n");
        return 1;
    }
    // One clock reading per line, so that date and time belong to the same instant.
    std::int32_t now = clock_();
    std::string line = "#";
    line.append(toUtf8(FormatDate(u"%dd/%mm/%yy %hh:%ii:%ss", now)))
        .append(" ")
        .append(toUtf8(text))
        .append("\r\n");
    writeLines(line);
    return 1;
}

int TraceLog::Trace(std::u16string_view message, std::string_view procedure) {
    if (!enabled_()) {
        return 0;
    }
    std::u16string line = procedure.empty() ? u"Main" : u16(procedure);
    line += u"() -> ";
    line += message;
    Log_Write(line);
    return 0;
}

int TraceLog::Log_End() {
    std::lock_guard guard(lock_);
    if (file_ == nullptr) {
        return -1;
    }
    writeLines("\r\n<<< Session ended >>>\r\n");
    return 1;
}

int TraceLog::Log_Close() {
    std::lock_guard guard(lock_);
    if (file_ == nullptr) {
        return 0;
    }
    std::fflush(file_);
    std::fclose(file_);
    file_ = nullptr;
    return 1;
}

bool TraceLog::isOpen() const {
    std::lock_guard guard(lock_);
    return file_ != nullptr;
}

bool TraceLog::tracing() const {
    return enabled_() && isOpen();
}

}  // namespace vlt
