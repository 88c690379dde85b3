#include "ShellFixture.h"

#include <cstdlib>
#include <filesystem>

#include "RawContainer.h"
#include "SampleVault.h"
#include "shell/app/QtDesktop.h"

namespace vlt::test {

namespace {

// The user folders a started VLT writes to (settings, autostart and file association), and the
// data folders it looks for installed desktop entries in.
constexpr const char* kXdgFolders[][2] = {
    {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_DATA_DIRS", "share"}};

}  // namespace

ShellFixture::ShellFixture() {
    for (const auto& [variable, folder] : kXdgFolders) {
        const char* old = std::getenv(variable);
        oldXdg_.push_back(old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(variable, home.file(folder).c_str(), 1);
    }
    std::filesystem::create_directories(home.file("bin"));
}

ShellFixture::~ShellFixture() {
    app.reset();
    for (std::size_t i = 0; i < oldXdg_.size(); ++i) {
        if (oldXdg_[i]) {
            ::setenv(kXdgFolders[i][0], oldXdg_[i]->c_str(), 1);
        } else {
            ::unsetenv(kXdgFolders[i][0]);
        }
    }
}

Application& ShellFixture::make() {
    app = std::make_unique<Application>(home.file("bin/VLT"), prompter);
    app->endProcess = [this](int code) { endCodes.push_back(code); };
    app->endAtOnce = [this](int code) { endedAtOnce.push_back(code); };
    app->openUrl = [this](const QUrl& url) {
        openedUrls << url.toString();
        return true;
    };
    auto take = [](std::deque<QString>& queue) {
        if (queue.empty()) {
            return QString();
        }
        QString answer = queue.front();
        queue.pop_front();
        return answer;
    };
    auto& requesters = app->desktop().requesters();
    requesters.openFile = [this, take](QWidget*, const QString&, const QString&) {
        return take(openFiles);
    };
    requesters.saveFile = [this, take](QWidget*, const QString&, const QString&) {
        return take(saveFiles);
    };
    requesters.password = [this, take](QWidget*, PasswordMode mode) {
        passwordModes.push_back(mode);
        windowVisibleAtPassword.push_back(app->window().isVisible());
        const QString answer = take(passwords);
        return SecureText(std::u16string(reinterpret_cast<const char16_t*>(answer.utf16()),
                                         static_cast<std::size_t>(answer.size())));
    };
    return *app;
}

Application& ShellFixture::startWith(const QStringList& arguments) {
    make();
    EXPECT_TRUE(app->start(arguments));
    return *app;
}

std::string ShellFixture::dataFolder() const {
    return home.file("config") + "/Orvelline/Orvelline Vaultwick/";
}

void ShellFixture::writeConfig(const std::string& lines) {
    std::filesystem::create_directories(dataFolder());
    writeFile(configPath(), lines);
}

std::string ShellFixture::sampleContainer(const std::string& name) {
    RawContainer raw;
    raw.addVault(SampleVault({4}));
    const std::string path = home.file(name);
    writeFile(path, raw.text());
    return path;
}

QStringList ShellFixture::promptTexts() const {
    QStringList texts;
    for (const auto& p : prompter.prompts) {
        texts << p.text;
    }
    return texts;
}

}  // namespace vlt::test
