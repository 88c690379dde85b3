#include "engine/session/Help.h"

#include <filesystem>
#include <system_error>

#include "common/Utf.h"
#include "engine/vault/Engine.h"

namespace vlt {

namespace {

constexpr std::u16string_view kDefaultTopic = u"Introduction.html";
constexpr std::string_view kHelpFolder = "help";

bool isPlainPageName(std::u16string_view topic) {
    if (topic.empty() || topic == u"." || topic == u"..") {
        return false;
    }
    for (char16_t c : topic) {
        if (c == u'/' || c == u'\\' || c < 0x20) {
            return false;
        }
    }
    return true;
}

bool isPage(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string FindHelpPage(std::u16string_view topic, const std::string& programFolder) {
    const std::u16string page(topic.empty() ? kDefaultTopic : topic);
    if (!isPlainPageName(page)) {
        return {};
    }
    const std::string name = toUtf8(page);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    for (const std::filesystem::path& folder :
         {std::filesystem::path(programFolder), error ? std::filesystem::path() : here}) {
        if (folder.empty()) {
            continue;
        }
        const std::filesystem::path candidate = folder / kHelpFolder / name;
        if (isPage(candidate)) {
            return std::filesystem::absolute(candidate, error).lexically_normal().string();
        }
    }
    return {};
}

int RunHelp(Engine& engine, std::u16string_view topic, const std::string& programFolder) {
    auto trace = [&engine](std::u16string_view message) { engine.log.Trace(message, "RunHelp"); };
    trace(u"Launching help file, topic: " + std::u16string(topic));
    const std::string page = FindHelpPage(topic, programFolder);
    if (!page.empty()) {
        engine.log.Trace(u"Launching help file: " + fromUtf8(page), "LaunchHelpFile");
    }
    if (page.empty() || !engine.desktop.OpenHelpPage(page)) {
        trace(u"Couldn't launch file");
        engine.desktop.Message(u"Information",
                               u"There was an error launching the Help file (VLT.chm). It is "
                               u"possible that it isn't correctly installed.",
                               MessageIcon::Information);
    }
    trace(u"Returning");
    return 1;
}

}  // namespace vlt
