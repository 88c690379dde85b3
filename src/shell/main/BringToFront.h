#pragma once
// Bringing the main window back from wherever it went: hidden in the tray or by the boss key,
// minimised by the program, or iconified by the window manager.

class QWidget;

namespace vlt {

// Shows `window` not minimised, raises it and makes it active, whatever state it was left in.
void BringToFront(QWidget& window);

}  // namespace vlt
