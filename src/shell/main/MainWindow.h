#pragma once
// The main window: the group tree beside the entry list, the selected entry's comment below, the
// menu bar, toolbar and three-field status bar. Every menu item, popup item, toolbar button and
// shortcut arrives in dispatch() as its named command.

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "engine/vault/Engine.h"
#include "platform/DataFolder.h"
#include "shell/commands/CommandTable.h"

class QLabel;
class QTableView;
class QTextBrowser;
class QTreeWidget;

namespace vlt {

class PluginShell;
class BossKey;
class TrayIcon;

class CommentView;
class EntryListModel;
class EntryListView;
class GroupTreeView;
class MainStatusBar;
class MainMenu;
class MainToolbar;
class PaneArea;
class PopupMenus;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Engine& engine, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the action of one command of the command table.
    void dispatch(Command command);

    // The views the engine refreshes (through the Qt desktop).
    void setStatusField(int field, const QString& text);
    void setContainerLabel(const QString& text);
    void clearViews();
    void rebuildGroupTree();
    void showEntryRows(EntryRows rows, int selectRow);
    void showComment(std::u16string_view text);
    void CreateMainMenu();
    int selectedGroupItem() const;
    int currentRow() const;
    void ExpandAllTreeItems();
    // Find and mass modify: selections made by the engine, no user events.
    void selectEntryRow(int row);
    std::vector<int> selectedRows() const;
    void CollapseAllTreeItems();
    // Selects tree item `item` quietly, scrolls it into view and focuses the tree.
    void selectGroupItem(int item);

    // Files dropped on the tree, the list or the comment view: the first is opened as a
    // container.
    void openDroppedFiles(const QList<QUrl>& urls);

    // The window as the exit stores it. The position is that of the window's inside, not of its
    // frame: on X11 the frame is known only once the window manager has framed the shown window,
    // so a frame position could not be put back before the window shows.
    WindowLayout windowLayout() const;
    // Puts the window's inside at a position the exit stored.
    void restorePosition(const QPoint& position);
    // Closes the window for good: the program is ending.
    void closeForExit();
    // Where the menus find the loaded plugins; none until the application sets it.
    void setPlugins(PluginShell* plugins) { plugins_ = plugins; }
    // Greys the menus, toolbar and views while a plugin works on the vault, or restores them.
    void SetInterfaceDisabled(bool disabled);

    // Applies the colour, grid, column and splitter settings to the gadgets.
    void applySettings();
    // Applies the colour and grid settings only (the configuration window's Apply).
    void applyLook();
    // Grabs the boss key of the settings (releasing the one held), or releases it when the key
    // is off. A key the display refuses is reported once per run.
    void registerBossKey();
    // Where the program runs from: help pages, autostart, portable mode.
    void setProgram(std::string programFile, ProgramPaths paths);
    // Starts the clipboard-clearing and auto-close timers whose settings are on (the application
    // points it at its own); the configuration window's Apply calls it.
    std::function<void()> startIdleGuards;
    TrayIcon* tray() const { return tray_; }
    BossKey* bossKey() const { return bossKey_; }
    bool stayOnTop() const { return stayOnTop_; }
    void setStayOnTop(bool on);

    QTreeWidget* groupTree() const;
    QTableView* entryList() const;
    EntryListModel* entryModel() const { return model_; }
    QTextBrowser* commentView() const;
    MainMenu* mainMenu() const { return mainMenu_.get(); }
    PopupMenus* popups() const { return popups_.get(); }
    QLabel* statusField(int field) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createGadgets();
    void createBars();
    void greyUnavailable();
    void onEntryListEvent();
    void onGroupTreeEvent();
    void showGroupPopup(const QPoint& at);
    void showEntryPopup(const QPoint& at);

    void updateCounts();
    void updateSelectionStatus();
    void expandSelectedGroup(bool expand);

    // The command dispatch (MainWindowCommands.cpp): perform() queues a command behind those
    // still waiting for the engine, carryOut() hands it to its family, and each family reports
    // whether the command was its own.
    void perform(ActionCall call);
    void runWaitingCommands();
    void carryOut(ActionCall call);
    bool performFileCommand(ActionCall call);
    bool performGroupCommand(ActionCall call);
    bool performEntryCommand(ActionCall call);
    bool performViewCommand(ActionCall call);
    bool performToolCommand(ActionCall call);
    // Runs the plugin of the menu bar's plugin item at that place.
    void runPlugin(int menuPlace);
    void toggleMask(int field);
    void toggleColumn(int column);
    void setViewFilter(int filter);
    void sortBy(int column);
    void onHeaderClicked(int column);

    Engine& engine_;
    bool exiting_ = false;
    bool interfaceLocked_ = false;  // an exporter or importer is running
    std::deque<ActionCall> waiting_;
    bool stayOnTop_ = false;
    PluginShell* plugins_ = nullptr;

    GroupTreeView* tree_ = nullptr;
    EntryListView* list_ = nullptr;
    EntryListModel* model_ = nullptr;
    CommentView* comment_ = nullptr;
    PaneArea* panes_ = nullptr;
    MainStatusBar* status_ = nullptr;
    std::unique_ptr<MainMenu> mainMenu_;
    std::unique_ptr<PopupMenus> popups_;
    MainToolbar* toolbar_ = nullptr;
    TrayIcon* tray_ = nullptr;
    BossKey* bossKey_ = nullptr;
    std::string programFile_;
    ProgramPaths paths_;
};

}  // namespace vlt
