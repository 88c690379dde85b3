#pragma once
// The modal window that asks for a master password, in five modes: saving a container, opening
// one, changing the password, and giving a password to an exporter or an importer. Modes that
// set a password (save, change, export) ask twice and insist that both fields agree; the others
// ask once. The user can reveal the typed text, start a tool plugin from a popup and ask for
// help. An accepted password is never empty, so "" means cancelled. GUI thread only.

#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <vector>

#include "engine/crypto/SecureText.h"
#include "shell/dialogs/ToolSource.h"

class QLineEdit;
class QPushButton;

namespace vlt {

class Prompter;

struct PasswordDialogServices {
    // Message boxes and the reveal question; MessageBoxPrompter::standard() when null.
    Prompter* prompter = nullptr;
    // The tool plugins for the tools button, which is disabled when this is null or has none.
    ToolSource* tools = nullptr;
    // Connected to helpRequested when set.
    std::function<void(const QString& topic)> showHelp;
};

class PasswordDialog : public QDialog {
    Q_OBJECT

  public:
    // Menu ID of the first item of the tools popup; item i has kFirstToolMenuId + i.
    static constexpr int kFirstToolMenuId = 500;
    static constexpr const char* kHelpTopic = "SavingLoading.html";

    // `mode` is one of PasswordMode (Desktop.h); an unknown mode is taken as opening.
    explicit PasswordDialog(int mode, const PasswordDialogServices& services = {},
                            QWidget* parent = nullptr);
    ~PasswordDialog() override;

    // Runs the dialog modally over `parent` (the active window when null) and returns the
    // accepted password, or "" when the user cancelled.
    static SecureText ask(int mode, const PasswordDialogServices& services = {},
                          QWidget* parent = nullptr);

    int mode() const { return mode_; }
    bool isTwoField() const { return confirmField_ != nullptr; }
    bool passwordsShown() const { return shown_; }
    // The accepted password; empty until the user accepts one.
    const SecureText& password() const { return result_; }
    // The tools popup as last built (null before the first press of the tools button).
    QMenu* toolsMenu() const { return toolsMenu_.data(); }

    // Closes the dialog; the fields are wiped first, whatever the outcome.
    void done(int result) override;

  signals:
    void helpRequested(const QString& topic);

  private:
    void createControls();
    void acceptPassword();
    void cancel();
    void toggleShown();
    void showToolsMenu();
    void launchTool(int menuId);
    void setFieldsMasked(bool masked);
    void wipeFields();

    int mode_;
    Prompter& prompter_;
    ToolSource* tools_;
    bool shown_ = false;
    SecureText result_;
    QLineEdit* passwordField_ = nullptr;
    QLineEdit* confirmField_ = nullptr;
    QPushButton* toolsButton_ = nullptr;
    QPointer<QMenu> toolsMenu_;
    std::vector<ToolItem> toolMenuItems_;
};

}  // namespace vlt
