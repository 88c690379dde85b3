/* An exporter written in plain C against PluginABI.h alone, as a plugin author without the SDK
 * would write it: it writes the group names, the entry titles and the attachments' names, sizes
 * and byte sums, one per line in UTF-8, to the file named by VLT_PLAIN_EXPORT_FILE. */
#include <stdio.h>
#include <stdlib.h>

#include "PluginABI.h"

#define EXPORT __attribute__((visibility("default")))

EXPORT const VLT_Char* Plugin_GetSignature(void) {
    return VLT_PLUGIN_SIGNATURE;
}

EXPORT const VLT_Char* Plugin_GetName(void) {
    return u"Plain C exporter";
}

EXPORT int32_t Plugin_GetType(void) {
    return VLT_PLUGIN_EXPORTER;
}

/* UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD. */
static void putText(FILE* out, const VLT_Char* text) {
    for (const VLT_Char* c = text; *c != 0; ++c) {
        unsigned long code = *c;
        if (code >= 0xD800 && code <= 0xDBFF && c[1] >= 0xDC00 && c[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unsigned long)(c[1] - 0xDC00);
            ++c;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            fputc((int)code, out);
        } else if (code < 0x800) {
            fputc((int)(0xC0 | (code >> 6)), out);
            fputc((int)(0x80 | (code & 0x3F)), out);
        } else if (code < 0x10000) {
            fputc((int)(0xE0 | (code >> 12)), out);
            fputc((int)(0x80 | ((code >> 6) & 0x3F)), out);
            fputc((int)(0x80 | (code & 0x3F)), out);
        } else {
            fputc((int)(0xF0 | (code >> 18)), out);
            fputc((int)(0x80 | ((code >> 12) & 0x3F)), out);
            fputc((int)(0x80 | ((code >> 6) & 0x3F)), out);
            fputc((int)(0x80 | (code & 0x3F)), out);
        }
    }
}

EXPORT int32_t Plugin_ExportBegin(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                                  VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                                  VLT_CountFn CountAttachments, VLT_NextAttachmentFn NextAttachment,
                                  VLT_RequestPasswordFn RequestPassword) {
    (void)RequestPassword;
    const char* path = getenv("VLT_PLAIN_EXPORT_FILE");
    FILE* out = path != NULL ? fopen(path, "wb") : NULL;
    if (out == NULL) {
        return 0;
    }
    fprintf(out, "groups %d\n", (int)CountGroups());
    for (const VLT_Group* g = NextGroup(); g != NULL; g = NextGroup()) {
        putText(out, g->Name);
        fputc('\n', out);
    }
    fprintf(out, "entries %d\n", (int)CountEntries());
    for (const VLT_Entry* e = NextEntry(); e != NULL; e = NextEntry()) {
        putText(out, e->Account);
        fputc('\n', out);
    }
    fprintf(out, "attachments %d\n", (int)CountAttachments());
    for (const VLT_Attachment* a = NextAttachment(); a != NULL; a = NextAttachment()) {
        long sum = 0;
        for (int32_t i = 0; i < a->Size; ++i) {
            sum += a->Data[i];
        }
        putText(out, a->FileName);
        fprintf(out, " %d %ld\n", (int)a->Size, sum);
    }
    fclose(out);
    return 0;
}
