#pragma once
// The notification-area icon and the two moves of the main window between the screen and the
// tray. Where the desktop has no notification area, "to the tray" minimises the window instead,
// so that the task bar can still bring it back. GUI thread only.

#include <QObject>
#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace vlt {

class TraceLog;

class TrayIcon : public QObject {
    Q_OBJECT

  public:
    // `popup` is shown on a right click on the icon; `window` and `popup` outlive this object.
    TrayIcon(QWidget& window, QMenu* popup, TraceLog& log, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Shows the icon and hides the window (or only minimises it without a notification area).
    int SendToTray();
    // Shows, restores, raises and activates the window; the icon goes once the window is shown.
    int RestoreFromTray();

    // Whether the icon is shown now.
    bool isShown() const;
    // Whether the desktop has a notification area; tests replace it.
    std::function<bool()> trayAvailable;
    // Whether minimising the window sends it to the tray (asked at each minimising).
    std::function<bool()> minimiseToTray;
    // The icon itself (null until first shown).
    QSystemTrayIcon* icon() const { return icon_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // Any use of the icon (the auto-close timer counts it as activity).
    void used();

  private:
    QSystemTrayIcon* createIcon();
    // Hides the icon a restoring left if the window is on the screen by now.
    void removeIconIfWindowShown();

    QWidget& window_;
    QMenu* popup_;
    TraceLog& log_;
    QSystemTrayIcon* icon_ = nullptr;
    bool iconLeavesWhenShown_ = false;
};

}  // namespace vlt
