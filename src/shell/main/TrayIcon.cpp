#include "shell/main/TrayIcon.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "engine/log/Logging.h"
#include "shell/main/BringToFront.h"
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
    if (event->type() == QEvent::Expose && watched == window_.windowHandle()) {
        removeIconIfWindowShown();
    }
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
        if (QWindow* handle = window_.windowHandle(); handle != nullptr && !window_.isVisible()) {
            // A hidden window takes its new place and size only as it shows, and on X11 that
            // undoes the minimising (the start in the tray would show the window): they are
            // given to it first.
            handle->setGeometry(window_.geometry());
        }
        window_.showMinimized();
        trace(u"Returning");
        return 1;
    }
    // The icon stays now, even if a restoring had left it to go once the window shows.
    iconLeavesWhenShown_ = false;
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
    trace(u"Showing window");
    BringToFront(window_);
    // The icon goes once the window is really on the screen: should the window manager keep
    // the window minimised, the icon is still the way back.
    iconLeavesWhenShown_ = isShown();
    if (QWindow* handle = window_.windowHandle()) {
        handle->installEventFilter(this);
        removeIconIfWindowShown();
    }
    trace(u"Returning");
    return 1;
}

void TrayIcon::removeIconIfWindowShown() {
    const QWindow* handle = window_.windowHandle();
    if (!iconLeavesWhenShown_ || handle == nullptr || !handle->isExposed()) {
        return;
    }
    iconLeavesWhenShown_ = false;
    if (isShown()) {
        log_.Trace(u"Systray icon found, removing", "RestoreFromTray");
        icon_->hide();
    }
}

}  // namespace vlt
