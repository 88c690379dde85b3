// An importer that adds a fixed set of groups and entries, using the host's defaults (-1) where
// it can, some of them under groups that do not exist, and writes down the password it was
// given.
#include <string>

#include "PluginSDK.h"

namespace {
std::u16string password;
}

void Plugin_OnLoad() {
    Plugin_SetName(u"Probe importer");
    Plugin_SetType(VLT_PLUGIN_IMPORTER);
}

VLT_PLUGIN_EXPORT(Plugin_ImportBegin)
int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                           VLT_RequestPasswordFn RequestPassword) {
    password = RequestPassword();
    // Each group is followed by its entries, the way file importers add them.
    AddGroup(u"Mail", 5, 700, 1);
    AddEntry(-1, 700, u"Mail", u"Inbox", u"me", u"secret", u"https://mail.example", u"note", -1, -1,
             -1, -1, -1, -1, -1, -1, -1);
    AddGroup(u"Deep", 250, 701, 9);  // no icon 250; depth 9 below a depth-1 group
    AddEntry(800, 701, u"Deep", u"Red", u"", u"", u"", u"", 1, 0, 0, 1, 255, 10, 20, 30, 40);
    AddGroup(u"Twin", 3, 700, 1);  // 700 again
    AddEntry(800, 700, u"Twin", u"Twin's", u"", u"", u"", u"", 0, 0, 0, 0, 0, 1, 1, 1, 1);
    // Entries under group IDs that no group has: one named after a group, two after
    // none, one with no group name.
    AddEntry(-1, 4242, u"Deep", u"Stray", u"", u"", u"", u"", -1, -1, -1, -1, -1, -1, -1, -1, -1);
    AddEntry(-1, 4243, u"Lost", u"Lost 1", u"", u"", u"", u"", -1, -1, -1, -1, -1, -1, -1, -1, -1);
    AddEntry(-1, 0, u"Lost", u"Lost 2", u"", u"", u"", u"", -1, -1, -1, -1, -1, -1, -1, -1, -1);
    AddEntry(-1, 4244, u"", u"Unnamed", u"", u"", u"", u"", -1, -1, -1, -1, -1, -1, -1, -1, -1);
    return 0;
}

extern "C" __attribute__((visibility("default"))) const char16_t* Test_Password() {
    return password.c_str();
}
