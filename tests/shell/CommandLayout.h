#pragma once
// Readable pictures of command-carrying menus and toolbars for assertions: each item as its
// command number, "-" for a separator, ">" + object name for a submenu.

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

namespace vlt::test {

inline std::vector<std::string> commandLayout(const QWidget* container) {
    std::vector<std::string> lines;
    for (QAction* action : container->actions()) {
        if (action->isSeparator()) {
            lines.emplace_back("-");
        } else if (action->menu() != nullptr) {
            // Appended rather than ">" + name: GCC 12 at -O3 warns a false -Wrestrict on that.
            std::string line(1, '>');
            line += action->menu()->objectName().toStdString();
            lines.push_back(std::move(line));
        } else {
            lines.push_back(std::to_string(action->data().toInt()));
        }
    }
    return lines;
}

// True when `a` is the very picture `b` (a copy of the same icon), not merely any icon.
inline bool sameIcon(const QIcon& a, const QIcon& b) {
    return !a.isNull() && a.cacheKey() == b.cacheKey();
}

}  // namespace vlt::test
