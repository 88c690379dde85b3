#include "ExportFigure.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "BenchDesktop.h"
#include "RecordSource.h"
#include "TextWriter.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"
#include "host/HostCallbacks.h"

namespace vlt::bench {
namespace {

constexpr int kGroups = 1000;

// Entries dealt round the groups, with fields of everyday length.
void fillVault(Engine& engine, int entries) {
    auto& vault = engine.vault;
    for (int g = 0; g < kGroups; ++g) {
        vault.Groups.append(Group{engine.ids.ID_New(), 1 + g % 3, u"Group " + decimal(g), g % 100});
    }
    vault.Entries.reserve(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const Group& group = vault.Groups.at(i % kGroups);
        Entry e;
        e.ID = engine.ids.ID_New();
        e.GroupID = group.ID;
        e.GroupName = group.Name;
        e.Account = u"Account " + decimal(i);
        e.User = u"user" + decimal(i) + u"@mail.example";
        e.Password = u"pw-" + decimal(i * 7919) + u"-Qx!";
        e.URL = u"https://site" + decimal(i) + u".example/login";
        e.Comment = u"Comment " + decimal(i) + u"\r\nsecond line";
        e.CreationDate = 1'600'000'000 + i;
        e.AccessDate = 1'700'000'000 - i;
        e.ModificationDate = 1'650'000'000 + i;
        e.ExpirationDate = 1'800'000'000;
        vault.Entries.append(std::move(e));
    }
}

}  // namespace

void PrintExportFigure(int entries) {
    BenchDesktop desktop;
    Engine engine(desktop);
    fillVault(engine, entries);
    // As the host runs an exporter: one callback session for the run, the writer reading
    // through the callbacks.
    CallbackSession session(engine, nullptr);
    plugin::HostRecords records(VLT_Plugin_CountGroups, VLT_Plugin_NextGroup,
                                VLT_Plugin_CountEntries, VLT_Plugin_NextEntry);
    const plugin::ExportScope scope;
    plugin::ExportOutput out;
    plugin::ExportJob job{records, scope, out, [](int) {}, 0};
    const auto start = std::chrono::steady_clock::now();
    plugin::ExportTXT(job);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("export txt ms (%d entries, %d groups): %.1f\n", entries, kGroups, ms);
}

}  // namespace vlt::bench
