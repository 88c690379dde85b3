#pragma once
// The find window: the text to search for, the fields to search in, case sensitivity and whether
// expired entries count. Search (or Return) hands what the window shows to the engine's search,
// which closes the window on a hit; Cancel (or Escape, or the close box) closes it. However it
// closes, what it showed is what it leaves behind.

#include <QDialog>
#include <array>
#include <functional>

#include "engine/settings/Settings.h"

class QCheckBox;
class QLineEdit;

namespace vlt {

class FindWindow : public QDialog {
    Q_OBJECT
  public:
    using Search = std::function<bool(const SearchOptions&)>;

    FindWindow(const SearchOptions& options, Search search, QWidget* parent = nullptr);

    // The text and the eight options as the window shows them.
    SearchOptions shown() const;

    // Runs the window modally over `parent`, then leaves what it showed in `options`.
    static void run(QWidget* parent, SearchOptions& options, const Search& search);

  private:
    void createControls(const SearchOptions& options);
    void searchPressed();

    Search search_;
    QLineEdit* text_ = nullptr;
    std::array<QCheckBox*, 8> boxes_{};
};

}  // namespace vlt
