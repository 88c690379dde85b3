#include "shell/main/AutoResize.h"

namespace vlt {

int AutoResize::AutoResize_Find(const QWidget* window, const QWidget* control) const {
    for (const Record& r : records_) {
        if (r.window == window && r.control == control) {
            return 1;
        }
    }
    return 0;
}

int AutoResize::AutoResize_Add(QWidget* window, QWidget* control, int fixTop, int fixBottom,
                               int fixLeft, int fixRight) {
    if (AutoResize_Find(window, control) == 1) {
        return 0;
    }
    used_ = true;
    const int w = window->width();
    const int h = window->height();
    const QRect g = control->geometry();
    Record r;
    r.window = window;
    r.control = control;
    r.fixTop = fixTop;
    r.fixBottom = fixBottom;
    r.fixLeft = fixLeft;
    r.fixRight = fixRight;
    if (fixTop == 0) {
        r.topOffset = h - g.y();
    }
    if (fixBottom == 0) {
        r.bottomOffset = h - g.y() - g.height();
    }
    if (fixLeft == 0) {
        r.leftOffset = w - g.x();
    }
    if (fixRight == 0) {
        r.rightOffset = w - g.x() - g.width();
    }
    records_.push_back(r);
    return static_cast<int>(records_.size()) - 1;
}

int AutoResize::AutoResize_Apply(const QWidget* window) {
    if (!used_) {
        return -1;
    }
    for (const Record& r : records_) {
        if (r.window != window || r.window.isNull() || r.control.isNull()) {
            continue;
        }
        const int w = window->width();
        const int h = window->height();
        QRect g = r.control->geometry();
        int x = g.x();
        int y = g.y();
        int width = g.width();
        int height = g.height();
        if (r.fixTop == 0) {
            y = h - r.topOffset;
        }
        if (r.fixBottom == 0) {
            height = h - y - r.bottomOffset;
        }
        if (r.fixLeft == 0) {
            x = w - r.leftOffset;
        }
        if (r.fixRight == 0) {
            width = w - x - r.rightOffset;
        }
        r.control->setGeometry(x, y, width, height);
        r.control->update();
    }
    return 0;
}

}  // namespace vlt
