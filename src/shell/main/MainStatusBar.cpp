#include "shell/main/MainStatusBar.h"

#include <QLabel>

namespace vlt {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(true);
    const char* texts[kFieldCount] = {"0 groups / 0 entries", "0 of 0 selected",
                                      "No container open"};
    for (int i = 0; i < kFieldCount; ++i) {
        fields_[i] = new QLabel(QString::fromLatin1(texts[i]), this);
        fields_[i]->setObjectName(QStringLiteral("statusField%1").arg(i));
        fields_[i]->setFrameShape(QFrame::StyledPanel);
        fields_[i]->setFrameShadow(QFrame::Sunken);
        addWidget(fields_[i], i == 2 ? 1 : 0);
    }
}

QLabel* MainStatusBar::field(int index) const {
    return index >= 0 && index < kFieldCount ? fields_[index] : nullptr;
}

void MainStatusBar::setField(int index, const QString& text) {
    if (QLabel* label = field(index)) {
        label->setText(text);
    }
}

void MainStatusBar::fitTo(int windowWidth) {
    const int quarter = windowWidth / 4;
    fields_[0]->setFixedWidth(quarter);
    fields_[1]->setFixedWidth(quarter);
    fields_[2]->setMinimumWidth(quarter);
}

}  // namespace vlt
