#include "shell/main/TrayIcon.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "engine/log/Logging.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {

namespace {

constexpr int kTrayImage = 54;

}  // namespace

TrayIcon::TrayIcon(QWidget& window, QMenu* popup, TraceLog& log, QObject* parent)
    : QObject(parent), window_(window), popup_(popup), log_(log) {
    trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    window_.installEventFilter(this);
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    // Hidden once the minimising is over; without a notification area it stays minimised.
    if (watched == &window_ && event->type() == QEvent::WindowStateChange &&
        window_.isMinimized() && minimiseToTray && minimiseToTray() && trayAvailable()) {
        QTimer::singleShot(0, this, [this] {
            if (window_.isMinimized() && window_.isVisible()) {
                SendToTray();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

TrayIcon::~TrayIcon() = default;

QSystemTrayIcon* TrayIcon::createIcon() {
    auto* icon = new QSystemTrayIcon(MenuIcon(kTrayImage), this);
    icon->setObjectName(QStringLiteral("trayIcon"));
    connect(icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        emit used();
        if (why == QSystemTrayIcon::Context && popup_ != nullptr) {
            log_.Trace(u"Showing systray menu");
            popup_->popup(QCursor::pos());
        } else if (why == QSystemTrayIcon::DoubleClick) {
            log_.Trace(u"Restoring from tray");
            RestoreFromTray();
        }
    });
    return icon;
}

bool TrayIcon::isShown() const {
    return icon_ != nullptr && icon_->isVisible();
}

int TrayIcon::SendToTray() {
    auto trace = [this](std::u16string_view message) { log_.Trace(message, "SendToTray"); };
    if (!trayAvailable()) {
        // Hidden with no icon to click, the window could never be brought back.
        trace(u"No notification area, minimising main window");
        window_.showMinimized();
        trace(u"Returning");
        return 1;
    }
    trace(u"Adding systray icon");
    if (icon_ == nullptr) {
        icon_ = createIcon();
    }
    icon_->setToolTip(QStringLiteral("Orvelline Vaultwick"));
    icon_->show();
    trace(u"Hiding main window");
    window_.hide();
    trace(u"Returning");
    return 1;
}

int TrayIcon::RestoreFromTray() {
    auto trace = [this](std::u16string_view message) { log_.Trace(message, "RestoreFromTray"); };
    if (isShown()) {
        trace(u"Systray icon found, removing");
        icon_->hide();
    }
    trace(u"Showing window");
    window_.show();
    window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window_.showNormal();
    window_.raise();
    window_.activateWindow();
    trace(u"Returning");
    return 1;
}

}  // namespace vlt
