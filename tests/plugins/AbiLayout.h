/* The byte layout plugins are compiled against, pinned for C and C++ alike: a change here breaks
 * every plugin already built. */
#include <stddef.h>

#include "PluginABI.h"

#ifdef __cplusplus
#define ABI_CHECK(expr) static_assert(expr, #expr)
#else
#define ABI_CHECK(expr) _Static_assert(expr, #expr)
#endif

ABI_CHECK(sizeof(void*) == 8);
ABI_CHECK(sizeof(VLT_Char) == 2);

ABI_CHECK(offsetof(VLT_Group, ID) == 0);
ABI_CHECK(offsetof(VLT_Group, Depth) == 4);
ABI_CHECK(offsetof(VLT_Group, Name) == 8);
ABI_CHECK(offsetof(VLT_Group, Icon) == 16);
ABI_CHECK(sizeof(VLT_Group) == 24);

ABI_CHECK(offsetof(VLT_Entry, ID) == 0);
ABI_CHECK(offsetof(VLT_Entry, GroupID) == 4);
ABI_CHECK(offsetof(VLT_Entry, GroupName) == 8);
ABI_CHECK(offsetof(VLT_Entry, Account) == 16);
ABI_CHECK(offsetof(VLT_Entry, User) == 24);
ABI_CHECK(offsetof(VLT_Entry, Password) == 32);
ABI_CHECK(offsetof(VLT_Entry, URL) == 40);
ABI_CHECK(offsetof(VLT_Entry, AttachmentNames) == 48);
ABI_CHECK(offsetof(VLT_Entry, Comment) == 56);
ABI_CHECK(offsetof(VLT_Entry, Expires) == 64);
ABI_CHECK(offsetof(VLT_Entry, CustomForeground) == 68);
ABI_CHECK(offsetof(VLT_Entry, ForegroundColor) == 72);
ABI_CHECK(offsetof(VLT_Entry, CustomBackground) == 76);
ABI_CHECK(offsetof(VLT_Entry, BackgroundColor) == 80);
ABI_CHECK(offsetof(VLT_Entry, CreationDate) == 84);
ABI_CHECK(offsetof(VLT_Entry, AccessDate) == 88);
ABI_CHECK(offsetof(VLT_Entry, ModificationDate) == 92);
ABI_CHECK(offsetof(VLT_Entry, ExpirationDate) == 96);
ABI_CHECK(sizeof(VLT_Entry) == 104);

ABI_CHECK(offsetof(VLT_Attachment, ID) == 0);
ABI_CHECK(offsetof(VLT_Attachment, EntryID) == 4);
ABI_CHECK(offsetof(VLT_Attachment, FileName) == 8);
ABI_CHECK(offsetof(VLT_Attachment, Size) == 16);
ABI_CHECK(offsetof(VLT_Attachment, Attributes) == 20);
ABI_CHECK(offsetof(VLT_Attachment, Data) == 24);
ABI_CHECK(offsetof(VLT_Attachment, MD5) == 32);
ABI_CHECK(sizeof(VLT_Attachment) == 40);
