// The on-screen keyboard tool: types into another program's window by clicks on its keys.
#include <dlfcn.h>

#include <QImage>
#include <QMessageBox>
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

// The layouts file lies beside this library, wherever the host program is.
std::string layoutsPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Plugin_Start), &info) == 0 || info.dli_fname == nullptr) {
        return "KBLayouts.ini";
    }
    std::string path = info.dli_fname;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
           "KBLayouts.ini";
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
