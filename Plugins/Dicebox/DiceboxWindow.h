#pragma once
// The generator's window: the composition options, the password field with its create,
// hide/show and copy buttons.

#include <QDialog>
#include <array>

#include "PasswordGenerator.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vlt::dicebox {

class DiceboxWindow : public QDialog {
    Q_OBJECT

  public:
    explicit DiceboxWindow(RandomSource& random);
    ~DiceboxWindow() override;

    // Reads the options, makes a password and puts it into the field; refuses an empty custom
    // set and a choice of no class with a message.
    void CreatePassword();

  private:
    void modeChanged();
    void copyPassword();

    RandomSource& random_;
    QRadioButton* randomClasses_ = nullptr;
    QRadioButton* customMode_ = nullptr;
    std::array<QCheckBox*, ClassCount> classes_{};
    QLineEdit* customSet_ = nullptr;
    QSpinBox* length_ = nullptr;
    QLineEdit* password_ = nullptr;
    bool masked_ = true;
};

}  // namespace vlt::dicebox
