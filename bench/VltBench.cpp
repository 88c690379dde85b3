// vlt-bench: how long the vault engine takes on a large vault. Not a test: it prints one line per
// figure so that runs can be compared.
//
//   vlt-bench [--entries N] [--attachments N] [--attachment-mb M] [--write FILE] [--password P]
//   vlt-bench --read FILE --password P
//
// Open and save are printed with the machine's limits for the same bytes (MachineLimits.h), on one
// core and on all cores, and their ratio to the all-core one. The open is timed in a fresh process
// (the program runs itself with --read), so that neither the vault built for saving nor its release
// counts, and the peak memory is the open's own.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchDesktop.h"
#include "ExportFigure.h"
#include "MachineLimits.h"
#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/container/OrderedWork.h"
#include "engine/crypto/KeyTransform.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryRows.h"
#include "engine/view/Find.h"
#include "engine/view/SortEntries.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/RowSelection.h"

namespace vlt::bench {
namespace {

struct Options {
    int entries = 100'000;
    int attachments = 1'000;
    double attachmentMb = 100.0;
    std::string read;
    std::string write;
    std::string password = "bench password";
};

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// "name: 150.2 (limit 41.0 on 1 core, 18.0 on 8 cores: 8.34x)", the ratio to the faster limit:
// on a busy machine the all-core one can come out slower than the one-core one.
void printAgainstLimits(const char* name, double ms, const Limits& limits) {
    const double best = std::min(limits.oneCore.ms, limits.allCores.ms);
    if (limits.oneCore.ok && limits.allCores.ok && best > 0) {
        std::printf("%s: %.1f (limit %.1f on 1 core, %.1f on %u core%s: %.2fx)\n", name, ms,
                    limits.oneCore.ms, limits.allCores.ms, limits.threads,
                    limits.threads == 1 ? "" : "s", ms / best);
    } else {
        std::printf("%s: %.1f (limit not measured)\n", name, ms);
    }
}

// The process's own high-water mark (VmHWM): unlike getrusage's, it does not carry over the
// peak of the process that started this one.
double peakRssMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kib = 0;
    while (status >> key) {
        if (key == "VmHWM:" && status >> kib) {
            return kib / 1024.0;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::u16string text(const char* prefix, int i, std::size_t length) {
    std::u16string out = u16(prefix) + decimal(i);
    while (out.size() < length) {
        out += static_cast<char16_t>(u'a' + (out.size() * 7 + static_cast<std::size_t>(i)) % 26);
    }
    return out;
}

// 50 groups with depths 1..3, entries spread over them with realistic field lengths, and
// attachments of equal size on the first entries.
void fillVault(Engine& engine, const Options& options) {
    auto& vault = engine.vault;
    for (int g = 0; g < 50; ++g) {
        vault.Groups.append(Group{engine.ids.ID_New(), 1 + g % 3, text("Group ", g, 12), g % 100});
    }
    vault.Entries.reserve(static_cast<std::size_t>(options.entries));
    for (int i = 0; i < options.entries; ++i) {
        const Group& group = vault.Groups.at(i % 50);
        Entry e;
        e.ID = engine.ids.ID_New();
        e.GroupID = group.ID;
        e.GroupName = group.Name;
        e.Account = text("Account ", i, 24);
        e.User = text("user", i, 16);
        e.Password = text("pw", i, 20);
        e.URL = u"https://" + text("site", i, 30) + u".example/login";
        e.AttachmentNames = u"No attachments";
        e.Comment = text("Comment ", i, i % 10 == 0 ? 400 : 60);
        e.CreationDate = 1'600'000'000 + i;
        e.AccessDate = 1'700'000'000 - i;
        e.ModificationDate = 1'650'000'000 + (i * 37) % 100'000;
        e.ExpirationDate = 1'800'000'000;
        e.Expires = i % 5 == 0;
        vault.Entries.append(std::move(e));
    }
    const auto each =
        options.attachments > 0
            ? static_cast<std::size_t>(options.attachmentMb * 1048576.0 / options.attachments)
            : 0;
    for (int a = 0; a < options.attachments && options.entries > 0; ++a) {
        Attachment att;
        att.ID = engine.ids.ID_New();
        att.EntryID = vault.Entries.at(a % options.entries).ID;
        att.FileName = text("file", a, 12) + u".bin";
        att.Data = SecureBuffer(each);
        for (std::size_t i = 0; i < each; i += 4096) {
            att.Data[i] = static_cast<std::uint8_t>(i + static_cast<std::size_t>(a));
        }
        att.Size = static_cast<std::int32_t>(each);
        att.MD5 = u"00000000000000000000000000000000";
        vault.Attachments.append(std::move(att));
    }
}

// The entry list's work with every entry in one group: building its rows, sorting (each sort
// rebuilds the list's rows, as the user waits for it), and counting the selection after Select
// All.
void listFigures(Engine& engine, BenchDesktop& desktop) {
    if (engine.vault.Groups.empty()) {
        return;
    }
    const std::int32_t groupId = engine.vault.Groups.at(0).ID;
    for (Entry& entry : engine.vault.Entries) {
        entry.GroupID = groupId;
    }
    auto start = Clock::now();
    EntryRows rows = BuildEntryRows(engine, groupId);
    std::printf("entry list rows ms (%d in one group): %.1f\n", rows.count(), msSince(start));
    desktop.selectedGroupItem = 1;
    start = Clock::now();
    SortEntries(engine, kColAccounts, kSortDescending);
    std::printf("sort by account ms (descending, list rebuilt): %.1f\n", msSince(start));
    start = Clock::now();
    SortEntries(engine, kColModificationDates, kSortAscending);
    std::printf("sort ms (modification dates, list rebuilt): %.1f\n", msSince(start));

    EntryListModel model(engine);
    model.setRows(std::move(rows));
    QItemSelectionModel selection(&model);
    selection.select(
        QItemSelection(model.index(0, 0), model.index(model.rowCount() - 1, kColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    start = Clock::now();
    const int selected = SelectedRowCount(selection.selection());
    std::printf("selection count ms (%d rows after Select All): %.2f\n", selected, msSince(start));

    // A find that misses reads every field of every entry, expired ones included.
    SearchOptions& search = engine.ActiveSearch;
    search = SearchOptions{u"no such text \u00C4", 1, 1, 1, 1, 1, 1, 0, 1};
    engine.SearchPosition = -1;
    start = Clock::now();
    const int found = FindNextEntry(engine, 1);
    std::printf("find ms (miss, %d entries): %.1f%s\n", engine.vault.Entries.count(),
                msSince(start), found != 0 ? " (unexpected hit)" : "");
}

int readOnly(const Options& options) {
    BenchDesktop desktop;
    desktop.password = fromUtf8(options.password);
    Engine engine(desktop);
    auto start = Clock::now();
    if (OpenContainer(engine, fromUtf8(options.read)) != 1) {
        std::fprintf(stderr, "refused: %s\n", toUtf8(desktop.lastMessage).c_str());
        return 1;
    }
    const double openMs = msSince(start);
    const double rssMb = peakRssMb();  // before the limit's own buffer raises it
    // Traced, the reader decrypts every record twice, as the log tells it; otherwise once.
    const char* name = engine.log.tracing() ? "open ms (both passes, logging on)"
                                            : "open ms (one pass, logging off)";
    printAgainstLimits(name, openMs, OpenLimits(options.read, WorkerThreads()));
    const double fileMb = static_cast<double>(std::filesystem::file_size(options.read)) / 1048576.0;
    std::printf("peak RSS MB: %.1f (%.2fx file size)\n", rssMb, rssMb / fileMb);
    std::printf("groups: %d\nentries: %d\nattachments: %d\n", engine.vault.Groups.count(),
                engine.vault.Entries.count(), engine.vault.Attachments.count());
    return 0;
}

// Runs this program again with --read, so that the open starts from a fresh process.
bool openInFreshProcess(const std::string& file, const std::string& password) {
    std::fflush(stdout);
    std::vector<std::string> args = {"vlt-bench", "--read", file, "--password", password};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int run(const Options& options) {
    BenchDesktop desktop;
    desktop.password = fromUtf8(options.password);
    Engine engine(desktop);
    engine.settings.Main.AutoBackupBeforeMod = 0;

    auto start = Clock::now();
    fillVault(engine, options);
    std::printf("build vault ms: %.1f\n", msSince(start));

    // The key transformation is timed on its own: its cost is the point of it.
    {
        TraceLog quiet;
        std::uint8_t iv2[32] = {};
        start = Clock::now();
        auto key = DeriveContainerKey(quiet, SecureText(desktop.password), iv2, 8192, {});
        std::printf("key transformation ms (8192 rounds): %.2f\n", msSince(start));
    }

    const std::string file = options.write.empty()
                                 ? (std::filesystem::temp_directory_path() /
                                    ("vlt-bench-" + std::to_string(::getpid()) + ".vlt"))
                                       .string()
                                 : options.write;
    desktop.file = fromUtf8(file);
    std::filesystem::remove(file);
    start = Clock::now();
    if (SaveContainerAs(engine, u"", kSaveAs) != 1) {
        std::fprintf(stderr, "save failed: %s\n", toUtf8(desktop.lastMessage).c_str());
        return 1;
    }
    const double saveMs = msSince(start);
    printAgainstLimits("save ms", saveMs, SaveLimits(file, WorkerThreads()));
    std::printf("file MB: %.1f\n",
                static_cast<double>(std::filesystem::file_size(file)) / 1048576.0);

    if (!openInFreshProcess(file, options.password)) {
        std::fprintf(stderr, "open failed\n");
        return 1;
    }
    listFigures(engine, desktop);
    PrintExportFigure(options.entries);
    if (options.write.empty()) {
        std::filesystem::remove(file);
    }
    return 0;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        auto value = [&](const char* name) -> const char* {
            if (std::strcmp(argv[i], name) != 0 || i + 1 >= argc) {
                return nullptr;
            }
            return argv[++i];
        };
        if (const char* v = value("--entries")) {
            options.entries = std::atoi(v);
        } else if (const char* v = value("--attachments")) {
            options.attachments = std::atoi(v);
        } else if (const char* v = value("--attachment-mb")) {
            options.attachmentMb = std::atof(v);
        } else if (const char* v = value("--read")) {
            options.read = v;
        } else if (const char* v = value("--write")) {
            options.write = v;
        } else if (const char* v = value("--password")) {
            options.password = v;
        } else {
            std::fprintf(
                stderr,
                "usage: vlt-bench [--entries N] [--attachments N] [--attachment-mb M] "
                "[--write FILE] [--password P]\n       vlt-bench --read FILE --password P\n");
            return false;
        }
    }
    return options.entries >= 0 && options.attachments >= 0;
}

}  // namespace
}  // namespace vlt::bench

int main(int argc, char** argv) {
    vlt::bench::Options options;
    if (!vlt::bench::parse(argc, argv, options)) {
        return 2;
    }
    return options.read.empty() ? vlt::bench::run(options) : vlt::bench::readOnly(options);
}
