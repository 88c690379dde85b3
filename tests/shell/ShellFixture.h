#pragma once
// A started VLT in a scratch home: per-user folders under a temporary XDG_CONFIG_HOME and
// XDG_DATA_HOME, a scripted prompter, and scripted file requesters and password answers.

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "FakePrompter.h"
#include "TempDir.h"
#include "shell/app/Application.h"
#include "shell/main/MainWindow.h"

namespace vlt::test {

class ShellFixture : public ::testing::Test {
  protected:
    ShellFixture();
    ~ShellFixture() override;

    // Creates the application (not started yet) with scripted requesters.
    Application& make();
    // make() and start() with these command-line arguments.
    Application& startWith(const QStringList& arguments = {});

    std::string dataFolder() const;
    std::string configPath() const { return dataFolder() + "Config.ini"; }
    // Writes a Config.ini holding these lines (on top of an empty file's defaults).
    void writeConfig(const std::string& lines);
    // A container of the sample vault with password "abc".
    std::string sampleContainer(const std::string& name = "sample.vlt");
    QStringList promptTexts() const;

    TempDir home;
    FakePrompter prompter;
    std::deque<QString> passwords;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::vector<int> passwordModes;
    std::vector<bool> windowVisibleAtPassword;
    std::vector<int> endCodes;     // the program's end, recorded instead of leaving the loop
    std::vector<int> endedAtOnce;  // the same, where a plugin's thread still ran
    QStringList openedUrls;        // links handed to the browser, recorded instead of opened
    std::unique_ptr<Application> app;

  private:
    std::vector<std::optional<std::string>> oldXdg_;  // the variables as they were
};

}  // namespace vlt::test
