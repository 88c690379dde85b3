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
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
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

    makeBanner(this, Banner(layout.banner));
    SeparatorGadget(this, 0, 40, 380, 5);

    makeLabel(this, "passwordLabel", QRect(5, 53, 105, 15), QStringLiteral("Password:"));
    passwordField_ = makeMaskedField(this, "passwordField", QRect(110, 50, two ? 230 : 200, 20),
                                     QStringLiteral("Type the password here"));
    auto* showHide = makeIconButton(this, "showHideButton", QRect(two ? 345 : 315, 48, 25, 25),
                                    MenuIcon(kShowHideIcon),
                                    QStringLiteral("Hide / Show the passwords in the field(s)"));
    // Out of the Tab chain, so that Tab leads from the password to its confirmation; a click
    // leaves the focus in the field being typed.
    showHide->setFocusPolicy(Qt::NoFocus);
    connect(showHide, &QPushButton::clicked, this, &PasswordDialog::toggleShown);

    if (two) {
        makeLabel(this, "confirmLabel", QRect(5, 83, 105, 15), QStringLiteral("Confirm password:"));
        confirmField_ = makeMaskedField(this, "confirmField", QRect(110, 80, 230, 20),
                                        QStringLiteral("Confirm the password"));
    }

    toolsButton_ =
        makeIconButton(this, "toolsButton", QRect(345, two ? 78 : 48, 25, 25), MenuIcon(kToolsIcon),
                       QStringLiteral("Run any installed plugins"));
    toolsButton_->setEnabled(tools_ && !tools_->tools().empty());
    connect(toolsButton_, &QPushButton::clicked, this, &PasswordDialog::showToolsMenu);

    SeparatorGadget(this, 0, 111 + lower, 380, 5);

    QLabel* help = HyperLinkGadget(this, 5, 125 + lower, 18, QStringLiteral("Click here for help"),
                                   QColor(25, 75, 185));
    help->setObjectName(QStringLiteral("helpLink"));
    connect(help, &QLabel::linkActivated, this,
            [this] { emit helpRequested(QLatin1String(kHelpTopic)); });

    auto* cancelButton = makeImageButton(this, "cancelButton", QRect(165, 120 + lower, 100, 25),
                                         QStringLiteral("Cancel"), ButtonIcon(kCancelImage),
                                         QStringLiteral("Close this window"));
    connect(cancelButton, &QPushButton::clicked, this, &PasswordDialog::cancel);

    // Return accepts wherever the focus is: the dialog presses its default button.
    auto* acceptButton = makeImageButton(this, "acceptButton", QRect(270, 120 + lower, 100, 25),
                                         QStringLiteral("Accept"), ButtonIcon(kAcceptImage),
                                         QStringLiteral("Accept the password"));
    acceptButton->setDefault(true);
    connect(acceptButton, &QPushButton::clicked, this, &PasswordDialog::acceptPassword);

    // The fields, then the buttons; the help link last.
    QWidget* chain[] = {passwordField_, confirmField_, toolsButton_,
                        cancelButton,   acceptButton,  help};
    QWidget* previous = nullptr;
    for (QWidget* next : chain) {
        if (next != nullptr) {
            if (previous != nullptr) {
                setTabOrder(previous, next);
            }
            previous = next;
        }
    }
    passwordField_->setFocus();
}

SecureText PasswordDialog::ask(int mode, const PasswordDialogServices& services, QWidget* parent) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    SecureText result;
    RunModal(owner, new PasswordDialog(mode, services, owner.data()),
             [&](PasswordDialog& dialog, int) { result = std::move(dialog.result_); });
    return result;
}

void PasswordDialog::done(int result) {
    wipeFields();
    QDialog::done(result);
}

void PasswordDialog::acceptPassword() {
    // The fields' texts are read through temporaries only: a copy still alive when the fields
    // are wiped would keep their characters from being overwritten.
    if (passwordField_->text().isEmpty()) {
        prompter_.message(this, QStringLiteral("Information"),
                          QStringLiteral("Please fill the password field."),
                          MessageIcon::Information);
        passwordField_->setFocus();
        return;
    }
    if (confirmField_) {
        if (confirmField_->text().isEmpty()) {
            prompter_.message(this, QStringLiteral("Information"),
                              QStringLiteral("Please fill the password confirmation field."),
                              MessageIcon::Information);
            confirmField_->setFocus();
            return;
        }
        if (passwordField_->text() != confirmField_->text()) {
            prompter_.message(this, QStringLiteral("Warning"),
                              QStringLiteral("The passwords from the fields do not match. Please "
                                             "re-enter the password to avoid any problems."),
                              MessageIcon::Warning);
            wipeFields();
            passwordField_->setFocus();
            return;
        }
    }
    {
        // Straight from the field's characters: a plain string copy would be freed unwiped.
        const QString password = passwordField_->text();
        result_ = SecureText(std::u16string_view(QStringView(password).utf16(),
                                                 static_cast<std::size_t>(password.size())));
    }
    accept();  // wipes the fields
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
    SetPasswordMask(passwordField_, masked ? 1 : 0);
    if (confirmField_) {
        SetPasswordMask(confirmField_, masked ? 1 : 0);
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
