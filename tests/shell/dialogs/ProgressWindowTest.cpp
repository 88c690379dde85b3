// The "Please wait..." window of long operations and the progress procedures that drive it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include "shell/dialogs/ProgressWindow.h"

namespace vlt {
namespace {

int openProgressWindows() {
    int count = 0;
    for (QWidget* w : QApplication::allWidgets()) {
        count += w->objectName() == QStringLiteral("progressWindow") ? 1 : 0;
    }
    return count;
}

TEST(ProgressPresenter, OpenUpdateCloseSequence) {
    ProgressPresenter progress;
    EXPECT_EQ(progress.Progress_Open(QStringLiteral("Save container"),
                                     QStringLiteral("Please wait while the container file is "
                                                    "saved...")),
              1);
    ASSERT_TRUE(progress.isOpen());
    QPointer<ProgressWindow> window = progress.window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Please wait..."));
    EXPECT_EQ(window->size(), QSize(370, 85));

    auto* banner = window->findChild<QLabel*>(QStringLiteral("banner"));
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->pixmap().size(), QSize(370, 40));

    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("progressBar"));
    ASSERT_NE(bar, nullptr);
    progress.Progress_Update(45);
    EXPECT_EQ(bar->value(), 45);

    progress.Progress_Close();
    EXPECT_FALSE(progress.isOpen());
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(openProgressWindows(), 0);
    progress.Progress_Close();  // closing again, with no window, does nothing
    EXPECT_FALSE(progress.isOpen());
}

TEST(ProgressPresenter, ValuesOutsideTheRangeAreClamped) {
    ProgressPresenter progress;
    progress.Progress_Open(QStringLiteral("Open container"), QStringLiteral("..."));
    progress.Progress_Update(60);
    progress.Progress_Update(250);
    EXPECT_EQ(progress.window()->bar()->value(), 100);
    progress.Progress_Update(-3);
    EXPECT_EQ(progress.window()->bar()->value(), 0);
    progress.Progress_Close();
}

TEST(ProgressPresenter, UpdateHandlesPendingEventsWithOrWithoutAWindow) {
    ProgressPresenter progress;
    bool handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    progress.Progress_Update(50);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(progress.isOpen());

    progress.Progress_Open(QStringLiteral("a"), QStringLiteral("b"));
    handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    progress.Progress_Update(50);
    EXPECT_TRUE(handled);
    progress.Progress_Close();
}

TEST(ProgressPresenter, OnlyOneWindowAtATime) {
    ProgressPresenter progress;
    progress.Progress_Open(QStringLiteral("first"), QStringLiteral("one"));
    QPointer<ProgressWindow> first = progress.window();
    progress.Progress_Open(QStringLiteral("second"), QStringLiteral("two"));
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(openProgressWindows(), 1);
    progress.Progress_Close();
}

TEST(ProgressPresenter, UserCannotCloseTheWindow) {
    ProgressPresenter progress;
    progress.Progress_Open(QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_FALSE(progress.window()->close());
    EXPECT_TRUE(progress.window()->isVisible());
    progress.Progress_Close();
}

TEST(ProgressPresenter, WindowIsModalOverTheActiveWindow) {
    QWidget owner;
    owner.setObjectName(QStringLiteral("owner"));
    owner.resize(300, 200);
    owner.show();
    owner.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &owner);
    ProgressPresenter progress;
    progress.Progress_Open(QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(progress.window()->parentWidget(), &owner);
    EXPECT_EQ(progress.window()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(progress.window()->isWindow());
    progress.Progress_Close();
}

TEST(ProgressPresenter, WindowStandsAtItsPlaceWhereverItsOwnerIs) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_TRUE(screen.contains(QRect(330, 260, 400, 150)));
    QWidget owner;
    owner.setGeometry(screen.left() + 60, screen.top() + 40, 500, 400);
    owner.show();
    owner.activateWindow();
    QApplication::processEvents();
    ProgressPresenter progress;
    for (const QPoint at : {QPoint(screen.left() + 60, screen.top() + 40),
                            QPoint(screen.right() - 100, screen.bottom() - 50)}) {
        owner.move(at);
        progress.Progress_Open(QStringLiteral("a"), QStringLiteral("b"));
        EXPECT_EQ(progress.window()->pos(), QPoint(330, 260));
        EXPECT_EQ(progress.window()->size(), QSize(370, 85));
        progress.Progress_Close();
    }
}

TEST(ProgressPresenter, DestroyedOwnerLeavesThePresenterClosed) {
    auto* owner = new QWidget;
    owner->show();
    owner->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), owner);
    ProgressPresenter progress;
    progress.Progress_Open(QStringLiteral("a"), QStringLiteral("b"));
    delete owner;
    EXPECT_FALSE(progress.isOpen());
    progress.Progress_Update(10);
    progress.Progress_Close();
}

}  // namespace
}  // namespace vlt
