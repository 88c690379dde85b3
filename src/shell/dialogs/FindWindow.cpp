#include "shell/dialogs/FindWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>

#include "shell/app/QtText.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ModalRun.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

constexpr int kCancelImage = 1;
constexpr int kSearchImage = 6;

struct OptionBox {
    const char* name;
    QRect place;
    const char* text;
    const char* tip;
    std::int32_t SearchOptions::*flag;
};

constexpr std::array<OptionBox, 8> kBoxes{{
    {"accountsBox",
     {15, 120, 140, 15},
     "Account names",
     "Search for the text in account names",
     &SearchOptions::SearchAccounts},
    {"usersBox",
     {15, 140, 140, 15},
     "User names",
     "Search for the text in user names",
     &SearchOptions::SearchUsers},
    {"passwordsBox",
     {15, 160, 140, 15},
     "Passwords",
     "Search for the text in passwords",
     &SearchOptions::SearchPassword},
    {"urlsBox",
     {165, 120, 140, 15},
     "URLs",
     "Search for the text in URLs",
     &SearchOptions::SearchURLs},
    {"attachmentsBox",
     {165, 140, 140, 15},
     "Attachment names",
     "Search for the text in attachment names",
     &SearchOptions::SearchAttachments},
    {"commentsBox",
     {165, 160, 140, 15},
     "Comments",
     "Search for the text in comments",
     &SearchOptions::SearchComments},
    {"caseBox",
     {15, 215, 290, 15},
     "Case sensitive",
     "Case sensitive search e.g. 'Test' <> 'test'",
     &SearchOptions::CaseSensitive},
    {"expiredBox",
     {15, 235, 290, 15},
     "Search inside expired entries",
     "Search for the text in expired entries",
     &SearchOptions::SearchExpired},
}};

}  // namespace

FindWindow::FindWindow(const SearchOptions& options, Search search, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      search_(std::move(search)) {
    setObjectName(QStringLiteral("findWindow"));
    setWindowTitle(QStringLiteral("Find data"));
    setFont(UiFonts::normal());
    setFixedSize(320, 310);
    createControls(options);
}

void FindWindow::createControls(const SearchOptions& options) {
    makeBanner(this, Banner(kBannerSearch));
    SeparatorGadget(this, 0, 40, 325, 5);
    makeLabel(this, "textLabel", QRect(5, 50, 310, 15), QStringLiteral("Text to search for:"));
    text_ = new QLineEdit(qs(options.SearchText), this);
    text_->setObjectName(QStringLiteral("searchField"));
    text_->setGeometry(5, 70, 310, 20);
    text_->setToolTip(QStringLiteral("Type the search string here"));

    auto* fields = new QGroupBox(QStringLiteral("Search in"), this);
    fields->setGeometry(5, 100, 310, 85);
    auto* flags = new QGroupBox(QStringLiteral("Search options"), this);
    flags->setGeometry(5, 195, 310, 65);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const OptionBox& b = kBoxes[i];
        auto* box = new QCheckBox(QLatin1String(b.text), this);
        box->setObjectName(QLatin1String(b.name));
        box->setGeometry(b.place);
        box->setToolTip(QLatin1String(b.tip));
        box->setChecked(options.*b.flag == 1);
        boxes_[i] = box;
    }
    SeparatorGadget(this, 0, 270, 325, 5);

    auto* cancel =
        makeImageButton(this, "cancelButton", QRect(110, 280, 100, 25), QStringLiteral("Cancel"),
                        ButtonIcon(kCancelImage), QStringLiteral("Close the search dialog"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* searchButton =
        makeImageButton(this, "searchButton", QRect(215, 280, 100, 25), QStringLiteral("Search"),
                        ButtonIcon(kSearchImage), QStringLiteral("Begin the search"));
    searchButton->setDefault(true);  // Return searches wherever the focus is
    connect(searchButton, &QPushButton::clicked, this, &FindWindow::searchPressed);

    text_->setFocus();
    text_->selectAll();
}

SearchOptions FindWindow::shown() const {
    SearchOptions options;
    options.SearchText = u16s(text_->text());
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        options.*kBoxes[i].flag = boxes_[i]->isChecked() ? 1 : 0;
    }
    return options;
}

void FindWindow::searchPressed() {
    if (search_ && search_(shown())) {
        accept();
        return;
    }
    text_->setFocus();
}

void FindWindow::run(QWidget* parent, SearchOptions& options, const Search& search) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    RunModal(owner, new FindWindow(options, search, owner.data()),
             [&](FindWindow& window, int) { options = window.shown(); });
}

}  // namespace vlt
