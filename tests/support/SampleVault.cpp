#include "SampleVault.h"

#include <gtest/gtest.h>

#include "engine/crypto/MD5.h"
#include "engine/text/Text.h"

namespace vlt::test {

void AddAttachment(Vault& vault, std::int32_t id, std::int32_t entryId, std::size_t size) {
    Attachment a;
    a.ID = id;
    a.EntryID = entryId;
    a.FileName = u"file-" + decimal(static_cast<std::int64_t>(size)) + u".bin";
    a.Size = static_cast<std::int32_t>(size);
    a.Attributes = 0x20;
    a.Data = SecureBuffer(size);
    for (std::size_t i = 0; i < size; ++i) {
        a.Data[i] = static_cast<std::uint8_t>(i * 7 + size);
    }
    a.MD5 = u"0123456789abcdef0123456789abcdef";
    vault.Attachments.append(std::move(a));
}

void AddStoredAttachment(Vault& vault, std::int32_t id, std::int32_t entryId, std::u16string name,
                         const std::string& bytes, std::u16string md5) {
    Attachment a;
    a.ID = id;
    a.EntryID = entryId;
    a.FileName = std::move(name);
    a.Size = static_cast<std::int32_t>(bytes.size());
    a.Data = SecureBuffer(bytes.data(), bytes.size());
    a.MD5 = md5.empty() ? MD5Hex(a.Data.bytes()) : std::move(md5);
    vault.Attachments.append(std::move(a));
}

Vault SampleVault(const std::vector<std::size_t>& attachmentSizes) {
    Vault vault;
    vault.Groups.append(Group{101, 1, u"Home", 5});
    vault.Groups.append(Group{102, 2, u"Banks \u00e9\U0001F3E6", 17});
    vault.Groups.append(Group{103, 3, u"Deep", 99});
    vault.Groups.append(Group{104, 1, u"", 0});

    Entry full;
    full.ID = 201;
    full.GroupID = 102;
    full.GroupName = u"Banks \u00e9\U0001F3E6";
    full.Account = u"Savings";
    full.User = u"j\u00f6rg";
    full.Password = u"p\u00e4ss \U0001F511 word";
    full.URL = u"https://bank.example/login?a=1&b=2";
    full.AttachmentNames = u"file-0.bin";
    full.Comment = std::u16string(3000, u'c') + u"\r\nline two";
    full.Expires = 1;
    full.CustomForeground = 1;
    full.ForegroundColor = 0x0000FF;
    full.CustomBackground = 1;
    full.BackgroundColor = 0xFFFFFF;
    full.CreationDate = -86400 * 365;
    full.AccessDate = 0;
    full.ModificationDate = 2147483647;
    full.ExpirationDate = -2147483647 - 1;
    vault.Entries.append(full);

    Entry empty;
    empty.ID = 202;
    empty.GroupID = 101;
    vault.Entries.append(empty);

    std::int32_t id = 301;
    for (std::size_t size : attachmentSizes) {
        AddAttachment(vault, id++, 201, size);
    }
    return vault;
}

void ExpectSameVault(const Vault& expected, const Vault& actual) {
    ASSERT_EQ(expected.Groups.count(), actual.Groups.count());
    ASSERT_EQ(expected.Entries.count(), actual.Entries.count());
    ASSERT_EQ(expected.Attachments.count(), actual.Attachments.count());
    for (int i = 0; i < expected.Groups.count(); ++i) {
        const Group& e = expected.Groups.at(i);
        const Group& a = actual.Groups.at(i);
        EXPECT_EQ(e.ID, a.ID) << "group " << i;
        EXPECT_EQ(e.Depth, a.Depth) << "group " << i;
        EXPECT_TRUE(e.Name == a.Name) << "group " << i;
        EXPECT_EQ(e.Icon, a.Icon) << "group " << i;
    }
    for (int i = 0; i < expected.Entries.count(); ++i) {
        const Entry& e = expected.Entries.at(i);
        const Entry& a = actual.Entries.at(i);
        EXPECT_EQ(e.ID, a.ID) << "entry " << i;
        EXPECT_EQ(e.GroupID, a.GroupID) << "entry " << i;
        EXPECT_TRUE(e.GroupName == a.GroupName && e.Account == a.Account && e.User == a.User &&
                    e.Password == a.Password && e.URL == a.URL &&
                    e.AttachmentNames == a.AttachmentNames && e.Comment == a.Comment)
            << "entry " << i << " texts differ";
        auto numbers = [](const Entry& x) {
            return std::vector<std::int32_t>{
                x.Expires,          x.CustomForeground, x.ForegroundColor,
                x.CustomBackground, x.BackgroundColor,  x.CreationDate,
                x.AccessDate,       x.ModificationDate, x.ExpirationDate};
        };
        EXPECT_EQ(numbers(e), numbers(a)) << "entry " << i;
    }
    for (int i = 0; i < expected.Attachments.count(); ++i) {
        const Attachment& e = expected.Attachments.at(i);
        const Attachment& a = actual.Attachments.at(i);
        EXPECT_EQ(e.ID, a.ID) << "attachment " << i;
        EXPECT_EQ(e.EntryID, a.EntryID) << "attachment " << i;
        EXPECT_TRUE(e.FileName == a.FileName) << "attachment " << i;
        EXPECT_EQ(e.Size, a.Size) << "attachment " << i;
        EXPECT_EQ(e.Attributes, a.Attributes) << "attachment " << i;
        EXPECT_TRUE(e.Data == a.Data) << "attachment " << i << " content differs";
        EXPECT_TRUE(e.MD5 == a.MD5) << "attachment " << i;
    }
}

}  // namespace vlt::test
