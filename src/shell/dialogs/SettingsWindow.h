#pragma once
// The "Configure VLT" window: every value of the group "MainSettings" as check boxes, colour
// swatches, drop-down lists and number fields on four pages. It only edits a copy: Apply hands
// the edited values back, and the caller brings the program in line with them. Return applies,
// Escape cancels. GUI thread only.

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "engine/settings/Settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;

namespace vlt {

struct SettingsWindowServices {
    // Portable installations leave the file association alone: its box is greyed.
    bool portable = false;
    // Without a hot-key grab on this display the boss-key controls are greyed and say so.
    bool bossKeyAvailable = true;
    std::function<void()> showHelp;
    // The system colour picker, preset to a colour; an invalid colour when cancelled.
    std::function<QColor(QWidget* parent, const QColor& start)> pickColor;
    // Defaults: asks and resets the settings files; true when they were reset (the window then
    // closes without applying anything).
    std::function<bool()> resetDefaults;
};

class SettingsWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kHelpTopic = "ConfiguringVLT.html";
    static constexpr int kPageCount = 4;
    static constexpr int kColorRows = 5;
    static constexpr int kMaxNumber = 1000000;

    SettingsWindow(const MainSettings& settings, SettingsWindowServices services,
                   QWidget* parent = nullptr);

    // The window over `parent`, modal. The edited values when the user pressed Apply; none for
    // Cancel, the close box or a confirmed Defaults.
    static std::optional<MainSettings> ask(const MainSettings& settings,
                                           const SettingsWindowServices& services, QWidget* parent);

    // `base` with every value the window edits taken from its controls.
    MainSettings edited(MainSettings base) const;
    // Shows page 0 General, 1 Look and feel, 2 System integration, 3 Security.
    void showPage(int page);

  private:
    struct ColorRow {
        QCheckBox* enable = nullptr;
        QLabel* swatch = nullptr;
        QPushButton* choose = nullptr;
        QPushButton* reset = nullptr;
        QColor color;
    };

    QWidget* newPage(int index);
    void createGeneralPage(const MainSettings& s);
    void createLookPage(const MainSettings& s);
    void createIntegrationPage(const MainSettings& s);
    void createSecurityPage(const MainSettings& s);
    QCheckBox* addCheck(QWidget* page, const char* name, int y, const QString& text, bool checked,
                        int width = 320);
    QSpinBox* addNumber(QWidget* page, const char* name, int y, int value, const QString& unit);
    void setSwatch(int row, const QColor& color);
    void updateGreying();

    SettingsWindowServices services_;
    QTreeWidget* pageList_ = nullptr;
    std::array<QWidget*, kPageCount> pages_{};
    // Check boxes that edit one value each, with the value they edit.
    std::vector<std::pair<QCheckBox*, std::int32_t MainSettings::*>> checks_;
    std::array<ColorRow, kColorRows> colors_{};
    QCheckBox* associate_ = nullptr;
    QCheckBox* bossKey_ = nullptr;
    QComboBox* bossModifier_ = nullptr;
    QComboBox* bossDigit_ = nullptr;
    QCheckBox* autoClose_ = nullptr;
    QSpinBox* autoCloseSecs_ = nullptr;
    QCheckBox* autoClear_ = nullptr;
    QSpinBox* autoClearSecs_ = nullptr;
    QCheckBox* expire_ = nullptr;
    QSpinBox* expireDays_ = nullptr;
};

}  // namespace vlt
