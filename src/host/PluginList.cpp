#include "host/PluginList.h"

#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "PluginABI.h"
#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/crypto/MD5.h"
#include "engine/log/Logging.h"
#include "engine/text/Text.h"
#include "engine/vault/ID.h"
#include "host/PluginLibrary.h"

namespace vlt {
namespace {

constexpr std::string_view kLoad = "VLT_Plugin_Load";

template <typename Fn>
Fn exportOf(void* handle, const char* name) {
    return reinterpret_cast<Fn>(pluginExport(handle, name));
}

std::u16string textExport(void* handle, const char* name) {
    auto fn = exportOf<Plugin_GetName_Fn>(handle, name);
    const VLT_Char* text = fn != nullptr ? fn() : nullptr;
    return text != nullptr ? std::u16string(text) : std::u16string();
}

std::u16string handleText(void* handle) {
    return decimal(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(handle)));
}

}  // namespace

PluginList::PluginList(IdRegistry& ids, TraceLog& log) : ids_(ids), log_(log) {}

int PluginList::VLT_Plugin_LoadFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (trimBlanks(fromUtf8(folder)).empty() || !fs::is_directory(folder, error)) {
        return 0;
    }
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // Whatever else the name stands for is refused by the loader, which traces why.
        if (it->path().extension() == ".so") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        VLT_Plugin_Load(file.string());
    }
    return 0;
}

int PluginList::VLT_Plugin_Load(const std::string& path) {
    log_.Trace(u"Trying to load plugin: " + fromUtf8(path), kLoad);
    // A file that is not loaded says why, so that a plugin's author can tell.
    const auto refuse = [this](std::u16string_view reason) {
        log_.Trace(u"Plugin not loaded: " + std::u16string(reason), kLoad);
        return 0;
    };
    std::u16string refusal;
    const int fd = openPluginFile(path, refusal);
    if (fd < 0) {
        return refuse(refusal);
    }
    std::string error;
    PluginFaultHandler faultHandler;
    void* handle = openPluginLibrary(fd, path, &error, &faultHandler);
    const std::u16string md5 = handle != nullptr ? FileMD5Hex(fd) : std::u16string();
    ::close(fd);
    if (handle == nullptr) {
        return refuse(fromUtf8(error));
    }
    if (VLT_Plugin_IsValid(handle) != 1) {
        const bool signed_ = pluginExport(handle, "Plugin_GetSignature") != nullptr;
        closePluginLibrary(handle);
        return refuse(signed_ ? u"its signature is not VLTPlugin_v4.0"
                              : u"it does not export Plugin_GetSignature");
    }
    VLTPlg plugin;
    plugin.Name = textExport(handle, "Plugin_GetName");
    plugin.Version = textExport(handle, "Plugin_GetVersion");
    plugin.Description = textExport(handle, "Plugin_GetDescription");
    plugin.Author = textExport(handle, "Plugin_GetAuthor");
    auto iconSize = exportOf<Plugin_GetIconSize_Fn>(handle, "Plugin_GetIconSize");
    auto iconAddress = exportOf<Plugin_GetIconAddress_Fn>(handle, "Plugin_GetIconAddress");
    auto type = exportOf<Plugin_GetType_Fn>(handle, "Plugin_GetType");
    const std::int32_t size = iconSize != nullptr ? iconSize() : 0;
    const void* address = iconAddress != nullptr ? iconAddress() : nullptr;
    if (size > 0 && address != nullptr) {
        plugin.IconImage = QImage::fromData(static_cast<const uchar*>(address), size);
        if (!plugin.IconImage.isNull()) {
            plugin.Icon = ++iconCount_;
        }
    }
    plugin.Type = type != nullptr ? type() : Tool;
    plugin.ID = newPluginId();
    plugin.Path = path;
    plugin.Handle = handle;
    plugin.Thread = -1;
    plugin.FaultHandler = faultHandler;
    records_.push_back(std::move(plugin));
    current_ = static_cast<int>(records_.size()) - 1;

    const VLTPlg& p = records_.back();
    log_.Trace(u"VLTPlg()\\ID: " + decimal(p.ID), kLoad);
    log_.Trace(u"VLTPlg()\\MD5: " + md5, kLoad);
    log_.Trace(u"VLTPlg()\\Name: " + p.Name, kLoad);
    log_.Trace(u"VLTPlg()\\Version: " + p.Version, kLoad);
    log_.Trace(u"VLTPlg()\\Description: " + p.Description, kLoad);
    log_.Trace(u"VLTPlg()\\Author: " + p.Author, kLoad);
    log_.Trace(u"VLTPlg()\\Icon: " + decimal(p.Icon), kLoad);
    log_.Trace(u"VLTPlg()\\Handle: " + handleText(p.Handle), kLoad);
    log_.Trace(u"VLTPlg()\\Type: " + decimal(p.Type), kLoad);
    return 1;
}

int PluginList::VLT_Plugin_IsValid(void* library) {
    auto signature = exportOf<Plugin_GetSignature_Fn>(library, "Plugin_GetSignature");
    if (signature == nullptr) {
        return 0;
    }
    const VLT_Char* text = signature();
    return text != nullptr && std::u16string_view(text) == VLT_PLUGIN_SIGNATURE ? 1 : 0;
}

std::int32_t PluginList::newPluginId() {
    // The vault's IDs can be cleared while plugins stay loaded; a plugin's ID must still name
    // only that plugin.
    for (;;) {
        const std::int32_t id = ids_.ID_New();
        if (std::none_of(records_.begin(), records_.end(),
                         [id](const VLTPlg& p) { return p.ID == id; })) {
            return id;
        }
    }
}

int PluginList::VLT_Plugin_Count() {
    current_ = -1;
    return static_cast<int>(records_.size());
}

int PluginList::VLT_Plugin_Next() {
    if (current_ + 1 >= static_cast<int>(records_.size())) {
        current_ = static_cast<int>(records_.size());
        return 0;
    }
    ++current_;
    return 1;
}

int PluginList::VLT_Plugin_GetCurrent() const {
    return current() != nullptr ? current_ : -1;
}

int PluginList::VLT_Plugin_Select(int index) {
    if (index != -1) {
        current_ = index;
    }
    return 1;
}

const VLTPlg* PluginList::current() const {
    if (current_ < 0 || current_ >= static_cast<int>(records_.size())) {
        return nullptr;
    }
    return &records_[static_cast<std::size_t>(current_)];
}

std::int32_t PluginList::VLT_Plugin_GetID() const {
    return current() ? current()->ID : 0;
}
std::u16string PluginList::VLT_Plugin_GetName() const {
    return current() ? current()->Name : u"";
}
std::u16string PluginList::VLT_Plugin_GetVersion() const {
    return current() ? current()->Version : u"";
}
std::u16string PluginList::VLT_Plugin_GetDescription() const {
    return current() ? current()->Description : u"";
}
std::u16string PluginList::VLT_Plugin_GetAuthor() const {
    return current() ? current()->Author : u"";
}
std::int32_t PluginList::VLT_Plugin_GetIcon() const {
    return current() ? current()->Icon : 0;
}
void* PluginList::VLT_Plugin_GetHandle() const {
    return current() ? current()->Handle : nullptr;
}
std::int32_t PluginList::VLT_Plugin_GetType() const {
    return current() ? current()->Type : -1;
}
std::int32_t PluginList::VLT_Plugin_GetThread() const {
    return current() ? current()->Thread : -1;
}

int PluginList::VLT_Plugin_SetThread(std::int32_t thread) {
    if (current() != nullptr) {
        records_[static_cast<std::size_t>(current_)].Thread = thread;
    }
    return 0;
}

int PluginList::VLT_Plugin_CountPreviewers() {
    return static_cast<int>(std::count_if(records_.begin(), records_.end(),
                                          [](const VLTPlg& p) { return p.Type == Previewer; }));
}

void* PluginList::currentExport(const char* name) const {
    return current() != nullptr ? pluginExport(current()->Handle, name) : nullptr;
}

bool PluginList::unload(int index) {
    if (index < 0 || index >= static_cast<int>(records_.size())) {
        return false;
    }
    VLTPlg& plugin = records_[static_cast<std::size_t>(index)];
    auto quit = exportOf<Plugin_QuitSignal_Fn>(plugin.Handle, "Plugin_QuitSignal");
    if (quit == nullptr && threads_.isRunning(plugin.Thread)) {
        return false;
    }
    if (quit != nullptr) {
        quit();
        threads_.waitFor(plugin.Thread);
    }
    closePluginLibrary(plugin.Handle);
    ids_.ID_Free(plugin.ID);
    records_.erase(records_.begin() + index);
    current_ = -1;
    return true;
}

int PluginList::indexOf(std::int32_t id) const {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].ID == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int PluginList::VLT_Plugin_SendQuitSignal() {
    for (const VLTPlg& plugin : records_) {
        auto quit = exportOf<Plugin_QuitSignal_Fn>(plugin.Handle, "Plugin_QuitSignal");
        if (quit == nullptr) {
            continue;
        }
        quit();
        // A plugin named by its file when it gives no name of its own.
        const std::u16string name =
            !plugin.Name.empty() ? plugin.Name
                                 : fromUtf8(std::filesystem::path(plugin.Path).filename().string());
        while (!threads_.waitFor(plugin.Thread, quitWait.patience) &&
               (!quitWait.keepWaiting || quitWait.keepWaiting(name))) {
        }
    }
    return 0;
}

}  // namespace vlt
