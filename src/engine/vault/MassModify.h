#pragma once
// Changing several entries at once: moving the entries selected in the entry list into one group,
// setting one expiry date on them, or both.

#include <cstdint>
#include <string>
#include <vector>

namespace vlt {

struct Engine;
struct Vault;

// One item of the mass-modify window's group box.
struct GroupChoice {
    std::u16string text;  // the group's name behind 3 blanks per level of depth
    std::int32_t id = 0;
};

// What the user accepted in the mass-modify window.
struct MassModifyChoice {
    bool moveToGroup = false;
    std::int32_t groupId = 0;  // the group chosen in the group box
    bool changeExpiry = false;
    std::int32_t expirationDate = 0;
    bool expires = false;
};

// The group box's items: every group in tree order, its name behind 3 blanks per level (a depth
// of 0 counts as 1).
std::vector<GroupChoice> MassModifyGroups(const Vault& vault);

// Carries out an accepted choice on the entries at these indexes of Entries (in the list's row
// order; indexes out of range or repeated are passed over). Moved entries leave their places and
// stand, in the order given, behind the last other entry of the target group (at the end when
// it has none); they keep every field but the group's ID and name, and their attachments stay
// theirs. An unknown target group moves nothing.
void ApplyMassModify(Vault& vault, const std::vector<int>& indexes, const MassModifyChoice& choice);

// The mass-modify command: refused with a message when the vault has no entries or fewer than
// two rows are selected; otherwise the window, then the changes, then the target group selected
// in the tree and the list refreshed (also when nothing was to change). 1 when accepted, else 0.
int OpenMassModifyWindow(Engine& engine);

}  // namespace vlt
