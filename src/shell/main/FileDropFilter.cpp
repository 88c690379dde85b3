#include "shell/main/FileDropFilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace vlt {

FileDropFilter::FileDropFilter(std::function<void(const QList<QUrl>& urls)> dropped,
                               QObject* parent)
    : QObject(parent), dropped_(std::move(dropped)) {}

void FileDropFilter::watch(QWidget* target) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasUrls()) {
            drop->acceptProposedAction();
            if (type == QEvent::Drop) {
                dropped_(drop->mimeData()->urls());
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vlt
