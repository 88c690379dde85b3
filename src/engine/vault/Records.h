#pragma once
// The three kinds of vault record. Relations are by ID only: an entry names its group by
// GroupID, an attachment its entry by EntryID.

#include <cstdint>
#include <string>

#include "engine/crypto/SecureBuffer.h"
#include "engine/crypto/SecureText.h"

namespace vlt {

struct Group {
    std::int32_t ID = 0;
    std::int32_t Depth = 1;  // 1 for a top-level group; the tree's root item is the container
    std::u16string Name;
    std::int32_t Icon = 0;  // index into the group icon table, 0..99
};

struct Entry {
    std::int32_t ID = 0;
    std::int32_t GroupID = 0;
    std::u16string GroupName;
    std::u16string Account;
    std::u16string User;
    SecureText Password;
    std::u16string URL;
    std::u16string AttachmentNames;
    std::u16string Comment;
    std::int32_t Expires = 0;
    std::int32_t CustomForeground = 0;
    std::int32_t ForegroundColor = 0;  // 0x00BBGGRR
    std::int32_t CustomBackground = 0;
    std::int32_t BackgroundColor = 0;  // 0x00BBGGRR
    std::int32_t CreationDate = 0;
    std::int32_t AccessDate = 0;
    std::int32_t ModificationDate = 0;
    std::int32_t ExpirationDate = 0;
};

struct Attachment {
    std::int32_t ID = 0;
    std::int32_t EntryID = 0;
    std::u16string FileName;  // without folder
    std::int32_t Size = 0;
    std::int32_t Attributes = 0;
    SecureBuffer Data;   // Size bytes of content, wiped when freed
    std::u16string MD5;  // 32 lowercase hex digits of the content

    Attachment() = default;
    Attachment(Attachment&&) = default;
    Attachment& operator=(Attachment&&) = default;
    Attachment(const Attachment& other)
        : ID(other.ID),
          EntryID(other.EntryID),
          FileName(other.FileName),
          Size(other.Size),
          Attributes(other.Attributes),
          Data(other.Data.copy()),
          MD5(other.MD5) {}
};

}  // namespace vlt
