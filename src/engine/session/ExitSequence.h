#pragma once
// The one normal way out of the program.

namespace vlt {

struct Engine;

// Asks (when there is something to lose and the user wants to be asked), saves when autosave is
// on, clears the clipboard when configured, stores the view state in Config.ini, closes the main
// window, ends the trace log and ends the program. A failed or cancelled autosave asks again
// before the vault is thrown away. 1 when the user declined (nothing has changed), 0 once the
// program has been told to end.
int ConfirmExit(Engine& engine);

}  // namespace vlt
