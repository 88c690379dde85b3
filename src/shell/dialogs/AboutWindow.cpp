#include "shell/dialogs/AboutWindow.h"

#include <unistd.h>

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QUrl>

#include "engine/Version.h"
#include "shell/app/QtText.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/Painting.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kWidth = 467;
constexpr int kHeight = 250;
constexpr int kEmblemImage = 53;
constexpr int kCloseImage = 1;
constexpr int kWebsiteImage = 10;
constexpr int kDonateImage = 11;

QPixmap aboutBanner() {
    QPixmap banner = QPixmap::fromImage(CreateColorImage(470, 35, kBannerTop, kBannerBottom, true));
    QPainter painter(&banner);
    // The 16-pixel emblem doubled, pixel for pixel, to fill the banner's height.
    painter.drawPixmap(5, 1, MenuIcon(kEmblemImage).pixmap(16, 16).scaled(32, 32));
    painter.setFont(UiFonts::bold());
    DrawShadowText(painter, 43, 6, QStringLiteral("Orvelline Vaultwick"), Qt::white);
    painter.setFont(UiFonts::small());
    DrawShadowText(painter, 43, 20, QStringLiteral("Keeps your passwords in one locked file"),
                   Qt::white);
    return banner;
}

}  // namespace

QString AboutWindow::aboutText(bool portable, std::uint64_t totalMemory) {
    QString text = QStringLiteral("Orvelline Vaultwick\r\nA password manager for the desktop\r\n");
    text += QStringLiteral("Version: ") + qs(std::u16string_view(kProgramVersion));
    if (portable) {
        text += QStringLiteral(" (portable)");
    }
    text += QStringLiteral("\r\n\r\n");
    text += QStringLiteral(
        "Built with Qt, OpenSSL and zlib.\r\n"
        "Icons: Silk icon set by Mark James (famfamfam.com), CC BY 3.0.\r\n\r\n");
    text += QStringLiteral("Total memory available: %1MB").arg(totalMemory / 1024 / 1024);
    return text;
}

std::uint64_t AboutWindow::totalPhysicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

AboutWindow::AboutWindow(bool portable, std::uint64_t totalMemory,
                         std::function<void(const QUrl&)> openPage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      openPage_(std::move(openPage)) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("About VLT"));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);

    makeBanner(this, aboutBanner());
    SeparatorGadget(this, 0, 35, 475, 5);

    auto* text = new QPlainTextEdit(aboutText(portable, totalMemory), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setGeometry(5, 45, 455, 120);
    text->setReadOnly(true);
    text->setTabChangesFocus(true);

    QLabel* licence = makeLabel(this, "licenceText", QRect(5, 175, 332, 70),
                                QStringLiteral("This program is free software, given as it is, "
                                               "without any warranty. Keep a copy of your "
                                               "containers and of their passwords in a safe "
                                               "place."));
    licence->setFont(UiFonts::bold());
    licence->setWordWrap(true);
    licence->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto open = [this](const char* address) {
        return [this, address] {
            if (openPage_) {
                openPage_(QUrl(QLatin1String(address)));
            }
        };
    };
    auto* donate =
        makeImageButton(this, "donateButton", QRect(350, 172, 110, 23), QStringLiteral("Donate"),
                        ButtonIcon(kDonateImage), QStringLiteral("Support further development"));
    connect(donate, &QPushButton::clicked, this, open(kDonatePage));
    auto* website =
        makeImageButton(this, "websiteButton", QRect(350, 197, 110, 23), QStringLiteral("Website"),
                        ButtonIcon(kWebsiteImage), QStringLiteral("Visit the program's home page"));
    connect(website, &QPushButton::clicked, this, open(kHomePage));
    auto* close =
        makeImageButton(this, "closeButton", QRect(350, 222, 110, 23), QStringLiteral("Close"),
                        ButtonIcon(kCloseImage), QStringLiteral("Close the window"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    close->setFocus();
}

int ShowAbout(QWidget* parent, bool portable, const std::function<void(const QUrl&)>& openPage) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    RunModal(owner,
             new AboutWindow(portable, AboutWindow::totalPhysicalMemory(), openPage, owner.data()),
             [](AboutWindow&, int) {});
    return 1;
}

}  // namespace vlt
