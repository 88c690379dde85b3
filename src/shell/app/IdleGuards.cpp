#include "shell/app/IdleGuards.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

#include "engine/text/Text.h"
#include "engine/vault/Engine.h"

namespace vlt {

namespace {

constexpr int kTickMs = 1000;

}  // namespace

IdleGuards::IdleGuards(Engine& engine, QObject* parent) : QObject(parent), engine_(engine) {
    clipboard_.setInterval(kTickMs);
    autoClose_.setInterval(kTickMs);
    connect(&clipboard_, &QTimer::timeout, this, [this] { AutoClearClipboardTick(engine_); });
    connect(&autoClose_, &QTimer::timeout, this, [this] {
        const QPoint cursor = QCursor::pos();
        AutoCloseContainerTick(engine_, cursor.x(), cursor.y());
    });
    QCoreApplication::instance()->installEventFilter(this);
}

void IdleGuards::startEnabled() {
    const MainSettings& main = engine_.settings.Main;
    if (main.AutoCloseContainer == 1 && !autoClose_.isActive()) {
        autoClose_.start();
        engine_.log.Trace(u"Started autoclose container thread id: " +
                          hexText(static_cast<std::uint32_t>(autoClose_.timerId())));
    }
    if (main.AutoClearClip == 1 && !clipboard_.isActive()) {
        clipboard_.start();
        engine_.log.Trace(u"Started autoclear clipboard thread id: " +
                          hexText(static_cast<std::uint32_t>(clipboard_.timerId())));
    }
}

bool IdleGuards::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Drop:
            engine_.AutoCloseState.IdleSeconds = 0;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vlt
