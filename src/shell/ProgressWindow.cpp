#include "ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "Banners.h"
#include "Gadgets.h"
#include "UiFonts.h"

namespace vlt {

namespace {

// The window stands over the middle of the window it keeps waiting (over the middle of the
// screen when there is none), wholly on that screen: a fixed place on the desktop could be far
// from that window, or on another screen altogether.
QPoint placeOver(const QWidget* owner, QSize frame) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    QRect placed(QPoint(), frame);
    placed.moveCenter(owner != nullptr ? owner->frameGeometry().center() : area.center());
    if (area.isValid()) {
        placed.moveLeft(std::clamp(placed.left(), area.left(),
                                   std::max(area.left(), area.right() + 1 - frame.width())));
        placed.moveTop(std::clamp(placed.top(), area.top(),
                                  std::max(area.top(), area.bottom() + 1 - frame.height())));
    }
    return placed.topLeft();
}

}  // namespace

ProgressWindow::ProgressWindow(const QString& title, const QString& text, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral("Please wait..."));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);
    setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    auto* banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setGeometry(0, 0, kWidth, kBannerHeight);
    banner->setPixmap(MakeBanner(kWidth, title, text));

    SeparatorGadget(this, 0, kBannerHeight, 375, 5);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setGeometry(10, 60, 350, 15);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // The operation that opened the window closes it; the user cannot.
    event->ignore();
}

ProgressPresenter::~ProgressPresenter() {
    Progress_Close();
}

int ProgressPresenter::Progress_Open(const QString& title, const QString& text) {
    Progress_Close();
    owner_ = QApplication::activeWindow();
    window_ = new ProgressWindow(title, text, owner_.data());
    const QWidget* over = owner_ ? owner_->window() : nullptr;
    window_->move(placeOver(over, window_->size()));
    window_->show();
    // Again with the frame, which exists only now.
    window_->move(placeOver(over, window_->frameGeometry().size()));
    return 1;
}

void ProgressPresenter::Progress_Update(int value) {
    if (window_) {
        window_->bar()->setValue(std::clamp(value, 0, 100));
    }
    QCoreApplication::processEvents();
}

void ProgressPresenter::Progress_Close() {
    if (!window_) {
        return;
    }
    delete window_.data();
    if (owner_) {
        owner_->activateWindow();
    }
    owner_ = nullptr;
}

}  // namespace vlt
