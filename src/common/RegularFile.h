#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace vlt {

// Why a user-named file could not be opened or read as a regular file.
enum class FileRefusal {
    None,
    Missing,     // no such file, or no permission to open it
    NotRegular,  // a FIFO, socket, device or folder: never opened for real I/O
    TooLarge,    // larger than the caller's limit
    ReadFailed,  // an I/O error, or the file shrank while it was read
    NoMemory,
};

// Opens a file the user named (or that sits where a file is expected) without ever blocking:
// the open is non-blocking, so a FIFO with no writer or a device cannot hang the caller, and
// anything but a regular file is closed again and refused. `flags` are open(2) flags (O_CLOEXEC,
// O_NOCTTY and O_NONBLOCK are added; O_NONBLOCK is cleared again once the file is known to be
// regular). Returns the descriptor, or -1 with `why` (and errno) set. `info` receives fstat's
// answer when given.
int OpenRegularFile(const std::string& path, int flags, mode_t mode, FileRefusal* why,
                    struct stat* info = nullptr);

// Reads a whole regular file into `out` (cleared first, wiped on failure). Files larger than
// `maxSize` bytes are refused as TooLarge without being read.
FileRefusal ReadRegularFile(const std::string& path, std::string& out,
                            std::uint64_t maxSize = UINT64_MAX);

// Reads exactly `size` bytes at `offset`; false on an error or a short file.
bool ReadFullyAt(int fd, std::uint64_t offset, void* out, std::size_t size);

}  // namespace vlt
