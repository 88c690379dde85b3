#pragma once
// The mass-modify window: a group to move the selected entries into and an expiry date to set on
// them, each behind a check box that enables it. Accept (or Return) hands the choice back;
// Cancel (or Escape, or the close box) changes nothing.

#include <QDialog>
#include <optional>
#include <vector>

#include "engine/vault/MassModify.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QMenu;
class QPushButton;

namespace vlt {

class MassModifyWindow : public QDialog {
    Q_OBJECT
  public:
    // `periods` is the time popup whose items (in the order of the time periods) set the date.
    MassModifyWindow(const std::vector<GroupChoice>& groups, std::int32_t now, QMenu* periods,
                     QWidget* parent = nullptr);

    MassModifyChoice choice() const;
    // Sets the date field to the time period's date counted from now (see TimePeriods.h).
    void pickPeriod(int period);

    // Runs the window modally over `parent`; the accepted choice, none when cancelled.
    static std::optional<MassModifyChoice> ask(QWidget* parent,
                                               const std::vector<GroupChoice>& groups,
                                               std::int32_t now, QMenu* periods);

  private:
    void createControls(const std::vector<GroupChoice>& groups);
    void showPeriods();

    std::int32_t now_;
    QMenu* periods_;
    QCheckBox* moveBox_ = nullptr;
    QComboBox* groupBox_ = nullptr;
    QCheckBox* expiryBox_ = nullptr;
    QDateTimeEdit* dateField_ = nullptr;
    QPushButton* periodButton_ = nullptr;
    QCheckBox* expiresBox_ = nullptr;
};

}  // namespace vlt
