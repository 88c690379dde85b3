#pragma once
// The analyzer's window: the password field, its hide/show and clear buttons, the verdict and
// the bar, updated as the password is typed.

#include <QDialog>

#include "StrengthScore.h"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace vlt::gaugebox {

class GaugeboxWindow : public QDialog {
    Q_OBJECT

  public:
    GaugeboxWindow();
    ~GaugeboxWindow() override;

  private:
    void textChanged();
    void clearField();
    void showStrength(const Strength& strength);

    QLineEdit* password_;
    QLabel* verdict_;
    QProgressBar* bar_;
    bool masked_ = true;
};

}  // namespace vlt::gaugebox
