#pragma once
// How a window tells the user something or asks a yes/no question. Windows take a Prompter so
// that tests can answer without a real modal box; MessageBoxPrompter is the real one.

#include <QString>

#include "engine/Desktop.h"

class QWidget;

namespace vlt {

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A message box with an OK button over `parent`.
    virtual void message(QWidget* parent, const QString& caption, const QString& text,
                         MessageIcon icon) = 0;
    // A Yes/No question over `parent`; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon) = 0;
};

// Modal QMessageBox windows.
class MessageBoxPrompter : public Prompter {
  public:
    void message(QWidget* parent, const QString& caption, const QString& text,
                 MessageIcon icon) override;
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
                  MessageIcon icon) override;

    // The prompter used where a window was given none.
    static Prompter& standard();
};

}  // namespace vlt
