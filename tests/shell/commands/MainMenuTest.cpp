// The main window's menu bar: structure, texts and icons, check marks, the recent-files submenu,
// plugin items and rebuilding.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <algorithm>
#include <memory>

#include "CommandLayout.h"
#include "shell/commands/MainMenu.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {
namespace {

using test::commandLayout;
using test::sameIcon;
using Layout = std::vector<std::string>;

QIcon pluginIcon(Qt::GlobalColor color) {
    QPixmap picture(16, 16);
    picture.fill(color);
    return QIcon(picture);
}

class MainMenuTest : public ::testing::Test {
  protected:
    MainMenuTest() {
        QObject::connect(&menu, &MainMenu::command,
                         [this](Command id) { commands.push_back(CommandNumber(id)); });
    }

    void build() { menu.CreateMainMenu(&bar, state); }

    QMenu* find(const char* name) const { return bar.findChild<QMenu*>(QString::fromLatin1(name)); }

    // Text, icon and the absence of a real key of one item.
    void expectItem(int id, const char* text, int icon) {
        QAction* action = menu.action(Command{id});
        ASSERT_NE(action, nullptr) << id;
        EXPECT_EQ(action->text(), QString::fromLatin1(text)) << id;
        EXPECT_EQ(action->objectName(), QStringLiteral("command%1").arg(id));
        if (icon == kNoIcon) {
            EXPECT_TRUE(action->icon().isNull()) << id;
        } else {
            EXPECT_TRUE(sameIcon(action->icon(), MenuIcon(icon))) << id;
        }
    }

    QMenuBar bar;
    MainMenu menu;
    MainMenuState state;
    std::vector<int> commands;
};

TEST_F(MainMenuTest, BuilderPlacesSubmenusSeparatorsTextsAndIcons) {
    build();
    EXPECT_EQ(bar.actions().size(), 6);
    // One menu in full: the separators and the submenu come out where the table puts them.
    EXPECT_EQ(commandLayout(find("menuEdit")),
              (Layout{"11", "12", "13", "-", "14", "15", "16", "-", "17", "-", ">menuCopy", "-",
                      "27", "28", "-", "29"}));
    EXPECT_EQ(find("menuCopy")->title(), QStringLiteral("&Copy to clipboard"));
    // No plugins: the Tools menu is the manager alone, without a separator.
    EXPECT_EQ(commandLayout(find("menuTools")), (Layout{"64"}));
    expectItem(0, "&New Container\tCtrl+N", 0);
    expectItem(3, "Save &As", kNoIcon);
    // Popup and unbound numbers have no item in the bar.
    EXPECT_EQ(menu.action(Command{70}), nullptr);
    EXPECT_EQ(menu.action(Command{6}), nullptr);

    // The labels are only shown: a real key on an item would make the window's own shortcut
    // for the same key ambiguous, and then neither would fire.
    for (QAction* action : bar.findChildren<QAction*>()) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    }
}

TEST_F(MainMenuTest, CheckMarksFollowTheState) {
    state.mask.Passwords = 1;
    state.columns[kColAccounts].Show = 1;
    state.columns[kColPasswords].Show = 1;
    state.columns[kColExpirationDates].Show = 1;
    state.viewFilter = 1;
    state.stayOnTop = true;
    build();
    for (int id = 38; id <= 53; ++id) {
        EXPECT_TRUE(menu.action(Command{id})->isCheckable()) << id;
    }
    EXPECT_FALSE(menu.action(Command{54})->isCheckable());
    EXPECT_FALSE(menu.action(Command{17})->isCheckable());

    auto checked = [this] {
        std::vector<int> ids;
        for (int id = 38; id <= 53; ++id) {
            if (menu.action(Command{id})->isChecked()) {
                ids.push_back(id);
            }
        }
        return ids;
    };
    EXPECT_EQ(checked(), (std::vector<int>{40, 42, 44, 50, 52, 53}));

    state = MainMenuState{};
    state.mask.Accounts = 1;
    state.mask.URLs = 1;
    state.columns[kColAttachments].Show = 1;
    build();
    EXPECT_EQ(checked(), (std::vector<int>{38, 41, 46, 51}));

    menu.setChecked({Action::ToggleStayOnTop}, true);
    EXPECT_TRUE(menu.action(Command{53})->isChecked());
    menu.setChecked({Action::ToggleColumn, kColumnCount}, true);  // no such item: ignored
}

TEST_F(MainMenuTest, RecentSubmenuOnlyWhenSwitchedOnAndNotEmpty) {
    state.recentPaths = {QStringLiteral("/home/u/a.vlt")};
    for (bool on : {false, true}) {
        state.recentsOn = on;
        build();
        EXPECT_EQ(find("menuRecent"), nullptr) << on;
        EXPECT_EQ(menu.action(Command{9}), nullptr) << on;
        // No submenu, and no separator left for it.
        EXPECT_EQ(commandLayout(find("menuFile")),
                  (Layout{"0", "1", "2", "3", "4", "-", "5", "-", "8", "-", "10"}));
        state.recentPaths.clear();
    }
}

TEST_F(MainMenuTest, RecentItemsShowNumberedFileNames) {
    state.recentsOn = true;
    state.recentPaths = {QStringLiteral("/home/u/a.vlt"), QStringLiteral("C:\\a\\b.vlt"),
                         QStringLiteral("\"C:\\x y\\q.vlt\""),
                         QStringLiteral("/tmp/Tom & Jerry.vlt"), QStringLiteral("plain.vlt")};
    build();
    EXPECT_EQ(commandLayout(find("menuFile")),
              (Layout{"0", "1", "2", "3", "4", "-", "5", "-", "8", "-", ">menuRecent", "-", "10"}));
    EXPECT_EQ(find("menuRecent")->title(), QStringLiteral("&Recent files"));
    EXPECT_EQ(commandLayout(find("menuRecent")),
              (Layout{"9", "-", "300", "301", "302", "303", "304"}));
    expectItem(9, "Clear &List", 8);
    expectItem(300, "1) a.vlt", kNoIcon);
    expectItem(301, "2) b.vlt", kNoIcon);
    expectItem(302, "3) q.vlt", kNoIcon);
    // A "&" in a file name is shown, not taken as a mnemonic.
    expectItem(303, "4) Tom && Jerry.vlt", kNoIcon);
    expectItem(304, "5) plain.vlt", kNoIcon);

    menu.action(Command{301})->trigger();
    menu.action(Command{9})->trigger();
    EXPECT_EQ(commands, (std::vector<int>{301, 9}));
}

TEST_F(MainMenuTest, ALongRecentFileNameIsShortenedAndItsPathIsTheToolTip) {
    state.recentsOn = true;
    const QString longName =
        QStringLiteral("start-") + QString(3000, QLatin1Char('x')) + QStringLiteral("-end.vlt");
    const QString path = QStringLiteral("/data/") + longName;
    state.recentPaths = {path, QStringLiteral("/home/u/a.vlt")};
    build();
    QMenu* recent = find("menuRecent");
    const QString text = menu.action(Command{300})->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("1) start-"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("-end.vlt"))) << text.toStdString();
    EXPECT_LE(recent->fontMetrics().horizontalAdvance(text), 400);
    EXPECT_LT(recent->sizeHint().width(), 600);
    EXPECT_EQ(menu.action(Command{300})->toolTip(), path);
    EXPECT_TRUE(recent->toolTipsVisible());
    // A short name is shown whole.
    EXPECT_EQ(menu.action(Command{301})->text(), QStringLiteral("2) a.vlt"));
    EXPECT_EQ(menu.action(Command{301})->toolTip(), QStringLiteral("/home/u/a.vlt"));
}

TEST_F(MainMenuTest, RecentSubmenuStopsAtTenSoNumbersNeverReachThePlugins) {
    state.recentsOn = true;
    for (int i = 0; i < 15; ++i) {
        state.recentPaths.push_back(QStringLiteral("/v/f%1.vlt").arg(i));
    }
    state.plugins = {{QStringLiteral("Importer"), 5, 1, pluginIcon(Qt::red)}};
    build();
    const Layout recent = commandLayout(find("menuRecent"));
    EXPECT_EQ(recent, (Layout{"9", "-", "300", "301", "302", "303", "304", "305", "306", "307",
                              "308", "309"}));
    expectItem(309, "10) f9.vlt", kNoIcon);
    EXPECT_EQ(menu.action(Command{310}), nullptr);
    EXPECT_EQ(menu.action(Command{400})->text(), QStringLiteral("Importer"));
}

TEST_F(MainMenuTest, PluginItemsNumberedImportersThenExportersThenTools) {
    // Plugin-list order deliberately mixes the types.
    state.plugins = {{QStringLiteral("D tool"), 41, 0, pluginIcon(Qt::blue)},
                     {QStringLiteral("C exporter"), 42, 2, pluginIcon(Qt::green)},
                     {QStringLiteral("A importer"), 43, 1, pluginIcon(Qt::red)},
                     {QStringLiteral("E previewer"), 44, 3, pluginIcon(Qt::gray)},
                     {QStringLiteral("B importer"), 45, 1, pluginIcon(Qt::yellow)}};
    build();
    EXPECT_EQ(commandLayout(find("menuFile")),
              (Layout{"0", "1", "2", "3", "4", "-", "5", "-", ">menuImport", "-", ">menuExport",
                      "-", "8", "-", "10"}));
    EXPECT_EQ(find("menuImport")->title(), QStringLiteral("&Import File"));
    EXPECT_EQ(find("menuExport")->title(), QStringLiteral("&Export File"));
    EXPECT_EQ(commandLayout(find("menuImport")), (Layout{"400", "401"}));
    EXPECT_EQ(commandLayout(find("menuExport")), (Layout{"402"}));
    EXPECT_EQ(commandLayout(find("menuTools")), (Layout{"64", "-", "403"}));

    const std::vector<PluginMenuItem>& items = menu.pluginMenu();
    ASSERT_EQ(items.size(), 4u);
    const struct {
        const char* name;
        int menuId;
        int pluginId;
        std::size_t source;
    } expected[] = {{"A importer", 400, 43, 2},
                    {"B importer", 401, 45, 4},
                    {"C exporter", 402, 42, 1},
                    {"D tool", 403, 41, 0}};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].name, QString::fromLatin1(expected[i].name));
        EXPECT_EQ(items[i].menuId, expected[i].menuId);
        EXPECT_EQ(items[i].pluginId, expected[i].pluginId);
        EXPECT_TRUE(sameIcon(items[i].icon, state.plugins[expected[i].source].icon));
        QAction* action = menu.action(Command{expected[i].menuId});
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromLatin1(expected[i].name));
        EXPECT_TRUE(sameIcon(action->icon(), state.plugins[expected[i].source].icon));
    }
    EXPECT_EQ(menu.action(Command{404}), nullptr);  // the previewer has no item

    menu.action(Command{402})->trigger();
    menu.action(Command{403})->trigger();
    EXPECT_EQ(commands, (std::vector<int>{402, 403}));
}

TEST_F(MainMenuTest, ExportersAloneGetOneSeparatorAndSubmenu) {
    state.plugins = {{QStringLiteral("Only exporter"), 1, 2, pluginIcon(Qt::green)}};
    build();
    EXPECT_EQ(commandLayout(find("menuFile")),
              (Layout{"0", "1", "2", "3", "4", "-", "5", "-", ">menuExport", "-", "8", "-", "10"}));
    EXPECT_EQ(menu.action(Command{400})->text(), QStringLiteral("Only exporter"));
    EXPECT_EQ(commandLayout(find("menuTools")), (Layout{"64"}));
}

TEST_F(MainMenuTest, TriggeringAnItemEmitsItsNumber) {
    build();
    menu.action(Command{17})->trigger();
    menu.action(Command{40})->trigger();
    menu.action(Command{62})->trigger();
    find("menuHelp")->actions().back()->trigger();
    EXPECT_EQ(commands, (std::vector<int>{17, 40, 62, 69}));
    // A check-mark item flips its mark as it reports the command.
    EXPECT_TRUE(menu.action(Command{40})->isChecked());
}

TEST_F(MainMenuTest, RebuildReplacesTheWholeBar) {
    state.recentsOn = true;
    state.recentPaths = {QStringLiteral("/v/a.vlt")};
    state.plugins = {{QStringLiteral("Tool"), 3, 0, pluginIcon(Qt::blue)}};
    build();
    QPointer<QMenu> oldFile = find("menuFile");
    QPointer<QAction> oldRecent = menu.action(Command{300});
    ASSERT_TRUE(oldRecent);

    state.recentPaths.clear();
    state.plugins.clear();
    build();
    EXPECT_EQ(bar.actions().size(), 6);
    EXPECT_EQ(menu.action(Command{300}), nullptr);
    EXPECT_EQ(menu.action(Command{400}), nullptr);
    EXPECT_TRUE(menu.pluginMenu().empty());
    EXPECT_NE(bar.actions().front()->menu(), oldFile.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldFile.isNull());
    EXPECT_TRUE(oldRecent.isNull());
    EXPECT_EQ(bar.findChildren<QMenu*>(QStringLiteral("menuFile")).size(), 1);
    EXPECT_EQ(commandLayout(find("menuTools")), (Layout{"64"}));
}

TEST_F(MainMenuTest, ClearListRebuildsFromInsideItsOwnItem) {
    state.recentsOn = true;
    state.recentPaths = {QStringLiteral("/v/a.vlt"), QStringLiteral("/v/b.vlt")};
    build();
    // As the main window does for Clear List: empty the list and rebuild while the item that
    // asked is still delivering its signal.
    QObject::connect(&menu, &MainMenu::command, [this](Command id) {
        if (CommandNumber(id) == 9) {
            state.recentPaths.clear();
            build();
        }
    });
    menu.action(Command{9})->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(commands, (std::vector<int>{9}));
    EXPECT_EQ(find("menuRecent"), nullptr);
    EXPECT_EQ(commandLayout(find("menuFile")),
              (Layout{"0", "1", "2", "3", "4", "-", "5", "-", "8", "-", "10"}));
}

// Every menu path of the help pages (marked as a "menu" span, items joined by arrows) leads
// through the menu bar to a command, and a key written right after it is that item's key.
TEST_F(MainMenuTest, EveryMenuPathOfTheHelpPagesLeadsToItsCommand) {
    build();
    const QRegularExpression path(
        QStringLiteral("<span class=\"menu\">([^<]*)</span>(?:,? \\(?<kbd>([^<]*)</kbd>)?"));
    int paths = 0;
    for (const QFileInfo& page :
         QDir(QStringLiteral(VLT_HELP_DIR)).entryInfoList({QStringLiteral("*.html")})) {
        QFile file(page.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.filePath().toStdString();
        const QString html = QString::fromUtf8(file.readAll()).replace(u'\n', u' ');
        qsizetype arrows = 0;
        for (QRegularExpressionMatchIterator it = path.globalMatch(html); it.hasNext(); ++paths) {
            const QRegularExpressionMatch match = it.next();
            const QStringList names = match.captured(1).split(QStringLiteral(" &rarr; "));
            arrows += names.size() - 1;
            SCOPED_TRACE(page.fileName().toStdString() + ": " + match.captured(1).toStdString());
            const QWidget* menu = &bar;
            QAction* item = nullptr;
            for (const QString& name : names) {
                ASSERT_NE(menu, nullptr) << "no submenu to hold " << name.toStdString();
                const QList<QAction*> items = menu->actions();
                const auto found = std::find_if(items.begin(), items.end(), [&](QAction* a) {
                    return a->text().section(u'\t', 0, 0).remove(u'&') == name;
                });
                ASSERT_NE(found, items.end()) << "no item " << name.toStdString();
                item = *found;
                menu = item->menu();
            }
            EXPECT_EQ(menu, nullptr) << "the path ends on a submenu";
            if (match.hasCaptured(2)) {
                EXPECT_EQ(item->text().section(u'\t', 1), match.captured(2));
            }
        }
        EXPECT_EQ(arrows, html.count(QStringLiteral("&rarr;"))) << "a path outside a menu span";
    }
    EXPECT_GE(paths, 12);
}

TEST(MainMenuLifetime, ItemsOutlivingTheMenuObjectReportNothing) {
    QMenuBar bar;
    std::vector<int> commands;
    {
        MainMenu menu;
        QObject::connect(&menu, &MainMenu::command,
                         [&](Command id) { commands.push_back(CommandNumber(id)); });
        menu.CreateMainMenu(&bar, MainMenuState{});
    }
    auto* item = bar.findChild<QAction*>(QStringLiteral("command17"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_TRUE(commands.empty());
}

}  // namespace
}  // namespace vlt
