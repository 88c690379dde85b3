#include "V3Container.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <vector>

#include "ImportText.h"
#include "Rijndael.h"
#include "SHA256.h"
#include "common/IniNumber.h"
#include "common/RegularFile.h"
#include "common/Windows1252.h"

namespace vlt::import {

namespace {

constexpr std::size_t kHeaderSize = 59;
constexpr std::size_t kMarkerSize = 6;

ImportResult invalid(std::u16string text) {
    return refused(u"Error", std::move(text), kIconError);
}

ImportResult truncated() {
    return invalid(
        u"This is a valid VLT/VLK container file, but it seems to be truncated, the ending "
        u"signature is missing.");
}

std::int32_t int32At(std::string_view bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(v);
}

struct V3Header {
    std::string Md5;
    std::size_t StreamLength = 0;
};

// head: the first min(59, size) bytes; tail: the last min(6, size) bytes.
ImportResult checkHeader(std::string_view head, std::string_view tail, std::uint64_t size,
                         V3Header& header) {
    if (!head.starts_with("VLK")) {
        return invalid(u"This is not a valid VLT/VLK container file.");
    }
    if (tail != "EOFVLK" || size < kHeaderSize + kMarkerSize) {
        return truncated();
    }
    if (int32At(head, 39) != 3) {
        return invalid(
            u"This is a valid VLT/VLK container file, but the version reported is different. "
            u"Only containers created with version 3.0 of VLT are supported.");
    }
    const std::int32_t length = int32At(head, 35);
    if (length <= 0) {
        return invalid(u"The length of the data stream is smaller or equal to zero.");
    }
    // The stream must lie between the header and the end marker.
    if (static_cast<std::uint64_t>(length) > size - kHeaderSize - kMarkerSize) {
        return truncated();
    }
    header.Md5.assign(head.substr(3, 32));
    header.StreamLength = static_cast<std::size_t>(length);
    return importedSuccessfully();
}

std::string md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr) != 1) {
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

// The records of one part: the texts before each separator, trimmed of blanks, empty ones
// dropped; split into at most fieldCount fields.
std::vector<std::vector<std::u16string>> records(std::string_view part, char recordEnd,
                                                 char fieldSeparator, std::size_t fieldCount,
                                                 std::size_t& separators) {
    std::vector<std::vector<std::u16string>> out;
    std::size_t start = 0;
    for (std::size_t end; (end = part.find(recordEnd, start)) != std::string_view::npos;
         start = end + 1) {
        ++separators;
        std::string_view record = part.substr(start, end - start);
        while (!record.empty() && record.front() == ' ') {
            record.remove_prefix(1);
        }
        while (!record.empty() && record.back() == ' ') {
            record.remove_suffix(1);
        }
        if (record.empty()) {
            continue;
        }
        std::vector<std::u16string> fields;
        std::size_t from = 0;
        while (fields.size() < fieldCount) {
            const std::size_t to = record.find(fieldSeparator, from);
            fields.push_back(fromWindows1252(record.substr(from, to - from)));
            if (to == std::string_view::npos) {
                break;
            }
            from = to + 1;
        }
        fields.resize(fieldCount);
        out.push_back(std::move(fields));
    }
    return out;
}

void wipe(std::vector<std::vector<std::u16string>>& records) {
    for (auto& record : records) {
        for (auto& field : record) {
            import::wipe(field);
        }
    }
}

}  // namespace

void ImportV3_HandOver(std::string_view plaintext, ImportSink& sink) {
    const std::size_t split = plaintext.find('\x08');
    const std::string_view groupPart = plaintext.substr(0, split);
    const std::string_view entryPart =
        split == std::string_view::npos ? std::string_view{} : plaintext.substr(split + 1);
    std::size_t total = 0;
    auto groups = records(groupPart, '\x05', '\x04', 4, total);
    auto entries = records(entryPart, '\x07', '\x06', 9, total);
    std::size_t done = 0;
    for (const auto& g : groups) {
        const std::int32_t icon = IniNumber(g[1]);
        sink.addGroup(GroupRecord{g[0], icon >= 0 && icon <= 99 ? icon : 0, IniNumber(g[2]),
                                  std::max(IniNumber(g[3]), 1)});
        sink.progressOf(++done, total);
    }
    for (const auto& f : entries) {
        EntryRecord e;
        e.GroupName = f[0];
        e.Account = f[1];
        e.User = f[2];
        e.Password = f[3];
        e.ID = IniNumber(f[6]);
        e.GroupID = IniNumber(f[7]);
        e.Comment = f[8];
        sink.addEntry(e);
        sink.progressOf(++done, total);
    }
    wipe(groups);
    wipe(entries);
}

namespace {

ImportResult importStream(std::string_view stream, const std::string& md5,
                          std::u16string_view password, ImportSink& sink) {
    const SecretBytes ansi(toWindows1252(password));
    auto decrypt = [&](Sha256Padding padding) {
        Digest256 key = HashKey256(ansi.view().data(), ansi.view().size(), padding);
        V3Plaintext plain = ImportV3_Decrypt(stream, key);
        OPENSSL_cleanse(key.data(), key.size());
        return plain;
    };
    V3Plaintext plain = decrypt(Sha256Padding::Container);
    // Only the password lengths where the two paddings differ get a second try.
    if (plain.Ok && md5Hex(plain.Text.view()) != md5 && ansi.view().size() % 64 == 55) {
        plain = decrypt(Sha256Padding::Published);
    }
    if (!plain.Ok || md5Hex(plain.Text.view()) != md5) {
        return invalid(
            u"The supplied password is wrong or the database has been modified outside VLT. "
            u"Please try again.");
    }
    ImportV3_HandOver(plain.Text.view(), sink);
    return importedSuccessfully();
}

// Reads size bytes at offset into out.
bool readAt(int fd, std::uint64_t offset, std::string& out, std::size_t size) {
    out.resize(size);
    return ReadFullyAt(fd, offset, out.data(), size);
}

}  // namespace

ImportResult ImportV3_ReadBytes(std::string_view file, std::u16string_view password,
                                ImportSink& sink) {
    V3Header header;
    ImportResult checked = checkHeader(
        file.substr(0, kHeaderSize), file.substr(file.size() - std::min(file.size(), kMarkerSize)),
        file.size(), header);
    if (checked.Ok == 0) {
        return checked;
    }
    return importStream(file.substr(kHeaderSize, header.StreamLength), header.Md5, password, sink);
}

ImportResult ImportV3_ReadContainer(std::u16string_view password, const std::string& path,
                                    ImportSink& sink) {
    // Opened without blocking: a FIFO or device named here is refused, never waited on.
    struct stat info {};
    const int fd = OpenRegularFile(path, O_RDONLY, 0, nullptr, &info);
    if (fd < 0) {
        return fileLocked();
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    const auto size = static_cast<std::uint64_t>(info.st_size);
    std::string head;
    std::string tail;
    if (!readAt(fd, 0, head,
                static_cast<std::size_t>(std::min<std::uint64_t>(size, kHeaderSize))) ||
        !readAt(fd, size - std::min<std::uint64_t>(size, kMarkerSize), tail,
                static_cast<std::size_t>(std::min<std::uint64_t>(size, kMarkerSize)))) {
        return fileLocked();
    }
    V3Header header;
    ImportResult checked = checkHeader(head, tail, size, header);
    if (checked.Ok == 0) {
        return checked;
    }
    SecretBytes stream;
    try {
        if (!readAt(fd, kHeaderSize, stream.bytes(), header.StreamLength)) {
            return fileLocked();
        }
    } catch (const std::bad_alloc&) {
        return invalid(u"Error allocating memory.");
    }
    return importStream(stream.view(), header.Md5, password, sink);
}

}  // namespace vlt::import
