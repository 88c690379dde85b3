#include "shell/commands/MainMenu.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <iterator>

#include "engine/text/Text.h"
#include "shell/app/QtText.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {

namespace {

// Names of files and plugins are shown as they are: a "&" in them is no mnemonic.
QString literalMenuText(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Widest a recent file's item text gets, in pixels; the full path is its tool tip.
constexpr int kRecentTextWidth = 360;

// "1) " and the file name part of the path, surrounding double quotes dropped; a long name
// loses its middle, so that neither the menu nor the time it takes to open grows with it.
QString recentItemText(int position, const QString& path, const QFontMetrics& metrics) {
    QString name = qs(fileNamePart(u16s(path)));
    if (name.startsWith(QLatin1Char('"'))) {
        name.remove(0, 1);
    }
    if (name.endsWith(QLatin1Char('"'))) {
        name.chop(1);
    }
    const QString number = QStringLiteral("%1) ").arg(position + 1);
    name = metrics.elidedText(name, Qt::ElideMiddle,
                              kRecentTextWidth - metrics.horizontalAdvance(number));
    return number + literalMenuText(name);
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
    : QObject(parent), items_(this, [this](Command id) { emit command(id); }) {}

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

    using enum Command;
    addFileMenu(bar, state);
    addEditMenu(bar);
    addViewMenu(bar);
    addToolsMenu(bar, state);
    items_.addLines(addMenu(bar, "&Search", "menuSearch"), {Find, FindNext});
    items_.addLines(addMenu(bar, "&Help and Support", "menuHelp"),
                    {HelpContents, kSeparator, VisitHomepage, About});
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
    using enum Command;
    QMenu* file = addMenu(bar, "&File", "menuFile");
    items_.addLines(file, {NewContainer, OpenContainer, Save, SaveAs, CloseContainer, kSeparator,
                           ChangePassword});
    addPluginSubmenu(file, state, kImporter, "&Import File", "menuImport", 5);
    addPluginSubmenu(file, state, kExporter, "&Export File", "menuExport", 6);
    items_.addLines(file, {kSeparator, Configuration});
    if (state.recentsOn && !state.recentPaths.isEmpty()) {
        addRecentSubmenu(file, state.recentPaths);
    }
    items_.addLines(file, {kSeparator, Exit});
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
    items_.addLines(recent, {Command::ClearRecentFiles, kSeparator});
    recent->setToolTipsVisible(true);
    const int shown = std::min(static_cast<int>(paths.size()), kMaxRecentFiles);
    for (int i = 0; i < shown; ++i) {
        QAction* item = items_.add(recent, RecentFileCommand(i),
                                   recentItemText(i, paths[i], recent->fontMetrics()), QIcon());
        item->setToolTip(paths[i]);
    }
}

void MainMenu::addPluginItems(QMenu* menu, const MainMenuState& state, int type) {
    for (const PluginMenuEntry& plugin : state.plugins) {
        if (plugin.type != type) {
            continue;
        }
        const Command id = PluginCommand(static_cast<int>(pluginMenu_.size()));
        items_.add(menu, id, literalMenuText(plugin.name), plugin.icon);
        pluginMenu_.push_back(
            PluginMenuItem{plugin.name, CommandNumber(id), plugin.pluginId, plugin.icon});
    }
}

void MainMenu::addEditMenu(QMenuBar* bar) {
    using enum Command;
    QMenu* edit = addMenu(bar, "&Edit", "menuEdit");
    items_.addLines(edit, {AddGroup, RemoveGroup, EditGroup, kSeparator, AddEntry, RemoveEntry,
                           EditEntry, kSeparator, SelectAllEntries, kSeparator});
    items_.addLines(addSubmenu(edit, "&Copy to clipboard", "menuCopy"),
                    {CopyAccount, CopyUserName, CopyPassword, CopyUrl, CopyComment, kSeparator,
                     CopyCreationDate, CopyAccessDate, CopyModificationDate, CopyExpirationDate});
    items_.addLines(edit, {kSeparator, OpenUrl, SaveAttachments, kSeparator, MassModify});
}

void MainMenu::addViewMenu(QMenuBar* bar) {
    using enum Command;
    QMenu* view = addMenu(bar, "&View", "menuView");
    items_.addLines(addSubmenu(view, "&Move group", "menuMoveGroup"),
                    {MoveGroupUp, MoveGroupDown, MoveGroupLeft, MoveGroupRight});
    items_.addLines(addSubmenu(view, "&Move entry", "menuMoveEntry"), {MoveEntryUp, MoveEntryDown});
    items_.addLines(view, {kSeparator, ExpandAllGroups, CollapseAllGroups, kSeparator});
    items_.addLines(addSubmenu(view, "&Mask fields", "menuMaskFields"),
                    {HideAccounts, HideUserNames, HidePasswords, HideUrls});
    items_.addLines(addSubmenu(view, "&Columns", "menuColumns"),
                    {ShowAccountColumn, ShowUserNameColumn, ShowPasswordColumn, ShowUrlColumn,
                     ShowAttachmentColumn, kSeparator, ShowCreatedColumn, ShowAccessedColumn,
                     ShowModifiedColumn, ShowExpiresColumn});
    items_.addLines(addSubmenu(view, "&View entries", "menuViewEntries"),
                    {ViewAllEntries, ViewExpiredEntries});
    items_.addLines(view, {kSeparator, AlwaysOnTop, SendToTray, kSeparator});
    items_.addLines(
        addSubmenu(view, "&Sort entries", "menuSortEntries"),
        {SortByAccount, SortByUserName, SortByPassword, SortByUrl, SortByAttachment, kSeparator,
         SortByCreationDate, SortByAccessDate, SortByModificationDate, SortByExpirationDate});
}

void MainMenu::addToolsMenu(QMenuBar* bar, const MainMenuState& state) {
    QMenu* tools = addMenu(bar, "&Tools", "menuTools");
    items_.addLines(tools, {Command::PluginManager});
    if (hasPluginOfType(state, kTool)) {
        tools->addSeparator();
        addPluginItems(tools, state, kTool);
    }
}

void MainMenu::setInitialChecks(const MainMenuState& state) {
    const MaskFields& mask = state.mask;
    const std::int32_t masks[] = {mask.Accounts, mask.UserNames, mask.Passwords, mask.URLs};
    for (int field = 0; field < static_cast<int>(std::size(masks)); ++field) {
        items_.setChecked({Action::ToggleMask, field}, masks[field] == 1);
    }
    for (int k = 0; k < kColumnCount; ++k) {
        items_.setChecked({Action::ToggleColumn, k},
                          state.columns[static_cast<std::size_t>(k)].Show == 1);
    }
    items_.setChecked({Action::SetViewFilter, 0}, state.viewFilter != 1);
    items_.setChecked({Action::SetViewFilter, 1}, state.viewFilter == 1);
    items_.setChecked({Action::ToggleStayOnTop}, state.stayOnTop);
}

}  // namespace vlt
