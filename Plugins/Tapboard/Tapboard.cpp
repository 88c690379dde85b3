// The on-screen keyboard tool: types into another program's window by clicks on its keys.
#include <QImage>
#include <QMessageBox>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "GuiBridge.h"
#include "KeyboardIcon.h"
#include "KeyboardLayouts.h"
#include "KeyboardWindow.h"
#include "PluginSDK.h"
#include "X11Keyboard.h"

VLT_PLUGIN_EXPORT(Plugin_Start)

void Plugin_OnLoad() {
    Plugin_SetName(u"Virtual keyboard");
    Plugin_SetVersion(u"1.1");
    Plugin_SetDescription(u"Simple on-screen keyboard");
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_TOOL);
    Plugin_SetIconSize(static_cast<std::int32_t>(tapboard::kIconFileSize));
    Plugin_SetIconAddress(tapboard::KeyboardIcon().data());
}

namespace {

// The layouts file lies beside this library, wherever the host program is. The host loads a
// library through its open descriptor, so the loader's name for it tells nothing of its folder;
// the kernel's map of the process names the file each mapping comes from.
std::string layoutsPath() {
    const auto here = reinterpret_cast<std::uintptr_t>(&Plugin_Start);
    std::ifstream maps("/proc/self/maps");
    // Each line: "start-end perms offset device inode path", the path the only field with a '/'.
    for (std::string line; std::getline(maps, line);) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        range >> std::hex >> start >> dash >> end;
        const std::size_t path = line.find('/');
        if (!range || dash != '-' || here < start || here >= end || path == std::string::npos) {
            continue;
        }
        const std::size_t slash = line.rfind('/');
        return line.substr(path, slash + 1 - path) + "KBLayouts.ini";
    }
    return "KBLayouts.ini";
}

void showError(const QString& caption, const QString& text) {
    vlt::sdk::runWindow(
        [&] { return new QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok); });
}

}  // namespace

int32_t Plugin_Start() {
    auto layouts = tapboard::LoadKeyboardLayouts(layoutsPath());
    if (!layouts) {
        showError(QStringLiteral("Fatal error"),
                  QStringLiteral("Could not load the 'KBLayouts.ini' file."));
        return 0;
    }
    // Every Xlib call of the keyboard is made on the GUI thread, where its window lives.
    std::unique_ptr<tapboard::X11Keyboard> x11;
    vlt::sdk::call([&x11] { x11 = tapboard::X11Keyboard::open(); });
    if (!x11) {
        showError(QStringLiteral("Error"),
                  QStringLiteral("The keyboard cannot send keys: no X11 display with the XTEST "
                                 "and XKB extensions was found."));
        return 0;
    }
    vlt::sdk::runWindow([&]() -> QDialog* {
        const auto& icon = tapboard::KeyboardIcon();
        return new tapboard::KeyboardWindow(
            std::move(*layouts), std::move(x11),
            QImage::fromData(icon.data(), static_cast<int>(icon.size())));
    });
    return 0;
}
