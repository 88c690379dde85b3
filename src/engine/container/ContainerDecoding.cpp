#include "engine/container/ContainerCodec.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "engine/crypto/Crc32.h"
#include "engine/crypto/RecordCipher.h"
#include "engine/text/Text.h"

namespace vlt {

namespace {

constexpr const char16_t* kReadLists[3] = {u"Reading groups", u"Reading entries",
                                           u"Reading attachments"};
constexpr const char16_t* kReadSizes[3] = {u"Reading group size", u"Reading entry size",
                                           u"Reading attachment size"};
constexpr const char16_t* kReadSizeValues[3] = {u"Group size: ", u"Entry size: ",
                                                u"Attachment size: "};
constexpr std::uint64_t kFramesReservedAhead = 1 << 20;

// Reads the 8-byte frames of a file one after the other, a window of bytes at a time, without
// reading the bodies between them when those are large.
class FrameWindow {
  public:
    explicit FrameWindow(const ByteSource& file) : file_(file), window_(kLargeWindow) {}

    bool read(std::uint64_t at, std::uint8_t out[kFrameSize], std::uint64_t lastBodySize) {
        if (at < start_ || at + kFrameSize > start_ + filled_) {
            // After a large body the next frame is far away: read only a little around it.
            const std::size_t want = lastBodySize >= kSmallWindow ? kSmallWindow : kLargeWindow;
            const std::uint64_t left = file_.size() - at;
            filled_ = static_cast<std::size_t>(std::min<std::uint64_t>(want, left));
            start_ = at;
            if (filled_ < kFrameSize || !file_.readAt(at, window_.data(), filled_)) {
                filled_ = 0;
                return false;
            }
        }
        std::memcpy(out, window_.data() + (at - start_), kFrameSize);
        return true;
    }

  private:
    static constexpr std::size_t kLargeWindow = 64 * 1024;
    static constexpr std::size_t kSmallWindow = 4 * 1024;
    const ByteSource& file_;
    std::vector<std::uint8_t> window_;  // frames and ciphertext only: nothing secret
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

// Appends the record of one plaintext body to `into`; false when the body does not parse.
bool decodeInto(RecordType kind, std::span<const std::uint8_t> body, Vault& into) {
    switch (kind) {
        case kGroupRecord: {
            Group group;
            if (!DecodeGroupBody(body, group)) {
                return false;
            }
            into.Groups.append(std::move(group));
            return true;
        }
        case kEntryRecord: {
            Entry entry;
            if (!DecodeEntryBody(body, entry)) {
                return false;
            }
            into.Entries.append(std::move(entry));
            return true;
        }
        case kAttachmentRecord: {
            Attachment attachment;
            if (!DecodeAttachmentBody(body, attachment)) {
                return false;
            }
            into.Attachments.append(std::move(attachment));
            return true;
        }
    }
    return false;
}

// One record at a time in a ciphertext and a plaintext buffer of its own. Without `into` this is
// the checksum pass, which traces nothing but the buffers it gives back; with `into` every step
// of reading a record is traced.
RecordsRead readTraced(const ByteSource& file, const std::vector<RecordFrame>& frames,
                       const ContainerHeader& header, const SecureBuffer& key, Vault* into,
                       RecordObserver& observer) {
    auto step = [&](std::u16string_view text) {
        if (into != nullptr) {
            observer.trace(text);
        }
    };
    RecordCipher cipher(key.data(), header.IV1.data());
    RecordsRead result;
    const int total = static_cast<int>(frames.size());
    int done = 0;
    if (into != nullptr) {
        observer.begin(total);
    }
    std::size_t next = 0;
    for (int kind = 0; kind < 3 && result.status == ReadStatus::kRead; ++kind) {
        step(kReadLists[kind]);
        for (; next < frames.size() && frames[next].kind == kind; ++next) {
            const RecordFrame& frame = frames[next];
            step(u"Reading entry type");
            step(kReadSizes[kind]);
            if (into != nullptr) {
                observer.trace(kReadSizeValues[kind] + decimal(frame.size));
            }
            step(u"Preparing buffers");
            SecureBuffer encrypted(frame.size);
            SecureBuffer plain(frame.size);
            step(kind == kGroupRecord ? u"Read data" : u"Reading data");
            if (!file.readAt(frame.bodyAt, encrypted.data(), frame.size)) {
                result.status = ReadStatus::kUnreadable;
                break;
            }
            step(kind == kGroupRecord ? u"Decrypt data" : u"Decrypting data");
            if (!cipher.decrypt(encrypted.data(), plain.data(), frame.size)) {
                result.status = ReadStatus::kUnreadable;
                break;
            }
            result.checksum = Crc32Update(result.checksum, plain.data(), frame.size);
            if (into != nullptr) {
                observer.trace(u"Adding data in memory");
                if (!decodeInto(frame.kind, plain.bytes(), *into)) {
                    result.status = ReadStatus::kUnparsable;
                    break;
                }
                if (kind == kGroupRecord) {
                    observer.trace(u"Adding the entries in the gadgets");
                }
                observer.trace(u"Freeing allocated resources");
            }
            observer.release(encrypted);
            observer.release(plain);
            if (into != nullptr) {
                observer.trace(u"Showing progress");
                observer.recordDone(++done, total);
            }
        }
    }
    if (into != nullptr) {
        if (result.status == ReadStatus::kRead) {
            observer.trace(u"All entries have been read");
        }
        observer.trace(u"Closing progress window");
        observer.end();
    }
    return result;
}

// Worker threads read, decrypt (in place), checksum and decode batches of consecutive records;
// the calling thread joins their checksums and records in file order.
RecordsRead readInBatches(const ByteSource& file, const std::vector<RecordFrame>& frames,
                          const ContainerHeader& header, const SecureBuffer& key, Vault* into,
                          RecordObserver& observer, unsigned threads) {
    struct Batch {
        std::uint32_t checksum = 0;
        std::uint64_t plainBytes = 0;
        bool unreadable = false;
        bool unparsable = false;
        Vault records;
    };
    const auto starts = PlanBatches(
        frames.size(), [&](std::size_t i) { return kFrameSize + frames[i].size; }, threads);
    std::vector<Batch> batches(starts.size() - 1);
    // Once one body failed to parse, the load is refused: later batches only checksum.
    std::atomic<bool> parseFailed{false};

    auto prepare = [&](std::size_t p) {
        Batch& batch = batches[p];
        const RecordFrame& first = frames[starts[p]];
        const RecordFrame& last = frames[starts[p + 1] - 1];
        const std::uint64_t from = first.bodyAt;
        SecureBuffer bytes(last.bodyAt + last.size - from);
        if (!file.readAt(from, bytes.data(), bytes.size())) {
            batch.unreadable = true;
            return;
        }
        RecordCipher cipher(key.data(), header.IV1.data());
        for (std::size_t i = starts[p]; i < starts[p + 1]; ++i) {
            const RecordFrame& frame = frames[i];
            std::uint8_t* body = bytes.data() + (frame.bodyAt - from);
            if (!cipher.decrypt(body, body, frame.size)) {
                batch.unreadable = true;
                return;
            }
            batch.checksum = Crc32Update(batch.checksum, body, frame.size);
            batch.plainBytes += frame.size;
            if (into == nullptr || batch.unparsable) {
                continue;
            }
            if (parseFailed.load(std::memory_order_relaxed) ||
                !decodeInto(frame.kind, {body, frame.size}, batch.records)) {
                batch.unparsable = true;
                parseFailed.store(true, std::memory_order_relaxed);
            }
        }
    };
    RecordsRead result;
    const int total = static_cast<int>(frames.size());
    auto take = [&](std::size_t p) {
        Batch& batch = batches[p];
        if (batch.unreadable) {
            result.status = ReadStatus::kUnreadable;
            return false;
        }
        result.checksum = joinChecksums(result.checksum, batch.checksum, batch.plainBytes);
        if (into != nullptr) {
            if (batch.unparsable) {
                result.status = ReadStatus::kUnparsable;
            } else if (result.status == ReadStatus::kRead) {
                into->Groups.takeAll(batch.records.Groups);
                into->Entries.takeAll(batch.records.Entries);
                into->Attachments.takeAll(batch.records.Attachments);
            }
            observer.recordDone(static_cast<int>(starts[p + 1]), total);
        }
        batch.records.clear();
        return true;
    };
    if (into != nullptr) {
        observer.begin(total);
    }
    RunInOrder(batches.size(), threads, prepare, take, [&observer] { observer.idle(); });
    if (into != nullptr) {
        observer.end();
    }
    return result;
}

}  // namespace

bool CheckFrames(const ByteSource& file, const ContainerHeader& header,
                 std::vector<RecordFrame>& frames) {
    frames.clear();
    if (file.size() < kHeaderSize + kTrailerSize || !HeaderIsSane(header)) {
        return false;
    }
    const std::uint64_t end = file.size() - kTrailerSize;
    const std::int32_t counts[3] = {header.GroupCount, header.EntryCount, header.AttachmentCount};
    const std::uint64_t total =
        std::uint64_t(counts[0]) + std::uint64_t(counts[1]) + std::uint64_t(counts[2]);
    // Every record takes at least a frame and a 16-byte body: counts the file cannot hold are
    // refused at once. The list grows with the frames really found, never ahead of them.
    if (total > (end - kHeaderSize) / (kFrameSize + kMinimumBodySize)) {
        return false;
    }
    frames.reserve(std::min<std::uint64_t>(total, kFramesReservedAhead));
    FrameWindow window(file);
    std::uint64_t at = kHeaderSize;
    std::uint64_t lastSize = 0;
    for (int kind = 0; kind < 3; ++kind) {
        for (std::int32_t i = 0; i < counts[kind]; ++i) {
            std::uint8_t frame[kFrameSize];
            if (end - at < kFrameSize || !window.read(at, frame, lastSize)) {
                return false;
            }
            const std::int32_t type = readInt32(frame);
            const std::int32_t size = readInt32(frame + 4);
            at += kFrameSize;
            if (type != kind || size < static_cast<std::int32_t>(kMinimumBodySize) ||
                static_cast<std::uint64_t>(size) > end - at) {
                return false;
            }
            frames.push_back({at, static_cast<std::uint32_t>(size), static_cast<RecordType>(kind)});
            at += static_cast<std::uint64_t>(size);
            lastSize = static_cast<std::uint64_t>(size);
        }
    }
    return at == end;
}

RecordsRead ReadRecords(const ByteSource& file, const std::vector<RecordFrame>& frames,
                        const ContainerHeader& header, const SecureBuffer& key, Vault* into,
                        RecordObserver& observer, unsigned threads) {
    return observer.tracing() ? readTraced(file, frames, header, key, into, observer)
                              : readInBatches(file, frames, header, key, into, observer, threads);
}

std::uint32_t StoredChecksum(std::span<const std::uint8_t> file) {
    return static_cast<std::uint32_t>(readInt32(&file[file.size() - kTrailerSize]));
}

}  // namespace vlt
