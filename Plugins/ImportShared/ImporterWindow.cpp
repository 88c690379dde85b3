#include "ImporterWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <new>

#include "GuiBridge.h"
#include "HeaderBand.h"
#include "PluginSDK.h"
#include "QtUtf16.h"

namespace vlt::import {

namespace {

// Close requests are ignored while the reader runs. While a dialog of the window's own is open,
// the window waits for it, so that the dialog is never destroyed under its own event loop.
class ImporterDialog : public QDialog {
  public:
    bool busy = false;
    bool dialogOpen = false;
    void reject() override {
        if (!busy) {
            QDialog::reject();
        }
    }
};

struct WindowState {
    QSemaphore ended;  // closed, quit, or a file chosen
    ImporterDialog* window = nullptr;
    QProgressBar* bar = nullptr;
    QString path;
    bool chosen = false;
};

void showMessage(QWidget* parent, const QString& caption, const QString& text, int icon) {
    const QMessageBox::Icon kind = icon == kIconError     ? QMessageBox::Critical
                                   : icon == kIconWarning ? QMessageBox::Warning
                                                          : QMessageBox::Information;
    QMessageBox box(kind, caption, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("importerMessage"));
    sdk::execUntilQuit(box);
}

QFrame* separator(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, y, 360, 5);
    return line;
}

void buildWindow(const ImporterTexts& t, WindowState& s) {
    auto* w = new ImporterDialog;
    s.window = w;
    w->setObjectName(QStringLiteral("importerWindow"));
    w->setWindowTitle(t.title);
    w->setFont(QFont(QStringLiteral("Tahoma"), 8));
    w->setFixedSize(355, 160);
    w->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowCloseButtonHint);
    if (t.icon != nullptr && t.iconSize > 0) {
        const QImage icon = QImage::fromData(static_cast<const uchar*>(t.icon), t.iconSize);
        if (!icon.isNull()) {
            w->setWindowIcon(QIcon(QPixmap::fromImage(icon)));
        }
    }
    auto* band = new QLabel(w);
    band->setGeometry(0, 0, 355, 40);
    const QImage bandImage = HeaderBand(355, t.bandTitle, t.bandText);
    if (!bandImage.isNull()) {
        band->setPixmap(QPixmap::fromImage(bandImage));
    }
    separator(w, 40);
    auto* label = new QLabel(t.label, w);
    label->setGeometry(5, 50, 345, 15);
    auto* path = new QLineEdit(w);
    path->setObjectName(QStringLiteral("path"));
    path->setGeometry(5, 70, 255, 20);
    path->setToolTip(t.pathTip);
    auto* browse = new QPushButton(QStringLiteral("Browse"), w);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setGeometry(265, 70, 85, 20);
    browse->setToolTip(t.browseTip);
    s.bar = new QProgressBar(w);
    s.bar->setObjectName(QStringLiteral("progress"));
    s.bar->setGeometry(5, 95, 345, 15);
    s.bar->setRange(0, 100);
    s.bar->setValue(0);
    separator(w, 120);
    auto* close = new QPushButton(QStringLiteral("Close"), w);
    close->setObjectName(QStringLiteral("close"));
    close->setGeometry(145, 130, 100, 25);
    close->setToolTip(QStringLiteral("Close window"));
    auto* start = new QPushButton(QStringLiteral("Import"), w);
    start->setObjectName(QStringLiteral("import"));
    start->setGeometry(250, 130, 100, 25);
    start->setToolTip(t.importTip);
    start->setDefault(true);

    QObject::connect(browse, &QPushButton::clicked, w, [w, path, t] {
        QFileDialog dialog(w, t.dialogTitle, QString(), t.filter);
        dialog.setObjectName(QStringLiteral("importerFileDialog"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        w->dialogOpen = true;
        const bool chosen = sdk::execUntilQuit(dialog) == QDialog::Accepted;
        w->dialogOpen = false;
        if (chosen && !dialog.selectedFiles().isEmpty()) {
            path->setText(dialog.selectedFiles().constFirst());
        }
    });
    QObject::connect(close, &QPushButton::clicked, w, &QDialog::reject);
    QObject::connect(start, &QPushButton::clicked, w, [w, path, browse, close, start, &s, t] {
        if (path->text().trimmed().isEmpty()) {
            w->dialogOpen = true;
            showMessage(w, QStringLiteral("Information"), t.emptyPath, kIconInformation);
            w->dialogOpen = false;
            return;
        }
        s.path = path->text();  // untrimmed: a name may begin or end with blanks
        s.chosen = true;
        w->busy = true;
        for (QWidget* gadget : std::initializer_list<QWidget*>{path, browse, close, start}) {
            gadget->setEnabled(false);
        }
        s.ended.release();
    });
    QObject::connect(w, &QDialog::finished, w, [&s] { s.ended.release(); });
    auto* quitWatch = new QTimer(w);
    QObject::connect(quitWatch, &QTimer::timeout, w, [w] {
        if (Plugin_QuitRequested() != 0 && !w->dialogOpen) {
            w->reject();
        }
    });
    quitWatch->start(50);
    sdk::showWindow(w);
}

// Passes records on and moves the window's bar when the percentage changes.
class WindowSink : public ImportSink {
  public:
    WindowSink(ImportSink& inner, QProgressBar* bar) : inner_(inner), bar_(bar) {}
    void addGroup(const GroupRecord& group) override { inner_.addGroup(group); }
    void addEntry(const EntryRecord& entry) override { inner_.addEntry(entry); }
    std::int32_t drawGroupId() override { return inner_.drawGroupId(); }
    void progress(int percent) override {
        inner_.progress(percent);
        if (percent != shown_) {
            shown_ = percent;
            sdk::call([this, percent] { bar_->setValue(std::min(percent, 100)); });
        }
    }

  private:
    ImportSink& inner_;
    QProgressBar* bar_;
    int shown_ = 0;
};

void waitFor(QSemaphore& semaphore) {
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // On the GUI thread itself (tests) the window runs in a nested loop instead.
        while (!semaphore.tryAcquire()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    } else {
        semaphore.acquire();
    }
}

}  // namespace

std::int32_t RunImporterWindow(const ImporterTexts& texts, const ImportReader& read,
                               ImportSink& sink) {
    WindowState state;
    sdk::call([&] { buildWindow(texts, state); });
    waitFor(state.ended);
    if (state.chosen) {
        WindowSink windowSink(sink, state.bar);
        ImportResult result;
        try {
            result = read(QFile::encodeName(state.path).toStdString(), windowSink);
        } catch (const std::bad_alloc&) {
            result = refused(u"Error", u"Error allocating memory.", kIconError);
        }
        sdk::call(
            [&] { showMessage(state.window, qs(result.Caption), qs(result.Text), result.Icon); });
    }
    sdk::call([&] { delete state.window; });
    // A barrier: whatever the window posted before it went has run before the plugin returns.
    sdk::call([] {});
    return 0;
}

}  // namespace vlt::import
