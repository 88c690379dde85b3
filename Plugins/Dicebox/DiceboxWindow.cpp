#include "DiceboxWindow.h"

#include <openssl/crypto.h>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <exception>

#include "QtUtf16.h"
#include "ToolWindow.h"

extern const unsigned char kDiceboxIcon[1150];
extern const unsigned char kCreateIcon[1150];
extern const unsigned char kMaskIcon[1150];
extern const unsigned char kCopyIcon[1150];

namespace vlt::dicebox {

namespace {

struct ClassBox {
    const char* text;
    int x;
    int y;
    bool on;
};

// In class order.
constexpr std::array<ClassBox, ClassCount> kClassBoxes = {{
    {"Upper-case letters (A, B, C, ...)", 15, 90, true},
    {"Lower-case letters (a, b, c, ...)", 15, 110, true},
    {"Numbers (1, 2, 3, ...)", 15, 130, true},
    {"Mathematical signs (+, -, *, /)", 15, 150, false},
    {"Spaces", 190, 90, false},
    {"Special characters (!, @, ...)", 190, 110, true},
    {"Brackets ([, ], (, ), ...)", 190, 130, true},
    {"Other ANSI characters", 190, 150, false},
}};

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

}  // namespace

DiceboxWindow::DiceboxWindow(RandomSource& random) : random_(random) {
    setObjectName(QStringLiteral("diceboxWindow"));
    tools::setUpToolWindow(this, 365, 350, QStringLiteral("Dicebox Plugin (VLT)"),
                           tools::embeddedIcon(kDiceboxIcon), QStringLiteral("Password generator"),
                           QStringLiteral("You can use this tool to create strong passwords"));

    // The frames first: a control made before its frame would lie under it.
    (new QGroupBox(QStringLiteral("Composition options"), this))->setGeometry(5, 50, 355, 195);
    randomClasses_ = new QRadioButton(QStringLiteral("Use a random character set"), this);
    randomClasses_->setObjectName(QStringLiteral("randomClasses"));
    randomClasses_->setGeometry(15, 70, 315, 15);
    randomClasses_->setChecked(true);
    for (int i = 0; i < ClassCount; ++i) {
        const ClassBox& box = kClassBoxes[static_cast<std::size_t>(i)];
        auto* check = new QCheckBox(QString::fromLatin1(box.text), this);
        check->setObjectName(QStringLiteral("class%1").arg(i));
        // The left column reaches the right one: the stand-in fonts run wider than Tahoma.
        check->setGeometry(box.x, box.y, box.x < 190 ? 175 : 165, 15);
        check->setChecked(box.on);
        classes_[static_cast<std::size_t>(i)] = check;
    }
    customMode_ = new QRadioButton(QStringLiteral("Only use the following characters:"), this);
    customMode_->setObjectName(QStringLiteral("customMode"));
    customMode_->setGeometry(15, 170, 340, 15);
    customSet_ = new QLineEdit(this);
    customSet_->setObjectName(QStringLiteral("customSet"));
    customSet_->setGeometry(15, 190, 340, 20);
    customSet_->setEnabled(false);
    connect(randomClasses_, &QRadioButton::toggled, this, &DiceboxWindow::modeChanged);

    addLabel(this, QStringLiteral("Password length:"), QRect(15, 218, 170, 15));
    length_ = new QSpinBox(this);
    length_->setObjectName(QStringLiteral("length"));
    length_->setGeometry(190, 215, 70, 20);
    length_->setRange(0, kMaxLength);
    length_->setValue(32);
    // Changed by its arrows only (a read-only spin box would disable them too).
    length_->findChild<QLineEdit*>()->setReadOnly(true);
    addLabel(this, QStringLiteral("characters"), QRect(265, 218, 90, 15));

    (new QGroupBox(QStringLiteral("Composed password"), this))->setGeometry(5, 250, 355, 55);
    password_ = tools::addMaskedField(this, "password", QRect(15, 270, 250, 20));
    password_->setFont(tools::consoleFont(8));
    connect(
        tools::addIconButton(this, "create", QRect(270, 268, 25, 25),
                             tools::embeddedIcon(kCreateIcon), QStringLiteral("Create password")),
        &QPushButton::clicked, this, &DiceboxWindow::CreatePassword);
    connect(
        tools::addIconButton(this, "mask", QRect(300, 268, 25, 25), tools::embeddedIcon(kMaskIcon),
                             QStringLiteral("Hide / Show password in the field")),
        &QPushButton::clicked, this, [this] { tools::toggleMask(password_, masked_); });
    connect(
        tools::addIconButton(this, "copy", QRect(330, 268, 25, 25), tools::embeddedIcon(kCopyIcon),
                             QStringLiteral("Copy password to clipboard")),
        &QPushButton::clicked, this, &DiceboxWindow::copyPassword);

    tools::addSeparator(this, QRect(0, 313, 370, 5));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setGeometry(260, 320, 100, 25);
    close->setToolTip(QStringLiteral("Close window"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    CreatePassword();
}

DiceboxWindow::~DiceboxWindow() {
    tools::wipeField(password_);
}

void DiceboxWindow::modeChanged() {
    const bool classes = randomClasses_->isChecked();
    for (QCheckBox* check : classes_) {
        check->setEnabled(classes);
    }
    customSet_->setEnabled(!classes);
}

void DiceboxWindow::CreatePassword() {
    const int mode = randomClasses_->isChecked() ? 1 : 0;
    const std::u16string customSet = customSet_->text().toStdU16String();
    ClassFlags flags{};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = classes_[i]->isChecked() ? 1 : 0;
    }
    if (mode == 0 && !HasCustomCharacters(customSet)) {
        if (tools::showMessage(this, QMessageBox::Information, QStringLiteral("Information"),
                               QStringLiteral("Please enter a charset in the custom charset "
                                              "field.")) != QMessageBox::NoButton) {
            customSet_->setFocus();
        }
        return;
    }
    std::u16string password;
    int result = NothingToDraw;
    try {
        result = GeneratePassword(random_, length_->value(), mode, customSet, flags, password);
    } catch (const std::exception&) {
        tools::showMessage(this, QMessageBox::Critical, QStringLiteral("Error"),
                           QStringLiteral("No random numbers could be drawn; no password was "
                                          "made."));
        return;
    }
    if (result == NothingToDraw) {
        tools::showMessage(this, QMessageBox::Information, QStringLiteral("Information"),
                           QStringLiteral("Please choose at least one kind of character."));
        return;
    }
    tools::wipeField(password_);
    password_->setText(qs(password));
    OPENSSL_cleanse(password.data(), password.size() * sizeof(char16_t));
}

void DiceboxWindow::copyPassword() {
    // The tool leaves the clipboard as it is afterwards, as the user expects of a copy.
    QGuiApplication::clipboard()->setText(password_->text());
    tools::showMessage(this, QMessageBox::Information, QStringLiteral("Information"),
                       QStringLiteral("The password was copied to clipboard."));
}

}  // namespace vlt::dicebox
