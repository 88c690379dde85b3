#pragma once
// The clipboard clearing and the auto-close of an idle container: one-second timers on the GUI
// thread driving the engine's ticks, and the user events that count as activity.

#include <QObject>
#include <QTimer>

namespace vlt {

struct Engine;

class IdleGuards : public QObject {
  public:
    explicit IdleGuards(Engine& engine, QObject* parent = nullptr);

    // Starts each timer whose setting is on and that does not run yet, tracing the start. Once
    // started a timer runs until the program ends; with its setting off its tick idles.
    void startEnabled();
    bool clipboardClearRunning() const { return clipboard_.isActive(); }
    bool autoCloseRunning() const { return autoClose_.isActive(); }

  protected:
    // Key presses, clicks, wheel turns and drops anywhere in the program restart the idle count.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Engine& engine_;
    QTimer clipboard_;
    QTimer autoClose_;
};

}  // namespace vlt
