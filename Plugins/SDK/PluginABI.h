/*
 * The contract between VLT and its plugin libraries. Plain C, so a plugin may be written in
 * either language; both sides include this one file, and it is all a plugin needs (see
 * README.md beside it).
 *
 * A plugin is a shared library "Name.so" in the folder "Plugins" beside the program. The host
 * opens it with dlopen(RTLD_NOW | RTLD_LOCAL) and looks up the exports below by name, unmangled
 * (extern "C" in C++). Every export and callback uses the platform's C calling convention.
 * The host refuses, and names the reason in its trace log:
 *  - a file that is no complete ELF shared library of the host's class and architecture (one
 *    cut short included);
 *  - a file that is not a regular file, is owned by another user than the one running VLT (or
 *    root), or that another user may write to (by its mode, its group or its access list), or
 *    whose path runs through such a folder (unless sticky) or through a link in a folder others
 *    may write that belongs to another user; the file checked is the file loaded;
 *  - a file dlopen refuses (not a library, a missing dependency, an undefined symbol);
 *  - a library without Plugin_GetSignature, or whose signature is not exactly
 *    VLT_PLUGIN_SIGNATURE (a refused library is closed again).
 *
 *  - Integers are int32_t; addresses are pointer-width. The record layouts below are those of
 *    64-bit Linux (8-byte pointers), with each field's byte offset; the checks at the end of
 *    this file fail the build of a plugin whose compiler lays them out differently.
 *  - Texts are NUL-terminated UTF-16 (const char16_t*). A text a plugin returns stays valid until
 *    that plugin's next text result on the same thread; the host copies it at once. A text the
 *    host returns stays valid until the plugin's next call into the host.
 *  - A library is accepted only when Plugin_GetSignature returns exactly VLT_PLUGIN_SIGNATURE.
 *    Every other identity export is optional (missing: "" or 0; no Plugin_GetType means a tool).
 *  - The entry export named by the plugin's type runs on a thread the host creates for it. It
 *    returns 0 once its windows are gone. After Plugin_QuitSignal (sent from the host's GUI
 *    thread at exit) the plugin leaves its loop within about 100 ms and returns; a plugin
 *    without Plugin_QuitSignal is not waited for.
 *  - Exporters and importers reach the vault only through the host callbacks passed to their
 *    entry export, and only from that thread. Count rewinds a list; Next then returns each record
 *    once, in order, and NULL after the last. Records are the host's own, read-only, valid until
 *    the vault changes.
 */
#ifndef VLT_PLUGIN_ABI_H
#define VLT_PLUGIN_ABI_H

#include <stddef.h>
#include <stdint.h>
#ifdef __cplusplus
typedef char16_t VLT_Char;
#else
#include <uchar.h>
typedef char16_t VLT_Char;
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define VLT_PLUGIN_SIGNATURE u"VLTPlugin_v4.0"

/* Values of Plugin_GetType. */
enum {
    VLT_PLUGIN_TOOL = 0,     /* entry: Plugin_Start */
    VLT_PLUGIN_IMPORTER = 1, /* entry: Plugin_ImportBegin */
    VLT_PLUGIN_EXPORTER = 2, /* entry: Plugin_ExportBegin */
    VLT_PLUGIN_PREVIEWER = 3 /* entry: Plugin_PreviewStart */
};

/* A group as NextGroup returns it. Byte offsets on the right; 24 bytes in all. */
typedef struct VLT_Group {
    int32_t ID;           /*  0 */
    int32_t Depth;        /*  4: 1 for a top-level group */
    const VLT_Char* Name; /*  8 */
    int32_t Icon;         /* 16: index into the group icon table, 0..99 */
    int32_t Padding0;     /* 20 */
} VLT_Group;

/* An entry as NextEntry returns it; 104 bytes. Dates are seconds since 1970 of the local wall
 * clock; colours are 0x00BBGGRR. */
typedef struct VLT_Entry {
    int32_t ID;                      /*  0 */
    int32_t GroupID;                 /*  4 */
    const VLT_Char* GroupName;       /*  8 */
    const VLT_Char* Account;         /* 16: the entry's title */
    const VLT_Char* User;            /* 24 */
    const VLT_Char* Password;        /* 32 */
    const VLT_Char* URL;             /* 40 */
    const VLT_Char* AttachmentNames; /* 48 */
    const VLT_Char* Comment;         /* 56 */
    int32_t Expires;                 /* 64: 1 = expires at ExpirationDate */
    int32_t CustomForeground;        /* 68: 1 = draw with ForegroundColor */
    int32_t ForegroundColor;         /* 72 */
    int32_t CustomBackground;        /* 76: 1 = draw on BackgroundColor */
    int32_t BackgroundColor;         /* 80 */
    int32_t CreationDate;            /* 84 */
    int32_t AccessDate;              /* 88 */
    int32_t ModificationDate;        /* 92 */
    int32_t ExpirationDate;          /* 96 */
    int32_t Padding0;                /* 100 */
} VLT_Entry;

/* An attachment as NextAttachment returns it; 40 bytes. */
typedef struct VLT_Attachment {
    int32_t ID;               /*  0 */
    int32_t EntryID;          /*  4 */
    const VLT_Char* FileName; /*  8 */
    int32_t Size;             /* 16: bytes at Data */
    int32_t Attributes;       /* 20 */
    const uint8_t* Data;      /* 24: pointer-width, not an int32_t */
    const VLT_Char* MD5;      /* 32: 32 lowercase hexadecimal digits of the content */
} VLT_Attachment;

/* Identity exports, called on the host's GUI thread at load. Only the signature is required. */
/* Must return VLT_PLUGIN_SIGNATURE. */
typedef const VLT_Char* (*Plugin_GetSignature_Fn)(void);
/* The name the host's menus and plugin manager show. */
typedef const VLT_Char* (*Plugin_GetName_Fn)(void);
/* The version text the plugin manager shows. */
typedef const VLT_Char* (*Plugin_GetVersion_Fn)(void);
/* A one-line description for the plugin manager. */
typedef const VLT_Char* (*Plugin_GetDescription_Fn)(void);
/* The author text for the plugin manager. */
typedef const VLT_Char* (*Plugin_GetAuthor_Fn)(void);
/* Bytes of the icon file at Plugin_GetIconAddress (a 16 x 16, 32-bit .ico); 0 for none. */
typedef int32_t (*Plugin_GetIconSize_Fn)(void);
/* That icon file, in the plugin's memory; read once at load. */
typedef const void* (*Plugin_GetIconAddress_Fn)(void);
/* One of the VLT_PLUGIN_ values above; it decides the entry export the host calls. */
typedef int32_t (*Plugin_GetType_Fn)(void);
/* Asks the plugin to close its windows and return from its entry export. Returns 0. */
typedef int32_t (*Plugin_QuitSignal_Fn)(void);

/* Host callbacks of an exporter. */
/* CountGroups, CountEntries, CountAttachments: rewinds that list and returns its length. */
typedef int32_t (*VLT_CountFn)(void);
/* The next group of the rewound list, NULL after the last. */
typedef const VLT_Group* (*VLT_NextGroupFn)(void);
/* The next entry, NULL after the last. */
typedef const VLT_Entry* (*VLT_NextEntryFn)(void);
/* The next attachment, NULL after the last. */
typedef const VLT_Attachment* (*VLT_NextAttachmentFn)(void);
/* Runs the host's password window (for an exporter or an importer); "" when cancelled. */
typedef const VLT_Char* (*VLT_RequestPasswordFn)(void);

/* Host callbacks of an importer; both return 1. Passing -1 for ID, Expires, the two Custom
 * flags or a date lets the host choose: a fresh ID, 0, or now. */
/* Appends a group to the vault's group list; Depth 1 is top level, one more than the group
 * before makes it that group's child. An ID below 1 or already in use gets a fresh one, and
 * entries added with that GroupID follow it. */
typedef int32_t (*VLT_AddGroupFn)(const VLT_Char* Name, int32_t Icon, int32_t GroupID,
                                  int32_t Depth);
/* Appends an entry to the group with ID GroupID (as the importer passed it to AddGroup); an ID
 * below 1 or already in use gets a fresh one. */
typedef int32_t (*VLT_AddEntryFn)(int32_t ID, int32_t GroupID, const VLT_Char* GroupName,
                                  const VLT_Char* Account, const VLT_Char* User,
                                  const VLT_Char* Password, const VLT_Char* URL,
                                  const VLT_Char* Comment, int32_t Expires,
                                  int32_t CustomForeground, int32_t ForegroundColor,
                                  int32_t CustomBackground, int32_t BackgroundColor,
                                  int32_t CreationDate, int32_t AccessDate,
                                  int32_t ModificationDate, int32_t ExpirationDate);

/* Entry exports, one per plugin type; each runs on its own host thread and returns 0. */
/* A tool: opens its window and returns once it is closed or the quit signal came. */
typedef int32_t (*Plugin_Start_Fn)(void);
/* An importer: reads its file and adds what it holds through AddGroup and AddEntry. */
typedef int32_t (*Plugin_ImportBegin_Fn)(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                                         VLT_RequestPasswordFn RequestPassword);
/* An exporter: walks the vault through the Count and Next callbacks and writes its file. */
typedef int32_t (*Plugin_ExportBegin_Fn)(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                                         VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                                         VLT_CountFn CountAttachments,
                                         VLT_NextAttachmentFn NextAttachment,
                                         VLT_RequestPasswordFn RequestPassword);
/* A previewer: shows an attachment. Data/Size: a copy of its content that the plugin's thread
 * may read until the entry export returns. */
typedef int32_t (*Plugin_PreviewStart_Fn)(const uint8_t* Data, int32_t Size);
/* Previewers only, and needed to be offered at all: the file endings it shows, separated by
 * commas, such as u"txt, log"; u"*" for every one. */
typedef const VLT_Char* (*Plugin_GetKnownExtensionList_Fn)(void);

#ifdef __cplusplus
}
#endif

/* The layout every plugin already built relies on. */
#if defined(__cplusplus)
#define VLT_ABI_CHECK(expr) static_assert(expr, #expr)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define VLT_ABI_CHECK(expr) _Static_assert(expr, #expr)
#endif

#ifdef VLT_ABI_CHECK
VLT_ABI_CHECK(sizeof(void*) == 8);
VLT_ABI_CHECK(sizeof(VLT_Char) == 2);
VLT_ABI_CHECK(sizeof(int32_t) == 4);

VLT_ABI_CHECK(offsetof(VLT_Group, ID) == 0);
VLT_ABI_CHECK(offsetof(VLT_Group, Depth) == 4);
VLT_ABI_CHECK(offsetof(VLT_Group, Name) == 8);
VLT_ABI_CHECK(offsetof(VLT_Group, Icon) == 16);
VLT_ABI_CHECK(sizeof(VLT_Group) == 24);

VLT_ABI_CHECK(offsetof(VLT_Entry, ID) == 0);
VLT_ABI_CHECK(offsetof(VLT_Entry, GroupID) == 4);
VLT_ABI_CHECK(offsetof(VLT_Entry, GroupName) == 8);
VLT_ABI_CHECK(offsetof(VLT_Entry, Account) == 16);
VLT_ABI_CHECK(offsetof(VLT_Entry, User) == 24);
VLT_ABI_CHECK(offsetof(VLT_Entry, Password) == 32);
VLT_ABI_CHECK(offsetof(VLT_Entry, URL) == 40);
VLT_ABI_CHECK(offsetof(VLT_Entry, AttachmentNames) == 48);
VLT_ABI_CHECK(offsetof(VLT_Entry, Comment) == 56);
VLT_ABI_CHECK(offsetof(VLT_Entry, Expires) == 64);
VLT_ABI_CHECK(offsetof(VLT_Entry, CustomForeground) == 68);
VLT_ABI_CHECK(offsetof(VLT_Entry, ForegroundColor) == 72);
VLT_ABI_CHECK(offsetof(VLT_Entry, CustomBackground) == 76);
VLT_ABI_CHECK(offsetof(VLT_Entry, BackgroundColor) == 80);
VLT_ABI_CHECK(offsetof(VLT_Entry, CreationDate) == 84);
VLT_ABI_CHECK(offsetof(VLT_Entry, AccessDate) == 88);
VLT_ABI_CHECK(offsetof(VLT_Entry, ModificationDate) == 92);
VLT_ABI_CHECK(offsetof(VLT_Entry, ExpirationDate) == 96);
VLT_ABI_CHECK(sizeof(VLT_Entry) == 104);

VLT_ABI_CHECK(offsetof(VLT_Attachment, ID) == 0);
VLT_ABI_CHECK(offsetof(VLT_Attachment, EntryID) == 4);
VLT_ABI_CHECK(offsetof(VLT_Attachment, FileName) == 8);
VLT_ABI_CHECK(offsetof(VLT_Attachment, Size) == 16);
VLT_ABI_CHECK(offsetof(VLT_Attachment, Attributes) == 20);
VLT_ABI_CHECK(offsetof(VLT_Attachment, Data) == 24);
VLT_ABI_CHECK(offsetof(VLT_Attachment, MD5) == 32);
VLT_ABI_CHECK(sizeof(VLT_Attachment) == 40);
#undef VLT_ABI_CHECK
#endif

#endif /* VLT_PLUGIN_ABI_H */
