#pragma once
// The about box: the program's version, whether the installation is portable, the machine's
// memory, credits, and buttons to the product's web pages. GUI thread only.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QUrl;

namespace vlt {

class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kHomePage = "https://www.orvelline.example/vaultwick/";
    static constexpr const char* kDonatePage = "https://www.orvelline.example/vaultwick/donate";

    // `openPage` hands an address to the browser.
    AboutWindow(bool portable, std::uint64_t totalMemory, std::function<void(const QUrl&)> openPage,
                QWidget* parent = nullptr);

    // The text of the window's text view: name, version (" (portable)" behind it in a portable
    // installation), credits, and the machine's memory in whole megabytes.
    static QString aboutText(bool portable, std::uint64_t totalMemory);
    // The machine's physical memory in bytes, 0 when it cannot be told.
    static std::uint64_t totalPhysicalMemory();

  private:
    std::function<void(const QUrl&)> openPage_;
};

// The about box over `parent`, modal; returns 1 once it was closed.
int ShowAbout(QWidget* parent, bool portable, const std::function<void(const QUrl&)>& openPage);

}  // namespace vlt
