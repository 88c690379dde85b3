#include "shell/main/Gadgets.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>

namespace vlt {

QFrame* SeparatorGadget(QWidget* parent, int x, int y, int width, int height) {
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(x, y, width, height);
    return rule;
}

QLabel* HyperLinkGadget(QWidget* parent, int x, int y, int height, const QString& text,
                        const QColor& color) {
    auto* link = new QLabel(parent);
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(text.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QPalette palette = link->palette();
    palette.setColor(QPalette::Link, color);
    link->setPalette(palette);
    const int width = link->fontMetrics().horizontalAdvance(text) + 2;
    link->setGeometry(x, y, width, height);
    return link;
}

}  // namespace vlt
