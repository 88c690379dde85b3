#pragma once
// The program's 16x16 images, addressed by index: the menu icons (menus, toolbar, popups,
// dialog buttons), the group icons (a group's Icon) and the image-button icons. The pictures are
// compiled into the program from the table in icons.txt; they are loaded on first use and kept
// until the application object goes away. GUI thread only.

#include <QIcon>

namespace vlt {

inline constexpr int kMenuIconCount = 61;
inline constexpr int kGroupIconCount = 100;
inline constexpr int kButtonIconCount = 13;

// Each returns an empty icon for an index outside its table.
const QIcon& MenuIcon(int index);
const QIcon& GroupIcon(int index);
const QIcon& ButtonIcon(int index);

}  // namespace vlt
