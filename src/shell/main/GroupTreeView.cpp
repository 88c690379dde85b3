#include "shell/main/GroupTreeView.h"

#include <QTreeWidgetItemIterator>
#include <vector>

#include "engine/view/GroupTree.h"
#include "shell/app/QtText.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;
constexpr int kRootIcon = 44;
constexpr int kMinimumWidth = 40;

}  // namespace

GroupTreeView::GroupTreeView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("groupTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setMinimumWidth(kMinimumWidth);
    addRoot(QStringLiteral("New container"));
}

QTreeWidgetItem* GroupTreeView::addRoot(const QString& text) {
    auto* root = new QTreeWidgetItem(this, QStringList(text));
    root->setIcon(0, MenuIcon(kRootIcon));
    root->setData(0, kIndexRole, 0);
    return root;
}

QString GroupTreeView::rootText() const {
    return topLevelItemCount() ? topLevelItem(0)->text(0) : QStringLiteral("New container");
}

void GroupTreeView::setRootText(const QString& text) {
    if (QTreeWidgetItem* root = topLevelItem(0)) {
        root->setText(0, text);
    }
}

void GroupTreeView::clearGroups() {
    const QSignalBlocker block(this);
    const QString text = rootText();
    clear();
    addRoot(text);
}

void GroupTreeView::showGroups(const RecordList<Group>& groups) {
    const QSignalBlocker block(this);
    const QString text = rootText();
    clear();
    const std::vector<TreeItem> shape = GroupTreeShape(groups);
    std::vector<QTreeWidgetItem*> items(shape.size(), nullptr);
    for (const TreeItem& t : shape) {
        QTreeWidgetItem* item = nullptr;
        if (t.item == 0) {
            item = addRoot(text);
        } else {
            const Group& group = groups.at(t.item - 1);
            item = new QTreeWidgetItem(items[static_cast<std::size_t>(t.parentItem)],
                                       QStringList(qs(group.Name)));
            item->setIcon(0, GroupIcon(group.Icon));
            item->setData(0, kIdRole, group.ID);
            item->setData(0, kIndexRole, t.item);
        }
        items[static_cast<std::size_t>(t.item)] = item;
    }
    expandAll();
    if (items.size() > 1) {
        setCurrentItem(items[1]);
    }
}

int GroupTreeView::selectedItem() const {
    QTreeWidgetItem* item = currentItem();
    if (item == nullptr || !item->isSelected()) {
        return -1;
    }
    return item->data(0, kIndexRole).toInt();
}

void GroupTreeView::expandAllKeepingCurrent() {
    QTreeWidgetItem* current = currentItem();
    expandAll();
    if (current != nullptr) {
        const QSignalBlocker block(this);
        setCurrentItem(current);
    }
}

void GroupTreeView::expandSelected(bool expand) {
    if (selectedItem() >= 0) {
        QTreeWidgetItem* item = currentItem();
        item->setExpanded(expand);
        item->setSelected(true);
    }
}

void GroupTreeView::selectItem(int index) {
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        if ((*it)->data(0, kIndexRole).toInt() == index) {
            const QSignalBlocker block(this);
            setCurrentItem(*it);
            scrollToItem(*it);
            return;
        }
    }
}

}  // namespace vlt
