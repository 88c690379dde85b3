#pragma once
// What the container flow tests share: a scratch folder, a scripted desktop and an engine on
// them, and the texts and file helpers the flows are checked with.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "RawContainer.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/container/Container.h"

namespace vlt {

inline constexpr std::int32_t kNow = 1796722130;  // 12/08/2026 09:28:50
inline const std::u16string kWrongPassword =
    u"The supplied password is wrong or the database has been modified outside VLT. Please try "
    u"again.";
inline const std::u16string kNotValid = u"This file is not a valid VLT 4.0 container.";
inline const std::u16string kLocked = u"The file is locked and could not be created/modified.";

inline std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

inline unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Gives a file the modification time `when`, as a save at that moment would have.
inline void setWritten(const std::string& path, std::time_t when) {
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// A date as the program's messages give it, in local time.
inline std::string localDate(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char date[32];
    std::strftime(date, sizeof date, "%m/%d/%Y %H:%M:%S", &local);
    return date;
}

enum class Offer { Damaged, Incomplete };

// The question offering `copy`, written at `copied`, for a file last changed at `changed`: one
// that is damaged, or one that an interrupted rewrite left incomplete (it does not open with
// the password typed while the copy does).
inline std::string copyOffer(const std::string& copy, std::time_t copied, std::time_t changed,
                             Offer why) {
    const std::string lead =
        "This file, last changed on " + localDate(changed) +
        (why == Offer::Damaged
             ? ", is damaged, but a save that was interrupted on " + localDate(copied) +
                   " left a complete copy of it at the following location:"
             : ", was left incomplete by a save that was interrupted on " + localDate(copied) +
                   ". That save left a complete copy of it, which opens with "
                   "this password, at the following location:");
    return lead + "\r\n\r\n" + copy +
           "\r\n\r\nWould you like to open the copy? Saving it then repairs the file.";
}

inline const std::u16string kIncomplete =
    u"This file was left incomplete by an interrupted save and cannot be opened.";

inline void expectInOrder(const std::string& text, std::initializer_list<const char*> steps) {
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

struct DamagedFile {
    std::string name;
    std::string bytes;
    std::u16string message;
    bool asksPassword;
};

// Files that fail the reader's checks in every way it has, each with its refusal.
std::vector<DamagedFile> damagedFiles();

}  // namespace vlt
