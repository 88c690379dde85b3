#include "shell/dialogs/EntryWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QCursor>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

#include "engine/text/DateText.h"
#include "engine/text/Misc.h"
#include "engine/text/Text.h"
#include "engine/text/TimePeriods.h"
#include "shell/app/Prompter.h"
#include "shell/app/QtText.h"
#include "shell/commands/CommandTable.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/ExpiryDateField.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/LinkTextEdit.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/Painting.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 395;
constexpr int kGeneralIcon = 47;
constexpr int kAdvancedIcon = 48;
constexpr int kShowHideIcon = 49;
constexpr int kGeneratorIcon = 50;
constexpr int kQuickDateIcon = 51;
constexpr int kColorIcon = 52;
constexpr int kAcceptImage = 0;
constexpr int kCancelImage = 1;
constexpr int kFirstAttachmentImage = 2;  // add, delete, save, preview

QLineEdit* makeField(QWidget* parent, const char* name, const QRect& place, const QString& text,
                     const QString& tip) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(place);
    field->setToolTip(tip);
    return field;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QRect& place, const QString& text,
                        bool checked, const QString& tip) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setChecked(checked);
    box->setToolTip(tip);
    return box;
}

// The text in the field's characters, never through a plain string copy that is freed unwiped.
SecureText secureTextOf(const QLineEdit* field) {
    const QString text = field->text();
    return SecureText(
        std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())));
}

// A field that still shows what it showed at opening gives back the stored text byte for byte:
// the fields show line breaks and some blanks their own way, and an unchanged entry must stay
// as it was.
std::u16string keptOrEdited(const QString& shown, const QString& opened,
                            const std::u16string& stored, std::u16string edited) {
    return shown == opened ? stored : std::move(edited);
}

}  // namespace

EntryWindow::EntryWindow(const Entry& input, int mode, const EntryWindowServices& services,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      input_(input),
      mode_(mode == kEditMode ? kEditMode : kAddMode),
      services_(services),
      prompter_(services.prompter ? *services.prompter : MessageBoxPrompter::standard()),
      foreground_(input.ForegroundColor),
      background_(input.BackgroundColor) {
    setObjectName(QStringLiteral("entryWindow"));
    setWindowTitle(mode_ == kAddMode ? QStringLiteral("VLT - Add a new entry")
                                     : QStringLiteral("VLT - Edit an existing entry"));
    setFont(UiFonts::normal());
    setFixedSize(kWidth, kHeight);
    if (!services_.now) {
        services_.now = LocalNow;
    }
    if (services_.showHelp) {
        connect(this, &EntryWindow::helpRequested, this, services_.showHelp);
    }

    makeBanner(this, Banner(mode_ == kAddMode ? kBannerAddEntry : kBannerEditEntry));
    SeparatorGadget(this, 0, 40, 495, 5);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("entryTabs"));
    tabs->setGeometry(5, 50, 480, 300);
    auto* general = new QWidget(tabs);
    auto* advanced = new QWidget(tabs);
    tabs->addTab(general, MenuIcon(kGeneralIcon), QStringLiteral("General information"));
    tabs->addTab(advanced, MenuIcon(kAdvancedIcon), QStringLiteral("Advanced"));
    createGeneralPage(general);
    createAdvancedPage(advanced);

    SeparatorGadget(this, 0, 355, 495, 5);
    QLabel* help = HyperLinkGadget(this, 10, 368, 16, QStringLiteral("Click here for help"),
                                   QColor(25, 75, 185));
    help->setObjectName(QStringLiteral("helpLink"));
    connect(help, &QLabel::linkActivated, this,
            [this] { emit helpRequested(QLatin1String(kHelpTopic)); });
    auto* cancel = makeImageButton(this, "cancelButton", QRect(280, 365, 100, 25),
                                   QStringLiteral("Cancel"), ButtonIcon(kCancelImage),
                                   QStringLiteral("Cancel adding/editing the entry"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Return accepts from every field but the comment, where it starts a new line.
    auto* accept =
        makeImageButton(this, "acceptButton", QRect(385, 365, 100, 25), QStringLiteral("Accept"),
                        ButtonIcon(kAcceptImage), QStringLiteral("Save the entry in the list"));
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &EntryWindow::acceptEntry);

    tabs->setCurrentIndex(0);
    account_->setFocus();
    opened_ = {account_->text(), user_->text(), url_->text(), comment_->text()};
}

EntryWindow::~EntryWindow() {
    wipeFields();
}

void EntryWindow::createGeneralPage(QWidget* page) {
    makeLabel(page, "accountLabel", QRect(8, 15, 100, 15), QStringLiteral("Account:"));
    account_ = makeField(page, "accountField", QRect(113, 13, 350, 20), qs(input_.Account),
                         QStringLiteral("Account name e.g. 'MyProvider'"));
    makeLabel(page, "userLabel", QRect(8, 45, 100, 15), QStringLiteral("User name:"));
    user_ = makeField(page, "userField", QRect(113, 43, 350, 20), qs(input_.User),
                      QStringLiteral("Your user name"));
    makeLabel(page, "passwordLabel", QRect(8, 75, 100, 15), QStringLiteral("Password:"));
    password_ = makeMaskedField(page, "passwordField", QRect(113, 73, 140, 20),
                                QStringLiteral("The password for your account"));
    confirm_ = makeMaskedField(page, "confirmField", QRect(261, 73, 140, 20),
                               QStringLiteral("Confirm password for your account"));
    password_->setText(qs(input_.Password.view()));
    confirm_->setText(qs(input_.Password.view()));
    auto* show = makeIconButton(page, "showButton", QRect(408, 71, 25, 25), MenuIcon(kShowHideIcon),
                                QStringLiteral("Hide / show password in the list"));
    // Out of the Tab chain, which leads from the confirmation on to the buttons; a click leaves
    // the focus in the field being typed.
    show->setFocusPolicy(Qt::NoFocus);
    connect(show, &QPushButton::clicked, this, &EntryWindow::toggleShown);
    auto* generator =
        makeIconButton(page, "generatorButton", QRect(438, 71, 25, 25), MenuIcon(kGeneratorIcon),
                       QStringLiteral("Run the password generator plugin (if "
                                      "installed)"));
    generator->setEnabled(static_cast<bool>(services_.generatePassword));
    connect(generator, &QPushButton::clicked, this, [this] { services_.generatePassword(); });

    makeLabel(page, "urlLabel", QRect(8, 105, 100, 15), QStringLiteral("URL:"));
    url_ = new LinkTextEdit(page, "urlField", true);
    url_->setGeometry(113, 103, 350, 20);
    url_->setPlainText(qs(input_.URL));
    url_->setToolTip(QStringLiteral("The address of the service e.g. 'https://www.example.com'"));
    makeLabel(page, "commentLabel", QRect(8, 135, 100, 15), QStringLiteral("Comments:"));
    comment_ = new LinkTextEdit(page, "commentField", false);
    comment_->setGeometry(113, 133, 350, 100);
    comment_->setPlainText(qs(input_.Comment));
    comment_->setToolTip(QStringLiteral("Any notes that you might have regarding this entry"));
    for (LinkTextEdit* field : {url_, comment_}) {
        field->linkClicked = [this](const std::u16string& shown, const std::u16string& url) {
            if (services_.openLink) {
                services_.openLink(shown, url);
            }
        };
    }

    expires_ = makeCheckBox(page, "expiresBox", QRect(8, 245, 100, 15),
                            QStringLiteral("Entry expires:"), input_.Expires == 1,
                            QStringLiteral("The entry can be set to expire after the specified "
                                           "time period"));
    expiryDate_ = makeExpiryDateField(page, "expiryDate", QRect(113, 243, 320, 20), QString());
    setExpiry(input_.ExpirationDate);
    connect(expiryDate_, &QDateTimeEdit::dateTimeChanged, this,
            [this](const QDateTime& value) { expiry_ = ExpiryFieldDate(value); });
    quickDate_ =
        makeIconButton(page, "quickDateButton", QRect(438, 240, 25, 25), MenuIcon(kQuickDateIcon),
                       QStringLiteral("Click here to choose some predefined time periods"));
    connect(quickDate_, &QPushButton::clicked, this, &EntryWindow::showTimePopup);
    auto enableExpiry = [this](bool on) {
        expiryDate_->setEnabled(on);
        quickDate_->setEnabled(on && services_.timePopup);
    };
    enableExpiry(expires_->isChecked());
    connect(expires_, &QCheckBox::toggled, this, enableExpiry);
}

void EntryWindow::createAdvancedPage(QWidget* page) {
    struct ColorRow {
        const char* box;
        const char* sample;
        const char* button;
        const char* text;
        const char* tip;
        bool checked;
        std::int32_t color;
        QCheckBox** boxOut;
        QLineEdit** sampleOut;
        QPushButton** buttonOut;
    };
    const ColorRow rows[] = {
        {"foregroundBox", "foregroundSample", "foregroundButton", "Custom entry foreground color:",
         "Choose a custom foreground color for the entry", input_.CustomForeground == 1,
         foreground_, &foregroundBox_, &foregroundSample_, &foregroundButton_},
        {"backgroundBox", "backgroundSample", "backgroundButton", "Custom entry background color:",
         "Choose a custom background color for the entry", input_.CustomBackground == 1,
         background_, &backgroundBox_, &backgroundSample_, &backgroundButton_},
    };
    int y = 15;
    for (const ColorRow& row : rows) {
        auto* box = makeCheckBox(page, row.box, QRect(8, y, 235, 15), QLatin1String(row.text),
                                 row.checked, QLatin1String(row.tip));
        auto* sample =
            makeField(page, row.sample, QRect(248, y - 2, 185, 20), QString(), QString());
        sample->setReadOnly(true);
        sample->setFocusPolicy(Qt::NoFocus);
        setSampleColor(sample, row.color);
        auto* button =
            makeIconButton(page, row.button, QRect(438, y - 4, 25, 25), MenuIcon(kColorIcon), {});
        button->setEnabled(row.checked);
        connect(box, &QCheckBox::toggled, button, &QPushButton::setEnabled);
        *row.boxOut = box;
        *row.sampleOut = sample;
        *row.buttonOut = button;
        y += 30;
    }
    connect(foregroundButton_, &QPushButton::clicked, this, [this] { chooseColor(true); });
    connect(backgroundButton_, &QPushButton::clicked, this, [this] { chooseColor(false); });

    SeparatorGadget(page, 8, 78, 455, 5);
    makeLabel(page, "attachmentLabel", QRect(8, 93, 460, 15), QStringLiteral("File attachments:"));
    attachments_ = new QTreeWidget(page);
    attachments_->setObjectName(QStringLiteral("attachmentList"));
    attachments_->setGeometry(8, 113, 455, 120);
    attachments_->setRootIsDecorated(false);
    attachments_->setHeaderLabels(
        {QStringLiteral("File name"), QStringLiteral("File size"), QStringLiteral("MD5")});
    attachments_->header()->resizeSection(0, 200);
    attachments_->header()->resizeSection(1, 100);
    attachments_->header()->resizeSection(2, 150);
    attachments_->setToolTip(QStringLiteral("The list of attached files"));
    const char* names[] = {"addButton", "deleteButton", "saveButton", "previewButton"};
    const char* texts[] = {"Add", "Delete", "Save", "Preview"};
    const char* tips[] = {"Add a new file", "Delete an attached file", "Save the file(s) to disk",
                          "Preview the file"};
    void (EntryWindow::*commands[])() = {
        &EntryWindow::addAttachments, &EntryWindow::deleteAttachments,
        &EntryWindow::saveAttachments, &EntryWindow::previewAttachment};
    const EntryAttachmentServices& services = services_.attachments;
    const bool bound = services.list && services.add && services.remove && services.save;
    for (int i = 0; i < 4; ++i) {
        auto* button = makeImageButton(
            page, names[i], QRect(8 + 115 * i, 238, 110, 25), QLatin1String(texts[i]),
            ButtonIcon(kFirstAttachmentImage + i), QLatin1String(tips[i]));
        button->setEnabled(bound);
        connect(button, &QPushButton::clicked, this, commands[i]);
        if (commands[i] == &EntryWindow::previewAttachment) {
            previewButton_ = button;
        }
    }
    if (!bound) {
        return;
    }
    updatePreviewButton();
    if (mode_ == kEditMode) {
        for (const AttachmentRow& row : services.list(input_.ID)) {
            appendAttachmentRow(row);
        }
    }
}

void EntryWindow::appendAttachmentRow(const AttachmentRow& row) {
    auto* item = new QTreeWidgetItem(attachments_, {qs(row.FileName), qs(row.Size), qs(row.MD5)});
    item->setData(0, Qt::UserRole, row.ID);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    attachments_->setCurrentItem(item);
}

std::vector<std::int32_t> EntryWindow::tickedAttachments() const {
    std::vector<std::int32_t> ticked;
    for (int i = 0; i < attachments_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = attachments_->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked) {
            ticked.push_back(item->data(0, Qt::UserRole).toInt());
        }
    }
    return ticked;
}

void EntryWindow::addAttachments() {
    services_.attachments.add(input_.ID, [this](const AttachmentRow& row) {
        appendAttachmentRow(row);
        attachments_->repaint();  // seen before the summary that follows
    });
    updatePreviewButton();
}

void EntryWindow::deleteAttachments() {
    const std::vector<std::int32_t> removed =
        services_.attachments.remove(attachments_->topLevelItemCount(), tickedAttachments());
    for (int i = attachments_->topLevelItemCount() - 1; i >= 0; --i) {
        const std::int32_t id = attachments_->topLevelItem(i)->data(0, Qt::UserRole).toInt();
        if (std::find(removed.begin(), removed.end(), id) != removed.end()) {
            delete attachments_->takeTopLevelItem(i);
        }
    }
    updatePreviewButton();
}

void EntryWindow::saveAttachments() {
    services_.attachments.save(attachments_->topLevelItemCount(), tickedAttachments());
}

void EntryWindow::previewAttachment() {
    const QTreeWidgetItem* selected = attachments_->currentItem();
    if (selected == nullptr || !services_.attachments.previewers) {
        return;
    }
    const std::vector<PreviewMenuItem> items =
        services_.attachments.previewers(selected->data(0, Qt::UserRole).toInt());
    if (items.empty()) {
        return;
    }
    QMenu popup(this);
    popup.setObjectName(QStringLiteral("previewPopup"));
    for (const PreviewMenuItem& item : items) {
        QAction* action = popup.addAction(QIcon(QPixmap::fromImage(item.Icon)), qs(item.Name));
        action->setData(item.MenuID);
    }
    // At the mouse; under the button when it was pressed from the keyboard with the mouse away.
    QPoint at = QCursor::pos();
    if (!rect().contains(mapFromGlobal(at))) {
        at = previewButton_->mapToGlobal(QPoint(0, previewButton_->height()));
    }
    const QAction* chosen = popup.exec(at);
    if (chosen == nullptr || !services_.attachments.preview) {
        return;
    }
    for (const PreviewMenuItem& item : items) {
        if (item.MenuID == chosen->data().toInt()) {
            services_.attachments.preview(item);
        }
    }
}

void EntryWindow::updatePreviewButton() {
    previewButton_->setEnabled(services_.attachments.canPreview &&
                               services_.attachments.canPreview());
}

std::optional<Entry> EntryWindow::ask(const Entry& input, int mode,
                                      const EntryWindowServices& services, QWidget* parent) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    std::optional<Entry> result;
    RunModal(owner, new EntryWindow(input, mode, services, owner.data()),
             [&](EntryWindow& window, int) { result = std::move(window.result_); });
    return result;
}

void EntryWindow::done(int result) {
    wipeFields();
    QDialog::done(result);
}

void EntryWindow::acceptEntry() {
    if (password_->text() != confirm_->text()) {
        prompter_.message(this, QStringLiteral("Warning"),
                          QStringLiteral("The passwords from the fields do not match. Please "
                                         "re-enter the password to avoid problems."),
                          MessageIcon::Warning);
        wipeFields();
        password_->setFocus();
        return;
    }
    Entry entry;
    const QString account = account_->text();
    const QString user = user_->text();
    const QString url = url_->text();
    const QString comment = comment_->text();
    entry.Account = keptOrEdited(account, opened_.account, input_.Account, u16s(account));
    entry.User = keptOrEdited(user, opened_.user, input_.User, u16s(user));
    entry.Password = secureTextOf(password_);
    entry.URL = keptOrEdited(url, opened_.url, input_.URL, u16s(url));
    entry.Comment =
        keptOrEdited(comment, opened_.comment, input_.Comment, crLfLineBreaks(u16s(comment)));
    entry.Expires = expires_->isChecked() ? 1 : 0;
    entry.ExpirationDate = expiry_;
    entry.CustomForeground = foregroundBox_->isChecked() ? 1 : 0;
    entry.ForegroundColor = foreground_;
    entry.CustomBackground = backgroundBox_->isChecked() ? 1 : 0;
    entry.BackgroundColor = background_;
    result_ = std::move(entry);
    accept();
}

void EntryWindow::toggleShown() {
    if (!shown_ &&
        !prompter_.askYesNo(this, QStringLiteral("Please confirm"),
                            QStringLiteral("Are you sure you want to show the password in the "
                                           "field?"),
                            MessageIcon::Question)) {
        return;
    }
    shown_ = !shown_;
    SetPasswordMask(password_, shown_ ? 0 : 1);
    SetPasswordMask(confirm_, shown_ ? 0 : 1);
}

void EntryWindow::showTimePopup() {
    if (!services_.timePopup) {
        return;
    }
    QAction* chosen = services_.timePopup->exec(QCursor::pos());
    if (chosen == nullptr) {
        return;
    }
    const ActionCall call = ActionOf(Command{chosen->data().toInt()});
    if (call.action == Action::PickTime) {
        pickPeriod(call.argument);
    }
}

void EntryWindow::pickPeriod(int period) {
    setExpiry(DateAfterPeriod(services_.now(), period));
}

void EntryWindow::setExpiry(std::int32_t date) {
    // Kept to the second, though the field shows minutes; only the user's edits replace it.
    expiry_ = date;
    const QSignalBlocker quiet(expiryDate_);
    expiryDate_->setDateTime(ExpiryFieldTime(date));
}

void EntryWindow::chooseColor(bool foreground) {
    std::int32_t& color = foreground ? foreground_ : background_;
    const QColor start = toQColor(rgbFromColor(color));
    std::optional<QColor> chosen;
    if (services_.chooseColor) {
        chosen = services_.chooseColor(start, this);
    } else {
        const QColor picked = QColorDialog::getColor(start, this);
        if (picked.isValid()) {
            chosen = picked;
        }
    }
    if (!chosen) {
        return;  // cancelled: the sample stays as it was
    }
    color = colorFromRgb(chosen->red(), chosen->green(), chosen->blue());
    setSampleColor(foreground ? foregroundSample_ : backgroundSample_, color);
}

void EntryWindow::setSampleColor(QLineEdit* sample, std::int32_t color) {
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Base, toQColor(rgbFromColor(color)));
    sample->setPalette(palette);
}

void EntryWindow::wipeFields() {
    wipeField(password_);
    wipeField(confirm_);
}

}  // namespace vlt
