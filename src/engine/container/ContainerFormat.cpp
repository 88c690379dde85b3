#include "engine/container/ContainerFormat.h"

#include <zlib.h>

#include <bit>
#include <cstring>

namespace vlt {

namespace {

static_assert(std::endian::native == std::endian::little,
              "texts are copied as stored: UTF-16LE in the file, char16_t in memory");

std::int64_t textBytes(std::u16string_view text) {
    return 2 * (static_cast<std::int64_t>(text.size()) + 1);
}

// Writes a text with its NUL; returns the position after it.
std::size_t putText(std::uint8_t* body, std::size_t at, std::u16string_view text) {
    const std::size_t bytes = 2 * text.size();
    if (bytes != 0) {
        std::memcpy(body + at, text.data(), bytes);
    }
    body[at + bytes] = 0;
    body[at + bytes + 1] = 0;
    return at + bytes + 2;
}

// Room for `count` characters in `out`, to be filled.
char16_t* resized(std::u16string& out, std::size_t count) {
    out.resize(count);
    return out.data();
}
char16_t* resized(SecureText& out, std::size_t count) {
    out = SecureText::withLength(count);
    return out.data();
}

// A text of `length` bytes at `at`, cut at its first NUL. The length must be even, hold at least
// the terminator and lie inside the body.
template <typename Text>
bool takeText(std::span<const std::uint8_t> body, std::size_t at, std::int32_t length, Text& out) {
    if (length < 2 || length % 2 != 0 || at > body.size() ||
        static_cast<std::size_t>(length) > body.size() - at) {
        return false;
    }
    const std::uint8_t* text = body.data() + at;
    const std::size_t limit = static_cast<std::size_t>(length) / 2;
    std::size_t count = 0;
    while (count < limit && (text[2 * count] | text[2 * count + 1]) != 0) {
        ++count;
    }
    char16_t* characters = resized(out, count);
    if (count != 0) {
        std::memcpy(characters, text, 2 * count);
    }
    return true;
}

}  // namespace

std::int32_t readInt32(const std::uint8_t* at) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
        (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24));
}

void putInt32(std::uint8_t* at, std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
}

std::uint32_t joinChecksums(std::uint32_t first, std::uint32_t second, std::uint64_t secondBytes) {
    return static_cast<std::uint32_t>(
        crc32_combine(first, second, static_cast<z_off_t>(secondBytes)));
}

void EncodeHeader(const ContainerHeader& header, std::uint8_t out[kHeaderSize]) {
    std::memcpy(out, "VLT4", 4);
    putInt32(out + 4, header.SaveTime);
    putInt32(out + 8, header.GroupCount);
    putInt32(out + 12, header.EntryCount);
    putInt32(out + 16, header.AttachmentCount);
    putInt32(out + 20, header.Rounds);
    std::memcpy(out + 24, header.IV1.data(), 32);
    std::memcpy(out + 56, header.IV2.data(), 32);
}

ContainerHeader DecodeHeader(std::span<const std::uint8_t> file) {
    ContainerHeader header;
    header.SaveTime = readInt32(&file[4]);
    header.GroupCount = readInt32(&file[8]);
    header.EntryCount = readInt32(&file[12]);
    header.AttachmentCount = readInt32(&file[16]);
    header.Rounds = readInt32(&file[20]);
    std::memcpy(header.IV1.data(), &file[24], 32);
    std::memcpy(header.IV2.data(), &file[56], 32);
    return header;
}

bool HeaderIsSane(const ContainerHeader& header) {
    // Every written container holds at least one group; one without any would open with any
    // password, as no record would be decrypted to check it.
    return header.GroupCount >= 1 && header.EntryCount >= 0 && header.AttachmentCount >= 0 &&
           header.Rounds >= 1 && header.Rounds <= kMaxRounds;
}

std::int64_t BodySize(const Group& group) {
    return 16 + textBytes(group.Name);
}

std::int64_t BodySize(const Entry& entry) {
    return 72 + textBytes(entry.GroupName) + textBytes(entry.Account) + textBytes(entry.User) +
           textBytes(entry.Password.view()) + textBytes(entry.URL) +
           textBytes(entry.AttachmentNames) + textBytes(entry.Comment);
}

std::int64_t BodySize(const Attachment& attachment) {
    return 24 + textBytes(attachment.FileName) + static_cast<std::int64_t>(attachment.Data.size()) +
           textBytes(attachment.MD5);
}

void PutBody(const Group& group, std::uint8_t* out) {
    putInt32(out, group.ID);
    putInt32(out + 4, group.Depth);
    putInt32(out + 8, group.Icon);
    putInt32(out + 12, static_cast<std::int32_t>(textBytes(group.Name)));
    putText(out, 16, group.Name);
}

void PutBody(const Entry& entry, std::uint8_t* out) {
    const std::int32_t numbers[11] = {entry.ID,
                                      entry.GroupID,
                                      entry.Expires,
                                      entry.CustomForeground,
                                      entry.ForegroundColor,
                                      entry.CustomBackground,
                                      entry.BackgroundColor,
                                      entry.CreationDate,
                                      entry.AccessDate,
                                      entry.ModificationDate,
                                      entry.ExpirationDate};
    for (int i = 0; i < 11; ++i) {
        putInt32(out + 4 * i, numbers[i]);
    }
    const std::u16string_view texts[7] = {
        entry.GroupName, entry.Account,         entry.User,   entry.Password.view(),
        entry.URL,       entry.AttachmentNames, entry.Comment};
    std::size_t at = 72;
    for (int i = 0; i < 7; ++i) {
        putInt32(out + 44 + 4 * i, static_cast<std::int32_t>(textBytes(texts[i])));
        at = putText(out, at, texts[i]);
    }
}

void PutBody(const Attachment& attachment, std::uint8_t* out) {
    const std::size_t content = attachment.Data.size();
    putInt32(out, attachment.ID);
    putInt32(out + 4, attachment.EntryID);
    // The stored size is the content really written, so that the body always parses.
    putInt32(out + 8, static_cast<std::int32_t>(content));
    putInt32(out + 12, attachment.Attributes);
    putInt32(out + 16, static_cast<std::int32_t>(textBytes(attachment.FileName)));
    putInt32(out + 20, static_cast<std::int32_t>(textBytes(attachment.MD5)));
    const std::size_t at = putText(out, 24, attachment.FileName);
    if (content != 0) {
        std::memcpy(out + at, attachment.Data.data(), content);
    }
    putText(out, at + content, attachment.MD5);
}

bool DecodeGroupBody(std::span<const std::uint8_t> body, Group& group) {
    if (body.size() < kMinimumBodySize) {
        return false;
    }
    group.ID = readInt32(&body[0]);
    group.Depth = readInt32(&body[4]);
    group.Icon = readInt32(&body[8]);
    return takeText(body, 16, readInt32(&body[12]), group.Name);
}

bool DecodeEntryBody(std::span<const std::uint8_t> body, Entry& entry) {
    if (body.size() < 72) {
        return false;
    }
    std::int32_t* numbers[11] = {&entry.ID,
                                 &entry.GroupID,
                                 &entry.Expires,
                                 &entry.CustomForeground,
                                 &entry.ForegroundColor,
                                 &entry.CustomBackground,
                                 &entry.BackgroundColor,
                                 &entry.CreationDate,
                                 &entry.AccessDate,
                                 &entry.ModificationDate,
                                 &entry.ExpirationDate};
    for (int i = 0; i < 11; ++i) {
        *numbers[i] = readInt32(&body[4 * static_cast<std::size_t>(i)]);
    }
    // The seven texts in stored order, each length from the table after the numbers.
    std::size_t field = 0;
    std::size_t at = 72;
    auto take = [&](auto& text) {
        const std::int32_t length = readInt32(&body[44 + 4 * field++]);
        if (!takeText(body, at, length, text)) {
            return false;
        }
        at += static_cast<std::size_t>(length);
        return true;
    };
    return take(entry.GroupName) && take(entry.Account) && take(entry.User) &&
           take(entry.Password) && take(entry.URL) && take(entry.AttachmentNames) &&
           take(entry.Comment);
}

bool DecodeAttachmentBody(std::span<const std::uint8_t> body, Attachment& attachment) {
    if (body.size() < 24) {
        return false;
    }
    attachment.ID = readInt32(&body[0]);
    attachment.EntryID = readInt32(&body[4]);
    attachment.Size = readInt32(&body[8]);
    attachment.Attributes = readInt32(&body[12]);
    const std::int32_t nameLength = readInt32(&body[16]);
    const std::int32_t md5Length = readInt32(&body[20]);
    if (attachment.Size < 0 || !takeText(body, 24, nameLength, attachment.FileName)) {
        return false;
    }
    const std::size_t content = 24 + static_cast<std::size_t>(nameLength);
    if (static_cast<std::size_t>(attachment.Size) > body.size() - content) {
        return false;
    }
    const std::size_t md5At = content + static_cast<std::size_t>(attachment.Size);
    if (!takeText(body, md5At, md5Length, attachment.MD5)) {
        return false;
    }
    attachment.Data =
        SecureBuffer(body.data() + content, static_cast<std::size_t>(attachment.Size));
    return true;
}

}  // namespace vlt
