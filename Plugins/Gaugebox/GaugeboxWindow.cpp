#include "GaugeboxWindow.h"

#include <openssl/crypto.h>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "StrengthScore.h"
#include "ToolWindow.h"
#include "common/Trim.h"

extern const unsigned char kGaugeboxIcon[1150];
extern const unsigned char kMaskIcon[1150];
extern const unsigned char kClearIcon[1150];

namespace vlt::gaugebox {

GaugeboxWindow::GaugeboxWindow()
    : password_(nullptr),
      verdict_(new QLabel(QStringLiteral("The password is too short"), this)),
      bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("gaugeboxWindow"));
    tools::setUpToolWindow(this, 340, 160, QStringLiteral("Gaugebox (VLT)"),
                           tools::embeddedIcon(kGaugeboxIcon), QStringLiteral("Password analyzer"),
                           QStringLiteral("You can use this tool to check your password's "
                                          "strength"));
    (new QLabel(QStringLiteral("Please enter your password below:"), this))
        ->setGeometry(5, 50, 330, 15);
    password_ = tools::addMaskedField(this, "password", QRect(5, 70, 270, 20));
    password_->setToolTip(QStringLiteral("Type your password"));
    connect(password_, &QLineEdit::textChanged, this, &GaugeboxWindow::textChanged);
    connect(
        tools::addIconButton(this, "mask", QRect(280, 68, 25, 25), tools::embeddedIcon(kMaskIcon),
                             QStringLiteral("Hide/Show password in the field")),
        &QPushButton::clicked, this, [this] { tools::toggleMask(password_, masked_); });
    connect(tools::addIconButton(this, "clear", QRect(310, 68, 25, 25),
                                 tools::embeddedIcon(kClearIcon), QStringLiteral("Clear field")),
            &QPushButton::clicked, this, &GaugeboxWindow::clearField);
    verdict_->setObjectName(QStringLiteral("verdict"));
    verdict_->setGeometry(5, 100, 325, 15);
    tools::addSeparator(this, QRect(0, 120, 345, 5));
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setGeometry(5, 132, 225, 20);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setGeometry(235, 130, 100, 25);
    close->setToolTip(QStringLiteral("Close window"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    password_->setFocus();
}

GaugeboxWindow::~GaugeboxWindow() {
    tools::wipeField(password_);
}

void GaugeboxWindow::textChanged() {
    std::u16string text = password_->text().toStdU16String();
    const std::u16string_view trimmed = trimBlanks(text, Blanks::Spaces);
    // Emptying the field by hand leaves the last verdict standing.
    if (!trimmed.empty()) {
        showStrength(AnalyzePassword(trimmed));
    }
    OPENSSL_cleanse(text.data(), text.size() * sizeof(char16_t));
}

void GaugeboxWindow::clearField() {
    tools::wipeField(password_);
    password_->setFocus();
    showStrength(AnalyzePassword(u""));
}

void GaugeboxWindow::showStrength(const Strength& strength) {
    // The bar repaints by itself only for a change of a whole chunk; it must never lag the label.
    bar_->setValue(strength.bar);
    bar_->update();
    verdict_->setText(QString::fromStdU16String(strength.verdict));
}

}  // namespace vlt::gaugebox
