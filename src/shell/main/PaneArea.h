#pragma once
// The main window's central area: the group tree beside the entry list, the comment view below
// both, with a divider between the tree and the list and one above the comment. The dividers
// take their stored positions as soon as the area has its first real size.

#include <QWidget>

#include "shell/main/AutoResize.h"

class QSplitter;

namespace vlt {

class PaneArea : public QWidget {
    Q_OBJECT
  public:
    explicit PaneArea(QWidget* parent = nullptr);

    // Puts the three views in their places; the area takes them over.
    void setPanes(QWidget* tree, QWidget* list, QWidget* comment);

    // Moves the dividers: the tree's width and the height of the tree and list.
    void setDividers(int treeWidth, int upperHeight);
    int treeWidth() const;
    int upperHeight() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeDividers();

    AutoResize autoResize_;
    QSplitter* upperComment_ = nullptr;
    QSplitter* treeList_ = nullptr;
    int treeWidth_ = 0;
    int upperHeight_ = 0;
};

}  // namespace vlt
