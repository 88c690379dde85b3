#include "shell/commands/MainMenu.h"

#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "engine/text/Text.h"
#include "shell/app/QtText.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {

namespace {

// Names of files and plugins are shown as they are: a "&" in them is no mnemonic.
QString literalMenuText(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// "1) " and the file name part of the path, surrounding double quotes dropped.
QString recentItemText(int position, const QString& path) {
    QString name = qs(fileNamePart(u16s(path)));
    if (name.startsWith(QLatin1Char('"'))) {
        name.remove(0, 1);
    }
    if (name.endsWith(QLatin1Char('"'))) {
        name.chop(1);
    }
    return QStringLiteral("%1) ").arg(position + 1) + literalMenuText(name);
}

constexpr int kImporter = 1;
constexpr int kExporter = 2;
constexpr int kTool = 0;

bool hasPluginOfType(const MainMenuState& state, int type) {
    for (const PluginMenuEntry& plugin : state.plugins) {
        if (plugin.type == type) {
            return true;
        }
    }
    return false;
}

}  // namespace

MainMenu::MainMenu(QObject* parent)
    : QObject(parent), items_(this, [this](int id) { emit command(id); }) {}

void MainMenu::CreateMainMenu(QMenuBar* bar, const MainMenuState& state) {
    // The old menus may be the ones whose item asked for this rebuild (Clear List), so they go
    // once control is back in the event loop.
    bar->clear();
    for (const QPointer<QMenu>& menu : menus_) {
        if (menu) {
            menu->deleteLater();
        }
    }
    menus_.clear();
    items_.clear();
    pluginMenu_.clear();

    addFileMenu(bar, state);
    addEditMenu(bar);
    addViewMenu(bar);
    addToolsMenu(bar, state);
    items_.addLines(addMenu(bar, "&Search", "menuSearch"),
                    {{65, "&Find\tCtrl+F", 37}, {66, "Find &Next\tF3", 38}});
    items_.addLines(addMenu(bar, "&Help and Support", "menuHelp"), {{67, "&Contents\tF1", 39},
                                                                    kSeparatorLine,
                                                                    {68, "&Visit Homepage", 40},
                                                                    {69, "&About", 41}});
    setInitialChecks(state);
}

QMenu* MainMenu::addMenu(QMenuBar* bar, const char* title, const char* name) {
    auto* menu = new QMenu(QString::fromLatin1(title), bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->addMenu(menu);
    menus_.emplace_back(menu);
    return menu;
}

QMenu* MainMenu::addSubmenu(QMenu* menu, const char* title, const char* name, int icon) {
    auto* submenu = new QMenu(QString::fromLatin1(title), menu);
    submenu->setObjectName(QString::fromLatin1(name));
    if (icon != kNoIcon) {
        submenu->setIcon(MenuIcon(icon));
    }
    menu->addMenu(submenu);
    return submenu;
}

void MainMenu::addFileMenu(QMenuBar* bar, const MainMenuState& state) {
    QMenu* file = addMenu(bar, "&File", "menuFile");
    items_.addLines(file, {{0, "&New Container\tCtrl+N", 0},
                           {1, "&Open Container\tCtrl+O", 1},
                           {2, "&Save\tCtrl+S", 2},
                           {3, "Save &As"},
                           {4, "&Close\tCtrl+W", 3},
                           kSeparatorLine,
                           {5, "Change &Password", 4}});
    addPluginSubmenu(file, state, kImporter, "&Import File", "menuImport", 5);
    addPluginSubmenu(file, state, kExporter, "&Export File", "menuExport", 6);
    items_.addLines(file, {kSeparatorLine, {8, "Program C&onfiguration", 7}});
    if (state.recentsOn && !state.recentPaths.isEmpty()) {
        addRecentSubmenu(file, state.recentPaths);
    }
    items_.addLines(file, {kSeparatorLine, {10, "E&xit", 9}});
}

void MainMenu::addPluginSubmenu(QMenu* file, const MainMenuState& state, int type,
                                const char* title, const char* name, int icon) {
    if (!hasPluginOfType(state, type)) {
        return;
    }
    file->addSeparator();
    addPluginItems(addSubmenu(file, title, name, icon), state, type);
}

void MainMenu::addRecentSubmenu(QMenu* file, const QStringList& paths) {
    file->addSeparator();
    QMenu* recent = addSubmenu(file, "&Recent files", "menuRecent");
    items_.addLines(recent, {{9, "Clear &List", 8}, kSeparatorLine});
    const int shown = std::min(static_cast<int>(paths.size()), kMaxRecentItems);
    for (int i = 0; i < shown; ++i) {
        items_.add(recent, kFirstRecentCommand + i, recentItemText(i, paths[i]));
    }
}

void MainMenu::addPluginItems(QMenu* menu, const MainMenuState& state, int type) {
    for (const PluginMenuEntry& plugin : state.plugins) {
        if (plugin.type != type) {
            continue;
        }
        const int id = kFirstPluginCommand + static_cast<int>(pluginMenu_.size());
        items_.add(menu, id, literalMenuText(plugin.name), plugin.icon);
        pluginMenu_.push_back(PluginMenuItem{plugin.name, id, plugin.pluginId, plugin.icon});
    }
}

void MainMenu::addEditMenu(QMenuBar* bar) {
    QMenu* edit = addMenu(bar, "&Edit", "menuEdit");
    items_.addLines(edit, {{11, "&Add Group\tCtrl+Shift+A", 10},
                           {12, "&Remove Group\tCtrl+Shift+R", 11},
                           {13, "&Edit Selected Group\tCtrl+Shift+E", 12},
                           kSeparatorLine,
                           {14, "&Add New Entry\tCtrl+A", 13},
                           {15, "&Remove Selected Entry\tCtrl+R", 14},
                           {16, "&Edit/View Selected Entry\tCtrl+E", 15},
                           kSeparatorLine,
                           {17, "&Select All Entries", 16},
                           kSeparatorLine});
    items_.addLines(addSubmenu(edit, "&Copy to clipboard", "menuCopy"),
                    {{18, "&Account", 17},
                     {19, "User &Name", 18},
                     {20, "&Password", 19},
                     {21, "&URL", 20},
                     {22, "&Comment", 21},
                     kSeparatorLine,
                     {23, "&Creation Date", 22},
                     {24, "&Access Date", 23},
                     {25, "&Modification Date", 24},
                     {26, "&Expiration Date", 25}});
    items_.addLines(edit, {kSeparatorLine,
                           {27, "&Open URL", 26},
                           {28, "&Save Attachment(s)", 27},
                           kSeparatorLine,
                           {29, "&Mass Modify Entries\tCtrl+M", 28}});
}

void MainMenu::addViewMenu(QMenuBar* bar) {
    QMenu* view = addMenu(bar, "&View", "menuView");
    items_.addLines(addSubmenu(view, "&Move group", "menuMoveGroup"),
                    {{30, "&Up\tCtrl+Up", 29},
                     {31, "&Down\tCtrl+Down", 30},
                     {32, "&Left\tCtrl+Left", 31},
                     {33, "&Right\tCtrl+Right", 32}});
    items_.addLines(addSubmenu(view, "&Move entry", "menuMoveEntry"),
                    {{34, "&Up\tShift+Up", 29}, {35, "&Down\tShift+Down", 30}});
    items_.addLines(view, {kSeparatorLine,
                           {36, "&Expand All Groups\tShift+E", 33},
                           {37, "&Collapse All Groups\tShift+C", 34},
                           kSeparatorLine});
    items_.addLines(addSubmenu(view, "&Mask fields", "menuMaskFields"),
                    {{38, "Hide &Accounts"},
                     {39, "Hide &User Names\tCtrl+J"},
                     {40, "Hide &Passwords\tCtrl+H"},
                     {41, "Hide &URLs"}});
    items_.addLines(addSubmenu(view, "&Columns", "menuColumns"), {{42, "&Account"},
                                                                  {43, "&User Name"},
                                                                  {44, "&Password"},
                                                                  {45, "&URL"},
                                                                  {46, "&Attachments"},
                                                                  kSeparatorLine,
                                                                  {47, "&Created"},
                                                                  {48, "&Accessed"},
                                                                  {49, "&Modified"},
                                                                  {50, "&Expires"}});
    items_.addLines(addSubmenu(view, "&View entries", "menuViewEntries"),
                    {{51, "&All Entries"}, {52, "&Expired Entries"}});
    items_.addLines(view, {kSeparatorLine,
                           {53, "Always On &Top"},
                           {54, "&Send To Tray\tCtrl+T", 35},
                           kSeparatorLine});
    items_.addLines(addSubmenu(view, "&Sort entries", "menuSortEntries"),
                    {{55, "By &Account", 17},
                     {56, "By &User Name", 18},
                     {57, "By &Password", 19},
                     {58, "By &URL", 20},
                     {59, "By &Attachment", 21},
                     kSeparatorLine,
                     {60, "By &Creation Date", 22},
                     {61, "By &Access Date", 23},
                     {62, "By &Modification Date", 24},
                     {63, "By &Expiration Date", 25}});
    items_.setCheckable(38, 53);
}

void MainMenu::addToolsMenu(QMenuBar* bar, const MainMenuState& state) {
    QMenu* tools = addMenu(bar, "&Tools", "menuTools");
    items_.addLines(tools, {{64, "Plugin &manager", 36}});
    if (hasPluginOfType(state, kTool)) {
        tools->addSeparator();
        addPluginItems(tools, state, kTool);
    }
}

void MainMenu::setInitialChecks(const MainMenuState& state) {
    const MaskFields& mask = state.mask;
    items_.setChecked(38, mask.Accounts == 1);
    items_.setChecked(39, mask.UserNames == 1);
    items_.setChecked(40, mask.Passwords == 1);
    items_.setChecked(41, mask.URLs == 1);
    for (int k = 0; k < kColumnCount; ++k) {
        items_.setChecked(42 + k, state.columns[static_cast<std::size_t>(k)].Show == 1);
    }
    items_.setChecked(51, state.viewFilter != 1);
    items_.setChecked(52, state.viewFilter == 1);
    items_.setChecked(53, state.stayOnTop);
}

}  // namespace vlt
