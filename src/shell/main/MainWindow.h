#pragma once
// The main window: the group tree beside the entry list, the selected entry's comment below, the
// menu bar, toolbar and three-field status bar. Every menu item, popup item, toolbar button and
// shortcut arrives in dispatch() as its command.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "engine/text/LinkFinder.h"
#include "engine/vault/Engine.h"
#include "shell/commands/CommandTable.h"
#include "shell/main/AutoResize.h"

class QLabel;
class QSplitter;
class QTableView;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace vlt {

class EntryListModel;
class EntryListView;
class MainMenu;
class MainToolbar;
class PopupMenus;

// What the window needs from the program around it.
struct ShellHooks {
    std::string configPath;                        // where the exit writes the view settings
    std::function<void()> quitPlugins;             // the plugins' quit walk at exit
    std::function<void(int code)> endProcess;      // ends the program after the exit sequence
    std::function<bool(const QUrl& url)> openUrl;  // hands a link to the browser or mail program
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Engine& engine, ShellHooks hooks, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the action of one command of the command table.
    void dispatch(Command command);

    // The views the engine refreshes.
    void setStatusField(int field, const QString& text);
    void setContainerLabel(const QString& text);
    void clearViews();
    void rebuildGroupTree();
    void Entry_RefreshList();
    void CreateMainMenu();
    int selectedGroupItem() const;
    void selectGroupItem(int item);
    void ExpandAllTreeItems();
    void CollapseAllTreeItems();

    // Files dropped on the tree, the list or the comment view: the first is opened as a
    // container.
    void openDroppedFiles(const QList<QUrl>& urls);

    // Asks, saves, writes the view settings and ends the program; returns 1 when the user
    // declined.
    int ConfirmExit();
    void SetInterfaceDisabled(int flag);

    // Applies the colour, grid, column and splitter settings to the gadgets.
    void applySettings();
    bool stayOnTop() const { return stayOnTop_; }
    void setStayOnTop(bool on);

    QTreeWidget* groupTree() const { return tree_; }
    QTableView* entryList() const;
    EntryListModel* entryModel() const { return model_; }
    QTextBrowser* commentView() const { return comment_; }
    MainMenu* mainMenu() const { return mainMenu_.get(); }
    PopupMenus* popups() const { return popups_.get(); }
    QLabel* statusField(int field) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createGadgets();
    void createBars();
    void greyUnavailable();
    void perform(ActionCall call);
    void layoutStatusBar();
    void applySplitterPositions();
    void updateCounts();
    int selectedRowCount() const;
    void updateSelectionStatus();
    int currentRow() const;
    void expandSelectedGroup(bool expand);
    void onEntryListEvent();
    void onGroupTreeEvent();
    void showGroupPopup(const QPoint& at);
    void showEntryPopup(const QPoint& at);
    void showComment(const std::u16string& text);
    void clearComment();
    void onCommentLink(const QUrl& url);
    void openLink(const std::u16string& url);
    void changePassword();
    void openRecent(int index);
    void toggleMask(int field);
    void toggleColumn(int column);
    void setViewFilter(int filter);
    void sortBy(int column);
    void onHeaderClicked(int column);
    void writeExitSettings();

    Engine& engine_;
    ShellHooks hooks_;
    AutoResize autoResize_;
    bool exiting_ = false;
    bool stayOnTop_ = false;
    bool splittersPlaced_ = false;  // at the central area's first real size

    QTreeWidget* tree_ = nullptr;
    EntryListView* list_ = nullptr;
    EntryListModel* model_ = nullptr;
    QTextBrowser* comment_ = nullptr;
    std::u16string commentText_;           // the comment shown
    std::vector<FoundLink> commentLinks_;  // its links; anchor n names commentLinks_[n]
    QSplitter* treeListSplitter_ = nullptr;
    QSplitter* upperCommentSplitter_ = nullptr;
    QWidget* central_ = nullptr;
    QLabel* status_[3] = {};
    std::unique_ptr<MainMenu> mainMenu_;
    std::unique_ptr<PopupMenus> popups_;
    MainToolbar* toolbar_ = nullptr;
};

}  // namespace vlt
