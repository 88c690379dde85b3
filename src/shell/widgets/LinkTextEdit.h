#pragma once
// An editable plain-text field that shows the web and mail addresses in its text as links and
// reports a click on one. The addresses are found afresh in the line clicked, so what is reported
// is always what the field holds. In one-line mode the field takes no line breaks and leaves
// Return to its dialog; reached with Tab it selects its text, as a line field does. GUI thread
// only.

#include <QPlainTextEdit>
#include <functional>
#include <string>

namespace vlt {

class LinkTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    LinkTextEdit(QWidget* parent, const char* name, bool oneLine);

    // Called with a clicked link's text as shown and the address it stands for.
    std::function<void(const std::u16string& shown, const std::u16string& url)> linkClicked;

    // The text as typed, lines separated by line feeds; in one-line mode any line breaks pasted
    // in are read as blanks.
    QString text() const;

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool oneLine_;
};

}  // namespace vlt
