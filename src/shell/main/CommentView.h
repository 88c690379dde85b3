#pragma once
// The comment view below the entry list: a comment as read-only text in which web and mail
// addresses are links. A click on a link reports the text shown and the address to open, both
// taken from what the view was given, never read back from the document.

#include <QTextBrowser>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/LinkFinder.h"

namespace vlt {

class CommentView : public QTextBrowser {
    Q_OBJECT
  public:
    explicit CommentView(QWidget* parent = nullptr);

    // Shows `text`; "" empties the view.
    void showText(std::u16string_view text);

    // Called with a clicked link's text as shown and the address it stands for.
    std::function<void(const std::u16string& shown, const std::u16string& url)> linkClicked;

  private:
    void onAnchor(const QUrl& url);

    std::u16string text_;           // the text shown
    std::vector<FoundLink> links_;  // its links; anchor n names links_[n]
};

}  // namespace vlt
