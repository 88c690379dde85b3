// OpenContainer: check the file, read its header, derive the key, read the records, and only
// then install the vault they hold in place of the open one.

#include <cerrno>
#include <chrono>
#include <new>
#include <span>
#include <thread>
#include <vector>

#include "common/Utf.h"
#include "engine/container/ByteSource.h"
#include "engine/container/Container.h"
#include "engine/container/ContainerFlow.h"
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

constexpr char16_t kNotValid[] = u"This file is not a valid VLT 4.0 container.";
constexpr char16_t kUnreadable[] = u"The file is locked by another process and could not be read.";
constexpr char16_t kOutOfMemory[] = u"Error allocating memory buffers.";

// Each byte taken as one character, as the signature traces show them.
std::u16string byteText(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    for (auto b : bytes) {
        out += static_cast<char16_t>(b);
    }
    return out;
}

constexpr char16_t kIncomplete[] =
    u"This file was left incomplete by an interrupted save and cannot be opened.";
// What reading a rescue copy returns when the user declined the copy offered.
constexpr int kCopyDeclined = -1;

struct Reading;
int readContainer(Reading& r);

// One reading of the container `path` from the file `source`: the container itself, or the
// rescue copy an interrupted save left of it. Either way the vault opened is the one of `path`.
// Each stage returns false when it refused the file, `result` then holding what OpenContainer
// returns.
struct Reading {
    Reading(Engine& engine, const std::u16string& path, const std::u16string& source)
        : engine(engine), path(path), source(source) {}

    Engine& engine;
    const std::u16string& path;
    const std::u16string& source;
    // Set when the copy is tried with the password its file just refused: the password is not
    // asked again, and the copy's refusals stay silent, the file's own refusal following them.
    const SecureText* typed = nullptr;
    // The status of the file itself, when this reading is of its copy.
    const struct stat* original = nullptr;
    int result = 0;
    // Opened once: every check is made on the descriptor that is then read.
    FileSource file;
    std::uint8_t head[kHeaderSize] = {};
    std::uint8_t tail[kTrailerSize] = {};
    SecureBuffer iv1;
    SecureBuffer iv2;
    std::uint32_t stored = 0;
    ContainerHeader header;
    std::vector<RecordFrame> frames;
    SecureText password;
    SecureBuffer hash;
    SecureBuffer key;
    Vault loaded;
    RecordsRead read;

    void trace(std::u16string_view message) { engine.log.Trace(message, kOpenProc); }
    void releaseIvs() {
        FreeMemoryEx(engine.log, iv1);
        FreeMemoryEx(engine.log, iv2);
    }
    bool stop(int value) {
        result = value;
        return false;
    }
    bool refuse(const char16_t* text) {
        if (typed == nullptr) {
            vlt::refuse(engine, text);
        }
        return stop(0);
    }
    // Reads `copy` in place of the file, with `password` when given (else asking for one).
    int readCopy(FoundCopy& copy, const SecureText* password) {
        const std::u16string copyPath = fromUtf8(copy.path);
        Reading reading(engine, path, copyPath);
        reading.typed = password;
        reading.original = &file.info();
        reading.file = std::move(copy.file);
        return readContainer(reading);
    }
    // A file that fails its checks may be what an interrupted save left: the whole copy that
    // save kept is offered before the refusal.
    bool refuseDamaged(std::u16string_view caption, const char16_t* text, MessageIcon icon) {
        if (original == nullptr) {
            FoundCopy copy = RescueCopyOf(engine, path);
            if (!copy.path.empty() && OfferRescueCopy(engine, fromUtf8(copy.path), copy.file.info(),
                                                      file.info(), CopyOffer::DamagedFile)) {
                return stop(readCopy(copy, nullptr));
            }
        }
        if (typed == nullptr) {
            engine.desktop.Message(caption, text, icon);
        }
        return stop(0);
    }
    bool refuseInvalid() { return refuseDamaged(u"Error", kNotValid, MessageIcon::Error); }
};

bool checkInputFile(Reading& r) {
    r.trace(u"Checking the input file");
    // Never blocks: a FIFO or a device in the file's place is as missing as no file at all.
    if (!r.file.isOpen() && !r.file.open(nativePath(r.source))) {
        if (errno == EACCES || errno == EPERM) {
            r.trace(u"IsFile() = 0, returning");
            return r.refuse(kUnreadable);
        }
        r.trace(u"FSize() = -1, returning");
        return r.refuse(u"The file could not be found/accessed.");
    }
    const std::uint64_t size = r.file.size();
    if (size == 0) {
        r.trace(u"LOF() = 0 bytes, returning");
        return r.refuseDamaged(u"Error", u"The file you have chosen is empty.", MessageIcon::Error);
    }
    if (size < kMinimumContainerSize) {
        r.trace(u"LOF() < 94 bytes, returning");
        return r.refuseInvalid();
    }
    return true;
}

// The file is read a stretch at a time where it is needed, never loaded whole: a file larger
// than memory can be refused like any other.
bool openFile(Reading& r) {
    r.trace(u"Reading the file");
    if (!r.file.readAt(0, r.head, sizeof r.head) ||
        !r.file.readAt(r.file.size() - kTrailerSize, r.tail, sizeof r.tail)) {
        r.trace(u"IsFile() = 0, returning");
        return r.refuse(kUnreadable);
    }
    r.trace(u"File successfully open, FileInH = 1");
    r.trace(u"Allocate the needed buffers");
    r.iv1 = SecureBuffer(32);
    r.iv2 = SecureBuffer(32);
    return true;
}

bool checkSignatures(Reading& r) {
    r.trace(u"Check file signatures");
    const std::u16string start = byteText(std::span(r.head).first(4));
    const std::u16string end = byteText(std::span(r.tail).last(6));
    r.trace(u"SigStart = " + start + u" | SigEnd = " + end);
    if (start != u"VLT4") {
        r.trace(u"SigStart not valid, closing file, freeing resources, returning");
        r.releaseIvs();
        return r.refuseDamaged(u"Error", u"This is not a valid VLT container file.",
                               MessageIcon::Error);
    }
    if (end != u"VLTEOF") {
        r.trace(u"SigEnd not valid, closing file, freeing resources, returning");
        r.releaseIvs();
        return r.refuseDamaged(u"Error",
                               u"This is a valid VLT container file, but it seems to be truncated, "
                               u"the ending signature is missing.",
                               MessageIcon::Error);
    }
    r.trace(u"Reading CRC32 checksum");
    r.stored = StoredChecksum(r.tail);
    r.trace(u"Data CRC32: " + hexText(r.stored));
    return true;
}

// Counts, rounds and record frames need no key: a damaged or hostile file is refused before the
// password is asked, and can neither stall the key work nor send the reader past its end.
bool checkRecordFrames(Reading& r) {
    r.header = DecodeHeader(r.head);
    if (!CheckFrames(r.file, r.header, r.frames)) {
        r.trace(u"Invalid header or record sizes, returning");
        r.releaseIvs();
        return r.refuseInvalid();
    }
    // The records need at least their own size in memory, beside the vault still open.
    std::uint64_t recordBytes = 0;
    for (const RecordFrame& frame : r.frames) {
        recordBytes += frame.size;
    }
    if (recordBytes > AvailableMemory()) {
        r.trace(u"Error allocating memory, returning");
        r.releaseIvs();
        return r.refuse(kOutOfMemory);
    }
    return true;
}

bool askPassword(Reading& r) {
    if (r.typed != nullptr) {
        r.password = *r.typed;
        return true;
    }
    r.trace(u"Asking user for the password");
    r.password = r.engine.desktop.AskPassword(kPasswordOpen);
    if (r.password.empty()) {
        r.trace(u"User cancelled opening the file, freeing resources, returning");
        r.engine.ContainerPassword.clear();
        r.releaseIvs();
        return r.stop(0);
    }
    return true;
}

void readHeader(Reading& r) {
    const ContainerHeader& header = r.header;
    r.trace(u"Reading header");
    r.trace(u"File save date: " + FormatDate(u"%mm/%dd/%yyyy, %hh:%ii:%ss", header.SaveTime));
    r.trace(u"Total groups: " + decimal(header.GroupCount));
    r.trace(u"Total entries: " + decimal(header.EntryCount));
    r.trace(u"Total attachments: " + decimal(header.AttachmentCount));
    r.trace(u"Total transformation rounds: " + decimal(header.Rounds));
    r.trace(u"Reading IVs");
    std::copy_n(header.IV1.data(), 32, r.iv1.data());
    std::copy_n(header.IV2.data(), 32, r.iv2.data());
    r.trace(u"Header successfully read");
}

void deriveKey(Reading& r) {
    r.trace(u"Preparing the key");
    auto& desktop = r.engine.desktop;
    r.key = DeriveContainerKey(
        r.engine.log, r.password, r.iv2.data(), r.header.Rounds,
        [&desktop] { desktop.ProcessPendingEvents(); }, &r.hash);
    r.trace(u"Obtained transformation key");
}

// The checksum is the password check. Traced, the records are decrypted twice, as the log tells
// it (this checksum pass, then readRecords); otherwise once, checksummed and decoded here.
bool checkPassword(Reading& r, FlowObserver& observer) {
    r.trace(u"Checking is password is correct");
    r.read = ReadRecords(r.file, r.frames, r.header, r.key,
                         observer.tracing() ? nullptr : &r.loaded, observer);
    if (r.read.status == ReadStatus::kUnreadable) {
        r.trace(u"Error reading the file, returning");
        r.releaseIvs();
        return r.refuse(kUnreadable);
    }
    r.trace(u"Done calculating, checking hashes");
    r.trace(u"Calculated checksum: " + hexText(r.read.checksum));
    r.trace(u"Data checksum: " + hexText(r.stored));
    if (r.read.checksum != r.stored) {
        r.trace(u"Checksums differ, password incorrect, returning");
        r.releaseIvs();
        if (r.typed != nullptr) {
            return r.stop(0);
        }
        // A wrong password is no damage. But a rewrite cut short leaves the new header before
        // the old records, which fails only this check: when the copy that rewrite made opens
        // with this password, the file is incomplete, not locked with another one. A copy older
        // than such a rewrite may hold a vault long replaced, and is never offered here.
        FoundCopy copy;
        if (r.original == nullptr) {
            copy = RescueCopyOf(r.engine, r.path);
        }
        if (!copy.path.empty() && FitsInterruptedRewrite(copy.file.info(), r.file.info())) {
            const int copied = r.readCopy(copy, &r.password);
            if (copied == 1) {
                return r.stop(1);
            }
            if (copied == kCopyDeclined) {
                r.engine.desktop.Message(u"Error", kIncomplete, MessageIcon::Error);
                return r.stop(0);
            }
        }
        r.engine.desktop.Message(u"Open error",
                                 u"The supplied password is wrong or the database has been "
                                 u"modified outside VLT. Please try again.",
                                 MessageIcon::Warning);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return r.stop(0);
    }
    r.trace(u"Checksums match, password correct");
    return true;
}

// A copy tried with the password its file refused is opened only when the user wants it.
bool acceptCopy(Reading& r) {
    return r.typed == nullptr ||
           OfferRescueCopy(r.engine, r.source, r.file.info(), *r.original,
                           CopyOffer::IncompleteFile) ||
           r.stop(kCopyDeclined);
}

// The records are read into a vault of their own: the open one is replaced only once the
// checksum proved the password right and the whole file has been read.
bool readRecords(Reading& r, FlowObserver& observer) {
    r.trace(u"Calculating total progress, opening progress window");
    if (observer.tracing()) {
        r.read = ReadRecords(r.file, r.frames, r.header, r.key, &r.loaded, observer);
    }
    if (r.read.status != ReadStatus::kRead) {
        const bool unreadable = r.read.status == ReadStatus::kUnreadable;
        r.trace(unreadable ? u"Error reading the file, returning" : u"Invalid record, returning");
        r.releaseIvs();
        return unreadable ? r.refuse(kUnreadable) : r.refuseInvalid();
    }
    return true;
}

void installVault(Reading& r) {
    Engine& engine = r.engine;
    auto& desktop = engine.desktop;
    IdRegistry loadedIds(engine.numbers);
    MakeIdsUnique(r.loaded, loadedIds);

    r.trace(u"Cleaning old data");
    CloseContainer(engine, kCloseWithoutAsking);
    engine.vault = std::move(r.loaded);
    NormaliseDepths(engine.vault.Groups);
    engine.ids.replaceWith(loadedIds);
    showContainerName(engine, r.path);
    engine.ContainerPassword = r.password;

    r.trace(u"Refreshing gadgets");
    desktop.RebuildGroupTree();
    Entry_RefreshList(engine);
    engine.ContainerPath = r.path;
    r.trace(u"Refreshing statusbar");
    desktop.SetStatusField(0, decimal(engine.vault.Groups.count()) + u" groups / " +
                                  decimal(engine.vault.Entries.count()) + u" entries");
    desktop.SetStatusField(2, u"Container: " + r.path);

    r.trace(u"Freeing resources");
    r.releaseIvs();
    FreeMemoryEx(engine.log, r.hash);
    FreeMemoryEx(engine.log, r.key);
    r.trace(u"Closing the file");
    r.trace(u"Adding file to recent list if necessary");
    engine.Recent.AddRecentFile(r.path, engine.settings.Main.Recents, engine.writer);
    r.trace(u"Refreshing menu");
    desktop.CreateMainMenu();
    r.trace(u"Returning");
}

int readContainer(Reading& r) {
    Engine& engine = r.engine;
    if (!checkInputFile(r) || !openFile(r) || !checkSignatures(r) || !checkRecordFrames(r) ||
        !askPassword(r)) {
        return r.result;
    }
    readHeader(r);
    deriveKey(r);
    FlowObserver observer(engine, kOpenProc, u"Open container",
                          u"Please wait while the container file is opened...");
    if (!checkPassword(r, observer) || !acceptCopy(r) || !readRecords(r, observer)) {
        return r.result;
    }
    installVault(r);
    return 1;
}

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
        path = desktop.OpenFileRequester(u"Open container", kContainerPattern);
        if (path.empty()) {
            trace(u"User cancelled loading the file, returning");
            return 0;
        }
    }
    trace(u"Continuing to load from: " + inQuotes(path));
    Reading reading(engine, path, path);
    return readContainer(reading);
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

}  // namespace vlt
