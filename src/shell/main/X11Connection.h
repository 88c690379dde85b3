#pragma once
// The program's connection to the X11 display, for what Qt offers no call for.

struct xcb_connection_t;

namespace vlt {

// Qt's own connection, null when the program does not run on X11.
xcb_connection_t* X11Connection();

}  // namespace vlt
