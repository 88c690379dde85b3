#include "ImportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "ImportText.h"

namespace vlt::import {

bool readImportFile(const std::string& path, std::string& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
        static_cast<std::uint64_t>(info.st_size) <= kMaxImportFileSize) {
        try {
            out.resize(static_cast<std::size_t>(info.st_size));
            std::size_t done = 0;
            ok = true;
            while (done < out.size()) {
                const ssize_t got = ::read(fd, out.data() + done, out.size() - done);
                if (got < 0 && errno == EINTR) {
                    continue;
                }
                if (got <= 0) {
                    ok = false;  // an error, or the file shrank under us
                    break;
                }
                done += static_cast<std::size_t>(got);
            }
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) {
        wipe(out);
    }
    return ok;
}

ImportResult importFileBytes(const std::string& path, ImportSink& sink,
                             ImportResult (*readBytes)(std::string_view, ImportSink&)) {
    std::string bytes;
    if (!readImportFile(path, bytes)) {
        return fileLocked();
    }
    WipeOnExit wipeBytes(bytes);
    return readBytes(bytes, sink);
}

}  // namespace vlt::import
