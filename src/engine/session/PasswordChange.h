#pragma once
// The Change Password command.

namespace vlt {

struct Engine;

// Asks for a new password for the open container and keeps it for the next save; nothing is
// written here. Refused with a message when no container is open. 1 when the password was
// replaced, 0 when refused or cancelled.
int ChangePassword(Engine& engine);

}  // namespace vlt
