#pragma once
// The main window's status bar: field 0 the group and entry counts, field 1 the selection, field 2
// what the last operation reported. The first two are a quarter of the window wide each.

#include <QStatusBar>

class QLabel;

namespace vlt {

class MainStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    static constexpr int kFieldCount = 3;

    explicit MainStatusBar(QWidget* parent = nullptr);

    // The field, or nullptr when there is no such field.
    QLabel* field(int index) const;
    // Sets a field's text; other numbers are ignored.
    void setField(int index, const QString& text);
    // Sizes the fields for a window of that width.
    void fitTo(int windowWidth);

  private:
    QLabel* fields_[kFieldCount] = {};
};

}  // namespace vlt
