#include <gtest/gtest.h>

#include "HexBytes.h"
#include "RawContainer.h"
#include "RecordEncoding.h"
#include "SampleVault.h"
#include "engine/container/ContainerCodec.h"
#include "engine/text/Text.h"

namespace vlt {
namespace {

using test::EncodeAttachmentBody;
using test::EncodeContainer;
using test::EncodeEntryBody;
using test::EncodeGroupBody;
using test::fromHex;
using test::RawContainer;
using test::toHex;

Vault OneEmptyGroup() {
    Vault vault;
    vault.Groups.append(Group{1, 1, u"", 0});
    return vault;
}

bool FramesFit(const std::vector<std::uint8_t>& file) {
    std::vector<RecordFrame> frames;
    return CheckFrames(MemorySource(file), DecodeHeader(file), frames);
}

// Decodes a whole file the way the reader does, for round trips.
bool Decode(const std::vector<std::uint8_t>& file, const std::u16string& password, Vault& out) {
    ContainerHeader header = DecodeHeader(file);
    std::vector<RecordFrame> frames;
    MemorySource source(file);
    if (!CheckFrames(source, header, frames)) {
        return false;
    }
    SecureBuffer key = test::KeyFor(password, header);
    RecordObserver quiet;
    RecordsRead read = ReadRecords(source, frames, header, key, &out, quiet);
    return read.status == ReadStatus::kRead && read.checksum == StoredChecksum(file);
}

TEST(ContainerCodec, GoldenFileOfOneEmptyGroup) {
    RawContainer raw;  // the golden header: IV1 20..3f, IV2 00..1f, 5120 rounds, time 0
    auto file = EncodeContainer(OneEmptyGroup(), raw.header, raw.key());
    const auto expected = fromHex(
        "564c5434 00000000 01000000 00000000 00000000 00140000"
        "202122232425262728292a2b2c2d2e2f303132333435363738393a3b3c3d3e3f"
        "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"
        "00000000 12000000"
        "d62814b25fbc3e2eb9b967c2487145ccb937"
        "d1398e58"
        "564c54454f46");
    ASSERT_EQ(expected.size(), 124u);
    EXPECT_EQ(toHex(file), toHex(expected));
}

TEST(ContainerCodec, GroupBodyLayout) {
    auto body = EncodeGroupBody(Group{12345678, 1, u"Home", 5});
    EXPECT_EQ(toHex(body.bytes()),
              "4e61bc00"
              "01000000"
              "05000000"
              "0a000000"
              "48006f006d0065000000");
    auto empty = EncodeGroupBody(Group{1, 1, u"", 0});
    EXPECT_EQ(toHex(empty.bytes()),
              "01000000010000000000000002000000"
              "0000");
}

TEST(ContainerCodec, EntryAndAttachmentBodiesRoundTrip) {
    Vault vault = test::SampleVault({0, 5});
    Vault decoded;
    for (const Entry& e : vault.Entries) {
        auto body = EncodeEntryBody(e);
        Entry back;
        ASSERT_TRUE(DecodeEntryBody(body.bytes(), back));
        decoded.Entries.append(back);
    }
    for (const Attachment& a : vault.Attachments) {
        auto body = EncodeAttachmentBody(a);
        EXPECT_EQ(body.size(), 24 + 2 * (a.FileName.size() + 1) + a.Data.size() + 66);
        Attachment back;
        ASSERT_TRUE(DecodeAttachmentBody(body.bytes(), back));
        decoded.Attachments.append(std::move(back));
    }
    for (const Group& g : vault.Groups) {
        decoded.Groups.append(g);
    }
    test::ExpectSameVault(vault, decoded);
}

TEST(ContainerCodec, TextsAreCutAtTheirFirstNul) {
    Vault vault;
    vault.Groups.append(Group{1, 1, std::u16string(u"ab\0cd", 5), 0});
    RawContainer raw;
    Vault back;
    ASSERT_TRUE(Decode(EncodeContainer(vault, raw.header, raw.key()), u"abc", back));
    EXPECT_TRUE(back.Groups.at(0).Name == u"ab");
}

TEST(ContainerCodec, DecodersRefuseLengthsThatDoNotFit) {
    auto group = EncodeGroupBody(Group{1, 1, u"Home", 0});
    std::vector<std::uint8_t> body(group.data(), group.data() + group.size());
    Group g;
    for (std::int32_t length : {0, 1, 3, 11, 12, -2, 0x7FFFFFFE}) {
        putInt32(&body[12], length);
        EXPECT_FALSE(DecodeGroupBody(body, g)) << "length " << length;
    }
    putInt32(&body[12], 10);
    EXPECT_TRUE(DecodeGroupBody(body, g));
    EXPECT_FALSE(DecodeGroupBody(std::span(body).first(15), g));

    Entry entry;
    entry.Account = u"acc";
    auto encoded = EncodeEntryBody(entry);
    std::vector<std::uint8_t> entryBody(encoded.data(), encoded.data() + encoded.size());
    putInt32(&entryBody[44 + 4 * 6], 4);  // the comment claims more than is left
    EXPECT_FALSE(DecodeEntryBody(entryBody, entry));

    Attachment a;
    a.FileName = u"x";
    a.Data = SecureBuffer(4);
    a.MD5 = u"m";
    auto att = EncodeAttachmentBody(a);
    std::vector<std::uint8_t> attBody(att.data(), att.data() + att.size());
    Attachment out;
    for (std::int32_t size : {-1, 5, 0x7FFFFFFF}) {
        putInt32(&attBody[8], size);
        EXPECT_FALSE(DecodeAttachmentBody(attBody, out)) << "size " << size;
    }
    putInt32(&attBody[8], 4);
    EXPECT_TRUE(DecodeAttachmentBody(attBody, out));
    EXPECT_EQ(out.Data.size(), 4u);
}

TEST(ContainerCodec, FrameShapesAreCheckedBeforeDecryption) {
    auto check = [](RawContainer raw) { return FramesFit(raw.bytes()); };
    RawContainer good;
    good.addVault(test::SampleVault());
    EXPECT_TRUE(check(good));

    for (std::int32_t declared : {-1, 0, 15, 17, 0x7FFFFFFF}) {
        RawContainer bad = good;
        bad.frames[0].declaredSize = declared;
        EXPECT_FALSE(check(bad)) << "declared " << declared;
    }

    RawContainer wrongType = good;
    wrongType.frames[0].type = kEntryRecord;
    EXPECT_FALSE(check(wrongType));

    RawContainer shifted = good;  // one group fewer: the first entry frame is read as a group
    shifted.header.GroupCount -= 1;
    shifted.header.EntryCount += 1;
    EXPECT_FALSE(check(shifted));

    RawContainer tooMany = good;
    tooMany.header.AttachmentCount += 1;
    EXPECT_FALSE(check(tooMany));

    RawContainer trailing = good;  // the frames end before the checksum
    trailing.header.AttachmentCount -= 1;
    EXPECT_FALSE(check(trailing));

    for (std::int32_t rounds : {0, -5, kMaxRounds + 1}) {
        RawContainer r = good;
        r.header.Rounds = rounds;
        EXPECT_FALSE(FramesFit(r.bytes())) << "rounds " << rounds;
    }
    RawContainer negativeCount = good;
    negativeCount.header.EntryCount = -1;
    EXPECT_FALSE(check(negativeCount));
}

TEST(ContainerCodec, WriterStopsWhenTheSinkFails) {
    Vault vault = test::SampleVault();
    RawContainer raw;
    SecureBuffer key = raw.key();
    RecordObserver quiet;
    int writes = 0;
    EXPECT_FALSE(WriteContainer(
        vault, raw.header, key, [&writes](const void*, std::size_t) { return ++writes < 5; },
        quiet));
    EXPECT_EQ(writes, 5);
}

// An observer that wants every step: the codec then goes record by record, each in buffers of
// its own.
struct TracingObserver : RecordObserver {
    int released = 0;
    bool tracing() const override { return true; }
    void release(SecureBuffer& buffer) override {
        ++released;
        buffer.release();
    }
};

// Enough records of varied sizes to be cut into many batches, attachments larger than a batch.
Vault ManyRecords() {
    Vault vault = test::SampleVault({0, 15, 16, 17, 3 << 20, 70'000});
    for (int i = 0; i < 700; ++i) {
        Entry e;
        e.ID = 1000 + i;
        e.GroupID = 101;
        e.Account = u"account " + decimal(i);
        e.Comment = std::u16string(static_cast<std::size_t>(i * 37 % 1500), u'x');
        vault.Entries.append(std::move(e));
    }
    return vault;
}

struct ReadBack {
    RecordsRead read;
    Vault vault;
};

ReadBack ReadAll(const ByteSource& file, const SecureBuffer& key, RecordObserver& observer,
                 unsigned threads) {
    std::vector<std::uint8_t> head(kHeaderSize);
    EXPECT_TRUE(file.readAt(0, head.data(), head.size()));
    const ContainerHeader header = DecodeHeader(head);
    std::vector<RecordFrame> frames;
    EXPECT_TRUE(CheckFrames(file, header, frames));
    ReadBack back;
    back.read = ReadRecords(file, frames, header, key, &back.vault, observer, threads);
    return back;
}

TEST(ContainerCodec, BatchesOnSeveralThreadsGiveTheSameFileAndRecordsAsOneByOne) {
    const Vault vault = ManyRecords();
    const int records = vault.Groups.count() + vault.Entries.count() + vault.Attachments.count();
    RawContainer raw;
    const SecureBuffer key = raw.key();
    auto write = [&](RecordObserver& observer, unsigned threads) {
        std::vector<std::uint8_t> out;
        EXPECT_TRUE(WriteContainer(
            vault, raw.header, key,
            [&out](const void* data, std::size_t size) {
                auto bytes = static_cast<const std::uint8_t*>(data);
                out.insert(out.end(), bytes, bytes + size);
                return true;
            },
            observer, threads));
        return out;
    };
    TracingObserver traced;
    const std::vector<std::uint8_t> oneByOne = write(traced, 1);
    EXPECT_EQ(traced.released, 2 * records);
    RecordObserver quiet;
    for (unsigned threads : {1u, 3u, 8u}) {
        EXPECT_TRUE(write(quiet, threads) == oneByOne) << threads << " threads";
    }

    const MemorySource file(oneByOne);
    for (unsigned threads : {1u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        ReadBack back = ReadAll(file, key, quiet, threads);
        EXPECT_EQ(back.read.status, ReadStatus::kRead);
        EXPECT_EQ(back.read.checksum, StoredChecksum(oneByOne));
        test::ExpectSameVault(vault, back.vault);
    }
    TracingObserver tracedRead;
    ReadBack back = ReadAll(file, key, tracedRead, 8);
    EXPECT_EQ(back.read.checksum, StoredChecksum(oneByOne));
    EXPECT_EQ(tracedRead.released, 2 * records);
    test::ExpectSameVault(vault, back.vault);
}

// Bytes that cannot be read past a point, as when a file is cut short while it is read.
struct ShortSource : ByteSource {
    ShortSource(const MemorySource& whole, std::uint64_t readable)
        : whole(whole), readable(readable) {}
    MemorySource whole;
    std::uint64_t readable;
    std::uint64_t size() const override { return whole.size(); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) const override {
        return offset + n <= readable && whole.readAt(offset, out, n);
    }
};

TEST(ContainerCodec, DamageIsToldApartFromAWrongKeyAndFromAFailedRead) {
    RawContainer raw;
    raw.addVault(ManyRecords());
    const auto whole = raw.bytes();
    // A body whose checksum is right but whose comment claims an odd length, half-way.
    auto& damaged = raw.frames[raw.frames.size() / 2];
    ASSERT_EQ(damaged.type, kEntryRecord);
    putInt32(&damaged.body[44 + 4 * 6], 3);
    const auto bytes = raw.bytes();
    const MemorySource file(bytes);
    const SecureBuffer key = raw.key();
    const SecureBuffer wrongKey = test::KeyFor(u"abd", raw.header);
    RecordObserver quiet;
    TracingObserver traced;
    for (RecordObserver* observer : {&quiet, static_cast<RecordObserver*>(&traced)}) {
        for (unsigned threads : {1u, 8u}) {
            SCOPED_TRACE(threads);
            ReadBack back = ReadAll(file, key, *observer, threads);
            EXPECT_EQ(back.read.status, ReadStatus::kUnparsable);
            if (observer == &quiet) {  // the checksum still covers every record
                EXPECT_EQ(back.read.checksum, StoredChecksum(bytes));
            }
            EXPECT_NE(ReadAll(file, wrongKey, quiet, threads).read.checksum, StoredChecksum(bytes));

            const ShortSource cut(MemorySource(whole), whole.size() - 20'000);
            EXPECT_EQ(ReadAll(cut, key, *observer, threads).read.status, ReadStatus::kUnreadable);
        }
    }
}

}  // namespace
}  // namespace vlt
