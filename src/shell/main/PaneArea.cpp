#include "shell/main/PaneArea.h"

#include <QSplitter>
#include <algorithm>

namespace vlt {

namespace {

constexpr int kMinimumPane = 40;

}  // namespace

PaneArea::PaneArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("centralArea"));
    upperComment_ = new QSplitter(Qt::Vertical, this);
    upperComment_->setObjectName(QStringLiteral("upperCommentSplitter"));
    upperComment_->setChildrenCollapsible(false);
    treeList_ = new QSplitter(Qt::Horizontal, upperComment_);
    treeList_->setObjectName(QStringLiteral("treeListSplitter"));
    treeList_->setChildrenCollapsible(false);
}

void PaneArea::setPanes(QWidget* tree, QWidget* list, QWidget* comment) {
    tree->setMinimumWidth(kMinimumPane);
    list->setMinimumWidth(kMinimumPane);
    comment->setMinimumHeight(kMinimumPane);
    treeList_->addWidget(tree);
    treeList_->addWidget(list);
    upperComment_->addWidget(comment);
    upperComment_->setStretchFactor(0, 1);
    upperComment_->setStretchFactor(1, 0);
    treeList_->setStretchFactor(0, 0);
    treeList_->setStretchFactor(1, 1);
}

void PaneArea::setDividers(int treeWidth, int upperHeight) {
    treeWidth_ = treeWidth;
    upperHeight_ = upperHeight;
    placeDividers();
}

int PaneArea::treeWidth() const {
    return treeList_->sizes().value(0);
}

int PaneArea::upperHeight() const {
    return upperComment_->sizes().value(0);
}

void PaneArea::placeDividers() {
    // The panes share what the handle leaves: sizes adding up to more would be scaled down, and
    // the stored position would creep by the handle's width on every start. A stored position is
    // whatever the settings file says; it is kept between nothing and the widest a widget can
    // be, which also keeps the sums below from overflowing.
    auto place = [](QSplitter* splitter, int stored, int whole) {
        const int first = std::clamp(stored, 0, QWIDGETSIZE_MAX);
        const int panes = std::max(whole - splitter->handleWidth(), first + kMinimumPane);
        splitter->setSizes({first, panes - first});
    };
    place(treeList_, treeWidth_, treeList_->width());
    place(upperComment_, upperHeight_, upperComment_->height());
}

void PaneArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (autoResize_.AutoResize_Find(this, upperComment_) == 0) {
        // The first real size: the dividers can only take their positions now.
        upperComment_->setGeometry(rect());
        autoResize_.AutoResize_Add(this, upperComment_, 1, 0, 1, 0);
        placeDividers();
    }
    autoResize_.AutoResize_Apply(this);
}

}  // namespace vlt
