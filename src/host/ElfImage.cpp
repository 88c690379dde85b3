#include "host/ElfImage.h"

#include <elf.h>
#include <link.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/RegularFile.h"

// The linker's name for the ELF header of the program this code is linked into: the class, byte
// order and machine a library must share to be loaded into it.
extern "C" const ElfW(Ehdr) __ehdr_start;

namespace vlt {
namespace {

constexpr const char16_t* kNotLibrary = u"not an ELF shared library";
constexpr const char16_t* kOtherMachine = u"built for another kind of machine";
constexpr const char16_t* kCutShort = u"the file is cut short";

// Whether `count` items of `size` bytes from `offset` end inside a file of `fileSize` bytes.
bool inside(std::uint64_t offset, std::uint64_t count, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && (size == 0 || count <= (fileSize - offset) / size);
}

}  // namespace

std::u16string elfImageRefusal(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return kNotLibrary;
    }
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);
    ElfW(Ehdr) header{};
    if (fileSize < SELFMAG || !ReadFullyAt(fd, 0, header.e_ident, SELFMAG) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
        return kNotLibrary;
    }
    if (fileSize < sizeof header || !ReadFullyAt(fd, 0, &header, sizeof header)) {
        return kCutShort;
    }
    const ElfW(Ehdr)& self = __ehdr_start;
    if (header.e_ident[EI_CLASS] != self.e_ident[EI_CLASS] ||
        header.e_ident[EI_DATA] != self.e_ident[EI_DATA] || header.e_machine != self.e_machine ||
        header.e_version != EV_CURRENT) {
        return kOtherMachine;
    }
    if (header.e_type != ET_DYN || header.e_phnum == 0 ||
        header.e_phentsize != sizeof(ElfW(Phdr))) {
        return kNotLibrary;
    }
    if (!inside(header.e_phoff, header.e_phnum, sizeof(ElfW(Phdr)), fileSize)) {
        return kCutShort;
    }
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!ReadFullyAt(fd, header.e_phoff, segments.data(), segments.size() * sizeof(ElfW(Phdr)))) {
        return kCutShort;
    }
    for (const ElfW(Phdr) & segment : segments) {
        if (segment.p_type == PT_LOAD && !inside(segment.p_offset, segment.p_filesz, 1, fileSize)) {
            return kCutShort;
        }
    }
    return {};
}

}  // namespace vlt
