#include "shell/commands/MainToolbar.h"

#include <QLayout>
#include <QToolButton>

#include "shell/commands/PopupMenus.h"

namespace vlt {

namespace {

struct ToolbarButton {
    Command command;
    int popup;  // 0 for a plain button
    bool separatorAfter;
};

constexpr ToolbarButton kButtons[] = {
    {Command::ToolbarNew, 0, false},
    {Command::ToolbarOpen, 0, false},
    {Command::ToolbarSave, 0, true},
    {Command::ToolbarAdd, PopupMenus::kToolbarAddPopup, true},
    {Command::ToolbarRemove, PopupMenus::kToolbarRemovePopup, true},
    {Command::ToolbarMove, PopupMenus::kToolbarMovePopup, true},
    {Command::ToolbarSearch, 0, true},
    {Command::ToolbarClipboard, PopupMenus::kToolbarClipboardPopup, true},
    {Command::ToolbarSettings, 0, true},
    {Command::ToolbarHelp, 0, false},
    {Command::ToolbarAbout, 0, false},
    {Command::ToolbarExit, 0, false},
};

}  // namespace

MainToolbar::MainToolbar(const PopupMenus& popups, QWidget* parent)
    : QToolBar(parent), items_(this, [this](Command id) { emit command(id); }) {
    setObjectName(QStringLiteral("mainToolbar"));
    setWindowTitle(QStringLiteral("Toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    // Text under the icon: with the text beside it the last buttons of the twelve would not fit
    // the factory window width and went behind the toolbar's extension arrow.
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Buttons side by side without gaps, so that all of them fit a narrow window.
    layout()->setSpacing(0);
    for (const ToolbarButton& b : kButtons) {
        items_.add(this, b.command);
        QToolButton* button = this->button(b.command);
        button->setObjectName(QStringLiteral("button%1").arg(CommandNumber(b.command)));
        if (b.popup != 0) {
            button->setMenu(popups.popup(b.popup));
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (b.separatorAfter) {
            addSeparator();
        }
    }
}

QToolButton* MainToolbar::button(Command command) const {
    QAction* action = item(command);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

}  // namespace vlt
