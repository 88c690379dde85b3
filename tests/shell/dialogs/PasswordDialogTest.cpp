// The master password dialog in its five modes, driven through its controls by objectName.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "FakePrompter.h"
#include "Widgets.h"
#include "shell/dialogs/PasswordDialog.h"
#include "shell/widgets/Banners.h"

namespace vlt {
namespace {

using test::FakePrompter;

class FakeTools : public ToolSource {
  public:
    std::vector<ToolItem> items;
    std::vector<int> launched;
    int result = kToolStarted;

    std::vector<ToolItem> tools() override { return items; }
    int launch(int pluginId) override {
        launched.push_back(pluginId);
        return result;
    }
};

class PasswordDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<PasswordDialog> open(int mode, ToolSource* tools = nullptr) {
        PasswordDialogServices services;
        services.prompter = &prompter;
        services.tools = tools;
        auto dialog = std::make_unique<PasswordDialog>(mode, services);
        dialog->show();
        return dialog;
    }
    static QLineEdit* field(QWidget* dialog, const char* name) {
        return dialog->findChild<QLineEdit*>(QLatin1String(name));
    }
    static QPushButton* button(QWidget* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QLatin1String(name));
    }
    static void type(QWidget* dialog, const QString& password, const QString& confirmation) {
        field(dialog, "passwordField")->setText(password);
        if (QLineEdit* confirm = field(dialog, "confirmField")) {
            confirm->setText(confirmation);
        }
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& p : prompter.prompts) {
            out << p.text;
        }
        return out;
    }

    FakePrompter prompter;
};

struct ModeCase {
    int mode;
    const char* title;
    bool twoFields;
};

const ModeCase kModeCases[] = {
    {kPasswordSave, "VLT - Save container", true},
    {kPasswordOpen, "VLT - Open container", false},
    {kPasswordChange, "VLT - Change password", true},
    {kPasswordExport, "VLT - Export data", true},
    {kPasswordImport, "VLT - Import data", false},
};

TEST_F(PasswordDialogTest, EachModeHasItsTitleBannerAndFields) {
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(c.title);
        auto dialog = open(c.mode);
        EXPECT_EQ(dialog->windowTitle(), QLatin1String(c.title));
        EXPECT_EQ(dialog->isTwoField(), c.twoFields);
        EXPECT_EQ(dialog->size(), c.twoFields ? QSize(375, 149) : QSize(375, 119));

        auto* banner = dialog->findChild<QLabel*>(QStringLiteral("banner"));
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(banner->pixmap().toImage(), Banner(kBannerSaveContainer + c.mode).toImage());

        QLineEdit* password = field(dialog.get(), "passwordField");
        ASSERT_NE(password, nullptr);
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog->focusWidget(), password);
        QLineEdit* confirm = field(dialog.get(), "confirmField");
        EXPECT_EQ(confirm != nullptr, c.twoFields);
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("confirmLabel")) != nullptr,
                  c.twoFields);

        // Every control lies inside the window.
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->objectName().isEmpty()) {
                EXPECT_TRUE(dialog->rect().contains(child->geometry()))
                    << child->objectName().toStdString();
            }
        }
    }
}

TEST_F(PasswordDialogTest, DialogHasNoCloseBox) {
    auto dialog = open(kPasswordOpen);
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
}

TEST_F(PasswordDialogTest, EmptyPasswordIsRefusedAndTheDialogStaysOpen) {
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(c.title);
        prompter.prompts.clear();
        auto dialog = open(c.mode);
        button(dialog.get(), "acceptButton")->click();
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("Information"));
        EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("Please fill the password field."));
        EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Information);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), field(dialog.get(), "passwordField"));
        EXPECT_TRUE(dialog->password().empty());
    }
}

TEST_F(PasswordDialogTest, ReturnActsAsAcceptWhereverTheFocusIs) {
    auto dialog = open(kPasswordSave);
    test::press(field(dialog.get(), "passwordField"), Qt::Key_Return);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Please fill the password field.")});
    EXPECT_TRUE(dialog->isVisible());

    type(dialog.get(), QStringLiteral("secret"), QStringLiteral("secret"));
    test::press(button(dialog.get(), "cancelButton"), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->password().view(), u"secret");
}

// The show-password button takes no part in the keyboard's way through the window: Tab leads
// from the password to its confirmation, then through the buttons.
TEST_F(PasswordDialogTest, TabLeadsFromThePasswordToTheConfirmationThenToTheButtons) {
    FakeTools tools;
    tools.items.push_back({QStringLiteral("Tool"), 7, QIcon()});
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(c.title);
        prompter.prompts.clear();
        auto dialog = open(c.mode, &tools);
        QApplication::setActiveWindow(dialog.get());
        EXPECT_EQ(button(dialog.get(), "showHideButton")->focusPolicy(), Qt::NoFocus);
        std::vector<QWidget*> chain{field(dialog.get(), "passwordField")};
        if (c.twoFields) {
            chain.push_back(field(dialog.get(), "confirmField"));
        }
        for (const char* name : {"toolsButton", "cancelButton", "acceptButton"}) {
            chain.push_back(button(dialog.get(), name));
        }
        for (QWidget* next : chain) {
            EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
            test::typeInFocus(Qt::Key_Tab);
        }

        // "pw Tab pw Return" as typed from the keyboard.
        auto typed = open(c.mode, &tools);
        QApplication::setActiveWindow(typed.get());
        test::typeInFocus(QStringLiteral("pw"));
        if (c.twoFields) {
            test::typeInFocus(Qt::Key_Tab);
            test::typeInFocus(QStringLiteral("pw"));
        }
        test::typeInFocus(Qt::Key_Return);
        EXPECT_TRUE(texts().isEmpty()) << texts().join(u'|').toStdString();
        EXPECT_FALSE(typed->isVisible());
        EXPECT_TRUE(typed->password().view() == u"pw");
    }
}

TEST_F(PasswordDialogTest, EmptyConfirmationIsRefused) {
    auto dialog = open(kPasswordChange);
    type(dialog.get(), QStringLiteral("secret"), QString());
    button(dialog.get(), "acceptButton")->click();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(prompter.prompts[0].text,
              QStringLiteral("Please fill the password confirmation field."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), field(dialog.get(), "confirmField"));
    // The typed password stays for the user to confirm.
    EXPECT_EQ(field(dialog.get(), "passwordField")->text(), QStringLiteral("secret"));
}

TEST_F(PasswordDialogTest, MismatchWarnsAndEmptiesBothFields) {
    for (int mode : {kPasswordSave, kPasswordChange, kPasswordExport}) {
        SCOPED_TRACE(mode);
        prompter.prompts.clear();
        auto dialog = open(mode);
        // Differs in one character, and only by case.
        type(dialog.get(), QStringLiteral("Secret1"), QStringLiteral("secret1"));
        button(dialog.get(), "acceptButton")->click();
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("Warning"));
        EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Warning);
        EXPECT_EQ(prompter.prompts[0].text,
                  QStringLiteral("The passwords from the fields do not match. Please re-enter "
                                 "the password to avoid any problems."));
        EXPECT_TRUE(field(dialog.get(), "passwordField")->text().isEmpty());
        EXPECT_TRUE(field(dialog.get(), "confirmField")->text().isEmpty());
        EXPECT_EQ(dialog->focusWidget(), field(dialog.get(), "passwordField"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->password().empty());
    }
}

TEST_F(PasswordDialogTest, CancelReturnsEmptyInEveryModeEvenAfterTyping) {
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(c.title);
        auto dialog = open(c.mode);
        type(dialog.get(), QStringLiteral("typed"), QStringLiteral("typed"));
        button(dialog.get(), "cancelButton")->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_TRUE(dialog->password().empty());
        EXPECT_TRUE(field(dialog.get(), "passwordField")->text().isEmpty());
        EXPECT_TRUE(prompter.prompts.empty());
    }
}

TEST_F(PasswordDialogTest, ClosingEmptiesTheFieldsAndLeavesCopiesOfTheirTextAlone) {
    for (const char* closer : {"acceptButton", "cancelButton"}) {
        SCOPED_TRACE(closer);
        auto dialog = open(kPasswordSave);
        // Text built at run time lives on the heap, as typed text does.
        const QString typed = QString::fromLatin1("typed secret");
        type(dialog.get(), typed, typed);
        // Copies share the fields' buffers, as the clipboard's copy of a field does: the wipe
        // must leave them whole.
        const QString copied = field(dialog.get(), "passwordField")->text();
        button(dialog.get(), closer)->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(field(dialog.get(), "passwordField")->text().isEmpty());
        EXPECT_TRUE(field(dialog.get(), "confirmField")->text().isEmpty());
        EXPECT_EQ(copied, QStringLiteral("typed secret"));
    }
}

TEST_F(PasswordDialogTest, BlanksAreKeptAndSingleFieldModesNeedNoConfirmation) {
    for (int mode : {kPasswordOpen, kPasswordImport}) {
        auto dialog = open(mode);
        type(dialog.get(), QStringLiteral(" a "), QString());
        button(dialog.get(), "acceptButton")->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->password().view(), u" a ");
    }
    auto dialog = open(kPasswordSave);
    type(dialog.get(), QStringLiteral("   "), QStringLiteral("   "));
    button(dialog.get(), "acceptButton")->click();
    EXPECT_EQ(dialog->password().view(), u"   ");
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(PasswordDialogTest, RevealAsksFirstAndHidingDoesNot) {
    auto dialog = open(kPasswordSave);
    QPushButton* showHide = button(dialog.get(), "showHideButton");
    QLineEdit* password = field(dialog.get(), "passwordField");
    QLineEdit* confirm = field(dialog.get(), "confirmField");

    prompter.answers = {false};
    showHide->click();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].question);
    EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("Please confirm"));
    EXPECT_EQ(prompter.prompts[0].text,
              QStringLiteral("Are you sure you want to show the password in the field(s)?"));
    EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Question);
    EXPECT_FALSE(dialog->passwordsShown());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    prompter.answers = {true};
    showHide->click();
    EXPECT_EQ(prompter.prompts.size(), 2u);
    EXPECT_TRUE(dialog->passwordsShown());
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(confirm->echoMode(), QLineEdit::Normal);

    showHide->click();
    EXPECT_EQ(prompter.prompts.size(), 2u) << "hiding asked a question";
    EXPECT_FALSE(dialog->passwordsShown());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(confirm->echoMode(), QLineEdit::Password);
}

TEST_F(PasswordDialogTest, ToolsButtonIsDisabledWithoutToolPlugins) {
    auto noSource = open(kPasswordOpen);
    EXPECT_FALSE(button(noSource.get(), "toolsButton")->isEnabled());

    FakeTools none;
    auto noTools = open(kPasswordOpen, &none);
    EXPECT_FALSE(button(noTools.get(), "toolsButton")->isEnabled());

    FakeTools one;
    one.items = {{QStringLiteral("Generator"), 7, QIcon()}};
    auto withTool = open(kPasswordSave, &one);
    EXPECT_TRUE(button(withTool.get(), "toolsButton")->isEnabled());
}

TEST_F(PasswordDialogTest, ToolsPopupNumbersItemsFrom500InListOrder) {
    FakeTools tools;
    tools.items = {{QStringLiteral("Keyboard"), 12, QIcon()},
                   {QStringLiteral("Generator"), 3, QIcon()}};
    auto dialog = open(kPasswordOpen, &tools);
    button(dialog.get(), "toolsButton")->click();
    QPointer<QMenu> menu = dialog->toolsMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("toolsMenu"));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Keyboard"));
    EXPECT_EQ(items[0]->data().toInt(), 500);
    EXPECT_EQ(items[1]->text(), QStringLiteral("Generator"));
    EXPECT_EQ(items[1]->data().toInt(), 501);

    items[1]->trigger();
    EXPECT_EQ(tools.launched, std::vector<int>{3});
    EXPECT_TRUE(prompter.prompts.empty()) << "a started tool shows no message";
    EXPECT_TRUE(dialog->isVisible());

    // The popup is rebuilt on every press, from the plugins loaded then.
    tools.items.pop_back();
    button(dialog.get(), "toolsButton")->click();
    EXPECT_TRUE(menu.isNull());
    ASSERT_EQ(dialog->toolsMenu()->actions().size(), 1);
}

TEST_F(PasswordDialogTest, LaunchFailuresAreReported) {
    struct Case {
        int result;
        const char* caption;
        MessageIcon icon;
        const char* text;
    };
    // One failure of each kind: the others differ only in their text.
    const Case cases[] = {
        {kToolNoStartFunction, "Warning", MessageIcon::Warning,
         "Could not find the 'Plugin_Start' function in the plugin, launch failed."},
        {kToolAlreadyRunning, "Information", MessageIcon::Information,
         "The plugin is already running."},
    };
    FakeTools tools;
    tools.items = {{QStringLiteral("Analyzer"), 40, QIcon()}};
    auto dialog = open(kPasswordSave, &tools);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter.prompts.clear();
        tools.result = c.result;
        button(dialog.get(), "toolsButton")->click();
        dialog->toolsMenu()->actions().at(0)->trigger();
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].caption, QLatin1String(c.caption));
        EXPECT_EQ(prompter.prompts[0].icon, c.icon);
        EXPECT_EQ(prompter.prompts[0].text, QLatin1String(c.text));
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(tools.launched, std::vector<int>(2, 40));
}

TEST_F(PasswordDialogTest, ToolsVanishedSinceOpeningAreReported) {
    FakeTools tools;
    tools.items = {{QStringLiteral("Keyboard"), 1, QIcon()}};
    auto dialog = open(kPasswordOpen, &tools);
    tools.items.clear();
    button(dialog.get(), "toolsButton")->click();
    EXPECT_EQ(texts(),
              QStringList{QStringLiteral("VLT could not find any tool plugins installed.")});
    EXPECT_EQ(dialog->toolsMenu(), nullptr);
}

TEST_F(PasswordDialogTest, HelpLinkAsksForTheSavingAndLoadingTopic) {
    QStringList topics;
    PasswordDialogServices services;
    services.prompter = &prompter;
    services.showHelp = [&topics](const QString& topic) { topics << topic; };
    PasswordDialog dialog(kPasswordOpen, services);
    QStringList signalled;
    QObject::connect(&dialog, &PasswordDialog::helpRequested,
                     [&signalled](const QString& topic) { signalled << topic; });
    auto* link = dialog.findChild<QLabel*>(QStringLiteral("helpLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(QStringLiteral("Click here for help")));
    emit link->linkActivated(link->text());
    EXPECT_EQ(topics, QStringList{QStringLiteral("SavingLoading.html")});
    EXPECT_EQ(signalled, QStringList{QStringLiteral("SavingLoading.html")});
}

TEST_F(PasswordDialogTest, AskRunsTheDialogModallyAndReturnsItsResult) {
    PasswordDialogServices services;
    services.prompter = &prompter;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        type(dialog, QStringLiteral("opened"), QString());
        button(dialog, "acceptButton")->click();
    });
    EXPECT_EQ(PasswordDialog::ask(kPasswordOpen, services).view(), u"opened");

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        type(dialog, QStringLiteral("abc"), QStringLiteral("abc"));
        button(dialog, "cancelButton")->click();
    });
    EXPECT_TRUE(PasswordDialog::ask(kPasswordExport, services).empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PasswordDialogTest, UnknownModeIsTakenAsOpening) {
    auto dialog = open(9);
    EXPECT_EQ(dialog->mode(), kPasswordOpen);
    EXPECT_FALSE(dialog->isTwoField());
}

}  // namespace
}  // namespace vlt
