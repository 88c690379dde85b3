#include "engine/container/Container.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/Version.h"
#include "engine/container/AtomicFile.h"
#include "engine/container/ByteSource.h"
#include "engine/container/ContainerCodec.h"
#include "engine/container/InterruptedSave.h"
#include "engine/container/SystemMemory.h"
#include "engine/crypto/KeyTransform.h"
#include "engine/text/Text.h"
#include "engine/vault/FreeMemory.h"
#include "engine/vault/UniqueIds.h"
#include "engine/view/EntryList.h"
#include "engine/view/GroupTree.h"

namespace vlt {

namespace {

constexpr std::string_view kOpenProc = "OpenContainer";
constexpr std::string_view kCloseProc = "CloseContainer";
constexpr std::string_view kSaveProc = "SaveContainerAs";
constexpr std::string_view kSaveFrontProc = "SaveContainer";
constexpr char16_t kPattern[] = u"VLT file (*.vlt)|*.vlt";
constexpr char16_t kNotValid[] = u"This file is not a valid VLT 4.0 container.";
constexpr char16_t kUnreadable[] = u"The file is locked by another process and could not be read.";
constexpr char16_t kOutOfMemory[] = u"Error allocating memory buffers.";
constexpr char16_t kLocked[] = u"The file is locked and could not be created/modified.";
constexpr char16_t kDamaged[] =
    u"The file could not be written completely and may be damaged. The vault is still open: save "
    u"it under another name with 'Save As' before you close it.";
constexpr std::int32_t kMinRounds = 5120;
constexpr std::int32_t kMaxNewRounds = 8192;
// Frames between two event pumps when the progress value does not change.
constexpr int kPumpEvery = 256;

std::string nativePath(const std::u16string& path) {
    return toUtf8(path);
}

// Size of a regular file, -1 when it is missing or not a regular file.
std::int64_t regularFileSize(const std::u16string& path) {
    std::error_code error;
    auto native = std::filesystem::path(nativePath(path));
    if (!std::filesystem::is_regular_file(native, error)) {
        return -1;
    }
    auto size = std::filesystem::file_size(native, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

// Each byte taken as one character, as the signature traces show them.
std::u16string byteText(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    for (auto b : bytes) {
        out += static_cast<char16_t>(b);
    }
    return out;
}

std::u16string inQuotes(const std::u16string& text) {
    return u"\"" + text + u"\"";
}

// Sends the codec's step texts to the trace log, its buffers through FreeMemoryEx and its record
// counts to the progress window.
class FlowObserver : public RecordObserver {
  public:
    FlowObserver(Engine& engine, std::string_view procedure, std::u16string title,
                 std::u16string text)
        : engine_(engine),
          procedure_(procedure),
          title_(std::move(title)),
          text_(std::move(text)),
          tracing_(engine.log.tracing()) {}
    ~FlowObserver() override {
        if (open_) {  // a run cut short by an exception still closes its window
            engine_.desktop.Progress_Close();
        }
    }
    FlowObserver(const FlowObserver&) = delete;
    FlowObserver& operator=(const FlowObserver&) = delete;

    bool tracing() const override { return tracing_; }
    void trace(std::u16string_view message) override { engine_.log.Trace(message, procedure_); }
    void release(SecureBuffer& buffer) override { FreeMemoryEx(engine_.log, buffer); }
    void begin(int) override {
        engine_.desktop.Progress_Open(title_, text_);
        open_ = true;
    }
    void recordDone(int done, int total) override {
        int value = static_cast<int>(std::lround(std::abs(100.0 * done / total)));
        if (value != lastValue_ || done % kPumpEvery == 0) {
            lastValue_ = value;
            engine_.desktop.Progress_Update(value);
        }
    }
    void end() override {
        engine_.desktop.Progress_Update(0);
        engine_.desktop.Progress_Close();
        open_ = false;
    }
    void idle() override { engine_.desktop.ProcessPendingEvents(); }

  private:
    Engine& engine_;
    std::string_view procedure_;
    std::u16string title_;
    std::u16string text_;
    bool tracing_;
    bool open_ = false;
    int lastValue_ = -1;
};

void refuse(Engine& engine, const char16_t* text) {
    engine.desktop.Message(u"Error", text, MessageIcon::Error);
}

// A failure message with the system's reason on a second line, so the user knows what to fix.
std::u16string withReason(std::u16string_view text, const std::string& reason) {
    std::u16string message(text);
    if (!reason.empty()) {
        message += u"\r\n" + fromUtf8(reason);
    }
    return message;
}

void showContainerName(Engine& engine, const std::u16string& path) {
    engine.desktop.SetContainerLabel(fileNamePart(path));
    engine.desktop.SetWindowTitle(ContainerTitle(path));
}

}  // namespace

std::u16string NoContainerTitle() {
    return std::u16string(u"Orvelline Vaultwick v") + kProgramVersion + u" -  no container open";
}

std::u16string ContainerTitle(const std::u16string& path) {
    return std::u16string(u"Orvelline Vaultwick v") + kProgramVersion + u" - " + fileNamePart(path);
}

std::u16string BackupPath(const std::u16string& path, std::int32_t now, int copy) {
    const std::u16string extension = extensionPart(path);
    const std::u16string fileName = fileNamePart(path);
    // Every "." + extension of the name is dropped in one left-to-right pass: what the removals
    // join together stays.
    const std::u16string dotted = u"." + extension;
    std::u16string name;
    std::size_t from = 0;
    for (auto at = fileName.find(dotted); at != std::u16string::npos;
         at = fileName.find(dotted, from)) {
        name.append(fileName, from, at - from);
        from = at + dotted.size();
    }
    name.append(fileName, from);
    std::u16string backup =
        folderPart(path) + name + u"_" + FormatDate(u"%mm%dd%yy_%hh%ii%ss_backup", now);
    if (copy > 1) {
        backup += u"_" + decimal(copy);
    }
    // A name without extension gets none, rather than a trailing dot.
    return extension.empty() ? backup : backup + u"." + extension;
}

int CloseContainer(Engine& engine, CloseMode mode) {
    auto& desktop = engine.desktop;
    engine.log.Trace(u"CloseContainer called", kCloseProc);
    if (mode != kCloseWithoutAsking &&
        !desktop.AskYesNo(u"Please confirm",
                          u"Would you like to create a new container? Any unsaved entries will be "
                          u"lost!",
                          MessageIcon::Question)) {
        return 0;
    }
    engine.log.Trace(u"Clearing data", kCloseProc);
    engine.ids.ID_Clear();
    engine.vault.clear();
    desktop.ClearViews();
    engine.ContainerPath.clear();
    engine.ContainerPassword.clear();
    engine.settings.Search.SearchText.clear();
    engine.SearchPosition = -1;
    desktop.SetStatusField(0, u"0 groups / 0 entries");
    desktop.SetStatusField(1, u"0 of 0 selected");
    desktop.SetStatusField(2, u"No container open");
    desktop.SetContainerLabel(u"New container");
    desktop.SetWindowTitle(NoContainerTitle());
    engine.log.Trace(u"Returning", kCloseProc);
    return 1;
}

namespace {

int readContainer(Engine& engine, const std::u16string& path, const std::u16string& source);

// The steps of OpenContainer. Any exception that escapes is turned into a refusal by its caller;
// until the records are all read, checked and given their IDs, the open vault is not touched.
int openContainer(Engine& engine, const std::u16string& requestedPath) {
    auto& desktop = engine.desktop;
    auto trace = [&](std::u16string_view message) { engine.log.Trace(message, kOpenProc); };

    trace(u"Asking whether to open the file");
    if (!engine.vault.empty()) {
        if (!desktop.AskYesNo(u"Warning",
                              u"You already seem to have some items/groups in the list. In order "
                              u"to open a new container, the old one will be closed and any "
                              u"unsaved changes will be lost. Would you like to continue?",
                              MessageIcon::Question)) {
            trace(u"User doesn't want to continue, returning");
            return 0;
        }
        trace(u"User wants to continue to load the file");
    }

    std::u16string path = requestedPath;
    if (path.empty()) {
        path = desktop.OpenFileRequester(u"Open container", kPattern);
        if (path.empty()) {
            trace(u"User cancelled loading the file, returning");
            return 0;
        }
    }
    trace(u"Continuing to load from: " + inQuotes(path));
    return readContainer(engine, path, path);
}

// Reads the container `path` from the file `source`: the container itself, or the rescue copy an
// interrupted save left of it. Either way the vault opened is the one of `path`.
int readContainer(Engine& engine, const std::u16string& path, const std::u16string& source) {
    auto& desktop = engine.desktop;
    auto trace = [&](std::u16string_view message) { engine.log.Trace(message, kOpenProc); };
    // A file that fails its checks may be what an interrupted save left: the whole copy that save
    // kept is offered before the refusal.
    auto refuseDamaged = [&](std::u16string_view caption, const char16_t* text, MessageIcon icon) {
        if (source == path) {
            if (const std::u16string copy = OfferRescueCopy(engine, path); !copy.empty()) {
                return readContainer(engine, path, copy);
            }
        }
        desktop.Message(caption, text, icon);
        return 0;
    };

    trace(u"Checking the input file");
    const std::int64_t size = regularFileSize(source);
    if (size < 0) {
        trace(u"FSize() = -1, returning");
        refuse(engine, u"The file could not be found/accessed.");
        return 0;
    }
    if (size == 0) {
        trace(u"LOF() = 0 bytes, returning");
        return refuseDamaged(u"Error", u"The file you have chosen is empty.", MessageIcon::Error);
    }
    if (size < static_cast<std::int64_t>(kMinimumContainerSize)) {
        trace(u"LOF() < 94 bytes, returning");
        return refuseDamaged(u"Error", kNotValid, MessageIcon::Error);
    }

    // The file is read a stretch at a time where it is needed, never loaded whole: a file larger
    // than memory can be refused like any other.
    trace(u"Reading the file");
    FileSource file;
    std::uint8_t head[kHeaderSize];
    std::uint8_t tail[kTrailerSize];
    if (!file.open(nativePath(source)) || file.size() < kMinimumContainerSize ||
        !file.readAt(0, head, sizeof head) ||
        !file.readAt(file.size() - kTrailerSize, tail, sizeof tail)) {
        trace(u"IsFile() = 0, returning");
        refuse(engine, kUnreadable);
        return 0;
    }
    trace(u"File successfully open, FileInH = 1");

    trace(u"Allocate the needed buffers");
    SecureBuffer iv1(32);
    SecureBuffer iv2(32);
    auto releaseIvs = [&] {
        FreeMemoryEx(engine.log, iv1);
        FreeMemoryEx(engine.log, iv2);
    };

    trace(u"Check file signatures");
    const std::u16string start = byteText(std::span(head).first(4));
    const std::u16string end = byteText(std::span(tail).last(6));
    trace(u"SigStart = " + start + u" | SigEnd = " + end);
    if (start != u"VLT4") {
        trace(u"SigStart not valid, closing file, freeing resources, returning");
        releaseIvs();
        return refuseDamaged(u"Error", u"This is not a valid VLT container file.",
                             MessageIcon::Error);
    }
    if (end != u"VLTEOF") {
        trace(u"SigEnd not valid, closing file, freeing resources, returning");
        releaseIvs();
        return refuseDamaged(u"Error",
                             u"This is a valid VLT container file, but it seems to be truncated, "
                             u"the ending signature is missing.",
                             MessageIcon::Error);
    }

    trace(u"Reading CRC32 checksum");
    const std::uint32_t stored = StoredChecksum(tail);
    trace(u"Data CRC32: " + hexText(stored));

    // Counts, rounds and record frames need no key: a damaged or hostile file is refused before
    // the password is asked, and can neither stall the key work nor send the reader past its end.
    const ContainerHeader header = DecodeHeader(head);
    std::vector<RecordFrame> frames;
    if (!CheckFrames(file, header, frames)) {
        trace(u"Invalid header or record sizes, returning");
        releaseIvs();
        return refuseDamaged(u"Error", kNotValid, MessageIcon::Error);
    }
    // The records need at least their own size in memory, beside the vault still open.
    std::uint64_t recordBytes = 0;
    for (const RecordFrame& frame : frames) {
        recordBytes += frame.size;
    }
    if (recordBytes > AvailableMemory()) {
        trace(u"Error allocating memory, returning");
        releaseIvs();
        refuse(engine, kOutOfMemory);
        return 0;
    }

    trace(u"Asking user for the password");
    SecureText password = desktop.AskPassword(kPasswordOpen);
    if (password.empty()) {
        trace(u"User cancelled opening the file, freeing resources, returning");
        engine.ContainerPassword.clear();
        releaseIvs();
        return 0;
    }

    trace(u"Reading header");
    trace(u"File save date: " + FormatDate(u"%mm/%dd/%yyyy, %hh:%ii:%ss", header.SaveTime));
    trace(u"Total groups: " + decimal(header.GroupCount));
    trace(u"Total entries: " + decimal(header.EntryCount));
    trace(u"Total attachments: " + decimal(header.AttachmentCount));
    trace(u"Total transformation rounds: " + decimal(header.Rounds));
    trace(u"Reading IVs");
    std::copy_n(header.IV1.data(), 32, iv1.data());
    std::copy_n(header.IV2.data(), 32, iv2.data());
    trace(u"Header successfully read");

    trace(u"Preparing the key");
    SecureBuffer hash;
    SecureBuffer key = DeriveContainerKey(
        engine.log, password, iv2.data(), header.Rounds,
        [&desktop] { desktop.ProcessPendingEvents(); }, &hash);
    trace(u"Obtained transformation key");

    // The records are read into a vault of their own: the open one is replaced only once the
    // checksum proved the password right and the whole file has been read. Traced, the records
    // are decrypted twice, as the log tells it (a checksum pass, then a reading pass); otherwise
    // once, checksummed and decoded in the same pass.
    FlowObserver observer(engine, kOpenProc, u"Open container",
                          u"Please wait while the container file is opened...");
    Vault loaded;
    trace(u"Checking is password is correct");
    RecordsRead read =
        ReadRecords(file, frames, header, key, observer.tracing() ? nullptr : &loaded, observer);
    if (read.status == ReadStatus::kUnreadable) {
        trace(u"Error reading the file, returning");
        releaseIvs();
        refuse(engine, kUnreadable);
        return 0;
    }
    trace(u"Done calculating, checking hashes");
    trace(u"Calculated checksum: " + hexText(read.checksum));
    trace(u"Data checksum: " + hexText(stored));
    if (read.checksum != stored) {
        trace(u"Checksums differ, password incorrect, returning");
        releaseIvs();
        const int opened = refuseDamaged(u"Open error",
                                         u"The supplied password is wrong or the database has "
                                         u"been modified outside VLT. Please try again.",
                                         MessageIcon::Warning);
        if (opened == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return opened;
    }
    trace(u"Checksums match, password correct");

    trace(u"Calculating total progress, opening progress window");
    if (observer.tracing()) {
        read = ReadRecords(file, frames, header, key, &loaded, observer);
    }
    if (read.status != ReadStatus::kRead) {
        const bool unreadable = read.status == ReadStatus::kUnreadable;
        trace(unreadable ? u"Error reading the file, returning" : u"Invalid record, returning");
        releaseIvs();
        if (unreadable) {
            refuse(engine, kUnreadable);
            return 0;
        }
        return refuseDamaged(u"Error", kNotValid, MessageIcon::Error);
    }
    IdRegistry loadedIds(engine.numbers);
    MakeIdsUnique(loaded, loadedIds);

    trace(u"Cleaning old data");
    CloseContainer(engine, kCloseWithoutAsking);
    engine.vault = std::move(loaded);
    NormaliseDepths(engine.vault.Groups);
    engine.ids.replaceWith(loadedIds);
    showContainerName(engine, path);
    engine.ContainerPassword = password;

    trace(u"Refreshing gadgets");
    desktop.RebuildGroupTree();
    Entry_RefreshList(engine);
    engine.ContainerPath = path;
    trace(u"Refreshing statusbar");
    desktop.SetStatusField(0, decimal(engine.vault.Groups.count()) + u" groups / " +
                                  decimal(engine.vault.Entries.count()) + u" entries");
    desktop.SetStatusField(2, u"Container: " + path);

    trace(u"Freeing resources");
    releaseIvs();
    FreeMemoryEx(engine.log, hash);
    FreeMemoryEx(engine.log, key);
    trace(u"Closing the file");
    trace(u"Adding file to recent list if necessary");
    engine.Recent.AddRecentFile(path, engine.settings.Main.Recents, engine.writer);
    trace(u"Refreshing menu");
    desktop.CreateMainMenu();
    trace(u"Returning");
    return 1;
}

}  // namespace

int OpenContainer(Engine& engine, const std::u16string& requestedPath) {
    Engine::BusyGuard busy(engine);
    // The last line of defence: whatever goes wrong while reading, the program and the open
    // vault stay as they were.
    const char16_t* step = nullptr;
    const char16_t* message = nullptr;
    try {
        return openContainer(engine, requestedPath);
    } catch (const std::bad_alloc&) {
        step = u"Error allocating memory, returning";
        message = kOutOfMemory;
    } catch (const std::exception&) {
        step = u"Invalid record, returning";
        message = kNotValid;
    }
    try {
        engine.log.Trace(step, kOpenProc);
        refuse(engine, message);
    } catch (const std::exception&) {
        // Memory may still be short: the refusal goes unreported rather than ending the program.
    }
    return 0;
}

int SaveContainer(Engine& engine) {
    int result = 0;
    if (trimBlanks(engine.ContainerPath).empty()) {
        engine.log.Trace(u"Calling SaveContainerAs() with 0 as param", kSaveFrontProc);
        result = SaveContainerAs(engine, u"", kSaveAs);
    } else {
        engine.log.Trace(u"Calling SaveContainerAs() with 1 as param", kSaveFrontProc);
        result = SaveContainerAs(engine, engine.ContainerPath, kSaveOver);
    }
    engine.log.Trace(u"Done", kSaveFrontProc);
    engine.log.Trace(u"Returning", kSaveFrontProc);
    return result;
}

namespace {

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
    std::u16string backup = BackupPath(path, now);
    std::error_code error;
    for (int copy = 2; std::filesystem::exists(nativePath(backup), error); ++copy) {
        backup = BackupPath(path, now, copy);
    }
    // Copied chunk by chunk: a file of any size is backed up without being held in memory.
    if (copyFileAtomically(nativePath(path), nativePath(backup), engine.writer)) {
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

int saveContainerAs(Engine& engine, const std::u16string& requestedPath, SaveMode mode) {
    Engine::BusyGuard busy(engine);
    auto& desktop = engine.desktop;
    auto& log = engine.log;
    auto trace = [&](std::u16string_view message) { log.Trace(message, kSaveProc); };

    if (engine.vault.Groups.empty()) {
        desktop.Message(u"Information",
                        u"There are no groups/ in the list. Please add at least one group and try "
                        u"again.",
                        MessageIcon::Information);
        trace(u"No groups found, returning");
        return 0;
    }

    SecureText password;
    if (mode == kSaveOver) {
        password = engine.ContainerPassword;
    }
    if (password.empty()) {
        password = desktop.AskPassword(kPasswordSave);
    }
    if (password.empty()) {
        trace(u"No password input, returning");
        return 0;
    }

    std::u16string path = requestedPath;
    if (!backUpBeforeSaving(engine, path, mode)) {
        return 0;
    }

    if (path.empty()) {
        path = desktop.SaveFileRequester(u"Save container", kPattern, u"");
        if (path.empty()) {
            return 0;
        }
        if (!endsWithIgnoreCase(path, u".vlt")) {
            path += u".vlt";
        }
    }
    trace(u"Filename of saved container: " + path);

    std::error_code error;
    if (mode == kSaveAs &&
        std::filesystem::exists(std::filesystem::path(nativePath(path)), error)) {
        trace(u"File already exists, asking whether to replace it");
        if (!desktop.AskYesNo(u"Please confirm",
                              u"The file already exists. Would you like to replace it?",
                              MessageIcon::Question)) {
            trace(u"User chose to skip replacing it, returning");
            return 0;
        }
        trace(u"User agreed to replace the old file");
    }

    engine.ContainerPath = path;
    engine.ContainerPassword = password;
    desktop.SetStatusField(2, u"Container: " + path);
    showContainerName(engine, path);

    // Everything is written to a temporary file beside the target and renamed over it only when
    // complete, so a failure at any step leaves the previous container whole. A file that must be
    // rewritten in place gets a rescue copy first, so that a crash leaves one whole copy there.
    trace(u"Creating output file");
    AtomicFile out(nativePath(path), engine.writer);
    out.keepRescueCopy(RescueDataFolder(engine));
    if (!out.open()) {
        trace(u"Error creating output file, IsFile retn 0");
        desktop.Message(u"Error", withReason(kLocked, out.errorText()), MessageIcon::Error);
        return 0;
    }
    trace(u"Output file created successfully, FileOutH=1");

    trace(u"Creating needed vectors");
    SecureBuffer iv1 = CreateIV(log, engine.numbers, 32);
    SecureBuffer iv2 = CreateIV(log, engine.numbers, 32);
    const std::int32_t rounds = CreateRandomNumberL(log, engine.numbers, kMinRounds, kMaxNewRounds);
    trace(u"Number of transformation rounds: " + decimal(rounds));

    trace(u"Preparing the key");
    auto pump = [&desktop] { desktop.ProcessPendingEvents(); };
    SecureBuffer hash;
    SecureBuffer key = DeriveContainerKey(log, password, iv2.data(), rounds, pump, &hash);
    SecureBuffer test = DecryptKey256(log, key.data(), iv2.data(), rounds, pump);
    trace(u"Checking if the key is valid");
    if (!(test == hash) || iv1.size() != 32 || iv2.size() != 32) {
        out.abandon();
        trace(u"The key derrivation functions seem to have malfunctioned, invalid key. Returning");
        desktop.Message(u"Fatal error",
                        u"The key derrivation functions have malfunctioned and created an invalid "
                        u"key. Save aborted.",
                        MessageIcon::Error);
        return 0;
    }
    trace(u"Valid key generated, continuing");
    trace(u"Freeing the *DecryptionTest memory buffer");
    FreeMemoryEx(log, test);

    ContainerHeader header;
    header.SaveTime = engine.clock();
    header.Rounds = rounds;
    std::copy_n(iv1.data(), 32, header.IV1.begin());
    std::copy_n(iv2.data(), 32, header.IV2.begin());
    FlowObserver observer(engine, kSaveProc, u"Save container",
                          u"Please wait while the container file is saved...");
    const bool written =
        WriteContainer(
            engine.vault, header, key,
            [&out](const void* data, std::size_t size) { return out.write(data, size); },
            observer) &&
        out.commit();

    trace(u"Freeing resources");
    FreeMemoryEx(log, iv1);
    FreeMemoryEx(log, iv2);
    FreeMemoryEx(log, hash);
    FreeMemoryEx(log, key);
    trace(u"Closing file");
    if (!written) {
        out.abandon();
        trace(u"Error writing output file, returning");
        desktop.Message(u"Error",
                        withReason(out.targetDamaged() ? kDamaged : kLocked, out.errorText()),
                        MessageIcon::Error);
        return 0;
    }
    trace(u"Returning");
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
