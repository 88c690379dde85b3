#include "host/PluginInstall.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>

#include "PluginABI.h"
#include "common/RegularFile.h"
#include "common/Utf.h"
#include "engine/crypto/MD5.h"
#include "host/ElfImage.h"
#include "host/PluginLibrary.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kPattern = u"VLT plugins (*.so)|*.so|All files (*.*)|*.*";
// A running plugin without Plugin_QuitSignal can neither be stopped nor waited for, so its
// library stays; the user has to close it.
constexpr std::u16string_view kCannotQuit =
    u"The plugin is running and cannot be asked to quit. Close it first.";

void warn(Desktop& desktop, std::u16string_view text) {
    desktop.Message(u"Warning", text, MessageIcon::Warning);
}

std::u16string textExport(void* handle, const char* name) {
    auto fn = reinterpret_cast<Plugin_GetName_Fn>(pluginExport(handle, name));
    const VLT_Char* text = fn != nullptr ? fn() : nullptr;
    return text != nullptr ? std::u16string(text) : std::u16string();
}

// Writes bytes to target through a temporary file in target's folder, so that target is never
// seen half-written and a library loaded from it is never overwritten in place.
bool copyInto(const std::string& bytes, const std::string& target) {
    std::string temporary = (fs::path(target).parent_path() / ".plugin-XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    bool ok = ::fchmod(fd, 0644) == 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
    }
    return ok;
}

bool sameContentLoaded(const PluginList& plugins, const std::string& bytes) {
    const std::u16string md5 =
        MD5Hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    for (const VLTPlg& p : plugins.records()) {
        if (!md5.empty() && FileMD5Hex(p.Path) == md5) {
            return true;
        }
    }
    return false;
}

// The chosen file stays open from its first look to its trial load, so that what is tried and
// then copied is one file.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

}  // namespace

int VLT_Plugin_Install(PluginList& plugins, Desktop& desktop, const std::string& folder,
                       const std::function<void()>& changed) {
    const std::string chosen = toUtf8(desktop.OpenFileRequester(u"Browse for plugin", kPattern));
    if (chosen.empty()) {
        return 0;
    }
    struct stat info {};
    const Descriptor file{OpenRegularFile(chosen, O_RDONLY, 0, nullptr, &info)};
    std::string bytes;
    if (file.fd >= 0 && info.st_size > 0) {
        try {
            bytes.resize(static_cast<std::size_t>(info.st_size));
        } catch (const std::bad_alloc&) {
            bytes.clear();
        }
        if (!bytes.empty() && !ReadFullyAt(file.fd, 0, bytes.data(), bytes.size())) {
            bytes.clear();
        }
    }
    if (bytes.empty()) {
        warn(desktop, u"The file size is smaller or equal to 0. Installation aborted.");
        return 0;
    }
    // The same library under another path would share the loaded copy's handle and state.
    if (sameContentLoaded(plugins, bytes)) {
        warn(desktop, u"The plugin you have chosen is already installed. Installation aborted.");
        return 0;
    }
    // A file cut short is never handed to the loader, which would fault on its missing end.
    void* library = elfImageRefusal(file.fd).empty() ? openPluginLibrary(file.fd, chosen) : nullptr;
    if (library == nullptr) {
        warn(desktop, u"The file you have chosen is not a valid DLL. Installation aborted.");
        return 1;
    }
    if (PluginList::VLT_Plugin_IsValid(library) != 1) {
        warn(desktop, u"The file you have chosen is not a valid VLT plugin. Installation aborted.");
        closePluginLibrary(library);
        return 1;
    }
    const std::u16string name = textExport(library, "Plugin_GetName");
    const std::u16string version = textExport(library, "Plugin_GetVersion");
    closePluginLibrary(library);

    int replaced = -1;
    const auto& records = plugins.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].Name == name) {
            replaced = static_cast<int>(i);
            break;
        }
    }
    if (replaced >= 0) {
        const std::u16string question =
            u"The plugin you are trying to install is already installed:\r\n\r\nCurrent plugin "
            u"version: " +
            records[static_cast<std::size_t>(replaced)].Version + u"\r\nNew plugin version: " +
            version + u"\r\n\r\nWould you like To replace the existing one?";
        if (!desktop.AskYesNo(u"Please confirm", question, MessageIcon::Question)) {
            return 1;
        }
    }
    const std::string target = (fs::path(folder) / fs::path(chosen).filename()).string();
    // A library of another plugin loaded from the target name would shadow the new file.
    const int occupant = [&] {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].Path == target && static_cast<int>(i) != replaced) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }();
    if (occupant >= 0) {
        warn(desktop, u"Another plugin is installed under this file name. Installation aborted.");
        return 1;
    }
    if (replaced >= 0) {
        if (!plugins.unload(replaced)) {
            desktop.Message(u"Information", kCannotQuit, MessageIcon::Information);
            return 1;
        }
        changed();
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (!copyInto(bytes, target)) {
        warn(desktop,
             u"Error copying the plugin file. Note that you need administrator priviledges to "
             u"install plugins.");
        return 1;
    }
    if (plugins.VLT_Plugin_Load(target) != 1) {
        warn(desktop, u"The plugin file was copied but could not be loaded.");
        return 1;
    }
    changed();
    desktop.Message(u"Success", u"Plugin installation completed successfully.",
                    MessageIcon::Information);
    return 1;
}

int VLT_Plugin_Remove(PluginList& plugins, Desktop& desktop, std::int32_t pluginId,
                      const std::function<void()>& changed) {
    const int index = plugins.indexOf(pluginId);
    if (index < 0) {
        desktop.Message(u"Information", u"Please select a plugin from the list first.",
                        MessageIcon::Information);
        return 0;
    }
    const VLTPlg& plugin = plugins.records()[static_cast<std::size_t>(index)];
    if (!desktop.AskYesNo(u"Please confirm",
                          u"Are you sure you want to remove the " + plugin.Name +
                              u" plugin? This action cannot be reverted unless you reinstall the "
                              u"plugin file!",
                          MessageIcon::Question)) {
        return 0;
    }
    const std::string path = plugin.Path;
    if (!plugins.unload(index)) {
        desktop.Message(u"Information", kCannotQuit, MessageIcon::Information);
        return 0;
    }
    changed();
    // Renaming keeps the file whole as the backup; it no longer ends in ".so", so it is not
    // loaded again.
    if (::rename(path.c_str(), (path + ".bak").c_str()) != 0) {
        warn(desktop, u"The file could not be removed.");
        return 0;
    }
    desktop.Message(u"Success", u"The plugin was successfully removed.", MessageIcon::Information);
    return 0;
}

}  // namespace vlt
