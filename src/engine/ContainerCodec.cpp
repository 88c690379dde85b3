#include "ContainerCodec.h"

#include <cstring>

#include "Crc32.h"
#include "RecordCipher.h"
#include "Text.h"

namespace vlt {

namespace {

constexpr const char16_t* kWriteLists[3] = {u"Writing groups", u"Writing entries",
                                            u"Writing attachments"};
constexpr const char16_t* kWriteLengths[3] = {u"Total group length: ", u"Total entry length: ",
                                              u"Total attachment length: "};
constexpr const char16_t* kWriteClosing[3] = {u"Freeing memory resources",
                                              u"Freeing allocated resources", u"Freeing resources"};
constexpr const char16_t* kReadLists[3] = {u"Reading groups", u"Reading entries",
                                           u"Reading attachments"};
constexpr const char16_t* kReadSizes[3] = {u"Reading group size", u"Reading entry size",
                                           u"Reading attachment size"};
constexpr const char16_t* kReadSizeValues[3] = {u"Group size: ", u"Entry size: ",
                                                u"Attachment size: "};

// Frames of the file in order: type and body span.
struct Frame {
    std::size_t bodyAt;
    std::size_t size;
};

template <typename Visit>
void forEachFrame(std::span<const std::uint8_t> file, const ContainerHeader& header,
                  Visit visit) {
    const std::int32_t counts[3] = {header.GroupCount, header.EntryCount, header.AttachmentCount};
    std::size_t at = kHeaderSize;
    for (int kind = 0; kind < 3; ++kind) {
        for (std::int32_t i = 0; i < counts[kind]; ++i) {
            auto size = static_cast<std::size_t>(readInt32(&file[at + 4]));
            visit(kind, Frame{at + 8, size});
            at += 8 + size;
        }
    }
}

class RecordWriter {
public:
    RecordWriter(const SecureBuffer& key, const ContainerHeader& header, const ByteSink& sink,
                 RecordObserver& observer)
        : cipher_(key.data(), header.IV1.data()), sink_(sink), observer_(observer) {}

    bool write(int kind, SecureBuffer body) {
        observer_.trace(u"Preparing data");
        if (body.empty()) {
            return false;
        }
        observer_.trace(kWriteLengths[kind] + decimal(static_cast<std::int64_t>(body.size())) +
                        u" bytes");
        observer_.trace(u"Writing entry type");
        std::uint8_t frame[8];
        putInt32(frame, kind);
        putInt32(frame + 4, static_cast<std::int32_t>(body.size()));
        if (!sink_(frame, sizeof frame)) {
            return false;
        }
        observer_.trace(u"Preparing buffer");
        observer_.trace(u"Calculating checksum");
        crc = Crc32Update(crc, body.data(), body.size());
        observer_.trace(u"Encrypting data");
        if (!cipher_.encrypt(body.data(), body.data(), body.size())) {
            return false;
        }
        observer_.trace(u"Writing data");
        bool written = sink_(body.data(), body.size());
        observer_.trace(kWriteClosing[kind]);
        body.release();
        return written;
    }

    std::uint32_t crc = 0;

private:
    RecordCipher cipher_;
    const ByteSink& sink_;
    RecordObserver& observer_;
};

}  // namespace

bool WriteContainer(const Vault& vault, const ContainerHeader& headerIn, const SecureBuffer& key,
                    const ByteSink& sink, RecordObserver& observer) {
    ContainerHeader header = headerIn;
    header.GroupCount = vault.Groups.count();
    header.EntryCount = vault.Entries.count();
    header.AttachmentCount = vault.Attachments.count();

    observer.trace(u"Writing header");
    std::uint8_t head[kHeaderSize];
    EncodeHeader(header, head);
    if (!sink(head, sizeof head)) {
        return false;
    }
    observer.trace(u"Header written");

    observer.trace(u"Calculating total entries to be written");
    const int total = header.GroupCount + header.EntryCount + header.AttachmentCount;
    observer.trace(u"Total items: " + decimal(total) + u". Opening progress window");
    observer.begin(total);

    RecordWriter writer(key, header, sink, observer);
    int done = 0;
    bool ok = true;
    auto step = [&](int kind, SecureBuffer body) {
        if (ok) {
            ok = writer.write(kind, std::move(body));
            observer.trace(u"Showing progress");
            observer.recordDone(++done, total);
        }
    };
    observer.trace(kWriteLists[0]);
    for (const Group& group : vault.Groups) {
        step(kGroupRecord, EncodeGroupBody(group));
    }
    observer.trace(kWriteLists[1]);
    for (const Entry& entry : vault.Entries) {
        step(kEntryRecord, EncodeEntryBody(entry));
    }
    observer.trace(kWriteLists[2]);
    for (const Attachment& attachment : vault.Attachments) {
        step(kAttachmentRecord, EncodeAttachmentBody(attachment));
    }
    observer.trace(u"All data has been written");
    observer.trace(u"Closing progress window");
    observer.end();
    if (!ok) {
        return false;
    }

    observer.trace(u"Writing checksum");
    std::uint8_t tail[kTrailerSize];
    putInt32(tail, static_cast<std::int32_t>(writer.crc));
    std::memcpy(tail + 4, "VLTEOF", 6);
    if (!sink(tail, 4)) {
        return false;
    }
    observer.trace(u"Writing footer");
    if (!sink(tail + 4, 6)) {
        return false;
    }
    observer.trace(u"Footer written");
    return true;
}

std::vector<std::uint8_t> EncodeContainer(const Vault& vault, const ContainerHeader& header,
                                          const SecureBuffer& key) {
    std::vector<std::uint8_t> out;
    RecordObserver quiet;
    bool ok = WriteContainer(
        vault, header, key,
        [&out](const void* data, std::size_t size) {
            auto bytes = static_cast<const std::uint8_t*>(data);
            out.insert(out.end(), bytes, bytes + size);
            return true;
        },
        quiet);
    return ok ? out : std::vector<std::uint8_t>{};
}

bool CheckFrames(std::span<const std::uint8_t> file, const ContainerHeader& header) {
    if (file.size() < kHeaderSize + kTrailerSize || !HeaderIsSane(header)) {
        return false;
    }
    const std::size_t end = file.size() - kTrailerSize;
    const std::int32_t counts[3] = {header.GroupCount, header.EntryCount, header.AttachmentCount};
    std::size_t at = kHeaderSize;
    for (std::int32_t kind = 0; kind < 3; ++kind) {
        for (std::int32_t i = 0; i < counts[kind]; ++i) {
            if (end - at < 8) {
                return false;
            }
            const std::int32_t type = readInt32(&file[at]);
            const std::int32_t size = readInt32(&file[at + 4]);
            at += 8;
            if (type != kind || size < static_cast<std::int32_t>(kMinimumBodySize) ||
                static_cast<std::size_t>(size) > end - at) {
                return false;
            }
            at += static_cast<std::size_t>(size);
        }
    }
    return at == end;
}

std::uint32_t ComputeChecksum(std::span<const std::uint8_t> file, const ContainerHeader& header,
                              const SecureBuffer& key) {
    RecordCipher cipher(key.data(), header.IV1.data());
    std::uint32_t crc = 0;
    SecureBuffer plain;
    forEachFrame(file, header, [&](int, const Frame& frame) {
        if (plain.size() < frame.size) {
            plain = SecureBuffer(frame.size);
        }
        cipher.decrypt(&file[frame.bodyAt], plain.data(), frame.size);
        crc = Crc32Update(crc, plain.data(), frame.size);
    });
    return crc;
}

bool LoadRecords(std::span<const std::uint8_t> file, const ContainerHeader& header,
                 const SecureBuffer& key, Vault& vault, std::vector<std::int32_t>& ids,
                 RecordObserver& observer) {
    RecordCipher cipher(key.data(), header.IV1.data());
    const int total = header.GroupCount + header.EntryCount + header.AttachmentCount;
    observer.begin(total);
    vault.Entries.reserve(static_cast<std::size_t>(header.EntryCount));
    ids.reserve(ids.size() + static_cast<std::size_t>(total));
    int done = 0;
    int lastKind = -1;
    bool ok = true;
    SecureBuffer plain;
    forEachFrame(file, header, [&](int kind, const Frame& frame) {
        if (!ok) {
            return;
        }
        if (kind != lastKind) {
            observer.trace(kReadLists[kind]);
            lastKind = kind;
        }
        observer.trace(u"Reading entry type");
        observer.trace(kReadSizes[kind]);
        observer.trace(kReadSizeValues[kind] + decimal(static_cast<std::int64_t>(frame.size)));
        observer.trace(u"Preparing buffers");
        if (plain.size() < frame.size) {
            plain = SecureBuffer(frame.size);
        }
        observer.trace(kind == kGroupRecord ? u"Read data" : u"Reading data");
        observer.trace(kind == kGroupRecord ? u"Decrypt data" : u"Decrypting data");
        cipher.decrypt(&file[frame.bodyAt], plain.data(), frame.size);
        observer.trace(u"Adding data in memory");
        std::span<const std::uint8_t> body(plain.data(), frame.size);
        if (kind == kGroupRecord) {
            Group group;
            ok = DecodeGroupBody(body, group);
            ids.push_back(group.ID);
            if (ok) {
                observer.trace(u"Adding the entries in the gadgets");
                vault.Groups.append(std::move(group));
            }
        } else if (kind == kEntryRecord) {
            Entry entry;
            ok = DecodeEntryBody(body, entry);
            ids.push_back(entry.ID);
            if (ok) {
                vault.Entries.append(std::move(entry));
            }
        } else {
            Attachment attachment;
            ok = DecodeAttachmentBody(body, attachment);
            ids.push_back(attachment.ID);
            if (ok) {
                vault.Attachments.append(std::move(attachment));
            }
        }
        observer.trace(u"Freeing allocated resources");
        observer.trace(u"Showing progress");
        observer.recordDone(++done, total);
    });
    if (ok) {
        observer.trace(u"All entries have been read");
    }
    observer.trace(u"Closing progress window");
    observer.end();
    return ok;
}

std::uint32_t StoredChecksum(std::span<const std::uint8_t> file) {
    return static_cast<std::uint32_t>(readInt32(&file[file.size() - kTrailerSize]));
}

}  // namespace vlt
