// An exporter that walks every callback and writes down what it saw, one line per record, for
// the test to read back through Test_Report.
#include <string>

#include "PluginSDK.h"

namespace {

std::string report;

void text(const VLT_Char* value) {
    report += '|';
    for (const VLT_Char* c = value; *c != 0; ++c) {
        report += *c < 0x80 ? static_cast<char>(*c) : '?';
    }
}

void number(int32_t value) {
    report += '|' + std::to_string(value);
}

}  // namespace

void Plugin_OnLoad() {
    Plugin_SetName(u"Probe exporter");
    Plugin_SetType(VLT_PLUGIN_EXPORTER);
}

VLT_PLUGIN_EXPORT(Plugin_ExportBegin)
int32_t Plugin_ExportBegin(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                           VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                           VLT_CountFn CountAttachments, VLT_NextAttachmentFn NextAttachment,
                           VLT_RequestPasswordFn RequestPassword) {
    report = "password";
    text(RequestPassword());
    report += "\ngroups";
    number(CountGroups());
    // A first walk is cut short; Count starts the list over.
    NextGroup();
    number(CountGroups());
    while (const VLT_Group* g = NextGroup()) {
        report += "\nG";
        number(g->ID);
        number(g->Depth);
        text(g->Name);
        number(g->Icon);
    }
    report += NextGroup() == nullptr ? "\nend" : "\nmore";
    report += "\nentries";
    number(CountEntries());
    while (const VLT_Entry* e = NextEntry()) {
        report += "\nE";
        number(e->ID);
        number(e->GroupID);
        for (const VLT_Char* t : {e->GroupName, e->Account, e->User, e->Password, e->URL,
                                  e->AttachmentNames, e->Comment}) {
            text(t);
        }
        for (int32_t n : {e->Expires, e->CustomForeground, e->ForegroundColor, e->CustomBackground,
                          e->BackgroundColor, e->CreationDate, e->AccessDate, e->ModificationDate,
                          e->ExpirationDate}) {
            number(n);
        }
    }
    report += "\nattachments";
    number(CountAttachments());
    while (const VLT_Attachment* a = NextAttachment()) {
        report += "\nA";
        number(a->ID);
        number(a->EntryID);
        text(a->FileName);
        number(a->Size);
        number(a->Attributes);
        int32_t sum = 0;
        for (int32_t i = 0; i < a->Size; ++i) {
            sum += a->Data[i];
        }
        number(sum);
        text(a->MD5);
    }
    report += NextAttachment() == nullptr ? "\nend" : "\nmore";
    return 0;
}

extern "C" __attribute__((visibility("default"))) const char* Test_Report() {
    return report.c_str();
}
