#include "shell/dialogs/MassModifyWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeEdit>
#include <QMenu>
#include <QPointer>

#include "engine/text/TimePeriods.h"
#include "shell/app/QtText.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/ExpiryDateField.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kAcceptImage = 0;
constexpr int kCancelImage = 1;
constexpr int kPeriodsIcon = 51;

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QRect& place, const char* text,
                        const char* tip) {
    auto* box = new QCheckBox(QLatin1String(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setToolTip(QLatin1String(tip));
    return box;
}

}  // namespace

MassModifyWindow::MassModifyWindow(const std::vector<GroupChoice>& groups, std::int32_t now,
                                   QMenu* periods, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      now_(now),
      periods_(periods) {
    setObjectName(QStringLiteral("massModifyWindow"));
    setWindowTitle(QStringLiteral("Mass modify entries"));
    setFont(UiFonts::normal());
    setFixedSize(350, 220);
    createControls(groups);
}

void MassModifyWindow::createControls(const std::vector<GroupChoice>& groups) {
    makeBanner(this, Banner(kBannerMassModify));
    SeparatorGadget(this, 0, 40, 355, 5);

    moveBox_ =
        makeCheckBox(this, "moveBox", QRect(5, 55, 340, 15),
                     "Change containing group to:", "Change the group for the selected entries");
    groupBox_ = new QComboBox(this);
    groupBox_->setObjectName(QStringLiteral("groupBox"));
    groupBox_->setGeometry(5, 75, 340, 20);
    groupBox_->setToolTip(QStringLiteral("Select a new group for the selected entries"));
    for (const GroupChoice& group : groups) {
        groupBox_->addItem(qs(group.text), group.id);
    }
    groupBox_->setCurrentIndex(groups.empty() ? -1 : 0);
    groupBox_->setEnabled(false);
    connect(moveBox_, &QCheckBox::toggled, groupBox_, &QWidget::setEnabled);

    expiryBox_ = makeCheckBox(
        this, "expiryBox", QRect(5, 110, 340, 15),
        "Change expiration date to:", "Change the expiration date for the selected entries");
    dateField_ = makeExpiryDateField(
        this, "dateField", QRect(5, 130, 310, 20),
        QStringLiteral("Change the expiration date for all the selected entries"));
    dateField_->setDateTime(ExpiryFieldTime(now_));
    periodButton_ = makeIconButton(this, "periodButton", QRect(320, 128, 25, 25),
                                   MenuIcon(kPeriodsIcon), QStringLiteral("Choose a time period"));
    connect(periodButton_, &QPushButton::clicked, this, &MassModifyWindow::showPeriods);
    expiresBox_ = makeCheckBox(this, "expiresBox", QRect(5, 155, 340, 15),
                               "Set entries to expire at the mentioned date",
                               "Enable expiration for the selected entries");
    for (QWidget* part : {static_cast<QWidget*>(dateField_), static_cast<QWidget*>(periodButton_),
                          static_cast<QWidget*>(expiresBox_)}) {
        part->setEnabled(false);
        connect(expiryBox_, &QCheckBox::toggled, part, &QWidget::setEnabled);
    }
    SeparatorGadget(this, 0, 180, 355, 5);

    auto* cancel =
        makeImageButton(this, "cancelButton", QRect(140, 190, 100, 25), QStringLiteral("Cancel"),
                        ButtonIcon(kCancelImage), QStringLiteral("Close the window"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* acceptButton =
        makeImageButton(this, "acceptButton", QRect(245, 190, 100, 25), QStringLiteral("Accept"),
                        ButtonIcon(kAcceptImage), QStringLiteral("Make the changes"));
    acceptButton->setDefault(true);  // Return accepts wherever the focus is
    connect(acceptButton, &QPushButton::clicked, this, &QDialog::accept);
}

MassModifyChoice MassModifyWindow::choice() const {
    MassModifyChoice c;
    c.moveToGroup = moveBox_->isChecked();
    c.groupId = groupBox_->currentIndex() >= 0 ? groupBox_->currentData().toInt() : 0;
    c.changeExpiry = expiryBox_->isChecked();
    c.expirationDate = ExpiryFieldDate(dateField_->dateTime());
    c.expires = expiresBox_->isChecked();
    return c;
}

void MassModifyWindow::pickPeriod(int period) {
    dateField_->setDateTime(ExpiryFieldTime(DateAfterPeriod(now_, period)));
}

void MassModifyWindow::showPeriods() {
    if (periods_ == nullptr) {
        return;
    }
    QList<QAction*> items = periods_->actions();
    items.removeIf([](const QAction* item) { return item->isSeparator(); });
    QAction* chosen = periods_->exec(QCursor::pos());
    const qsizetype period = chosen != nullptr ? items.indexOf(chosen) : -1;
    if (period >= 0) {
        pickPeriod(static_cast<int>(period));
    }
}

std::optional<MassModifyChoice> MassModifyWindow::ask(QWidget* parent,
                                                      const std::vector<GroupChoice>& groups,
                                                      std::int32_t now, QMenu* periods) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    std::optional<MassModifyChoice> choice;
    RunModal(owner, new MassModifyWindow(groups, now, periods, owner.data()),
             [&](MassModifyWindow& window, int result) {
                 if (result == QDialog::Accepted) {
                     choice = window.choice();
                 }
             });
    return choice;
}

}  // namespace vlt
