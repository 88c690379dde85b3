/*
 * The contract between VLT and its plugin libraries. Plain C, so a plugin may be written in
 * either language; both sides include this one file.
 *
 * A plugin is a shared library "Name.so" in the folder "Plugins" beside the program. The host
 * opens it with dlopen(RTLD_NOW | RTLD_LOCAL) and looks up the exports below by name. Every
 * export and callback uses the platform's C calling convention.
 *
 *  - Integers are int32_t; addresses are pointer-width.
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

/* A group as NextGroup returns it. */
typedef struct VLT_Group {
    int32_t ID;
    int32_t Depth; /* 1 for a top-level group */
    const VLT_Char* Name;
    int32_t Icon; /* index into the group icon table, 0..99 */
    int32_t Padding0;
} VLT_Group;

/* An entry as NextEntry returns it. Dates are seconds since 1970 of the local wall clock;
 * colours are 0x00BBGGRR. */
typedef struct VLT_Entry {
    int32_t ID;
    int32_t GroupID;
    const VLT_Char* GroupName;
    const VLT_Char* Account;
    const VLT_Char* User;
    const VLT_Char* Password;
    const VLT_Char* URL;
    const VLT_Char* AttachmentNames;
    const VLT_Char* Comment;
    int32_t Expires;          /* 1 = expires at ExpirationDate */
    int32_t CustomForeground; /* 1 = draw with ForegroundColor */
    int32_t ForegroundColor;
    int32_t CustomBackground; /* 1 = draw on BackgroundColor */
    int32_t BackgroundColor;
    int32_t CreationDate;
    int32_t AccessDate;
    int32_t ModificationDate;
    int32_t ExpirationDate;
    int32_t Padding0;
} VLT_Entry;

/* An attachment as NextAttachment returns it. */
typedef struct VLT_Attachment {
    int32_t ID;
    int32_t EntryID;
    const VLT_Char* FileName;
    int32_t Size; /* bytes at Data */
    int32_t Attributes;
    const uint8_t* Data;
    const VLT_Char* MD5; /* 32 lowercase hexadecimal digits of the content */
} VLT_Attachment;

/* Identity exports, called on the host's GUI thread at load. */
typedef const VLT_Char* (*Plugin_GetSignature_Fn)(void);
typedef const VLT_Char* (*Plugin_GetName_Fn)(void);
typedef const VLT_Char* (*Plugin_GetVersion_Fn)(void);
typedef const VLT_Char* (*Plugin_GetDescription_Fn)(void);
typedef const VLT_Char* (*Plugin_GetAuthor_Fn)(void);
typedef int32_t (*Plugin_GetIconSize_Fn)(void);        /* bytes of an icon file in memory */
typedef const void* (*Plugin_GetIconAddress_Fn)(void); /* that icon file */
typedef int32_t (*Plugin_GetType_Fn)(void);
/* Asks the plugin to close its windows and return from its entry export. Returns 0. */
typedef int32_t (*Plugin_QuitSignal_Fn)(void);

/* Host callbacks of an exporter. */
typedef int32_t (*VLT_CountFn)(void);
typedef const VLT_Group* (*VLT_NextGroupFn)(void);
typedef const VLT_Entry* (*VLT_NextEntryFn)(void);
typedef const VLT_Attachment* (*VLT_NextAttachmentFn)(void);
/* Runs the host's password window; "" when cancelled. */
typedef const VLT_Char* (*VLT_RequestPasswordFn)(void);

/* Host callbacks of an importer; both return 1. Passing -1 for ID, Expires, the two Custom
 * flags or a date lets the host choose: a fresh ID, 0, or now. */
typedef int32_t (*VLT_AddGroupFn)(const VLT_Char* Name, int32_t Icon, int32_t GroupID,
                                  int32_t Depth);
typedef int32_t (*VLT_AddEntryFn)(int32_t ID, int32_t GroupID, const VLT_Char* GroupName,
                                  const VLT_Char* Account, const VLT_Char* User,
                                  const VLT_Char* Password, const VLT_Char* URL,
                                  const VLT_Char* Comment, int32_t Expires,
                                  int32_t CustomForeground, int32_t ForegroundColor,
                                  int32_t CustomBackground, int32_t BackgroundColor,
                                  int32_t CreationDate, int32_t AccessDate,
                                  int32_t ModificationDate, int32_t ExpirationDate);

/* Entry exports, one per plugin type; each runs on its own host thread and returns 0. */
typedef int32_t (*Plugin_Start_Fn)(void);
typedef int32_t (*Plugin_ImportBegin_Fn)(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                                         VLT_RequestPasswordFn RequestPassword);
typedef int32_t (*Plugin_ExportBegin_Fn)(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                                         VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                                         VLT_CountFn CountAttachments,
                                         VLT_NextAttachmentFn NextAttachment,
                                         VLT_RequestPasswordFn RequestPassword);
/* Data/Size: a copy of the attachment's content that the plugin's thread may read until the
 * entry export returns. */
typedef int32_t (*Plugin_PreviewStart_Fn)(const uint8_t* Data, int32_t Size);
/* The file endings a previewer offers to show; u"*" for every one. */
typedef const VLT_Char* (*Plugin_GetKnownExtensionList_Fn)(void);

#ifdef __cplusplus
}
#endif

#endif /* VLT_PLUGIN_ABI_H */
