#include "shell/main/CommentView.h"

#include <QUrl>

#include "shell/app/QtText.h"

namespace vlt {

namespace {

constexpr int kMinimumHeight = 40;

// Plain text as rich text; a stored line end (CR LF, or a lone CR) is one line break.
QString richText(std::u16string_view text) {
    return qs(text)
        .toHtmlEscaped()
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\r', u'\n');
}

// The text as rich text. Anchor n is "#n", naming the n-th found link.
QString linkedHtml(std::u16string_view text, const std::vector<FoundLink>& links) {
    QString html;
    std::size_t at = 0;
    for (std::size_t n = 0; n < links.size(); ++n) {
        const FoundLink& link = links[n];
        html += richText(text.substr(at, link.start - at));
        html += QStringLiteral("<a href=\"#%1\">%2</a>")
                    .arg(QString::number(n), richText(text.substr(link.start, link.length)));
        at = link.start + link.length;
    }
    html += richText(text.substr(at));
    return QStringLiteral("<div style=\"white-space: pre-wrap\">%1</div>").arg(html);
}

}  // namespace

CommentView::CommentView(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("commentView"));
    setReadOnly(true);
    setOpenLinks(false);
    setMinimumHeight(kMinimumHeight);
    connect(this, &QTextBrowser::anchorClicked, this, &CommentView::onAnchor);
}

void CommentView::showText(std::u16string_view text) {
    text_ = text;
    links_ = FindLinks(text_);
    if (text_.empty()) {
        clear();
    } else {
        setHtml(linkedHtml(text_, links_));
    }
}

void CommentView::onAnchor(const QUrl& url) {
    // Only the anchors the text was given count, whatever else a click may report.
    bool ok = false;
    const int n = url.fragment().toInt(&ok);
    if (!url.scheme().isEmpty() || !url.path().isEmpty() || !ok || n < 0 ||
        n >= static_cast<int>(links_.size()) || !linkClicked) {
        return;
    }
    // Copies: while the handler asks its question, another text may be shown.
    const FoundLink link = links_[static_cast<std::size_t>(n)];
    linkClicked(text_.substr(link.start, link.length), link.url);
}

}  // namespace vlt
