#pragma once
// The main window tests' fixture: VLT started with a sample container open, with clicks on the
// list and the comment view as a user makes them, and small vaults to sort and link.

#include <QApplication>
#include <QMouseEvent>
#include <QTableView>
#include <QTextBrowser>
#include <QTextCursor>

#include "RawContainer.h"
#include "SampleVault.h"
#include "ShellFixture.h"
#include "shell/main/EntryListModel.h"

namespace vlt::test {

class MainWindowFlow : public ShellFixture {
  protected:
    static constexpr std::int32_t kNow = 1796722130;

    // Starts VLT with the sample container open (password "abc").
    MainWindow& openSample(const Vault& vault = SampleVault({4})) {
        writeConfig("");
        RawContainer raw;
        raw.addVault(vault);
        file = home.file("vault.vlt");
        writeFile(file, raw.text());
        passwords.push_back("abc");
        make();
        app->engine().clock = [] { return kNow; };
        EXPECT_TRUE(app->start({QString::fromStdString(file)}));
        return app->window();
    }
    QString cell(int row, int column) {
        auto* model = app->window().entryModel();
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    // A left click (press and release) at a point of the widget.
    static void click(QWidget* target, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        const QPointF global = target->mapToGlobal(QPointF(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton,
                          Qt::LeftButton, keys);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                            Qt::NoButton, keys);
        QApplication::sendEvent(target, &release);
    }
    void clickRow(int row, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTableView* list = app->window().entryList();
        const QModelIndex index = list->model()->index(row, kColAccounts);
        click(list->viewport(), list->visualRect(index).center(), keys);
    }
    // A click on the comment view's text where `fragment` stands.
    void clickComment(const QString& fragment) {
        QTextBrowser* view = app->window().commentView();
        const auto at = view->toPlainText().indexOf(fragment);
        ASSERT_GE(at, 0) << fragment.toStdString();
        QTextCursor cursor(view->document());
        cursor.setPosition(static_cast<int>(at) + 2);
        click(view->viewport(), view->cursorRect(cursor).center());
    }

    // Three entries in one group, for sorting.
    static Vault ThreeEntries() {
        Vault vault;
        vault.Groups.append(Group{1, 1, u"Mail", 3});
        const char16_t* accounts[] = {u"beta", u"Alpha", u"alpha"};
        for (int i = 0; i < 3; ++i) {
            Entry e;
            e.ID = 10 + i;
            e.GroupID = 1;
            e.Account = accounts[i];
            e.Password = u"pw";
            e.CreationDate = 100 - i;
            vault.Entries.append(e);
        }
        return vault;
    }
    // ThreeEntries with comments, the first one holding links of every kind.
    static Vault CommentedEntries() {
        Vault vault = ThreeEntries();
        vault.Entries.at(0).Comment =
            u"Log in at https://bank.example/login?a=1&b=2 or www.example.org;\r\nnever "
            u"javascript:alert(1) or file:///etc/passwd";
        vault.Entries.at(1).Comment = u"second";
        vault.Entries.at(2).Comment = u"third";
        return vault;
    }

    std::string file;
};

}  // namespace vlt::test
