#pragma once
// The modal entry editor: account, user name, password typed twice, URL, comment and expiry on
// the first page; custom colours and the attachment list on the second. It works on a copy of
// the entry it is given and returns the fields the user accepted, or none when cancelled.
// GUI thread only.

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "engine/vault/Attachments.h"
#include "engine/vault/Records.h"
#include "host/PreviewMenu.h"

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace vlt {

class LinkTextEdit;
class Prompter;

// The attachment page's commands, bound to the engine by the application; without them the
// attachment buttons stay greyed.
struct EntryAttachmentServices {
    // The rows of the entry's attachments.
    std::function<std::vector<AttachmentRow>(std::int32_t entryId)> list;
    // Asks for files and attaches them, handing over each added one's row as it goes.
    std::function<void(std::int32_t entryId, const std::function<void(const AttachmentRow&)>&)> add;
    // Deletes the ticked rows' attachments (IDs in row order) after asking; the IDs removed.
    std::function<std::vector<std::int32_t>(int rowCount, const std::vector<std::int32_t>& ticked)>
        remove;
    // Extracts the ticked rows' attachments into a folder the user chooses.
    std::function<void(int rowCount, const std::vector<std::int32_t>& ticked)> save;
    // Whether any previewer plugin is loaded, the previewers offered for an attachment, and
    // starting one of them.
    std::function<bool()> canPreview;
    std::function<std::vector<PreviewMenuItem>(std::int32_t attachmentId)> previewers;
    std::function<void(const PreviewMenuItem& item)> preview;
};

struct EntryWindowServices {
    // Message boxes and the reveal question; MessageBoxPrompter::standard() when null.
    Prompter* prompter = nullptr;
    // The time popup; its items carry their command numbers as data. No popup, no quick dates.
    QPointer<QMenu> timePopup;
    // The moment the quick dates count from.
    std::function<std::int32_t()> now;
    // Asks about and opens a link clicked in the URL or comment field.
    std::function<void(const std::u16string& shown, const std::u16string& url)> openLink;
    // The colour chooser: the colour picked, or none when cancelled. QColorDialog when null.
    std::function<std::optional<QColor>(const QColor& start, QWidget* parent)> chooseColor;
    // Starts the password generator tool; its button is disabled without it.
    std::function<void()> generatePassword;
    // Opens a help topic; connected to helpRequested when set.
    std::function<void(const QString& topic)> showHelp;
    EntryAttachmentServices attachments;
};

class EntryWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kAddMode = 0;
    static constexpr int kEditMode = 1;
    static constexpr const char* kHelpTopic = "Entries.html";

    EntryWindow(const Entry& input, int mode, const EntryWindowServices& services,
                QWidget* parent = nullptr);
    ~EntryWindow() override;

    // Runs the window modally over `parent` (the active window when null).
    static std::optional<Entry> ask(const Entry& input, int mode,
                                    const EntryWindowServices& services, QWidget* parent = nullptr);

    // The accepted fields; none until the user accepts.
    const std::optional<Entry>& result() const { return result_; }
    // Sets the expiry date as the time popup's item `period` (0 "Now" to 8 "3 years") does.
    void pickPeriod(int period);

    // Closes the window; the password fields are wiped first, whatever the outcome.
    void done(int result) override;

  signals:
    void helpRequested(const QString& topic);

  private:
    void createGeneralPage(QWidget* page);
    void createAdvancedPage(QWidget* page);
    void acceptEntry();
    void toggleShown();
    void showTimePopup();
    void chooseColor(bool foreground);
    void setSampleColor(QLineEdit* sample, std::int32_t color);
    void setExpiry(std::int32_t date);
    void wipeFields();
    void appendAttachmentRow(const AttachmentRow& row);
    std::vector<std::int32_t> tickedAttachments() const;
    void addAttachments();
    void deleteAttachments();
    void saveAttachments();
    void previewAttachment();
    void updatePreviewButton();

    Entry input_;
    int mode_;
    EntryWindowServices services_;
    Prompter& prompter_;
    bool shown_ = false;
    std::int32_t expiry_ = 0;  // to the second; the field shows minutes
    std::int32_t foreground_ = 0;
    std::int32_t background_ = 0;
    std::optional<Entry> result_;
    // What the text fields showed at opening: one that still shows it is taken as untouched.
    struct OpenedTexts {
        QString account;
        QString user;
        QString url;
        QString comment;
    } opened_;

    QLineEdit* account_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* confirm_ = nullptr;
    LinkTextEdit* url_ = nullptr;
    LinkTextEdit* comment_ = nullptr;
    QCheckBox* expires_ = nullptr;
    QDateTimeEdit* expiryDate_ = nullptr;
    QPushButton* quickDate_ = nullptr;
    QCheckBox* foregroundBox_ = nullptr;
    QCheckBox* backgroundBox_ = nullptr;
    QLineEdit* foregroundSample_ = nullptr;
    QLineEdit* backgroundSample_ = nullptr;
    QPushButton* foregroundButton_ = nullptr;
    QPushButton* backgroundButton_ = nullptr;
    QTreeWidget* attachments_ = nullptr;
    QPushButton* previewButton_ = nullptr;
};

}  // namespace vlt
