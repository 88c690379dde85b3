#include "shell/dialogs/GroupWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>

#include "common/Trim.h"
#include "engine/vault/GroupTreeEdits.h"
#include "shell/app/Prompter.h"
#include "shell/app/QtText.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 270;
constexpr int kAcceptImage = 0;
constexpr int kCancelImage = 1;

// A click on empty space leaves no icon selected, so that Accept then asks for one.
class IconList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (itemAt(event->position().toPoint()) == nullptr) {
            clearSelection();
            setCurrentItem(nullptr);
            return;
        }
        QListWidget::mousePressEvent(event);
    }
};

}  // namespace

GroupWindow::GroupWindow(const Group& start, GroupWindowMode mode, const RecordList<Group>& groups,
                         Prompter* prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mode_(mode == kGroupEdit ? kGroupEdit : kGroupAdd),
      groups_(groups),
      prompter_(prompter ? *prompter : MessageBoxPrompter::standard()) {
    setObjectName(QStringLiteral("groupWindow"));
    setWindowTitle(mode_ == kGroupAdd ? QStringLiteral("VLT - Add a new group")
                                      : QStringLiteral("VLT - Edit an existing group"));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);
    createControls(start);
}

void GroupWindow::createControls(const Group& start) {
    makeBanner(this, Banner(mode_ == kGroupAdd ? kBannerAddGroup : kBannerEditGroup));
    SeparatorGadget(this, 0, 40, 405, 5);

    makeLabel(this, "nameLabel", QRect(5, 55, 390, 15), QStringLiteral("Group name:"));
    nameField_ = new QLineEdit(qs(start.Name), this);
    nameField_->setObjectName(QStringLiteral("nameField"));
    nameField_->setGeometry(5, 75, 390, 20);
    nameField_->setToolTip(QStringLiteral("The name of the group to add / edit"));

    makeLabel(this, "iconLabel", QRect(5, 105, 390, 15), QStringLiteral("Group icon:"));
    iconList_ = new IconList(this);
    iconList_->setObjectName(QStringLiteral("iconList"));
    iconList_->setGeometry(5, 125, 390, 100);
    iconList_->setToolTip(QStringLiteral("Icon to show in front of the group"));
    iconList_->setViewMode(QListView::ListMode);
    iconList_->setFlow(QListView::TopToBottom);
    iconList_->setWrapping(true);
    iconList_->setResizeMode(QListView::Adjust);
    iconList_->setUniformItemSizes(true);
    iconList_->setGridSize(QSize(100, 18));
    iconList_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int i = 0; i < kGroupIconCount; ++i) {
        new QListWidgetItem(GroupIcon(i), QStringLiteral("Icon no.%1").arg(i), iconList_);
    }
    if (QListWidgetItem* item = iconList_->item(start.Icon)) {
        iconList_->setCurrentItem(item);
        iconList_->scrollToItem(item);
    }

    SeparatorGadget(this, 0, 232, 405, 5);
    QLabel* help = HyperLinkGadget(this, 10, 245, 16, QStringLiteral("Click here for help"),
                                   QColor(25, 75, 185));
    help->setObjectName(QStringLiteral("helpLink"));
    help->setToolTip(QStringLiteral("Open help file"));
    connect(help, &QLabel::linkActivated, this,
            [this] { emit helpRequested(QLatin1String(kHelpTopic)); });

    auto* cancelButton =
        makeImageButton(this, "cancelButton", QRect(190, 240, 100, 25), QStringLiteral("Cancel"),
                        ButtonIcon(kCancelImage), QStringLiteral("Cancel adding the group"));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Return accepts wherever the focus is: the window presses its default button.
    auto* acceptButton =
        makeImageButton(this, "acceptButton", QRect(295, 240, 100, 25), QStringLiteral("Accept"),
                        ButtonIcon(kAcceptImage), QStringLiteral("Add the group in the container"));
    acceptButton->setDefault(true);
    connect(acceptButton, &QPushButton::clicked, this, &GroupWindow::acceptGroup);

    nameField_->setFocus();
    nameField_->selectAll();
}

std::optional<Group> GroupWindow::ask(const Group& start, GroupWindowMode mode,
                                      const RecordList<Group>& groups, Prompter* prompter,
                                      QWidget* parent,
                                      const std::function<void(const QString&)>& showHelp) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    auto* window = new GroupWindow(start, mode, groups, prompter, owner.data());
    if (showHelp) {
        connect(window, &GroupWindow::helpRequested, window, showHelp);
    }
    std::optional<Group> result;
    RunModal(owner, window, [&](GroupWindow& shown, int) { result = shown.result_; });
    return result;
}

void GroupWindow::refuseName(const QString& text) {
    prompter_.message(this, QStringLiteral("Information"), text, MessageIcon::Information);
    nameField_->setFocus();
    nameField_->selectAll();
}

void GroupWindow::acceptGroup() {
    const std::u16string name(trimBlanks(u16s(nameField_->text())));
    if (name.empty()) {
        refuseName(QStringLiteral("Please choose a valid name for the group."));
        return;
    }
    const QList<QListWidgetItem*> picked = iconList_->selectedItems();
    if (picked.isEmpty()) {
        prompter_.message(this, QStringLiteral("Information"),
                          QStringLiteral("Please select (click) an icon for the group first."),
                          MessageIcon::Information);
        return;
    }
    if (mode_ == kGroupAdd && Group_Exists(groups_, name)) {
        refuseName(
            QStringLiteral("Another group with the same name already exists. Please "
                           "choose another name and try again."));
        return;
    }
    Group group;
    group.Name = name;
    group.Icon = iconList_->row(picked.first());
    result_ = std::move(group);
    accept();
}

}  // namespace vlt
