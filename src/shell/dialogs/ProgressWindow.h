#pragma once
// The small "Please wait..." window of long operations (saving, opening, extracting): a banner
// with the operation's title and text above a 0..100 progress bar. It is modal over the window
// that was active when it opened and cannot be closed by the user. GUI thread only.

#include <QPointer>
#include <QString>
#include <QWidget>

class QProgressBar;

namespace vlt {

class ProgressWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 370;
    static constexpr int kHeight = 85;

    ProgressWindow(const QString& title, const QString& text, QWidget* owner);

    QProgressBar* bar() const { return bar_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QProgressBar* bar_ = nullptr;
};

// The progress procedures of the Desktop seam, done with a ProgressWindow: one window at a time.
class ProgressPresenter {
  public:
    ProgressPresenter() = default;
    ~ProgressPresenter();
    ProgressPresenter(const ProgressPresenter&) = delete;
    ProgressPresenter& operator=(const ProgressPresenter&) = delete;

    // Opens the window over the middle of the active window (replacing one still open) and shows
    // it; returns 1.
    int Progress_Open(const QString& title, const QString& text);
    // Sets the bar (clamped to 0..100) when the window is open, then handles pending events.
    void Progress_Update(int value);
    // Closes the window if one is open and gives the focus back to the window it was over.
    void Progress_Close();

    bool isOpen() const { return !window_.isNull(); }
    ProgressWindow* window() const { return window_.data(); }

  private:
    QPointer<ProgressWindow> window_;
    QPointer<QWidget> owner_;
};

}  // namespace vlt
