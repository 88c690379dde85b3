#include "shell/dialogs/PasswordDialog.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <array>

#include "engine/Desktop.h"
#include "shell/app/Prompter.h"
#include "shell/main/Gadgets.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ImageButton.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

struct ModeLayout {
    const char* title;
    int banner;
    bool twoFields;
};

constexpr std::array<ModeLayout, 5> kModes{{
    {"VLT - Save container", kBannerSaveContainer, true},
    {"VLT - Open container", kBannerOpenContainer, false},
    {"VLT - Change password", kBannerChangePassword, true},
    {"VLT - Export data", kBannerExportData, true},
    {"VLT - Import data", kBannerImportData, false},
}};

constexpr int kWidth = 375;
constexpr int kTwoFieldHeight = 149;
constexpr int kOneFieldHeight = 119;
// Rows below the password row move up by this much when there is no confirmation row.
constexpr int kConfirmRowHeight = 30;
constexpr int kShowHideIcon = 49;
constexpr int kToolsIcon = 55;
constexpr int kAcceptImage = 0;
constexpr int kCancelImage = 1;

int knownMode(int mode) {
    return mode >= 0 && mode < static_cast<int>(kModes.size()) ? mode : kPasswordOpen;
}

struct LaunchReport {
    int result;
    const char* caption;
    MessageIcon icon;
    const char* text;
};

constexpr std::array<LaunchReport, 5> kLaunchReports{{
    {kToolThreadFailed, "Warning", MessageIcon::Warning, "Error launching plugin start thread."},
    {kToolNoThreadMemory, "Warning", MessageIcon::Warning, "Error allocating thread memory."},
    {kToolNoStartFunction, "Warning", MessageIcon::Warning,
     "Could not find the 'Plugin_Start' function in the plugin, launch failed."},
    {kToolAlreadyRunning, "Information", MessageIcon::Information,
     "The plugin is already running."},
    {kToolNotATool, "Information", MessageIcon::Information,
     "Only tool plugins can be launched in this fashion."},
}};

QLineEdit* makeMaskedField(QWidget* parent, const char* name, const QRect& place,
                           const QString& tip) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(place);
    field->setEchoMode(QLineEdit::Password);
    // Masked with "*", as every masked field of the program.
    field->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    field->setToolTip(tip);
    return field;
}

QPushButton* makeIconButton(QWidget* parent, const char* name, const QRect& place, int icon,
                            const QString& tip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setIcon(MenuIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    button->setToolTip(tip);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

// Overwrites the characters the field holds, then empties it (which also drops its undo
// history). Qt offers no way to reach copies it made while the text was typed.
void wipeField(QLineEdit* field) {
    if (!field) {
        return;
    }
    const QString text = field->text();  // shares the field's own buffer
    // Text set from a literal lives in read-only memory and holds nothing typed.
    if (!text.isEmpty() && text.data_ptr().isMutable()) {
        wipeBytes(const_cast<QChar*>(text.constData()),
                  static_cast<std::size_t>(text.size()) * sizeof(QChar));
    }
    field->setText(QString());
}

}  // namespace

PasswordDialog::PasswordDialog(int mode, const PasswordDialogServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mode_(knownMode(mode)),
      prompter_(services.prompter ? *services.prompter : MessageBoxPrompter::standard()),
      tools_(services.tools) {
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(QLatin1String(kModes[static_cast<std::size_t>(mode_)].title));
    setFont(UiFonts::normal());
    createControls();
    if (services.showHelp) {
        connect(this, &PasswordDialog::helpRequested, this, services.showHelp);
    }
}

PasswordDialog::~PasswordDialog() {
    wipeFields();
}

void PasswordDialog::createControls() {
    const ModeLayout& layout = kModes[static_cast<std::size_t>(mode_)];
    const bool two = layout.twoFields;
    const int lower = two ? 0 : -kConfirmRowHeight;  // shift of the rows below the fields
    setFixedSize(kWidth, two ? kTwoFieldHeight : kOneFieldHeight);

    auto* banner = makeLabel(this, "banner", QRect(0, 0, kWidth, kBannerHeight), QString());
    banner->setPixmap(Banner(layout.banner));
    SeparatorGadget(this, 0, 40, 380, 5);

    makeLabel(this, "passwordLabel", QRect(5, 53, 105, 15), QStringLiteral("Password:"));
    passwordField_ = makeMaskedField(this, "passwordField", QRect(110, 50, two ? 230 : 200, 20),
                                     QStringLiteral("Type the password here"));
    auto* showHide =
        makeIconButton(this, "showHideButton", QRect(two ? 345 : 315, 48, 25, 25), kShowHideIcon,
                       QStringLiteral("Hide / Show the passwords in the field(s)"));
    connect(showHide, &QPushButton::clicked, this, &PasswordDialog::toggleShown);

    if (two) {
        makeLabel(this, "confirmLabel", QRect(5, 83, 105, 15), QStringLiteral("Confirm password:"));
        confirmField_ = makeMaskedField(this, "confirmField", QRect(110, 80, 230, 20),
                                        QStringLiteral("Confirm the password"));
    }

    toolsButton_ = makeIconButton(this, "toolsButton", QRect(345, two ? 78 : 48, 25, 25),
                                  kToolsIcon, QStringLiteral("Run any installed plugins"));
    toolsButton_->setEnabled(tools_ && !tools_->tools().empty());
    connect(toolsButton_, &QPushButton::clicked, this, &PasswordDialog::showToolsMenu);

    SeparatorGadget(this, 0, 111 + lower, 380, 5);

    QLabel* help = HyperLinkGadget(this, 5, 125 + lower, 18, QStringLiteral("Click here for help"),
                                   QColor(25, 75, 185));
    help->setObjectName(QStringLiteral("helpLink"));
    connect(help, &QLabel::linkActivated, this,
            [this] { emit helpRequested(QLatin1String(kHelpTopic)); });

    auto* cancelButton = new ImageButton(QStringLiteral("Cancel"), ButtonIcon(kCancelImage), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setGeometry(165, 120 + lower, 100, 25);
    cancelButton->setAutoDefault(false);
    cancelButton->setToolTip(QStringLiteral("Close this window"));
    connect(cancelButton, &QPushButton::clicked, this, &PasswordDialog::cancel);

    // Return accepts wherever the focus is: the dialog presses its default button.
    auto* acceptButton = new ImageButton(QStringLiteral("Accept"), ButtonIcon(kAcceptImage), this);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    acceptButton->setGeometry(270, 120 + lower, 100, 25);
    acceptButton->setAutoDefault(false);
    acceptButton->setDefault(true);
    acceptButton->setToolTip(QStringLiteral("Accept the password"));
    connect(acceptButton, &QPushButton::clicked, this, &PasswordDialog::acceptPassword);

    passwordField_->setFocus();
}

SecureText PasswordDialog::ask(int mode, const PasswordDialogServices& services, QWidget* parent) {
    QPointer<QWidget> owner = parent ? parent : QApplication::activeWindow();
    QPointer<PasswordDialog> dialog = new PasswordDialog(mode, services, owner.data());
    dialog->exec();
    SecureText result;
    if (dialog) {
        result = std::move(dialog->result_);
        delete dialog.data();
    }
    if (owner) {
        owner->activateWindow();
    }
    return result;
}

void PasswordDialog::done(int result) {
    wipeFields();
    QDialog::done(result);
}

void PasswordDialog::acceptPassword() {
    const QString password = passwordField_->text();
    if (password.isEmpty()) {
        prompter_.message(this, QStringLiteral("Information"),
                          QStringLiteral("Please fill the password field."),
                          MessageIcon::Information);
        passwordField_->setFocus();
        return;
    }
    if (confirmField_) {
        const QString confirmation = confirmField_->text();
        if (confirmation.isEmpty()) {
            prompter_.message(this, QStringLiteral("Information"),
                              QStringLiteral("Please fill the password confirmation field."),
                              MessageIcon::Information);
            confirmField_->setFocus();
            return;
        }
        if (password != confirmation) {
            prompter_.message(this, QStringLiteral("Warning"),
                              QStringLiteral("The passwords from the fields do not match. Please "
                                             "re-enter the password to avoid any problems."),
                              MessageIcon::Warning);
            wipeFields();
            passwordField_->setFocus();
            return;
        }
    }
    // Straight from the field's characters: a plain string copy would be freed unwiped.
    result_ = SecureText(std::u16string_view(QStringView(password).utf16(),
                                             static_cast<std::size_t>(password.size())));
    accept();
}

void PasswordDialog::cancel() {
    result_.clear();
    reject();
}

void PasswordDialog::toggleShown() {
    if (!shown_) {
        if (!prompter_.askYesNo(this, QStringLiteral("Please confirm"),
                                QStringLiteral("Are you sure you want to show the password in "
                                               "the field(s)?"),
                                MessageIcon::Question)) {
            return;
        }
        setFieldsMasked(false);
        shown_ = true;
    } else {
        setFieldsMasked(true);
        shown_ = false;
    }
}

void PasswordDialog::setFieldsMasked(bool masked) {
    const auto echo = masked ? QLineEdit::Password : QLineEdit::Normal;
    passwordField_->setEchoMode(echo);
    if (confirmField_) {
        confirmField_->setEchoMode(echo);
    }
}

void PasswordDialog::showToolsMenu() {
    delete toolsMenu_.data();
    toolMenuItems_.clear();
    if (tools_) {
        toolMenuItems_ = tools_->tools();
    }
    if (toolMenuItems_.empty()) {
        prompter_.message(this, QStringLiteral("Information"),
                          QStringLiteral("VLT could not find any tool plugins installed."),
                          MessageIcon::Information);
        return;
    }
    toolsMenu_ = new QMenu(this);
    toolsMenu_->setObjectName(QStringLiteral("toolsMenu"));
    for (std::size_t i = 0; i < toolMenuItems_.size(); ++i) {
        QAction* item = toolsMenu_->addAction(toolMenuItems_[i].icon, toolMenuItems_[i].name);
        item->setData(kFirstToolMenuId + static_cast<int>(i));
    }
    connect(toolsMenu_, &QMenu::triggered, this,
            [this](QAction* item) { launchTool(item->data().toInt()); });
    toolsMenu_->popup(QCursor::pos());
}

void PasswordDialog::launchTool(int menuId) {
    const int position = menuId - kFirstToolMenuId;
    if (!tools_ || position < 0 || position >= static_cast<int>(toolMenuItems_.size())) {
        return;
    }
    const int result = tools_->launch(toolMenuItems_[static_cast<std::size_t>(position)].pluginId);
    for (const LaunchReport& report : kLaunchReports) {
        if (report.result == result) {
            prompter_.message(this, QLatin1String(report.caption), QLatin1String(report.text),
                              report.icon);
            return;
        }
    }
}

void PasswordDialog::wipeFields() {
    wipeField(passwordField_);
    wipeField(confirmField_);
}

}  // namespace vlt
