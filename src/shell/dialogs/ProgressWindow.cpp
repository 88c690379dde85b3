#include "shell/dialogs/ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

// The window's place on the desktop; moved in as far as needed to stand wholly on a screen
// that is smaller than that.
constexpr QPoint kPlace(330, 260);

QPoint placeOnScreen(QSize frame) {
    QScreen* screen = QGuiApplication::screenAt(kPlace);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return kPlace;
    }
    const QRect area = screen->availableGeometry();
    return {std::clamp(kPlace.x(), area.left(),
                       std::max(area.left(), area.right() + 1 - frame.width())),
            std::clamp(kPlace.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - frame.height()))};
}

}  // namespace

ProgressWindow::ProgressWindow(const QString& title, const QString& text, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral("Please wait..."));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);
    setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    makeBanner(this, MakeBanner(kWidth, title, text));

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
    window_->move(placeOnScreen(window_->size()));
    window_->show();
    // Again with the frame, which exists only now.
    window_->move(placeOnScreen(window_->frameGeometry().size()));
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
