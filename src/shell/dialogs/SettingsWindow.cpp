#include "shell/dialogs/SettingsWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "engine/text/Misc.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/Painting.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 350;
constexpr int kPageX = 160;
constexpr int kPageY = 50;
constexpr int kApplyImage = 0;
constexpr int kCancelImage = 1;
constexpr int kDefaultsImage = 12;
constexpr int kChooseColorIcon = 52;
constexpr int kResetColorImage = 12;
constexpr int kFirstPageIcon = 56;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kBlack = 0;

using M = MainSettings;

struct ColorRowText {
    const char* name;
    const char* text;
    std::int32_t M::*enable;
    std::int32_t M::*color;
    std::int32_t resetColor;
};

constexpr ColorRowText kColorRowTexts[SettingsWindow::kColorRows] = {
    {"entryBack", "Entry list back color:", &M::EnableEntryBKColor, &M::EntryBKColor, kWhite},
    {"groupBack", "Group treeview back color:", &M::EnableGroupBKColor, &M::GroupBKColor, kWhite},
    {"groupText", "Group treeview text color:", &M::EnableGroupFGColor, &M::GroupFGColor, kBlack},
    {"commentBack", "Comment back color:", &M::EnableCommentBKColor, &M::CommentBKColor, kWhite},
    {"commentText", "Comment text color:", &M::EnableCommentFGColor, &M::CommentFGColor, kBlack},
};

QColor qColor(std::int32_t color) {
    return toQColor(rgbFromColor(color));
}

std::int32_t engineColor(const QColor& color) {
    return colorFromRgb(color.red(), color.green(), color.blue());
}

}  // namespace

SettingsWindow::SettingsWindow(const MainSettings& settings, SettingsWindowServices services,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(QStringLiteral("Configure VLT"));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);
    if (!services_.pickColor) {
        services_.pickColor = [](QWidget* owner, const QColor& start) {
            return QColorDialog::getColor(start, owner);
        };
    }

    makeBanner(this, Banner(kBannerConfigure));
    SeparatorGadget(this, 0, 40, 495, 5);

    pageList_ = new QTreeWidget(this);
    pageList_->setObjectName(QStringLiteral("pageList"));
    pageList_->setGeometry(10, 50, 145, 250);
    pageList_->setHeaderHidden(true);
    pageList_->setRootIsDecorated(false);
    pageList_->setIndentation(4);
    const char* pageNames[kPageCount] = {"General settings", "Look and feel", "System integration",
                                         "Security"};
    for (int i = 0; i < kPageCount; ++i) {
        auto* item = new QTreeWidgetItem(pageList_, {QLatin1String(pageNames[i])});
        item->setIcon(0, MenuIcon(kFirstPageIcon + i));
    }

    // Made in the order the Tab key is to walk them: the page list, the shown page, the buttons.
    createGeneralPage(settings);
    createLookPage(settings);
    createIntegrationPage(settings);
    createSecurityPage(settings);

    SeparatorGadget(this, 0, 310, 495, 5);
    QLabel* help = HyperLinkGadget(this, 5, 325, 18, QStringLiteral("Click here for help"),
                                   QColor(25, 75, 185));
    help->setObjectName(QStringLiteral("helpLink"));
    help->setToolTip(QStringLiteral("Open the help file"));
    connect(help, &QLabel::linkActivated, this, [this] {
        if (services_.showHelp) {
            services_.showHelp();
        }
    });
    auto* defaults = makeImageButton(this, "defaultsButton", QRect(175, 320, 100, 25),
                                     QStringLiteral("Defaults"), ButtonIcon(kDefaultsImage),
                                     QStringLiteral("Reset all the settings to their defaults"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        if (services_.resetDefaults && services_.resetDefaults()) {
            reject();
        }
    });
    auto* cancel =
        makeImageButton(this, "cancelButton", QRect(280, 320, 100, 25), QStringLiteral("Cancel"),
                        ButtonIcon(kCancelImage), QStringLiteral("Close the settings window"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* apply = makeImageButton(this, "applyButton", QRect(385, 320, 100, 25),
                                  QStringLiteral("Apply"), ButtonIcon(kApplyImage),
                                  QStringLiteral("Apply the new settings and save them"));
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);

    connect(pageList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            showPage(pageList_->indexOfTopLevelItem(item));
        }
    });
    updateGreying();
    pageList_->setCurrentItem(pageList_->topLevelItem(0));
    showPage(0);
    pageList_->setFocus();
}

QWidget* SettingsWindow::newPage(int index) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("page%1").arg(index));
    page->setGeometry(kPageX, kPageY, 330, 260);
    pages_[static_cast<std::size_t>(index)] = page;
    return page;
}

QCheckBox* SettingsWindow::addCheck(QWidget* page, const char* name, int y, const QString& text,
                                    bool checked, int width) {
    auto* box = new QCheckBox(text, page);
    box->setObjectName(QLatin1String(name));
    // One pixel higher than the layout's 15, so that the box's focus frame is not clipped.
    box->setGeometry(4, y + 1, width, 17);
    box->setChecked(checked);
    connect(box, &QCheckBox::toggled, this, &SettingsWindow::updateGreying);
    return box;
}

QSpinBox* SettingsWindow::addNumber(QWidget* page, const char* name, int y, int value,
                                    const QString& unit) {
    auto* field = new QSpinBox(page);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(4, y, 155, 20);
    field->setRange(0, kMaxNumber);
    field->setValue(value);
    makeLabel(page, "unitLabel", QRect(164, y + 3, 160, 15), unit);
    return field;
}

void SettingsWindow::createGeneralPage(const MainSettings& s) {
    QWidget* page = newPage(0);
    struct Row {
        const char* name;
        const char* text;
        std::int32_t M::*value;
    };
    const Row rows[] = {
        {"closeSendTray", "Send to tray when closing the main window", &M::CloseSendTray},
        {"minSendTray", "Send to tray when minimizing the main window", &M::MinSendTray},
        {"logActions", "Maintain a log file (no sensitive information is logged)", &M::LogActions},
        {"minClipCopy", "Minimize after copying data to clipboard", &M::MinClipCopy},
        {"recents", "Remember recently used files", &M::Recents},
        {"autosave", "Auto-save the open container upon quit", &M::Autosave},
        {"askQuit", "Ask for confirmation upon quit", &M::AskQuit},
    };
    int y = -1;
    for (const Row& row : rows) {
        checks_.emplace_back(
            addCheck(page, row.name, y, QLatin1String(row.text), s.*row.value == 1), row.value);
        y += 25;
    }
}

void SettingsWindow::createLookPage(const MainSettings& s) {
    QWidget* page = newPage(1);
    checks_.emplace_back(
        addCheck(page, "autoresizeColumns", -1,
                 QStringLiteral("Auto-resize the entry list columns"), s.AutoresizeColumns == 1),
        &M::AutoresizeColumns);
    for (int i = 0; i < kColorRows; ++i) {
        const ColorRowText& text = kColorRowTexts[i];
        ColorRow& row = colors_[static_cast<std::size_t>(i)];
        const int y = 24 + 25 * i;
        const QString name = QLatin1String(text.name);
        row.enable =
            addCheck(page, text.name, y, QLatin1String(text.text), s.*text.enable == 1, 170);
        row.enable->setObjectName(name + QStringLiteral("Enable"));
        checks_.emplace_back(row.enable, text.enable);
        row.swatch = new QLabel(page);
        row.swatch->setObjectName(name + QStringLiteral("Swatch"));
        row.swatch->setGeometry(174, y, 90, 15);
        row.swatch->setFrameShape(QFrame::Box);
        row.swatch->setAutoFillBackground(true);
        row.choose = makeIconButton(page, "chooseButton", QRect(269, y - 3, 22, 22),
                                    MenuIcon(kChooseColorIcon), QStringLiteral("Choose a color"));
        row.choose->setObjectName(name + QStringLiteral("Choose"));
        row.reset = makeIconButton(page, "resetButton", QRect(299, y - 3, 22, 22),
                                   ButtonIcon(kResetColorImage),
                                   QStringLiteral("Reset to the default color"));
        row.reset->setObjectName(name + QStringLiteral("Reset"));
        setSwatch(i, qColor(s.*text.color));
        connect(row.choose, &QPushButton::clicked, this, [this, i] {
            const QColor picked =
                services_.pickColor(this, colors_[static_cast<std::size_t>(i)].color);
            if (picked.isValid()) {
                setSwatch(i, picked);
            }
        });
        connect(row.reset, &QPushButton::clicked, this,
                [this, i] { setSwatch(i, qColor(kColorRowTexts[i].resetColor)); });
    }
    checks_.emplace_back(
        addCheck(page, "drawGrid", 149, QStringLiteral("Draw grid between the entries"),
                 s.DrawGrid == 1, 315),
        &M::DrawGrid);
    checks_.emplace_back(addCheck(page, "rememberWinPos", 174,
                                  QStringLiteral("Remember main window position / size"),
                                  s.RememberWinPos == 1, 315),
                         &M::RememberWinPos);
}

void SettingsWindow::createIntegrationPage(const MainSettings& s) {
    QWidget* page = newPage(2);
    associate_ = addCheck(page, "associateVLT", -1,
                          QStringLiteral("Associate the .vlt extension with the program"),
                          s.AssociateVLT == 1);
    checks_.emplace_back(associate_, &M::AssociateVLT);
    const QString bossText = services_.bossKeyAvailable
                                 ? QStringLiteral("Enable boss-key feature (hide / restore VLT)")
                                 : QStringLiteral("Boss-key feature (unavailable on this display)");
    bossKey_ = addCheck(page, "enableBossKey", 24, bossText, s.EnableBossKey == 1);
    checks_.emplace_back(bossKey_, &M::EnableBossKey);
    bossModifier_ = new QComboBox(page);
    bossModifier_->setObjectName(QStringLiteral("bossKey1"));
    bossModifier_->setGeometry(4, 49, 155, 20);
    bossModifier_->addItems(
        {QStringLiteral("Ctrl"), QStringLiteral("Alt"), QStringLiteral("Shift")});
    bossModifier_->setCurrentIndex(std::clamp(s.BossKey1, 0, 2));
    bossDigit_ = new QComboBox(page);
    bossDigit_->setObjectName(QStringLiteral("bossKey2"));
    bossDigit_->setGeometry(169, 49, 155, 20);
    for (int digit = 0; digit <= 9; ++digit) {
        bossDigit_->addItem(QString::number(digit));
    }
    bossDigit_->setCurrentIndex(std::clamp(s.BossKey2, 0, 9));
    checks_.emplace_back(
        addCheck(page, "autostart", 79, QStringLiteral("Start automatically at boot time"),
                 s.Autostart == 1),
        &M::Autostart);
}

void SettingsWindow::createSecurityPage(const MainSettings& s) {
    QWidget* page = newPage(3);
    autoClose_ =
        addCheck(page, "autoCloseContainer", -1, QStringLiteral("Auto-close containers after:"),
                 s.AutoCloseContainer == 1);
    checks_.emplace_back(autoClose_, &M::AutoCloseContainer);
    autoCloseSecs_ =
        addNumber(page, "autoCloseSecs", 24, s.AutoCloseSecs, QStringLiteral("seconds"));
    autoClear_ = addCheck(page, "autoClearClip", 54, QStringLiteral("Auto-clear clipboard after:"),
                          s.AutoClearClip == 1);
    checks_.emplace_back(autoClear_, &M::AutoClearClip);
    autoClearSecs_ =
        addNumber(page, "autoClearClipSecs", 79, s.AutoClearClipSecs, QStringLiteral("seconds"));
    expire_ = addCheck(page, "newlyAddedExpireIn", 109,
                       QStringLiteral("Newly added entries expire in:"), s.NewlyAddedExpireIn == 1);
    checks_.emplace_back(expire_, &M::NewlyAddedExpireIn);
    expireDays_ = addNumber(page, "newlyAddedExpireDays", 134, s.NewlyAddedExpireDays,
                            QStringLiteral("days"));
    checks_.emplace_back(
        addCheck(page, "clearClipAtExit", 164, QStringLiteral("Clear clipboard at program exit"),
                 s.ClearClipAtExit == 1),
        &M::ClearClipAtExit);
    checks_.emplace_back(
        addCheck(page, "autoBackupBeforeMod", 189,
                 QStringLiteral("Automatically backup containers before modification"),
                 s.AutoBackupBeforeMod == 1),
        &M::AutoBackupBeforeMod);
}

void SettingsWindow::setSwatch(int row, const QColor& color) {
    ColorRow& r = colors_[static_cast<std::size_t>(row)];
    r.color = color;
    QPalette palette = r.swatch->palette();
    palette.setColor(QPalette::Window, color);
    r.swatch->setPalette(palette);
}

void SettingsWindow::updateGreying() {
    for (ColorRow& row : colors_) {
        if (row.enable == nullptr) {
            continue;
        }
        const bool on = row.enable->isChecked();
        row.swatch->setEnabled(on);
        row.choose->setEnabled(on);
        row.reset->setEnabled(on);
    }
    if (associate_ != nullptr) {
        associate_->setEnabled(!services_.portable);
    }
    if (bossKey_ != nullptr) {
        bossKey_->setEnabled(services_.bossKeyAvailable);
        const bool boss = services_.bossKeyAvailable && bossKey_->isChecked();
        bossModifier_->setEnabled(boss);
        bossDigit_->setEnabled(boss);
    }
    if (autoClose_ != nullptr) {
        autoCloseSecs_->setEnabled(autoClose_->isChecked());
        autoClearSecs_->setEnabled(autoClear_->isChecked());
        expireDays_->setEnabled(expire_->isChecked());
    }
}

void SettingsWindow::showPage(int page) {
    for (int i = 0; i < kPageCount; ++i) {
        pages_[static_cast<std::size_t>(i)]->setVisible(i == page);
    }
    if (page >= 0 && page < kPageCount &&
        pageList_->currentItem() != pageList_->topLevelItem(page)) {
        pageList_->setCurrentItem(pageList_->topLevelItem(page));
    }
}

MainSettings SettingsWindow::edited(MainSettings base) const {
    for (const auto& [box, value] : checks_) {
        base.*value = box->isChecked() ? 1 : 0;
    }
    for (int i = 0; i < kColorRows; ++i) {
        base.*kColorRowTexts[i].color = engineColor(colors_[static_cast<std::size_t>(i)].color);
    }
    base.BossKey1 = bossModifier_->currentIndex();
    base.BossKey2 = bossDigit_->currentIndex();
    base.AutoCloseSecs = autoCloseSecs_->value();
    base.AutoClearClipSecs = autoClearSecs_->value();
    base.NewlyAddedExpireDays = expireDays_->value();
    return base;
}

std::optional<MainSettings> SettingsWindow::ask(const MainSettings& settings,
                                                const SettingsWindowServices& services,
                                                QWidget* parent) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    std::optional<MainSettings> applied;
    RunModal(owner, new SettingsWindow(settings, services, owner.data()),
             [&](SettingsWindow& window, int result) {
                 if (result == QDialog::Accepted) {
                     applied = window.edited(settings);
                 }
             });
    return applied;
}

}  // namespace vlt
