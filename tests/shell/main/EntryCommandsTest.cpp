// The entry commands from the main window through the real editor into the vault.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include "ShellFixture.h"
#include "shell/app/QtDesktop.h"
#include "shell/dialogs/EntryWindow.h"

namespace vlt {
namespace {

class EntryCommands : public test::ShellFixture {
  protected:
    // The editor answers as a user who types `account` and `password` twice and presses Return.
    void typeInEditor(const QString& account, const QString& password) {
        app->desktop().requesters().entry = [this, account, password](QWidget*, const Entry& input,
                                                                      int mode) {
            EntryWindowServices services;
            services.prompter = &prompter;
            EntryWindow editor(input, mode, services);
            editor.show();
            auto* accountField = editor.findChild<QLineEdit*>(QStringLiteral("accountField"));
            accountField->setText(account);
            editor.findChild<QLineEdit*>(QStringLiteral("passwordField"))->setText(password);
            editor.findChild<QLineEdit*>(QStringLiteral("confirmField"))->setText(password);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(accountField, &enter);
            return editor.result();
        };
    }
};

TEST_F(EntryCommands, AnEntryTypedInTheEditorIsStoredInTheSelectedGroupAndShown) {
    const std::string file = sampleContainer();
    passwords.push_back("abc");
    startWith({QString::fromStdString(file)});
    Engine& engine = app->engine();
    ASSERT_EQ(app->window().selectedGroupItem(), 1);
    const std::int32_t groupId = engine.vault.Groups.at(0).ID;
    const int before = engine.vault.Entries.count();

    typeInEditor(QStringLiteral("typed account"), QStringLiteral("p\u00e4ss"));
    app->window().dispatch(Command::AddEntry);
    ASSERT_EQ(engine.vault.Entries.count(), before + 1);
    const EntryRows& rows = app->desktop().ShownEntryRows();
    const int row = app->window().entryList()->currentIndex().row();
    const Entry* added = rows.entry(engine.vault, row);
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->Account == u"typed account");
    EXPECT_TRUE(added->Password == u"p\u00e4ss");
    EXPECT_EQ(added->GroupID, groupId);
}

}  // namespace
}  // namespace vlt
