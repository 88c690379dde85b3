#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "ExporterIcon.h"
#include "ExporterWindow.h"
#include "GuiBridge.h"
#include "PluginSDK.h"
#include "QtUtf16.h"

namespace vlt::plugin {

namespace {

// What the window hands to the exporter's thread: export requests, and that it has gone.
class Mailbox {
  public:
    void put(ExportRequest request) {
        std::lock_guard lock(mutex_);
        request_ = std::move(request);
        wake_.notify_one();
    }
    void close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        wake_.notify_one();
    }
    bool closed() {
        std::lock_guard lock(mutex_);
        return closed_;
    }
    // The next request, or nothing after about 50 ms. On the GUI thread itself (tests) the
    // window's events are handled meanwhile.
    std::optional<ExportRequest> take() {
        QCoreApplication* app = QCoreApplication::instance();
        if (app != nullptr && QThread::currentThread() == app->thread()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(50),
                       [this] { return closed_ || request_.has_value(); });
        std::optional<ExportRequest> request = std::move(request_);
        request_.reset();
        return request;
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<ExportRequest> request_;
    bool closed_ = false;
};

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Question:
            return QMessageBox::Question;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            break;
    }
    return QMessageBox::Information;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The frame's questions and messages, shown over the window on the GUI thread.
class WindowPrompts final : public ExportPrompts {
  public:
    explicit WindowPrompts(QPointer<ExporterWindow> window) : window_(std::move(window)) {}

    bool confirmReplace() override {
        bool yes = false;
        sdk::call([&] {
            QMessageBox box(QMessageBox::Question, QStringLiteral("Please confirm"),
                            QStringLiteral("Would you like to replace the existing file?"),
                            QMessageBox::Yes | QMessageBox::No, window_);
            yes = sdk::execUntilQuit(box) == QMessageBox::Yes;
        });
        return yes;
    }

    void message(std::string_view title, std::string_view text, MessageKind kind) override {
        sdk::call([&] {
            QMessageBox box(iconOf(kind), fromUtf8(title), fromUtf8(text), QMessageBox::Ok,
                            window_);
            sdk::execUntilQuit(box);
        });
    }

  private:
    QPointer<ExporterWindow> window_;
};

// Removes the window however the exporter ends, and returns only once it is gone: the host may
// unload the library as soon as the exporter has returned. A dialog still open over the window
// (the save dialog, a message) is closed first, and the window is deleted once the dialog's
// loop has returned into it.
struct WindowOwner {
    QPointer<ExporterWindow> window;
    ~WindowOwner() {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr || QThread::currentThread() == app->thread()) {
            delete window;  // tests run the exporter on the GUI thread itself
            return;
        }
        QSemaphore gone;
        sdk::call([&] {
            if (!window) {
                gone.release();
                return;
            }
            QObject::connect(window, &QObject::destroyed, [&gone] { gone.release(); });
            for (QDialog* dialog : window->findChildren<QDialog*>()) {
                dialog->reject();
            }
            window->hide();
            window->deleteLater();
        });
        gone.acquire();
        // Whatever the window posted before it went has run before the exporter returns.
        sdk::call([] {});
    }
};

int runExporter(const ExporterTexts& texts, ExportWriter writer, RecordSource& records,
                std::uint32_t iconColour) {
    std::vector<std::pair<QString, std::int32_t>> groups;
    const std::int32_t groupCount = records.countGroups();
    for (std::int32_t i = 0; i < groupCount; ++i) {
        if (const VLT_Group* g = records.nextGroup()) {
            groups.emplace_back(qs(g->Name), g->ID);
        }
    }
    if (records.countEntries() == 0) {
        sdk::call([] {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                            QStringLiteral("There are no entries to export."), QMessageBox::Ok);
            sdk::execUntilQuit(box);
        });
        return 0;
    }

    Mailbox mailbox;
    WindowOwner owner;
    QPointer<ExporterWindow>& window = owner.window;
    sdk::call([&] {
        window = new ExporterWindow(texts, groups, ExporterIcon(iconColour));
        QObject::connect(window, &QDialog::finished, window, [&mailbox] { mailbox.close(); });
        QObject::connect(window, &ExporterWindow::exportRequested, window,
                         [&mailbox](const ExportRequest& request) { mailbox.put(request); });
        sdk::showWindow(window);
    });
    WindowPrompts prompts(window);
    while (!mailbox.closed() && Plugin_QuitRequested() == 0) {
        std::optional<ExportRequest> request = mailbox.take();
        if (!request) {
            continue;
        }
        ExportFile(
            *request, writer, records, LocalNow(),
            [window](int position) {
                sdk::post([window, position] {
                    if (window) {
                        window->setProgress(position);
                    }
                });
            },
            prompts, texts.successMessage);
        sdk::call([&] {
            if (window) {
                window->setBusy(false);
            }
        });
    }
    return 0;
}

}  // namespace

int ExporterMain(const ExporterTexts& texts, ExportWriter writer, RecordSource& records,
                 std::uint32_t iconColour) {
    // No exception may unwind into the host's thread.
    try {
        return runExporter(texts, writer, records, iconColour);
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace vlt::plugin
