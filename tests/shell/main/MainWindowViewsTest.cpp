// The main window's views as the user works them: the group tree, the entry list with its
// columns, selection and sorting, and the comment view with its links.
#include <QAction>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QUrl>

#include "MainWindowFlow.h"
#include "engine/view/EntryList.h"
#include "shell/commands/MainMenu.h"
#include "shell/main/EntryListHeader.h"
#include "shell/main/EntryListView.h"

namespace vlt {
namespace {

using test::MainWindowFlow;

TEST_F(MainWindowFlow, TheTreeShowsTheGroupsAndTheListTheSelectedGroupsEntries) {
    MainWindow& window = openSample();
    QTreeWidget* tree = window.groupTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "vault.vlt");
    ASSERT_EQ(root->childCount(), 2);  // Home (with Banks below it, and Deep below that), ""
    EXPECT_EQ(root->child(0)->text(0), "Home");
    EXPECT_EQ(root->child(0)->child(0)->text(0), QString::fromUtf16(u"Banks \u00e9\U0001F3E6"));
    EXPECT_EQ(root->child(0)->child(0)->child(0)->text(0), "Deep");
    EXPECT_TRUE(root->child(0)->isExpanded());
    EXPECT_EQ(window.selectedGroupItem(), 1);

    tree->setCurrentItem(root->child(0)->child(0));  // Banks: the full entry
    ASSERT_EQ(window.entryModel()->rowCount(), 1);
    EXPECT_EQ(cell(0, kColAccounts), "Savings");
    EXPECT_EQ(cell(0, kColPasswords), "*****");
    EXPECT_EQ(cell(0, kColExpirationDates), "12/13/1901 20:45:52");
    EXPECT_EQ(window.statusField(1)->text(), "0 of 1 selected");
}

TEST_F(MainWindowFlow, SelectingARowStampsItsAccessDateButRebuildsDoNot) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    Entry& entry = app->engine().vault.Entries.at(0);
    EXPECT_EQ(entry.AccessDate, 0);
    window.entryList()->selectRow(0);
    EXPECT_EQ(entry.AccessDate, kNow);
    EXPECT_TRUE(window.commentView()->toPlainText().startsWith("ccc"));
    EXPECT_EQ(window.statusField(1)->text(), "1 of 1 selected");

    entry.AccessDate = 5;
    Entry_RefreshList(app->engine());  // reselects the row from code
    EXPECT_EQ(entry.AccessDate, 5);
    EXPECT_TRUE(window.entryList()->selectionModel()->isRowSelected(0, {}));
}

TEST_F(MainWindowFlow, DraggingAMaskedPasswordCarriesTheRealText) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    auto* view = qobject_cast<QTableView*>(window.entryList());
    auto* list = static_cast<EntryListView*>(view);
    auto* model = window.entryModel();
    EXPECT_EQ(list->dragText(model->index(0, kColPasswords)),
              QString::fromUtf16(u"p\u00e4ss \U0001F511 word"));
    EXPECT_EQ(list->dragText(model->index(0, kColAttachments)), "file-4.bin");
    // While a load or a plugin run holds the engine, the row may point into a changing vault.
    {
        Engine::BusyGuard busy(app->engine());
        EXPECT_EQ(list->dragText(model->index(0, kColPasswords)), "");
        EXPECT_EQ(list->dragText(model->index(0, kColAttachments)), "");
    }
    EXPECT_EQ(list->dragText(model->index(0, kColUserNames)), QString::fromUtf16(u"j\u00f6rg"));
}

TEST_F(MainWindowFlow, AColumnShownAgainGetsTheWidthItHadWhenHidden) {
    MainWindow& window = openSample();
    window.entryList()->setColumnWidth(kColPasswords, 77);
    window.dispatch(Command{44});
    EXPECT_TRUE(window.entryList()->isColumnHidden(kColPasswords));
    EXPECT_FALSE(window.mainMenu()->action(Command{44})->isChecked());
    EXPECT_EQ(app->engine().settings.Columns[kColPasswords].Show, 0);
    window.dispatch(Command{97});  // the header popup's item for the same column
    EXPECT_FALSE(window.entryList()->isColumnHidden(kColPasswords));
    EXPECT_EQ(window.entryList()->columnWidth(kColPasswords), 77);
    EXPECT_TRUE(window.mainMenu()->action(Command{44})->isChecked());
}

TEST_F(MainWindowFlow, MaskTogglesRebuildTheList) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    window.dispatch(Command{40});  // passwords shown
    EXPECT_EQ(cell(0, kColPasswords), QString::fromUtf16(u"p\u00e4ss \U0001F511 word"));
    EXPECT_FALSE(window.mainMenu()->action(Command{40})->isChecked());
    window.dispatch(Command{40});
    EXPECT_EQ(cell(0, kColPasswords), "*****");
    EXPECT_TRUE(window.mainMenu()->action(Command{40})->isChecked());
}

TEST_F(MainWindowFlow, SelectAllCountsTheSelectedRows) {
    MainWindow& window = openSample(ThreeEntries());
    QApplication::setActiveWindow(&window);
    window.groupTree()->setFocus();
    ASSERT_TRUE(window.groupTree()->hasFocus());
    window.dispatch(Command{17});
    EXPECT_EQ(window.statusField(1)->text(), "3 of 3 selected");
    EXPECT_TRUE(window.entryList()->hasFocus());
}

TEST_F(MainWindowFlow, ExpandAndCollapseActOnTheSelectedGroupOnly) {
    MainWindow& window = openSample();
    QTreeWidgetItem* home = window.groupTree()->topLevelItem(0)->child(0);
    window.groupTree()->setCurrentItem(home);
    window.dispatch(Command{78});
    EXPECT_FALSE(home->isExpanded());
    EXPECT_TRUE(home->isSelected());
    window.dispatch(Command{77});
    EXPECT_TRUE(home->isExpanded());
    window.dispatch(Command{37});
    EXPECT_FALSE(window.groupTree()->topLevelItem(0)->isExpanded());
    window.dispatch(Command{36});
    EXPECT_TRUE(home->child(0)->isExpanded());
}

TEST_F(MainWindowFlow, FindNextSelectsTheHitsGroupAndRowWithoutStampingIt) {
    MainWindow& window = openSample();
    Engine& engine = app->engine();
    engine.ActiveSearch.SearchText = u"J\u00d6RG";
    engine.ActiveSearch.SearchUsers = 1;
    engine.ActiveSearch.SearchExpired = 1;
    window.dispatch(Command::FindNext);
    EXPECT_EQ(window.selectedGroupItem(), 2);  // "Banks", below "Home"
    EXPECT_EQ(window.groupTree()->currentItem()->text(0),
              QString::fromUtf16(u"Banks \u00e9\U0001F3E6"));
    EXPECT_EQ(window.currentRow(), 0);
    EXPECT_TRUE(window.commentView()->toPlainText().startsWith("ccc"));
    EXPECT_EQ(window.statusField(1)->text(), "1 of 1 selected");
    EXPECT_EQ(engine.vault.Entries.at(0).AccessDate, 0);
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(MainWindowFlow, OnlyHeaderClicksSetTheSortArrowAndAscendingPointsUp) {
    MainWindow& window = openSample(ThreeEntries());
    auto* header = window.findChild<EntryListHeader*>(QStringLiteral("entryListHeader"));
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(window.entryList()->horizontalHeader(), header);
    auto arrow = [header](int section) {
        QStyleOptionHeader option;
        header->initStyleOptionForIndex(&option, section);
        return option.sortIndicator;
    };

    header->sectionClicked(kColAccounts);
    EXPECT_EQ(cell(0, 0), "Alpha");  // ascending
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);
    header->sectionClicked(kColAccounts);
    EXPECT_EQ(cell(0, 0), "beta");  // descending
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortDown);
    header->sectionClicked(kColAccounts);
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);

    window.dispatch(Command{55});  // the menu's sort command: sorts, leaves the arrows alone
    EXPECT_EQ(cell(0, 0), "beta");
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);

    header->sectionClicked(kColCreationDates);
    EXPECT_EQ(arrow(kColCreationDates), QStyleOptionHeader::SortUp);
    for (int column = 0; column < kColumnCount; ++column) {
        if (column != kColCreationDates) {
            EXPECT_EQ(arrow(column), QStyleOptionHeader::None) << column;
        }
    }
}

TEST_F(MainWindowFlow, OnlyASelectedRowIsCurrent) {
    MainWindow& window = openSample(CommentedEntries());
    QTableView* list = window.entryList();
    Vault& vault = app->engine().vault;
    auto stamped = [&vault] {
        std::vector<std::int32_t> ids;
        for (Entry& entry : vault.Entries) {
            if (entry.AccessDate != 0) {
                ids.push_back(entry.ID);
            }
            entry.AccessDate = 0;
        }
        return ids;
    };
    clickRow(1);
    EXPECT_EQ(window.statusField(1)->text(), "1 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText(), "second");
    EXPECT_EQ(stamped(), std::vector<std::int32_t>{11});

    // Blank space below the rows deselects all: no comment stays, and neither a later click
    // nor the list gaining the focus (Qt then makes its first row current) stamps an entry.
    const QPoint blank(10, list->viewport()->height() - 3);
    ASSERT_FALSE(list->indexAt(blank).isValid());
    click(list->viewport(), blank);
    EXPECT_EQ(window.statusField(1)->text(), "0 of 3 selected");
    EXPECT_TRUE(window.commentView()->toPlainText().isEmpty());
    click(list->viewport(), blank);
    QFocusEvent focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(list, &focus);
    EXPECT_TRUE(window.commentView()->toPlainText().isEmpty());
    EXPECT_TRUE(stamped().empty());

    // Deselecting the current row of several makes the first row still selected current.
    clickRow(2);
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(window.statusField(1)->text(), "2 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText().left(6), "Log in");
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(window.statusField(1)->text(), "1 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText(), "third");
    EXPECT_EQ(stamped().back(), 12);
}

TEST_F(MainWindowFlow, ACommentLinkOpensOnlyAfterYesAndOnlyForWebAndMail) {
    MainWindow& window = openSample(CommentedEntries());
    clickRow(0);
    // A stored line end (CR LF) is one line break.
    ASSERT_EQ(window.commentView()->toPlainText().toStdString(),
              "Log in at https://bank.example/login?a=1&b=2 or www.example.org;\nnever "
              "javascript:alert(1) or file:///etc/passwd");
    const auto asked = [this] { return prompter.prompts.size(); };

    prompter.answers.push_back(false);
    clickComment("bank.example");
    ASSERT_EQ(asked(), 1u);
    EXPECT_EQ(prompter.prompts.back().caption, "Please confirm");
    EXPECT_EQ(prompter.prompts.back().text,
              "Would you like to open the link below in the default browser window?\r\n\r\n"
              "\"https://bank.example/login?a=1&b=2\"");
    EXPECT_EQ(prompter.prompts.back().icon, MessageIcon::Question);
    EXPECT_TRUE(prompter.prompts.back().question);
    EXPECT_TRUE(openedUrls.isEmpty());

    prompter.answers.push_back(true);
    clickComment("bank.example");
    EXPECT_EQ(openedUrls, QStringList{"https://bank.example/login?a=1&b=2"});

    // The question quotes the link as written; the browser gets it with its scheme.
    prompter.answers.push_back(true);
    clickComment("www.example.org");
    EXPECT_TRUE(prompter.prompts.back().text.endsWith("\r\n\r\n\"www.example.org\""));
    EXPECT_EQ(openedUrls.size(), 2);
    EXPECT_EQ(openedUrls.back(), "http://www.example.org");

    // Other schemes are no links, and anchors the comment was not given open nothing.
    prompter.answers.assign({true, true, true, true, true});
    clickComment("javascript");
    clickComment("etc/passwd");
    for (const char* forged : {"javascript:alert(1)", "file:///etc/passwd", "#7", "#-1", "#"}) {
        window.commentView()->anchorClicked(QUrl(QString::fromLatin1(forged)));
    }
    EXPECT_EQ(asked(), 3u);
    EXPECT_EQ(openedUrls.size(), 2);
}

}  // namespace
}  // namespace vlt
