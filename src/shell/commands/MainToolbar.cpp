#include "shell/commands/MainToolbar.h"

#include <QLayout>
#include <QToolButton>

#include "shell/commands/PopupMenus.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {

namespace {

struct ToolbarButton {
    int id;
    int icon;
    const char* text;
    const char* toolTip;
    int popup;  // 0 for a plain button
    bool separatorAfter;
};

constexpr ToolbarButton kButtons[] = {
    {104, 0, "New", "New container", 0, false},
    {105, 1, "Open", "Open container", 0, false},
    {106, 2, "Save", "Save container", 0, true},
    {107, 10, "Add new", "Add new item / group", PopupMenus::kToolbarAddPopup, true},
    {108, 11, "Remove", "Remove item / group", PopupMenus::kToolbarRemovePopup, true},
    {109, 42, "Move", "Move item / group", PopupMenus::kToolbarMovePopup, true},
    {110, 37, "Search", "Find entries/groups", 0, true},
    {111, 43, "Clipboard", "Copy information to clipboard", PopupMenus::kToolbarClipboardPopup,
     true},
    {112, 7, "Settings", "Change the program's settings", 0, true},
    {113, 39, "Help", "Help", 0, false},
    {114, 41, "About", "About VLT", 0, false},
    {115, 9, "Exit", "Exit VLT", 0, false},
};

}  // namespace

MainToolbar::MainToolbar(const PopupMenus& popups, QWidget* parent)
    : QToolBar(parent), items_(this, [this](int id) { emit command(id); }) {
    setObjectName(QStringLiteral("mainToolbar"));
    setWindowTitle(QStringLiteral("Toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Buttons side by side without gaps, so that as many as possible fit a narrow window.
    layout()->setSpacing(0);
    for (const ToolbarButton& b : kButtons) {
        QAction* action = items_.add(this, b.id, QString::fromLatin1(b.text), MenuIcon(b.icon));
        action->setToolTip(QString::fromLatin1(b.toolTip));
        QToolButton* button = this->button(b.id);
        button->setObjectName(QStringLiteral("button%1").arg(b.id));
        if (b.popup != 0) {
            button->setMenu(popups.popup(b.popup));
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (b.separatorAfter) {
            addSeparator();
        }
    }
}

QToolButton* MainToolbar::button(int id) const {
    QAction* action = item(id);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

}  // namespace vlt
