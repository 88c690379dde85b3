#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <new>
#include <set>

#include "ChildProcess.h"
#include "RawContainer.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "TraceCapture.h"
#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/container/ContainerCodec.h"
#include "engine/container/RescueCopy.h"
#include "engine/container/SystemMemory.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1796722130;  // 12/08/2026 09:28:50
const std::u16string kWrongPassword =
    u"The supplied password is wrong or the database has been modified outside VLT. Please try "
    u"again.";
const std::u16string kNotValid = u"This file is not a valid VLT 4.0 container.";
const std::u16string kLocked = u"The file is locked and could not be created/modified.";

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Gives a file the modification time `when`, as a save at that moment would have.
void setWritten(const std::string& path, std::time_t when) {
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// The question offering `copy`, written at `when`: for a file that is damaged, or for one that
// does not open with the password typed while the copy does.
std::string copyOffer(const std::string& copy, std::time_t when, bool damaged) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char date[32];
    std::strftime(date, sizeof date, "%m/%d/%Y %H:%M:%S", &local);
    const std::string lead =
        damaged ? "This file is damaged, but a save that was interrupted on " + std::string(date) +
                      " left a complete copy of it at the following location:"
                : "This file does not open with this password, but a copy of it that a save "
                  "interrupted on " +
                      std::string(date) + " left does:";
    return lead + "\r\n\r\n" + copy + "\r\n\r\nWould you like to open the copy? Saving it then " +
           (damaged ? "repairs" : "replaces") + " the file.";
}

void expectInOrder(const std::string& text, std::initializer_list<const char*> steps) {
    std::size_t at = 0;
    for (const char* step : steps) {
        at = text.find(step, at);
        ASSERT_NE(at, std::string::npos) << step << " missing or out of order in\n" << text;
    }
}

struct ContainerFlow : ::testing::Test {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.settings.Main.Recents = 1;
        engine.Recent = RecentFiles(dir.file("Recent.ini"));
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }

    std::u16string path(const std::string& name) { return fromUtf8(dir.file(name)); }

    // Saves `vault` under `name` with `password` through Save As.
    void saveAs(const Vault& vault, const std::string& name, const std::u16string& password) {
        engine.vault = Vault();
        for (const Group& g : vault.Groups)
            engine.vault.Groups.append(g);
        for (const Entry& e : vault.Entries)
            engine.vault.Entries.append(e);
        for (const Attachment& a : vault.Attachments)
            engine.vault.Attachments.append(a);
        desktop.passwordAnswers.push_back(password);
        desktop.saveFileAnswers.push_back(path(name));
        ASSERT_EQ(SaveContainerAs(engine, u"", kSaveAs), 1);
    }

    // Opens `file` answering `password`; the vault is expected to hold something already.
    int open(const std::u16string& file, const std::u16string& password) {
        if (!engine.vault.empty()) {
            desktop.yesNoAnswers.push_back(true);
        }
        desktop.passwordAnswers.push_back(password);
        return OpenContainer(engine, file);
    }

    // The file opens again as a whole container holding `expected`, with no question about a copy.
    void expectOpensWhole(const std::u16string& file, const std::u16string& password,
                          const Vault& expected) {
        CloseContainer(engine, kCloseWithoutAsking);
        ASSERT_EQ(open(file, password), 1);
        test::ExpectSameVault(expected, engine.vault);
    }

    // A loaded vault that a refused open must leave exactly as it is.
    void loadSomething() {
        engine.vault = test::SampleVault({3});
        engine.ContainerPath = u"/somewhere/kept.vlt";
        engine.ContainerPassword = SecureText(u"kept");
    }
    void expectSomethingKept() {
        test::ExpectSameVault(test::SampleVault({3}), engine.vault);
        EXPECT_TRUE(engine.ContainerPath == u"/somewhere/kept.vlt");
        EXPECT_TRUE(engine.ContainerPassword.view() == u"kept");
    }
};

TEST_F(ContainerFlow, SavedVaultReopensWithEveryFieldAndId) {
    Vault original = test::SampleVault({0, 15, 16, 17, 1 << 20});
    saveAs(original, "main", u"s3cret \U0001F511");
    EXPECT_TRUE(engine.ContainerPath == path("main.vlt"));
    EXPECT_TRUE(desktop.title == u"Orvelline Vaultwick v4.1 - main.vlt");

    CloseContainer(engine, kCloseWithoutAsking);
    EXPECT_TRUE(desktop.title == u"Orvelline Vaultwick v4.1 -  no container open");
    ASSERT_EQ(open(path("main.vlt"), u"s3cret \U0001F511"), 1);
    test::ExpectSameVault(original, engine.vault);
    for (std::int32_t id : {101, 104, 201, 202, 301, 305}) {
        EXPECT_EQ(engine.ids.ID_Exists(id), 1) << id;
    }
    EXPECT_TRUE(engine.ContainerPassword.view() == u"s3cret \U0001F511");
    EXPECT_TRUE(desktop.status[0] == u"4 groups / 2 entries");
    EXPECT_TRUE(desktop.status[2] == u"Container: " + path("main.vlt"));
    EXPECT_TRUE(desktop.containerLabel == u"main.vlt");
    EXPECT_EQ(desktop.passwordModes, (std::vector<PasswordMode>{kPasswordSave, kPasswordOpen}));
    ASSERT_EQ(engine.Recent.paths.size(), 1u);
    EXPECT_TRUE(engine.Recent.paths[0] == path("main.vlt"));
    EXPECT_GE(desktop.menuRebuilds, 1);
    EXPECT_EQ(desktop.progressOpen, 0);
    EXPECT_EQ(desktop.progressValues.back(), 0);
}

TEST_F(ContainerFlow, TheGoldenFileOpensOnlyWithItsPassword) {
    test::RawContainer golden;
    Vault one;
    one.Groups.append(Group{1, 1, u"", 0});
    golden.addVault(one);
    test::writeFile(dir.file("golden.vlt"), golden.text());

    loadSomething();
    EXPECT_EQ(open(path("golden.vlt"), u"abd"), 0);
    EXPECT_TRUE(desktop.lastMessage()->text == kWrongPassword);
    EXPECT_TRUE(desktop.lastMessage()->caption == u"Open error");
    expectSomethingKept();

    EXPECT_EQ(open(path("golden.vlt"), u"abc"), 1);
    ASSERT_EQ(engine.vault.Groups.count(), 1);
    EXPECT_EQ(engine.vault.Groups.at(0).ID, 1);
}

TEST_F(ContainerFlow, SavesDifferInBytesButNotInContent) {
    Vault original = test::SampleVault();
    saveAs(original, "a.vlt", u"pw");
    saveAs(original, "b.vlt", u"pw");
    auto a = test::readFile(dir.file("a.vlt"));
    auto b = test::readFile(dir.file("b.vlt"));
    EXPECT_NE(a.substr(24, 64), b.substr(24, 64));                // fresh IVs
    EXPECT_EQ(a.substr(a.size() - 10), b.substr(b.size() - 10));  // same plaintext checksum
    CloseContainer(engine, kCloseWithoutAsking);
    ASSERT_EQ(open(path("b.vlt"), u"pw"), 1);
    test::ExpectSameVault(original, engine.vault);
}

struct DamagedFile {
    std::string name;
    std::string bytes;
    std::u16string message;
    bool asksPassword;
};

// Files that fail the reader's checks in every way it has, each with its refusal.
std::vector<DamagedFile> damagedFiles() {
    test::RawContainer good;
    good.addVault(test::SampleVault({1, 40}));
    const std::string goodText = good.text();

    std::vector<DamagedFile> cases;
    cases.push_back({"empty", "", u"The file you have chosen is empty.", false});
    cases.push_back({"94 bytes", goodText.substr(0, 94), kNotValid, false});
    cases.push_back(
        {"95 bytes", std::string(95, 'x'), u"This is not a valid VLT container file.", false});
    // One byte short of the smallest container: both signatures right, the frame no longer fits.
    test::RawContainer smallest;
    Vault one;
    one.Groups.append(Group{1, 1, u"", 0});
    smallest.addVault(one);
    std::string short123 = smallest.text();
    short123.erase(kHeaderSize + 8, 1);
    EXPECT_EQ(short123.size(), 123u);
    cases.push_back({"123 bytes", short123, kNotValid, false});
    std::string badStart = goodText;
    badStart[3] = '3';
    cases.push_back({"bad start", badStart, u"This is not a valid VLT container file.", false});
    cases.push_back({"truncated", goodText.substr(0, goodText.size() - 1),
                     u"This is a valid VLT container file, but it seems to be truncated, the "
                     u"ending signature is missing.",
                     false});
    std::string flippedCipher = goodText;
    flippedCipher[kHeaderSize + 8 + 3] ^= 0x01;
    cases.push_back({"flipped ciphertext", flippedCipher, kWrongPassword, true});
    std::string flippedCrc = goodText;
    flippedCrc[goodText.size() - 10] ^= 0x80;
    cases.push_back({"flipped checksum", flippedCrc, kWrongPassword, true});
    // Frame and header shapes are the codec's to check; these show the open refuses them.
    for (std::int32_t declared : {15, 0x7FFFFFF0}) {
        test::RawContainer bad = good;
        bad.frames[2].declaredSize = declared;
        cases.push_back({"frame size " + std::to_string(declared), bad.text(), kNotValid, false});
    }
    // No group: nothing would be decrypted, so any password would open it.
    cases.push_back({"no records", test::RawContainer().text(), kNotValid, false});
    test::RawContainer entriesOnly;
    Vault noGroup = test::SampleVault({});
    noGroup.Groups.clear();
    entriesOnly.addVault(noGroup);
    cases.push_back({"entries without a group", entriesOnly.text(), kNotValid, false});
    std::string endlessKey = goodText;
    putInt32(reinterpret_cast<std::uint8_t*>(endlessKey.data()) + 20, 0x7FFFFFFF);
    cases.push_back({"rounds", endlessKey, kNotValid, false});
    // Bodies whose checksum is right but whose lengths lie.
    test::RawContainer longName = good;
    putInt32(&longName.frames[0].body[12], 2000);
    cases.push_back({"name length", longName.text(), kNotValid, true});
    test::RawContainer hugeAttachment = good;
    auto& attachmentBody = hugeAttachment.frames.back().body;
    putInt32(&attachmentBody[8], 0x7FFFFFFF);
    cases.push_back({"attachment size", hugeAttachment.text(), kNotValid, true});

    return cases;
}

TEST_F(ContainerFlow, EveryDamagedFileIsRefusedAndTheOpenVaultStays) {
    for (const DamagedFile& c : damagedFiles()) {
        SCOPED_TRACE(c.name);
        test::writeFile(dir.file("bad.vlt"), c.bytes);
        loadSomething();
        desktop.messages.clear();
        desktop.yesNoAnswers.push_back(true);
        if (c.asksPassword) {
            desktop.passwordAnswers.push_back(u"abc");
        }
        EXPECT_EQ(OpenContainer(engine, path("bad.vlt")), 0);
        ASSERT_NE(desktop.lastMessage(), nullptr);
        EXPECT_EQ(toUtf8(desktop.lastMessage()->text), toUtf8(c.message));
        EXPECT_TRUE(desktop.passwordAnswers.empty());
        EXPECT_EQ(desktop.passwordModes.size(), c.asksPassword ? 1u : 0u);
        desktop.passwordModes.clear();
        expectSomethingKept();
    }
}

// What an interrupted save leaves: a damaged file and beside it the whole copy made before the
// rewrite began. Every kind of damage offers the copy, dated; No gives the refusal as before, Yes
// opens the copy's vault as the file's own, and only a save over the file itself removes the copy.
// A file failing only the password check offers a copy that opens with the password typed, and
// opens it without asking again.
TEST_F(ContainerFlow, ADamagedFileOffersTheCopyAnInterruptedSaveLeft) {
    test::RawContainer copy;
    const Vault rescued = test::SampleVault({7});
    copy.addVault(rescued);
    const std::string target = dir.file("bad.vlt");
    const std::string copyPath = dir.file(".bad.vlt.rescue");
    for (const DamagedFile& c : damagedFiles()) {
        SCOPED_TRACE(c.name);
        const bool checksumOnly = c.message == kWrongPassword;
        test::writeFile(target, c.bytes);
        ASSERT_EQ(WriteRescueCopy(target, "", copy.bytes(), engine.writer), 0);
        setWritten(copyPath, kNow - 3600);
        for (const bool accept : {false, true}) {
            SCOPED_TRACE(accept ? "Yes" : "No");
            loadSomething();
            desktop.messages.clear();
            desktop.yesNoAnswers = {true, accept};
            desktop.passwordAnswers.clear();
            const int asked = checksumOnly ? 1 : int{c.asksPassword} + int{accept};
            for (int i = 0; i < asked; ++i) {
                desktop.passwordAnswers.push_back(u"abc");
            }
            const int opened = OpenContainer(engine, path("bad.vlt"));
            ASSERT_GE(desktop.messages.size(), 2u);
            EXPECT_TRUE(desktop.messages[1].question);
            EXPECT_EQ(toUtf8(desktop.messages[1].text),
                      copyOffer(copyPath, kNow - 3600, !checksumOnly));
            EXPECT_TRUE(desktop.passwordAnswers.empty());
            EXPECT_EQ(desktop.passwordModes.size(), static_cast<std::size_t>(asked));
            desktop.passwordModes.clear();
            if (!accept) {
                EXPECT_EQ(opened, 0);
                EXPECT_EQ(toUtf8(desktop.lastMessage()->text), toUtf8(c.message));
                expectSomethingKept();
                continue;
            }
            ASSERT_EQ(opened, 1);
            EXPECT_EQ(desktop.messages.size(), 2u);
            test::ExpectSameVault(rescued, engine.vault);
            EXPECT_TRUE(engine.ContainerPath == path("bad.vlt"));
            EXPECT_TRUE(engine.ContainerPassword.view() == u"abc");
            EXPECT_TRUE(desktop.status[2] == u"Container: " + path("bad.vlt"));
            EXPECT_TRUE(engine.Recent.paths.back() == path("bad.vlt"));
        }
        EXPECT_EQ(test::readFile(target), c.bytes);
        EXPECT_EQ(test::readFile(copyPath), copy.text());
    }

    // Saved elsewhere, the damaged file still needs its copy; saved over it, it does not.
    engine.settings.Main.AutoBackupBeforeMod = 0;
    desktop.passwordAnswers.push_back(u"other");
    desktop.saveFileAnswers.push_back(path("other.vlt"));
    ASSERT_EQ(SaveContainerAs(engine, u"", kSaveAs), 1);
    EXPECT_EQ(test::readFile(copyPath), copy.text());
    ASSERT_EQ(SaveContainerAs(engine, path("bad.vlt"), kSaveOver), 1);
    EXPECT_FALSE(std::filesystem::exists(copyPath));
    expectOpensWhole(path("bad.vlt"), u"other", rescued);
}

// A copy that matches the file is one whose save completed before it could be removed: a wrong
// password then stays a wrong password.
TEST_F(ContainerFlow, ACopyLikeTheFileItselfIsNotOffered) {
    saveAs(test::SampleVault({7}), "whole.vlt", u"pw");
    const std::string bytes = test::readFile(dir.file("whole.vlt"));
    ASSERT_EQ(WriteRescueCopy(
                  dir.file("whole.vlt"), "",
                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                  engine.writer),
              0);
    desktop.messages.clear();
    EXPECT_EQ(open(path("whole.vlt"), u"wrong"), 0);
    ASSERT_EQ(desktop.messages.size(), 2u);  // the question about the open vault, the refusal
    EXPECT_EQ(toUtf8(desktop.messages[1].text), toUtf8(kWrongPassword));
}

// A file whose owner took away its write permission stays as it is, also for root, whose writes
// no permission stops.
TEST_F(ContainerFlow, AFileItsOwnerMadeReadOnlyIsNotOverwritten) {
    saveAs(test::SampleVault(), "ro.vlt", u"pw");
    const std::string before = test::readFile(dir.file("ro.vlt"));
    ASSERT_EQ(::chmod(dir.file("ro.vlt").c_str(), 0444), 0);
    engine.settings.Main.AutoBackupBeforeMod = 0;
    EXPECT_EQ(SaveContainer(engine), 0);
    ASSERT_NE(desktop.lastMessage(), nullptr);
    EXPECT_TRUE(desktop.lastMessage()->text == kLocked + u"\r\nPermission denied");
    EXPECT_EQ(test::readFile(dir.file("ro.vlt")), before);
    EXPECT_EQ(modeOf(dir.file("ro.vlt")), 0444u);
}

// A copy left beside a whole file goes stale once the file is changed by another path (a second
// name, another program). A mistyped password is no damage: only a copy that opens with the
// password typed is offered, and the file itself is never touched by the asking.
TEST_F(ContainerFlow, AWrongPasswordOffersOnlyACopyThatOpensWithIt) {
    const Vault older = test::SampleVault({7});
    const Vault newer = test::SampleVault({7, 9});
    saveAs(older, "older.vlt", u"pw");
    saveAs(newer, "newer.vlt", u"pw");
    saveAs(newer, "repassworded.vlt", u"new");
    const std::string target = dir.file("k.vlt");
    const std::string stale = test::readFile(dir.file("older.vlt"));
    test::writeFile(target, test::readFile(dir.file("newer.vlt")));
    ASSERT_EQ(WriteRescueCopy(
                  target, "",
                  std::span(reinterpret_cast<const std::uint8_t*>(stale.data()), stale.size()),
                  engine.writer),
              0);
    const std::string copy = dir.file(".k.vlt.rescue");
    setWritten(copy, kNow - 86400);
    CloseContainer(engine, kCloseWithoutAsking);
    desktop.messages.clear();

    EXPECT_EQ(open(path("k.vlt"), u"pW"), 0);
    EXPECT_EQ(desktop.messageTexts(), std::vector<std::u16string>{kWrongPassword});
    ASSERT_EQ(open(path("k.vlt"), u"pw"), 1);
    test::ExpectSameVault(newer, engine.vault);
    EXPECT_EQ(desktop.messages.size(), 1u);

    // Changed elsewhere to another password: the old one opens only the copy, which is offered
    // with its date; No is the usual refusal, Yes opens it without asking for the password again.
    const std::string changed = test::readFile(dir.file("repassworded.vlt"));
    test::writeFile(target, changed);
    for (const bool accept : {false, true}) {
        CloseContainer(engine, kCloseWithoutAsking);
        desktop.messages.clear();
        desktop.passwordModes.clear();
        desktop.yesNoAnswers.push_back(accept);
        EXPECT_EQ(open(path("k.vlt"), u"pw"), accept ? 1 : 0);
        ASSERT_EQ(desktop.messages.size(), accept ? 1u : 2u);
        EXPECT_EQ(toUtf8(desktop.messages[0].text), copyOffer(copy, kNow - 86400, false));
        EXPECT_EQ(desktop.passwordModes.size(), 1u);
        EXPECT_TRUE(accept || desktop.messages[1].text == kWrongPassword);
    }
    test::ExpectSameVault(older, engine.vault);
    EXPECT_TRUE(engine.ContainerPath == path("k.vlt"));
    EXPECT_TRUE(test::readFile(target) == changed);
}

// Of the copies an interrupted save may have left, beside the file and in the data folder, the
// newest is offered; one owned by a third user, who could have planted it, never is.
TEST_F(ContainerFlow, TheNewestCopyIsOfferedAndNeverOneOfAThirdUser) {
    std::filesystem::create_directories(dir.path() / "data" / "Rescue");
    engine.ConfigPath = dir.file("data/Config.ini");
    const std::string target = dir.file("bad.vlt");
    test::writeFile(target, std::string(95, 'x'));
    const std::vector<std::string> copies = RescueCopyPaths(target, dir.file("data/"));
    ASSERT_EQ(copies.size(), 2u);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        test::RawContainer raw;
        raw.addVault(test::SampleVault({i + 1}));
        test::writeFile(copies[i], raw.text());
    }
    // The question asked on opening the damaged file, "" when there was none.
    auto offered = [&] {
        desktop.messages.clear();
        desktop.yesNoAnswers = {false};
        EXPECT_EQ(OpenContainer(engine, path("bad.vlt")), 0);
        const bool asked = desktop.yesNoAnswers.empty();
        desktop.yesNoAnswers.clear();
        return asked ? toUtf8(desktop.messages.front().text) : std::string();
    };
    for (std::size_t newest = 0; newest < copies.size(); ++newest) {
        setWritten(copies[newest], kNow);
        setWritten(copies[1 - newest], kNow - 60);
        EXPECT_EQ(offered(), copyOffer(copies[newest], kNow, true));
    }

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a copy to a third user";
    }
    constexpr uid_t kThirdUser = 54321;
    ASSERT_EQ(::chown(copies[1].c_str(), kThirdUser, kThirdUser), 0);
    EXPECT_EQ(offered(), copyOffer(copies[0], kNow - 60, true));
    ASSERT_EQ(::chown(copies[0].c_str(), kThirdUser, kThirdUser), 0);
    EXPECT_EQ(offered(), "");
    EXPECT_TRUE(desktop.lastMessage()->text == u"This is not a valid VLT container file.");
}

// The names of the copies are the program's own. A link planted at either, beside the file or in
// the data folder, is replaced by the copy; the file it points to stays as it was.
TEST_F(ContainerFlow, ALinkAtTheNameOfACopyIsReplacedNeverWrittenThrough) {
    std::filesystem::create_directories(dir.path() / "data" / "Rescue");
    engine.ConfigPath = dir.file("data/Config.ini");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    const Vault vault = test::SampleVault({1 << 16});
    saveAs(vault, "k.vlt", u"pw");
    // A second name makes every save rewrite the file in place, after making its copy.
    ASSERT_EQ(::link(dir.file("k.vlt").c_str(), dir.file("k2.vlt").c_str()), 0);
    const std::string mine = dir.file("mine.txt");
    test::writeFile(mine, "the user's own");
    const std::vector<std::string> copies = RescueCopyPaths(dir.file("k.vlt"), dir.file("data/"));
    ASSERT_EQ(copies.size(), 2u);
    for (const std::string& copy : copies) {
        SCOPED_TRACE(copy);
        std::filesystem::create_symlink(mine, copy);
        engine.writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
        EXPECT_EQ(SaveContainer(engine), 0);                    // stopped part-way: the copy stays
        EXPECT_TRUE(test::readFile(mine) == "the user's own");  // compared, not printed
        EXPECT_FALSE(std::filesystem::is_symlink(copy));
        EXPECT_EQ(FindRescueCopy(dir.file("k.vlt"), dir.file("data/")), copy);
        engine.writer.rewriteFault = nullptr;
        ASSERT_EQ(SaveContainer(engine), 1);
        EXPECT_FALSE(std::filesystem::exists(copy));
        // A folder in the place beside the file sends the next copy to the data folder.
        std::filesystem::create_directory(copies.front());
    }
    EXPECT_TRUE(test::readFile(mine) == "the user's own");
    expectOpensWhole(path("k2.vlt"), u"pw", vault);
}

// A Save As that fails, in a folder it cannot write, on a full disk or out of memory, names the
// file that really holds the vault again: the window and the next save go to the file that was
// open, with its password.
TEST_F(ContainerFlow, AFailedSaveAsLeavesTheVaultWithTheFileThatHoldsIt) {
    const Vault vault = test::SampleVault({3});
    saveAs(vault, "held.vlt", u"pw");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    const std::u16string title = desktop.title;
    for (const std::string name : {"missing folder/new.vlt", "full.vlt", "no memory.vlt"}) {
        SCOPED_TRACE(name);
        engine.writer.writeFault = [&name](std::size_t written) {
            return name == "full.vlt" && written >= 200 ? ENOSPC : 0;
        };
        desktop.onPendingEvents = [&] {
            if (name == "no memory.vlt" && desktop.progressOpen > 0) {
                throw std::bad_alloc();
            }
        };
        desktop.passwordAnswers.push_back(u"other");
        desktop.saveFileAnswers.push_back(path(name));
        EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
        EXPECT_EQ(desktop.lastMessage()->text.rfind(kLocked, 0), 0u);
        EXPECT_FALSE(std::filesystem::exists(dir.file(name)));
        EXPECT_TRUE(engine.ContainerPath == path("held.vlt"));
        EXPECT_TRUE(engine.ContainerPassword.view() == u"pw");
        EXPECT_TRUE(desktop.title == title);
        EXPECT_TRUE(desktop.containerLabel == u"held.vlt");
        EXPECT_TRUE(desktop.status[2] == u"Container: " + path("held.vlt"));
    }
    engine.writer.writeFault = nullptr;
    desktop.onPendingEvents = nullptr;
    engine.vault.Entries.at(0).Account = u"changed";
    ASSERT_EQ(SaveContainer(engine), 1);
    EXPECT_EQ(desktop.passwordModes.size(), 4u);  // the first save and the three failed ones
    Vault changed = test::SampleVault({3});
    changed.Entries.at(0).Account = u"changed";
    expectOpensWhole(path("held.vlt"), u"pw", changed);
}

TEST_F(ContainerFlow, MissingFilesAndFoldersCannotBeOpened) {
    EXPECT_EQ(OpenContainer(engine, path("nothing.vlt")), 0);
    EXPECT_TRUE(desktop.lastMessage()->text == u"The file could not be found/accessed.");
    EXPECT_EQ(OpenContainer(engine, fromUtf8(dir.path().string())), 0);
    EXPECT_TRUE(desktop.lastMessage()->text == u"The file could not be found/accessed.");
}

TEST_F(ContainerFlow, CancellingThePasswordKeepsTheVaultButForgetsItsPassword) {
    saveAs(test::SampleVault(), "c.vlt", u"pw");
    desktop.yesNoAnswers.push_back(true);
    desktop.passwordAnswers.push_back(u"");
    EXPECT_EQ(OpenContainer(engine, path("c.vlt")), 0);
    EXPECT_EQ(engine.vault.Groups.count(), 4);
    EXPECT_TRUE(engine.ContainerPassword.empty());
    EXPECT_TRUE(desktop.messages.back().question);  // no error message after the cancel

    desktop.passwordAnswers.push_back(u"new");  // the next save has to ask
    EXPECT_EQ(SaveContainer(engine), 1);
    EXPECT_EQ(desktop.passwordModes.back(), kPasswordSave);
}

TEST_F(ContainerFlow, DecliningTheQuestionsChangesNothing) {
    loadSomething();
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(OpenContainer(engine, path("x.vlt")), 0);
    expectSomethingKept();

    desktop.yesNoAnswers.push_back(true);
    desktop.openFileAnswers.push_back(u"");
    EXPECT_EQ(OpenContainer(engine, u""), 0);
    expectSomethingKept();

    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(CloseContainer(engine, kCloseAsking), 0);
    expectSomethingKept();
    desktop.yesNoAnswers.push_back(true);
    EXPECT_EQ(CloseContainer(engine, kCloseAsking), 1);
    EXPECT_TRUE(engine.vault.empty());
    EXPECT_TRUE(engine.ContainerPath.empty());
    EXPECT_TRUE(desktop.containerLabel == u"New container");
    EXPECT_TRUE(desktop.status[1] == u"0 of 0 selected");
}

TEST_F(ContainerFlow, SavingNeedsAGroupAndAPassword) {
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"There are no groups/ in the list. Please add at least one group and try again.");
    engine.vault.Groups.append(Group{1, 1, u"g", 0});
    desktop.passwordAnswers.push_back(u"");
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    desktop.passwordAnswers.push_back(u"pw");
    desktop.saveFileAnswers.push_back(u"");
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_TRUE(engine.ContainerPath.empty());
}

TEST_F(ContainerFlow, TheExtensionIsAddedUnlessAlreadyThereInAnyCase) {
    saveAs(test::SampleVault(), "UPPER.VLT", u"pw");
    EXPECT_TRUE(std::filesystem::exists(dir.file("UPPER.VLT")));
    saveAs(test::SampleVault(), "notes.txt", u"pw");
    EXPECT_TRUE(std::filesystem::exists(dir.file("notes.txt.vlt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("notes.txt")));
}

TEST_F(ContainerFlow, ReplacingAsksFirstAndNoKeepsTheFile) {
    test::writeFile(dir.file("keep.vlt"), "precious");
    engine.vault = test::SampleVault();
    desktop.passwordAnswers.push_back(u"pw");
    desktop.saveFileAnswers.push_back(path("keep.vlt"));
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_EQ(test::readFile(dir.file("keep.vlt")), "precious");
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"The file already exists. Would you like to replace it?");
}

TEST_F(ContainerFlow, NewContainersAreOwnerOnly) {
    saveAs(test::SampleVault(), "private.vlt", u"pw");
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("private.vlt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ContainerFlow, AFailedSaveLeavesThePreviousContainerWhole) {
    saveAs(test::SampleVault({5000}), "safe.vlt", u"pw");
    const std::string before = test::readFile(dir.file("safe.vlt"));
    engine.vault.Entries.at(0).Password = u"changed";
    engine.settings.Main.AutoBackupBeforeMod = 0;
    engine.writer.writeFault = [](std::size_t written) { return written < 200 ? 0 : ENOSPC; };
    EXPECT_EQ(SaveContainer(engine), 0);
    // The system's reason on a second line says what to fix.
    EXPECT_TRUE(desktop.lastMessage()->text == kLocked + u"\r\nNo space left on device");
    EXPECT_EQ(test::readFile(dir.file("safe.vlt")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(desktop.progressOpen, 0);
}

TEST_F(ContainerFlow, SavingOverTheOpenContainerBacksItUpFirst) {
    engine.settings.Main.AutoBackupBeforeMod = 1;
    saveAs(test::SampleVault(), "a.vlt.vlt", u"pw");  // mode 0 never backs up
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    const std::string first = test::readFile(dir.file("a.vlt.vlt"));

    EXPECT_EQ(SaveContainer(engine), 1);  // mode 1 with the kept password: no question
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup.vlt")), first);
    EXPECT_EQ(desktop.passwordModes.size(), 1u);

    // A second save within the same second keeps the first backup.
    const std::string second = test::readFile(dir.file("a.vlt.vlt"));
    EXPECT_EQ(SaveContainer(engine), 1);
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup.vlt")), first);
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup_2.vlt")), second);
}

TEST_F(ContainerFlow, ABackupThatCannotBeWrittenAsksBeforeSaving) {
    engine.settings.Main.AutoBackupBeforeMod = 1;
    saveAs(test::SampleVault(), "b.vlt", u"pw");
    const std::string first = test::readFile(dir.file("b.vlt"));
    engine.writer.writeFault = [](std::size_t) { return EIO; };  // the backup fails too
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(SaveContainer(engine), 0);
    EXPECT_NE(desktop.lastMessage()->text.find(u"could not make a backup copy"),
              std::u16string::npos);
    EXPECT_EQ(test::readFile(dir.file("b.vlt")), first);
}

TEST_F(ContainerFlow, AnInPlaceSaveThatFailsSaysTheFileMayBeDamagedAndKeepsItsCopy) {
    saveAs(test::SampleVault({1 << 20}), "linked.vlt", u"pw");
    ASSERT_EQ(::link(dir.file("linked.vlt").c_str(), dir.file("second name.vlt").c_str()), 0);
    engine.writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
    ASSERT_EQ(SaveContainer(engine), 0);
    EXPECT_EQ(toUtf8(desktop.lastMessage()->text),
              "The file could not be written completely and may be damaged. The vault is still "
              "open: save it under another name with 'Save As' before you close it.\r\n"
              "Input/output error");
    const std::string copy = dir.file(".linked.vlt.rescue");
    EXPECT_EQ(FindRescueCopy(dir.file("linked.vlt"), ""), copy);
    EXPECT_EQ(modeOf(copy), 0600u);

    // A file size limit stops the copy itself: the save then fails before the file changes.
    const std::string before = test::readFile(dir.file("linked.vlt"));
    const auto size = static_cast<rlim_t>(before.size());
    engine.writer.rewriteFault = nullptr;
    const int status = test::runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{size / 2, size / 2};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool failed = SaveContainer(engine) == 0;
        const bool explained = desktop.lastMessage() != nullptr &&
                               desktop.lastMessage()->text == kLocked + u"\r\nFile too large";
        return (failed ? 0 : 1) + (explained ? 0 : 2);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile(dir.file("linked.vlt")), before);
}

// Where the container's folder cannot be written, its rescue copy goes to the data folder (the
// folder of Config.ini), under a name made from the file's path, and is found there on open.
TEST_F(ContainerFlow, AnInPlaceSaveInAClosedFolderKeepsItsCopyInTheDataFolder) {
    const bool root = ::geteuid() == 0;
    ::chmod(dir.path().c_str(), 0755);
    std::filesystem::create_directory(dir.path() / "closed");
    std::filesystem::create_directory(dir.path() / "data");
    const Vault changed = test::SampleVault({1 << 20, 3});
    saveAs(test::SampleVault({1 << 20}), "closed/a.vlt", u"pw");
    if (root) {
        ASSERT_EQ(::chown(dir.file("closed/a.vlt").c_str(), test::kNobody, test::kNobody), 0);
        ASSERT_EQ(::chown(dir.file("data").c_str(), test::kNobody, test::kNobody), 0);
    }
    ::chmod(dir.file("closed").c_str(), 0555);
    engine.ConfigPath = dir.file("data/Config.ini");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    engine.vault = test::SampleVault({1 << 20, 3});
    auto saveAsOrdinaryUser = [&](bool failPartWay) {
        engine.writer.rewriteFault = [failPartWay](std::size_t rewritten) {
            return failPartWay && rewritten > 0 ? EIO : 0;
        };
        return test::runAsOrdinaryUser([&] { return SaveContainer(engine); });
    };

    EXPECT_EQ(saveAsOrdinaryUser(true), 0);
    const std::filesystem::path rescueFolder = dir.path() / "data" / "Rescue";
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(rescueFolder), {}), 1);
    const std::string copy = std::filesystem::directory_iterator(rescueFolder)->path().string();
    EXPECT_EQ(modeOf(copy), 0600u);
    EXPECT_EQ(modeOf(rescueFolder.string()), 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "closed"), {}), 1);

    loadSomething();
    desktop.yesNoAnswers = {true, true};
    desktop.passwordAnswers = {u"pw"};
    ASSERT_EQ(OpenContainer(engine, path("closed/a.vlt")), 1);
    EXPECT_NE(desktop.messages.back().text.find(fromUtf8(copy)), std::u16string::npos);
    test::ExpectSameVault(changed, engine.vault);
    EXPECT_TRUE(engine.ContainerPath == path("closed/a.vlt"));

    EXPECT_EQ(saveAsOrdinaryUser(false), 1);
    EXPECT_FALSE(std::filesystem::exists(copy));
    ::chmod(dir.file("closed").c_str(), 0755);
    expectOpensWhole(path("closed/a.vlt"), u"pw", changed);
}

TEST_F(ContainerFlow, RunningOutOfMemoryFailsTheSaveInsteadOfEndingTheProgram) {
    saveAs(test::SampleVault({5000}), "big.vlt", u"pw");
    const std::string before = test::readFile(dir.file("big.vlt"));
    engine.settings.Main.AutoBackupBeforeMod = 0;
    desktop.onPendingEvents = [&] {
        if (desktop.progressOpen > 0) {
            throw std::bad_alloc();
        }
    };
    ASSERT_EQ(SaveContainer(engine), 0);
    desktop.onPendingEvents = nullptr;
    EXPECT_EQ(toUtf8(desktop.lastMessage()->text), toUtf8(kLocked + u"\r\nCannot allocate memory"));
    EXPECT_EQ(desktop.progressOpen, 0);
    EXPECT_EQ(test::readFile(dir.file("big.vlt")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // An old file far larger than memory is backed up without being read whole; a backup that
    // fails half-way is the usual question.
    engine.settings.Main.AutoBackupBeforeMod = 1;
    ASSERT_EQ(::truncate(dir.file("big.vlt").c_str(), off_t{1} << 40), 0);
    engine.writer.writeFault = [](std::size_t written) {
        return written < (std::size_t{8} << 20) ? 0 : ENOSPC;
    };
    desktop.yesNoAnswers.push_back(false);
    ASSERT_EQ(SaveContainer(engine), 0);
    EXPECT_NE(desktop.lastMessage()->text.find(u"could not make a backup copy"),
              std::u16string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(BackupName, DropsEveryExtensionOccurrenceAndAddsTheDate) {
    EXPECT_TRUE(BackupPath(u"/safe/main.vlt", kNow) == u"/safe/main_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/a.vlt.vlt", kNow) == u"/safe/a_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/a.vlt.b.vlt", kNow) == u"/safe/a.b_120826_092850_backup.vlt");
    // One pass: what two removals join together is not removed again.
    EXPECT_TRUE(BackupPath(u"/safe/a..vltvlt.vlt", kNow) ==
                u"/safe/a.vlt_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/noext", kNow) == u"/safe/noext_120826_092850_backup");
}

TEST_F(ContainerFlow, CommandsArrivingDuringTheKeyWorkSeeTheEngineBusy) {
    // Enough rounds for the key work to take several frames, during which events are pumped.
    test::RawContainer slow;
    slow.header.Rounds = kMaxRounds;
    slow.password = u"pw";
    slow.addVault(test::SampleVault());
    test::writeFile(dir.file("busy.vlt"), slow.text());
    loadSomething();
    int busySeen = 0;
    int duringKeyWork = 0;
    desktop.pendingEventCalls = 0;
    desktop.onPendingEvents = [&] {
        busySeen += engine.busy() ? 1 : 0;
        duringKeyWork += desktop.progressOpen == 0 ? 1 : 0;
    };
    desktop.yesNoAnswers.push_back(true);
    desktop.passwordAnswers.push_back(u"pw");
    ASSERT_EQ(OpenContainer(engine, path("busy.vlt")), 1);
    EXPECT_GE(duringKeyWork, 1);
    EXPECT_EQ(busySeen, desktop.pendingEventCalls);
    EXPECT_FALSE(engine.busy());
}

TEST_F(ContainerFlow, TraceLinesNameTheStepsButNeverThePassword) {
    engine.settings.Main.LogActions = 1;
    ASSERT_EQ(engine.log.Log_Open(dir.file("VLT.log")), 1);
    saveAs(test::SampleVault(), "t.vlt", u"hunter2-secret");
    CloseContainer(engine, kCloseWithoutAsking);
    ASSERT_EQ(open(path("t.vlt"), u"hunter2-secret"), 1);
    engine.log.Log_Close();
    const std::string log = test::readFile(dir.file("VLT.log"));
    // The log was on for both: the save and the open are in it, the password is not.
    expectInOrder(log, {"SaveContainerAs() -> Footer written",
                        "OpenContainer() -> Checksums match, password correct"});
    EXPECT_EQ(log.find("hunter2"), std::string::npos);
}

// A sparse file: as large as asked, but only the given stretches take disk space.
void writeSparse(
    const std::string& path, std::uint64_t size,
    const std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>>& stretches) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    for (const auto& [at, bytes] : stretches) {
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at)),
                  static_cast<ssize_t>(bytes.size()));
    }
    ::close(fd);
}

TEST_F(ContainerFlow, FilesLargerThanMemoryAreRefusedQuicklyAndTheOpenVaultStays) {
    constexpr std::uint64_t kSize = std::uint64_t{64} << 30;
    if (AvailableMemory() >= kSize) {
        GTEST_SKIP() << "this machine could hold 64 GiB of records";
    }
    std::vector<std::uint8_t> head(kHeaderSize);
    EncodeHeader(test::RawContainer().header, head.data());
    const std::vector<std::uint8_t> tail = {0, 0, 0, 0, 'V', 'L', 'T', 'E', 'O', 'F'};

    // Both signatures right and nothing else: the header names no group.
    writeSparse(
        dir.file("signatures.vlt"), kSize,
        {{0, std::vector<std::uint8_t>(head.begin(), head.begin() + 4)}, {kSize - 10, tail}});
    // A well-formed file: 32 group frames of almost 2 GiB each, ending right at the checksum.
    ContainerHeader header = test::RawContainer().header;
    header.GroupCount = 32;
    EncodeHeader(header, head.data());
    std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> stretches = {
        {0, head}, {kSize - 10, tail}};
    std::uint64_t at = kHeaderSize;
    std::uint64_t left = kSize - kHeaderSize - 10 - 32 * 8;
    for (int i = 0; i < 32; ++i) {
        const std::uint64_t body = left / static_cast<std::uint64_t>(32 - i);
        std::vector<std::uint8_t> frame(8);
        putInt32(frame.data(), kGroupRecord);
        putInt32(frame.data() + 4, static_cast<std::int32_t>(body));
        stretches.push_back({at, frame});
        at += 8 + body;
        left -= body;
    }
    ASSERT_EQ(at, kSize - 10);
    writeSparse(dir.file("huge.vlt"), kSize, stretches);

    const std::pair<const char*, std::u16string> cases[] = {
        {"signatures.vlt", kNotValid}, {"huge.vlt", u"Error allocating memory buffers."}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        loadSomething();
        desktop.yesNoAnswers.push_back(true);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(OpenContainer(engine, path(name)), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_TRUE(desktop.lastMessage()->text == message) << toUtf8(desktop.lastMessage()->text);
        EXPECT_TRUE(desktop.passwordModes.empty());
        expectSomethingKept();
    }

    // Memory running out part-way, here while the progress window takes its events: refused
    // like a file too large, the window closed, the open vault untouched.
    saveAs(test::SampleVault({100, 200}), "fine.vlt", u"pw");
    loadSomething();
    desktop.messages.clear();
    desktop.onPendingEvents = [this] {
        if (desktop.progressOpen > 0) {
            throw std::bad_alloc();
        }
    };
    EXPECT_EQ(open(path("fine.vlt"), u"pw"), 0);
    EXPECT_TRUE(desktop.lastMessage()->text == u"Error allocating memory buffers.");
    EXPECT_EQ(desktop.progressOpen, 0);
    EXPECT_FALSE(engine.busy());
    expectSomethingKept();
}

TEST_F(ContainerFlow, RepeatedIdsGetFreshOnesAndRelationsStayWithTheirRecords) {
    auto entry = [](std::int32_t id, std::int32_t groupId, const char16_t* groupName,
                    const char16_t* account) {
        Entry e;
        e.ID = id;
        e.GroupID = groupId;
        e.GroupName = groupName;
        e.Account = account;
        return e;
    };
    Vault stored;
    stored.Groups.append(Group{10, 1, u"Mail", 0});
    stored.Groups.append(Group{10, 1, u"Bank", 0});  // an importer reused the ID
    stored.Groups.append(Group{20, 1, u"Work", 0});
    stored.Entries.append(entry(100, 10, u"Bank", u"placed in Bank"));
    stored.Entries.append(entry(100, 10, u"Mail", u"placed in Mail"));
    stored.Entries.append(entry(20, 20, u"Work", u"shares the ID of Work"));
    stored.Entries.append(entry(300, 10, u"Gone", u"placed in a renamed group"));
    test::AddAttachment(stored, 500, 100, 3);  // on the first entry 100
    test::AddAttachment(stored, 500, 20, 4);   // on entry 20, not on group 20
    test::AddAttachment(stored, 100, 777, 5);  // shares an entry's ID; its entry is missing
    test::RawContainer raw;
    raw.password = u"pw";
    raw.addVault(stored);
    test::writeFile(dir.file("ids.vlt"), raw.text());

    ASSERT_EQ(open(path("ids.vlt"), u"pw"), 1);
    const Vault& v = engine.vault;
    std::set<std::int32_t> ids;
    for (const Group& g : v.Groups) {
        ids.insert(g.ID);
    }
    for (const Entry& e : v.Entries) {
        ids.insert(e.ID);
    }
    for (const Attachment& a : v.Attachments) {
        ids.insert(a.ID);
    }
    EXPECT_EQ(ids.size(), 10u) << "every record has an ID of its own";
    EXPECT_EQ(engine.ids.count(), 10u);
    for (std::int32_t id : ids) {
        EXPECT_EQ(engine.ids.ID_Exists(id), 1) << id;
    }

    const Group &mail = v.Groups.at(0), &bank = v.Groups.at(1), &work = v.Groups.at(2);
    EXPECT_EQ(mail.ID, 10);  // the first record with an ID keeps it
    EXPECT_EQ(work.ID, 20);
    EXPECT_TRUE(bank.Name == u"Bank");
    EXPECT_EQ(v.Entries.at(0).ID, 100);
    EXPECT_EQ(v.Entries.at(0).GroupID, bank.ID);
    EXPECT_EQ(v.Entries.at(1).GroupID, mail.ID);
    EXPECT_EQ(v.Entries.at(2).GroupID, work.ID);
    EXPECT_EQ(v.Entries.at(3).ID, 300);
    EXPECT_EQ(v.Entries.at(3).GroupID, mail.ID);

    EXPECT_EQ(v.Attachments.at(0).ID, 500);
    EXPECT_EQ(v.Attachments.at(0).EntryID, v.Entries.at(0).ID);
    EXPECT_EQ(v.Attachments.at(1).EntryID, v.Entries.at(2).ID);
    EXPECT_EQ(v.Attachments.at(1).Size, 4);
    EXPECT_EQ(v.Attachments.at(2).EntryID, 777);
}

TEST_F(ContainerFlow, OpenAndSaveAreTracedStepByStepWithEveryBufferGivenBack) {
    test::RawContainer golden;
    Vault one;
    one.Groups.append(Group{1, 1, u"", 0});
    golden.addVault(one);
    test::writeFile(dir.file("golden.vlt"), golden.text());
    test::TraceCapture opening(engine.log);
    desktop.passwordAnswers.push_back(u"abc");
    ASSERT_EQ(OpenContainer(engine, path("golden.vlt")), 1);
    const std::string opened = opening.lines();
    expectInOrder(opened, {"OpenContainer() -> SigStart = VLT4 | SigEnd = VLTEOF",
                           "OpenContainer() -> Data CRC32: 588E39D1",
                           "OpenContainer() -> Asking user for the password",
                           "OpenContainer() -> Total transformation rounds: 5120",
                           "OpenContainer() -> Checksums match, password correct",
                           "OpenContainer() -> Group size: 18", "CloseContainer() -> Clearing data",
                           "OpenContainer() -> Returning"});
    // The checksum pass and the reading pass each give back both buffers of the one record; the
    // hash, the key and the IV blocks go back at the end.
    EXPECT_EQ(occurrences(opened, "Trying to free memory buffer: "), 8u);
    EXPECT_EQ(occurrences(opened, "FreeMemoryEx() -> Buffer freed"), 8u);

    // Saving checks the key after its self-test, and gives back both buffers of every record.
    test::TraceCapture saving(engine.log);
    desktop.passwordAnswers.push_back(u"abc");
    desktop.saveFileAnswers.push_back(path("saved.vlt"));
    ASSERT_EQ(SaveContainerAs(engine, u"", kSaveAs), 1);
    const std::string saved = saving.lines();
    const auto from = saved.find("SaveContainerAs() -> Preparing the key");
    const auto to = saved.find("SaveContainerAs() -> Writing entries");
    ASSERT_LT(from, to);
    const std::string groups = saved.substr(from, to - from);
    expectInOrder(
        groups,
        {"DecryptKey256() -> Done", "SaveContainerAs() -> Valid key generated, continuing",
         "SaveContainerAs() -> Freeing the *DecryptionTest memory buffer",
         "SaveContainerAs() -> Header written", "SaveContainerAs() -> Total group length: 18 bytes",
         "SaveContainerAs() -> Calculating checksum", "SaveContainerAs() -> Encrypting data"});
    EXPECT_EQ(occurrences(groups, "Trying to free memory buffer: "), 3u);
    EXPECT_EQ(occurrences(groups, "FreeMemoryEx() -> Buffer freed"), 3u);
}

}  // namespace
}  // namespace vlt
