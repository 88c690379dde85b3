#include "ToolWindow.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <openssl/crypto.h>

#include "GuiBridge.h"
#include "HeaderBand.h"

namespace vlt::tools {

QIcon embeddedIcon(const unsigned char* data, int size) {
    return QIcon(QPixmap::fromImage(QImage::fromData(data, size, "ICO")));
}

QFont toolFont() {
    // Tahoma 8 is 11 pixels; faces with Arial's metrics stand in where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Arial"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setPixelSize(11);
    return font;
}

QFont consoleFont(int points) {
    QFont font;
    font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(points);
    return font;
}

void setUpToolWindow(QDialog* window, int width, int height, const QString& title,
                     const QIcon& icon, const QString& bandTitle, const QString& bandLine) {
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowTitle(title);
    window->setWindowIcon(icon);
    window->setFont(toolFont());
    window->setFixedSize(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window->move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));
    }
    auto* band = new QLabel(window);
    band->setObjectName(QStringLiteral("band"));
    band->setPixmap(QPixmap::fromImage(HeaderBand(width, bandTitle, bandLine)));
    band->setGeometry(0, 0, width, 40);
    addSeparator(window, QRect(0, 40, width + 5, 5));
}

void addSeparator(QWidget* parent, const QRect& place) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(place);
}

QPushButton* addIconButton(QWidget* parent, const char* name, const QRect& place, const QIcon& icon,
                           const QString& tip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

int execGuarded(QDialog* dialog) {
    // Watched: deleting the window during exec() takes the dialog with it.
    QPointer<QDialog> watched = dialog;
    dialog->setWindowModality(Qt::WindowModal);
    const int result = dialog->exec();
    if (watched.isNull()) {
        return -1;
    }
    sdk::returnFocus(dialog->parentWidget());
    delete dialog;
    return result;
}

QMessageBox::StandardButton showMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    const int answer = execGuarded(new QMessageBox(icon, title, text, buttons, parent));
    return answer < 0 ? QMessageBox::NoButton : static_cast<QMessageBox::StandardButton>(answer);
}

bool toggleMask(QLineEdit* field, bool& masked) {
    if (masked) {
        const QMessageBox::StandardButton answer =
            showMessage(field->window(), QMessageBox::Question, QStringLiteral("Please confirm"),
                        QStringLiteral("Are you sure you want to unhide the text in the field?"),
                        QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::NoButton) {
            return false;
        }
        if (answer == QMessageBox::Yes) {
            masked = false;
        }
    } else {
        masked = true;
    }
    field->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    return true;
}

QLineEdit* addMaskedField(QWidget* parent, const char* name, const QRect& place) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(place);
    field->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    field->setEchoMode(QLineEdit::Password);
    return field;
}

void wipeField(QLineEdit* field) {
    QString text = field->text();  // shares the field's own buffer
    field->setText(QString());     // the field lets go of it, and of its undo history
    // A copy the user put on the clipboard may share the characters: only a buffer nobody else
    // holds is overwritten. Text set from a literal is never detached.
    if (text.isDetached()) {
        QChar* start = text.data() - text.data_ptr().freeSpaceAtBegin();
        OPENSSL_cleanse(start, static_cast<std::size_t>(text.data_ptr().constAllocatedCapacity()) *
                                   sizeof(QChar));
    }
}

}  // namespace vlt::tools
