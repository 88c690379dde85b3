// SaveContainerAs: settle the password and the name, back up the old file, then encode the vault
// and write it so that the file is replaced only once the new one is complete.

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

#include "common/AtomicFile.h"
#include "engine/container/Container.h"
#include "engine/container/ContainerFlow.h"
#include "engine/container/InterruptedSave.h"
#include "engine/container/RescueCopy.h"
#include "engine/crypto/KeyTransform.h"
#include "engine/text/Text.h"
#include "engine/vault/FreeMemory.h"

namespace vlt {

namespace {

constexpr char16_t kLocked[] = u"The file is locked and could not be created/modified.";
constexpr char16_t kDamaged[] =
    u"The file could not be written completely and may be damaged. The vault is still open: save "
    u"it under another name with 'Save As' before you close it.";
constexpr std::int32_t kMinRounds = 5120;
constexpr int kBackupNames = 100;  // of one file within one second
constexpr std::int32_t kMaxNewRounds = 8192;

// The key material of one save: fresh IVs, a fresh round count and the key they give.
struct SaveKey {
    SecureBuffer iv1;
    SecureBuffer iv2;
    std::int32_t rounds = 0;
    SecureBuffer hash;
    SecureBuffer key;
};

bool haveGroups(Engine& engine) {
    if (!engine.vault.Groups.empty()) {
        return true;
    }
    engine.desktop.Message(u"Information",
                           u"There are no groups/ in the list. Please add at least one group and "
                           u"try again.",
                           MessageIcon::Information);
    engine.log.Trace(u"No groups found, returning", kSaveProc);
    return false;
}

// The kept password when saving over the open container, else (or when none is kept) asked.
SecureText savePassword(Engine& engine, SaveMode mode) {
    SecureText password;
    if (mode == kSaveOver) {
        password = engine.ContainerPassword;
    }
    if (password.empty()) {
        password = engine.desktop.AskPassword(kPasswordSave);
    }
    if (password.empty()) {
        engine.log.Trace(u"No password input, returning", kSaveProc);
    }
    return password;
}

// The automatic copy of the file about to be replaced. False when the user stops the save.
bool backUpBeforeSaving(Engine& engine, const std::u16string& path, SaveMode mode) {
    auto trace = [&](std::u16string_view message) { engine.log.Trace(message, kSaveProc); };
    if (engine.settings.Main.AutoBackupBeforeMod != 1) {
        trace(u"Autobackup disabled");
        return true;
    }
    trace(u"Backing up file");
    if (mode != kSaveOver || regularFileSize(path) <= 0) {
        return true;
    }
    const std::int32_t now = engine.clock();
    // Copied chunk by chunk: a file of any size is backed up without being held in memory. A
    // backup is always a new file: a name that is taken, by a link as well, or that someone
    // takes while the copy is made, is left as it is and the next name tried.
    std::u16string backup;
    int error = EEXIST;
    for (int copy = 1; copy <= kBackupNames && error == EEXIST; ++copy) {
        backup = BackupPath(path, now, copy);
        struct stat taken {};
        if (::lstat(nativePath(backup).c_str(), &taken) != 0) {
            error = copyToNewFile(nativePath(path), nativePath(backup), engine.writer);
        }
    }
    if (error == 0) {
        trace(u"Backup file saved as: " + inQuotes(backup));
        return true;
    }
    trace(u"Couldn't save backup file");
    return engine.desktop.AskYesNo(
        u"Warning",
        u"Automatic backup is enabled, but the program could not make a backup copy of the file "
        u"at the following location:\r\n\r\n" +
            backup +
            u"\r\n\r\nDo you want to continue saving? You can backup the file manually first, "
            u"then press 'Yes'.",
        MessageIcon::Warning);
}

// The file name: the one given, or asked for (".vlt" added when missing); empty when cancelled.
std::u16string savePath(Engine& engine, const std::u16string& requestedPath) {
    std::u16string path = requestedPath;
    if (path.empty()) {
        path = engine.desktop.SaveFileRequester(u"Save container", kContainerPattern, u"");
        if (path.empty()) {
            return path;
        }
        if (!endsWithIgnoreCase(path, u".vlt")) {
            path += u".vlt";
        }
    }
    engine.log.Trace(u"Filename of saved container: " + path, kSaveProc);
    return path;
}

// Saving under a new name asks before an existing file is replaced.
bool mayReplace(Engine& engine, const std::u16string& path, SaveMode mode) {
    auto trace = [&](std::u16string_view message) { engine.log.Trace(message, kSaveProc); };
    std::error_code error;
    if (mode != kSaveAs ||
        !std::filesystem::exists(std::filesystem::path(nativePath(path)), error)) {
        return true;
    }
    trace(u"File already exists, asking whether to replace it");
    if (!engine.desktop.AskYesNo(u"Please confirm",
                                 u"The file already exists. Would you like to replace it?",
                                 MessageIcon::Question)) {
        trace(u"User chose to skip replacing it, returning");
        return false;
    }
    trace(u"User agreed to replace the old file");
    return true;
}

// Everything is written to a temporary file beside the target and renamed over it only when
// complete, so a failure at any step leaves the previous container whole. A file that must be
// rewritten in place gets a rescue copy first, so that a crash leaves one whole copy there.
bool createOutput(Engine& engine, AtomicFile& out) {
    engine.log.Trace(u"Creating output file", kSaveProc);
    KeepRescueCopy(out, RescueDataFolder(engine), engine.writer);
    if (!out.open()) {
        engine.log.Trace(u"Error creating output file, IsFile retn 0", kSaveProc);
        engine.desktop.Message(u"Error", withReason(kLocked, out.errorText()), MessageIcon::Error);
        return false;
    }
    engine.log.Trace(u"Output file created successfully, FileOutH=1", kSaveProc);
    return true;
}

// Fresh vectors and the key, checked by turning it back into the password's hash.
bool prepareKey(Engine& engine, const SecureText& password, SaveKey& made) {
    auto& log = engine.log;
    auto trace = [&](std::u16string_view message) { log.Trace(message, kSaveProc); };
    trace(u"Creating needed vectors");
    made.iv1 = CreateIV(log, engine.numbers, 32);
    made.iv2 = CreateIV(log, engine.numbers, 32);
    made.rounds = CreateRandomNumberL(log, engine.numbers, kMinRounds, kMaxNewRounds);
    trace(u"Number of transformation rounds: " + decimal(made.rounds));

    trace(u"Preparing the key");
    auto pump = [&engine] { engine.desktop.ProcessPendingEvents(); };
    made.key = DeriveContainerKey(log, password, made.iv2.data(), made.rounds, pump, &made.hash);
    SecureBuffer test = DecryptKey256(log, made.key.data(), made.iv2.data(), made.rounds, pump);
    trace(u"Checking if the key is valid");
    if (!(test == made.hash) || made.iv1.size() != 32 || made.iv2.size() != 32) {
        return false;
    }
    trace(u"Valid key generated, continuing");
    trace(u"Freeing the *DecryptionTest memory buffer");
    FreeMemoryEx(log, test);
    return true;
}

// Encodes the vault into `out` and puts the file in place. False when any write failed.
bool writeAndCommit(Engine& engine, const SaveKey& made, AtomicFile& out) {
    ContainerHeader header;
    header.SaveTime = engine.clock();
    header.Rounds = made.rounds;
    std::copy_n(made.iv1.data(), 32, header.IV1.begin());
    std::copy_n(made.iv2.data(), 32, header.IV2.begin());
    FlowObserver observer(engine, kSaveProc, u"Save container",
                          u"Please wait while the container file is saved...");
    return WriteContainer(
               engine.vault, header, made.key,
               [&out](const void* data, std::size_t size) { return out.write(data, size); },
               observer) &&
           out.commit();
}

void settleName(Engine& engine, const std::u16string& path, const SecureText& password) {
    engine.ContainerPath = path;
    engine.ContainerPassword = password;
    showContainerPath(engine, path);
}

int writeContainerFile(Engine& engine, const std::u16string& path, const SecureText& password) {
    auto& log = engine.log;
    auto trace = [&](std::u16string_view message) { log.Trace(message, kSaveProc); };
    AtomicFile out(nativePath(path), engine.writer);
    if (!createOutput(engine, out)) {
        return 0;
    }
    SaveKey made;
    if (!prepareKey(engine, password, made)) {
        out.abandon();
        trace(u"The key derrivation functions seem to have malfunctioned, invalid key. Returning");
        engine.desktop.Message(u"Fatal error",
                               u"The key derrivation functions have malfunctioned and created an "
                               u"invalid key. Save aborted.",
                               MessageIcon::Error);
        return 0;
    }
    const bool written = writeAndCommit(engine, made, out);

    trace(u"Freeing resources");
    FreeMemoryEx(log, made.iv1);
    FreeMemoryEx(log, made.iv2);
    FreeMemoryEx(log, made.hash);
    FreeMemoryEx(log, made.key);
    trace(u"Closing file");
    if (!written) {
        out.abandon();
        trace(u"Error writing output file, returning");
        engine.desktop.Message(
            u"Error", withReason(out.targetDamaged() ? kDamaged : kLocked, out.errorText()),
            MessageIcon::Error);
        return 0;
    }
    trace(u"Returning");
    return 1;
}

int saveContainerAs(Engine& engine, const std::u16string& requestedPath, SaveMode mode) {
    Engine::BusyGuard busy(engine);
    if (!haveGroups(engine)) {
        return 0;
    }
    const SecureText password = savePassword(engine, mode);
    if (password.empty() || !backUpBeforeSaving(engine, requestedPath, mode)) {
        return 0;
    }
    const std::u16string path = savePath(engine, requestedPath);
    if (path.empty() || !mayReplace(engine, path, mode)) {
        return 0;
    }
    // The name is settled once the file is written: a failed write leaves the window, its error
    // message and the next save naming the file that still holds the vault.
    if (writeContainerFile(engine, path, password) != 1) {
        return 0;
    }
    settleName(engine, path, password);
    return 1;
}

// A save that ran out of memory (or met any other exception) failed like any other: the vault
// stays open and the temporary file goes.
int saveFailed(Engine& engine, const std::string& reason) {
    try {
        engine.log.Trace(u"Error writing output file, returning", kSaveProc);
        engine.desktop.Message(u"Error", withReason(kLocked, reason), MessageIcon::Error);
    } catch (...) {
        // Nothing is left to report it with; the save has failed all the same.
    }
    return 0;
}

}  // namespace

int SaveContainerAs(Engine& engine, const std::u16string& path, SaveMode mode) {
    try {
        return saveContainerAs(engine, path, mode);
    } catch (const std::bad_alloc&) {
        return saveFailed(engine, std::generic_category().message(ENOMEM));
    } catch (const std::exception& error) {
        return saveFailed(engine, error.what());
    }
}

}  // namespace vlt
