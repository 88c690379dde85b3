#pragma once
// Keeps registered controls glued to the edges of their window: each registration remembers the
// distances to the window's bottom and right edges that must stay constant, and Apply moves and
// stretches the controls after every resize.

#include <QPointer>
#include <QWidget>
#include <vector>

namespace vlt {

class AutoResize {
  public:
    // 1 when the control is registered with that window.
    int AutoResize_Find(const QWidget* window, const QWidget* control) const;
    // Registers the control with its edge flags (1 = that edge keeps its place). Returns the new
    // record's index, or 0 when the pair is registered already.
    int AutoResize_Add(QWidget* window, QWidget* control, int fixTop, int fixBottom, int fixLeft,
                       int fixRight);
    // Lays out the window's controls; -1 while nothing was ever registered, else 0.
    int AutoResize_Apply(const QWidget* window);

  private:
    struct Record {
        QPointer<QWidget> window;
        QPointer<QWidget> control;
        int topOffset = 0;
        int bottomOffset = 0;
        int leftOffset = 0;
        int rightOffset = 0;
        int fixTop = 1;
        int fixBottom = 1;
        int fixLeft = 1;
        int fixRight = 1;
    };
    std::vector<Record> records_;
    bool used_ = false;
};

}  // namespace vlt
