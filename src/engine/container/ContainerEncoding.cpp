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

constexpr const char16_t* kWriteLists[3] = {u"Writing groups", u"Writing entries",
                                            u"Writing attachments"};
constexpr const char16_t* kWriteLengths[3] = {u"Total group length: ", u"Total entry length: ",
                                              u"Total attachment length: "};
constexpr const char16_t* kWriteClosing[3] = {u"Freeing memory resources",
                                              u"Freeing allocated resources", u"Freeing resources"};

void putFrame(std::uint8_t* out, RecordType kind, std::uint32_t size) {
    putInt32(out, kind);
    putInt32(out + 4, static_cast<std::int32_t>(size));
}

// One record to write: its list, the record and its body size.
struct RecordToWrite {
    RecordType kind;
    const void* record;
    std::uint32_t size;
};

void putBody(const RecordToWrite& r, std::uint8_t* out) {
    switch (r.kind) {
        case kGroupRecord:
            PutBody(*static_cast<const Group*>(r.record), out);
            break;
        case kEntryRecord:
            PutBody(*static_cast<const Entry*>(r.record), out);
            break;
        case kAttachmentRecord:
            PutBody(*static_cast<const Attachment*>(r.record), out);
            break;
    }
}

// Every record in file order; false when one is too large for the format.
template <typename Record>
bool listRecords(const RecordList<Record>& list, RecordType kind, std::vector<RecordToWrite>& out) {
    for (const Record& record : list) {
        const std::int64_t size = BodySize(record);
        if (size > kMaxBodySize) {
            return false;
        }
        out.push_back({kind, &record, static_cast<std::uint32_t>(size)});
    }
    return true;
}

struct WrittenRecords {
    bool ok = true;
    std::uint32_t checksum = 0;
};

// One record at a time in a plaintext and a ciphertext buffer of its own, every step traced.
WrittenRecords writeTraced(const std::vector<RecordToWrite>& records, const ContainerHeader& header,
                           const SecureBuffer& key, const ByteSink& sink,
                           RecordObserver& observer) {
    RecordCipher cipher(key.data(), header.IV1.data());
    WrittenRecords result;
    const int total = static_cast<int>(records.size());
    int done = 0;
    std::size_t next = 0;
    for (int kind = 0; kind < 3; ++kind) {
        observer.trace(kWriteLists[kind]);
        for (; next < records.size() && records[next].kind == kind; ++next) {
            if (!result.ok) {
                continue;
            }
            const RecordToWrite& record = records[next];
            observer.trace(u"Preparing data");
            SecureBuffer plain(record.size);
            SecureBuffer encrypted(record.size);
            observer.trace(kWriteLengths[kind] + decimal(record.size) + u" bytes");
            observer.trace(u"Writing entry type");
            std::uint8_t frame[kFrameSize];
            putFrame(frame, record.kind, record.size);
            result.ok = sink(frame, sizeof frame);
            if (result.ok) {
                observer.trace(u"Preparing buffer");
                putBody(record, plain.data());
                observer.trace(u"Calculating checksum");
                result.checksum = Crc32Update(result.checksum, plain.data(), record.size);
                observer.trace(u"Encrypting data");
                result.ok = cipher.encrypt(plain.data(), encrypted.data(), record.size);
            }
            if (result.ok) {
                observer.trace(u"Writing data");
                result.ok = sink(encrypted.data(), record.size);
                observer.trace(kWriteClosing[kind]);
                observer.release(plain);
                observer.release(encrypted);
            }
            observer.trace(u"Showing progress");
            observer.recordDone(++done, total);
        }
    }
    return result;
}

// Worker threads build batches of consecutive frames (frame, body encrypted in place) while the
// calling thread hands finished batches to the sink in order.
WrittenRecords writeInBatches(const std::vector<RecordToWrite>& records,
                              const ContainerHeader& header, const SecureBuffer& key,
                              const ByteSink& sink, RecordObserver& observer, unsigned threads) {
    struct Batch {
        SecureBuffer bytes;
        std::uint32_t checksum = 0;
        std::uint64_t plainBytes = 0;
        bool failed = false;
    };
    const auto starts = PlanBatches(
        records.size(), [&](std::size_t i) { return kFrameSize + records[i].size; }, threads);
    std::vector<Batch> batches(starts.size() - 1);

    auto prepare = [&](std::size_t p) {
        Batch& batch = batches[p];
        std::uint64_t size = 0;
        for (std::size_t i = starts[p]; i < starts[p + 1]; ++i) {
            size += kFrameSize + records[i].size;
        }
        batch.bytes = SecureBuffer(size);
        RecordCipher cipher(key.data(), header.IV1.data());
        std::uint8_t* at = batch.bytes.data();
        for (std::size_t i = starts[p]; i < starts[p + 1] && !batch.failed; ++i) {
            const RecordToWrite& record = records[i];
            putFrame(at, record.kind, record.size);
            std::uint8_t* body = at + kFrameSize;
            putBody(record, body);
            batch.checksum = Crc32Update(batch.checksum, body, record.size);
            batch.plainBytes += record.size;
            batch.failed = !cipher.encrypt(body, body, record.size);
            at = body + record.size;
        }
    };
    WrittenRecords result;
    const int total = static_cast<int>(records.size());
    auto take = [&](std::size_t p) {
        Batch& batch = batches[p];
        result.ok = !batch.failed && sink(batch.bytes.data(), batch.bytes.size());
        batch.bytes.release();
        result.checksum = joinChecksums(result.checksum, batch.checksum, batch.plainBytes);
        observer.recordDone(static_cast<int>(starts[p + 1]), total);
        return result.ok;
    };
    RunInOrder(batches.size(), threads, prepare, take, [&observer] { observer.idle(); });
    return result;
}

}  // namespace

bool WriteContainer(const Vault& vault, const ContainerHeader& headerIn, const SecureBuffer& key,
                    const ByteSink& sink, RecordObserver& observer, unsigned threads) {
    const bool traced = observer.tracing();
    std::vector<RecordToWrite> records;
    records.reserve(static_cast<std::size_t>(vault.Groups.count()) +
                    static_cast<std::size_t>(vault.Entries.count()) +
                    static_cast<std::size_t>(vault.Attachments.count()));
    const bool fits = listRecords(vault.Groups, kGroupRecord, records) &&
                      listRecords(vault.Entries, kEntryRecord, records) &&
                      listRecords(vault.Attachments, kAttachmentRecord, records);

    ContainerHeader header = headerIn;
    header.GroupCount = vault.Groups.count();
    header.EntryCount = vault.Entries.count();
    header.AttachmentCount = vault.Attachments.count();

    observer.trace(u"Writing header");
    std::uint8_t head[kHeaderSize];
    EncodeHeader(header, head);
    if (!fits || !sink(head, sizeof head)) {
        return false;
    }
    observer.trace(u"Header written");

    observer.trace(u"Calculating total entries to be written");
    const int total = static_cast<int>(records.size());
    if (traced) {
        observer.trace(u"Total items: " + decimal(total) + u". Opening progress window");
    }
    observer.begin(total);
    const WrittenRecords written =
        traced ? writeTraced(records, header, key, sink, observer)
               : writeInBatches(records, header, key, sink, observer, threads);
    observer.trace(u"All data has been written");
    observer.trace(u"Closing progress window");
    observer.end();
    if (!written.ok) {
        return false;
    }

    observer.trace(u"Writing checksum");
    std::uint8_t tail[kTrailerSize];
    putInt32(tail, static_cast<std::int32_t>(written.checksum));
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

}  // namespace vlt
